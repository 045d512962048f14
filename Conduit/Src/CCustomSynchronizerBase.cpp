#include "Conduit/Src/CCustomSynchronizerBase.h"

#include <cstring>
#include <exception>
#include <fstream>

#include "common/SharedNames.h"
#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/DataReader.h"
#include "Conduit/Src/DataWriter.h"
#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/Helpers.h"
#include "Conduit/Src/ObjectStores.h"
#include "Conduit/Src/SynchException.h"
#include "framework/RegKey.h"

namespace {

const DWORD kPathBytes = 260;

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

void LoadSyncInfo(const char* path, CDbItemInfoMap& map)
{
    map.clear();
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return;
    CStreamDataReader reader(file);
    for (;;) {
        CDbItemInfo info;
        if (!ReadItemInfo(reader, info)) break;
        map[info.GetKey()] = info.GetValue();
    }
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
        if (m_database.Connect(path) != CDataLayer::csConnected) ThrowGeneralSynchError(2);
        if (!m_database.BeginTransaction()) ThrowGeneralSynchError(8);
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
