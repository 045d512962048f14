#include "Conduit/Src/CCustomSynchronizerBase.h"

#include <cstring>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "common/SharedNames.h"
#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/DataReader.h"
#include "Conduit/Src/DataWriter.h"
#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/Helpers.h"
#include "Conduit/Src/ObjectRecord.h"
#include "Conduit/Src/ObjectStores.h"
#include "Conduit/Src/SynchException.h"
#include "framework/RegKey.h"

namespace {

const DWORD kPathBytes = 260;

// What the user can act on when the database cannot be connected or written: the cause of the
// data layer's last failure, or null when it names none worth telling.
const char* DescribeFailure(CDataLayer::FailureCause cause)
{
    switch (cause) {
    case CDataLayer::fcBusy: return "the database file is in use by another program";
    case CDataLayer::fcReadOnly: return "the database file is read-only";
    case CDataLayer::fcDamaged: return "the database file is damaged";
    case CDataLayer::fcNotDatabase: return "the file named as the database is not an Autolark database";
    case CDataLayer::fcPathTooLong: return "the database file's path is too long";
    default: return nullptr;
    }
}

}  // namespace

CStringA ReadDatabasePath()
{
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, KEY_READ | KEY_WRITE) != ERROR_SUCCESS)
        ThrowGeneralSynchError(1);
    // Text, used as stored (an expandable value is not expanded), whole within the buffer with
    // its terminator.
    char path[kPathBytes];
    ULONG chars = kPathBytes;
    if (key.QueryStringValue(ALK_DB_PATH_VALUE_A, path, &chars) != ERROR_SUCCESS) ThrowGeneralSynchError(1);
    // A folder passes too: connecting it then fails with error 2.
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) ThrowGeneralSynchError(1);
    return CStringA(path);
}

bool LoadSyncInfo(const char* path, CDbItemInfoMap& map, std::string* problem)
{
    map.clear();
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return true;
    std::stringstream bytes;
    bytes << file.rdbuf();
    const std::string content = bytes.str();
    char text[256];
    if (content.size() % ItemInfoRecordBytes != 0) {
        FormatText(text, "its %lu bytes are not a whole number of %u-byte records",
                   static_cast<unsigned long>(content.size()), static_cast<unsigned>(ItemInfoRecordBytes));
        if (problem) *problem = text;
        return false;
    }
    std::istringstream stream(content);
    CStreamDataReader reader(stream);
    for (size_t index = 1, count = content.size() / ItemInfoRecordBytes; index <= count; ++index) {
        CDbItemInfo info;
        std::string why;
        if (!ReadItemInfo(reader, info)) why = "it cannot be read";
        if (why.empty()) why = FindUnsoundValue(info);
        if (!why.empty()) {
            FormatText(text, "record %lu: %s", static_cast<unsigned long>(index), why.c_str());
            if (problem) *problem = text;
            map.clear();
            return false;
        }
        map[info.GetKey()] = info.GetValue();
    }
    return true;
}

CCustomSynchronizerBase::CCustomSynchronizerBase(HsProgressFn progress, HotSyncRunInfo* runInfo,
                                                 long* conflictsResolving)
    : m_progress(progress),
      m_runInfo(runInfo),
      m_conflictsResolving(conflictsResolving),
      m_reloadMessage(RegisterWindowMessageA(ALK_RELOAD_DATA_MESSAGE_A))
{}

CCustomSynchronizerBase::~CCustomSynchronizerBase() = default;

void CCustomSynchronizerBase::ShowProgress(const char* text) const
{
    if (m_progress) m_progress(text);
}

void CCustomSynchronizerBase::Run()
{
    ShowProgress("Autolark");
    try {
        const CStringA path = ReadDatabasePath();
        if (m_database.Connect(path) != CDataLayer::csConnected)
            ThrowGeneralSynchError(2, DescribeFailure(m_database.GetLastFailure()));
        // A newer program's file may hold what this one does not know: it is left as it is.
        if (m_database.IsNewerVersion()) {
            char cause[256];
            FormatText(cause,
                       "the database file was made by a newer version of Autolark (data file version %s) "
                       "and was left as it is",
                       m_database.GetDBVersion());
            ThrowGeneralSynchError(2, cause);
        }
        if (!m_database.BeginTransaction()) ThrowGeneralSynchError(8, DescribeFailure(m_database.GetLastFailure()));
        CallRemoteEmpty();
        Synchronize();
        CallRemoteEmpty();
        if (CommitWithRetry()) {
            if (!SaveSyncInfo()) LogToHotSync(HsLogNotice, 0, "%s", "Last synchronization information wasn't saved");
            // The desktop changed (or may have): a running program reloads. Sent whether or not
            // the snapshot was saved.
            SendNotifyMessageA(HWND_BROADCAST, m_reloadMessage, 0, 0);
        } else {
            // The transaction is discarded when the connection closes with the synchronizer.
            LogToHotSync(HsLogFailure, 0, "%s", "Commit failed. The changes on the desktop were not saved");
        }
        return;
    } catch (const std::exception& e) {
        LogError(e.what());
    } catch (...) {
        LogError("Unknown exception");
    }
    RollBack();
}

bool CCustomSynchronizerBase::CommitWithRetry()
{
    for (int attempt = 1; attempt <= CommitAttempts; ++attempt) {
        switch (m_database.Commit()) {
        case CDataLayer::crCommitted: return true;
        case CDataLayer::crBusy: {
            char text[256];
            FormatText(text, "Can't commit, the database is busy (attempt %d of %d)", attempt,
                       static_cast<int>(CommitAttempts));
            ShowProgress(text);
            if (attempt < CommitAttempts) Sleep(CommitWaitMs);
            break;
        }
        default: return false;
        }
    }
    return false;
}

void CCustomSynchronizerBase::RollBack()
{
    if (m_database.IsConnected() && m_database.RollBack())
        LogToHotSync(HsLogNotice, 1, "%s", "Changes were rolled back");
}

CStringA CCustomSynchronizerBase::GetSyncInfoPath() const
{
    CStringA path(m_runInfo->path, static_cast<int>(strnlen(m_runInfo->path, sizeof m_runInfo->path)));
    path += "SynchInfo.dat";
    return path;
}

bool CCustomSynchronizerBase::SaveSyncInfo()
{
    try {
        CDbItemInfoMap map;
        CMapObjectStore<CDbItemInfo> store(map);
        if (!GatherItemInfos(store, m_database)) return false;

        const CStringA path = GetSyncInfoPath();
        MakeFileDirectory(path);
        CStringA temporary = path;
        temporary += ".tmp";
        std::ofstream file(static_cast<const char*>(temporary), std::ios::out | std::ios::binary | std::ios::trunc);
        if (!file.is_open()) return false;
        CStreamDataWriter writer(file);
        for (const auto& item : map) CDbItemInfo(item.first, item.second).Write(writer);
        // A failed flush at the close would leave a short file: it never takes the old one's place.
        file.close();
        if (file.fail()) return false;
        DeleteFileA(path);
        return MoveFileA(temporary, path) != FALSE;
    } catch (...) {
        return false;
    }
}
