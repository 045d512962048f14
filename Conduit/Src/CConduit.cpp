#include "Conduit/Src/CConduit.h"

#include <cstring>
#include <exception>
#include <type_traits>
#include <vector>

#include "common/Assert.h"
#include "Conduit/Src/AtlException.h"
#include "Conduit/Src/CConduitConfigurationDialog.h"
#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/ConduitSettings.h"
#include "Conduit/Src/RunSync.h"
#include "Conduit/Src/SynchException.h"
#include "resources/conduit/resource.h"

static_assert(std::is_same<decltype(&OpenConduit), OpenConduitFn>::value, "OpenConduit as the manager calls it");
static_assert(std::is_same<decltype(&GetConduitName), GetConduitNameFn>::value, "GetConduitName");
static_assert(std::is_same<decltype(&GetConduitVersion), GetConduitVersionFn>::value, "GetConduitVersion");
static_assert(std::is_same<decltype(&ConfigureConduit), ConfigureConduitFn>::value, "ConfigureConduit");
static_assert(std::is_same<decltype(&GetConduitInfo), GetConduitInfoFn>::value, "GetConduitInfo");
static_assert(std::is_same<decltype(&CfgConduit), CfgConduitFn>::value, "CfgConduit");

CConduit g_Conduit;

namespace {

// The unit named by this file's fatal errors: a fixed text, the same in every build.
const char kUnit[] = "Src\\CConduit.cpp";
const long kFolderBytes = 260;

// A text of the manager's blocks, which need not end within their arrays.
template <size_t N>
CStringA TextOf(const char (&field)[N])
{
    return CStringA(field, static_cast<int>(strnlen(field, N)));
}

void ShowException(const std::exception& e)
{
    ShowErrorBox(e.what());
}

void ShowUnknownException()
{
    ShowErrorBox("Unknown exception");
}

}  // namespace

const char* GetCreatorStr()
{
    return "aLRK";
}

CConduit::CConduit() : ModuleHandle(nullptr), ConflictsResolving(2) {}

BOOL CConduit::OnLibraryEntry(HINSTANCE instance, DWORD reason)
{
    ALK_ASSERT(instance != nullptr);
    ModuleHandle = instance;
    if (reason == DLL_PROCESS_ATTACH) {
        m_com.Initialize();
        Init(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        Term();
        m_com.Uninitialize();
    }
    return TRUE;
}

CStringA CConduit::GetConduitFolder(const char* userName)
{
    char buffer[kFolderBytes];
    // Each query gets a size of its own: the manager gives back the text's length in it.
    long size = kFolderBytes;
    if (CmGetCorePath(buffer, &size) != 0) throw CFatalException(kUnit, 332, "CmGetCorePath(buf, &size) != 0");
    buffer[kFolderBytes - 1] = '\0';
    CStringA folder(buffer);
    folder += "\\";
    folder += GetUserFolder(userName);
    folder += "\\";
    size = kFolderBytes;
    if (CmGetCreatorDirectory(GetCreatorStr(), buffer, &size) != 0)
        throw CFatalException(kUnit, 339, "CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0");
    buffer[kFolderBytes - 1] = '\0';
    folder += buffer;
    folder += "\\";
    return folder;
}

CStringA CConduit::GetUserFolder(const char* userName)
{
    DWORD userId = 0;
    if (UmGetIDFromName(userName, &userId) != 0)
        throw CFatalException(kUnit, 307, "UmGetIDFromName(userName, &userId) != 0");
    char buffer[kFolderBytes];
    long size = kFolderBytes;
    if (UmGetUserDirectory(userId, buffer, &size) <= 0)
        throw CFatalException(kUnit, 309, "UmGetUserDirectory(userId, buf, &size) <= 0");
    buffer[kFolderBytes - 1] = '\0';
    return CStringA(buffer);
}

bool CConduit::ShowConfiguration(ConduitConfigRequest* request, const char* folder)
{
    CStringA settings(folder);
    settings += "Settings.ini";
    LoadConduitSettings(settings, &ConflictsResolving);
    if (!RunConfigurationDialog(request)) return false;
    SaveConduitSettings(settings, ConflictsResolving);
    return true;
}

// --- entry points ------------------------------------------------------------------------------
// No exception leaves an entry point: OpenConduit writes it to the HotSync log, the others show
// it in a message box.

extern "C" long OpenConduit(HsProgressFn progress, HotSyncRunInfo* runInfo)
{
    if (!progress || !runInfo) return 0;
    try {
        CStringA settings = g_Conduit.GetConduitFolder(TextOf(runInfo->userName));
        settings += "Settings.ini";
        LoadConduitSettings(settings, &g_Conduit.ConflictsResolving);
        RunSync(&g_Conduit.ConflictsResolving, *runInfo, progress);
    } catch (const std::exception& e) {
        LogError(e.what());
    } catch (...) {
        LogError("Unknown exception");
    }
    return 0;
}

extern "C" long GetConduitName(char* name, WORD length)
{
    if (length == 0) return HsErrOutputTooSmall;
    if (!name) return HsErrNameFailed;
    try {
        CStringW wide;
        if (!wide.LoadString(g_Conduit.ModuleHandle, IDS_CONDUIT_NAME))
            AtlThrow(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
        CStringA text;
        const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, wide.GetLength(), nullptr, 0, nullptr, nullptr);
        if (bytes > 0) {
            ::WideCharToMultiByte(CP_ACP, 0, wide, wide.GetLength(), text.GetBuffer(bytes), bytes, nullptr, nullptr);
            text.ReleaseBuffer(bytes);
        }
        // At most length - 1 characters, NUL bytes after a shorter name, a NUL at the end.
        std::strncpy(name, text, length - 1);
        name[length - 1] = '\0';
        return 0;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowUnknownException();
    }
    name[0] = '\0';
    return HsErrNameFailed;
}

extern "C" long GetConduitVersion()
{
    try {
        char file[MAX_PATH];
        const DWORD length = ::GetModuleFileNameA(g_Conduit.ModuleHandle, file, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return 0;
        DWORD unused = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(file, &unused);
        if (size == 0) return 0;
        std::vector<BYTE> data(size);
        if (!::GetFileVersionInfoA(file, 0, size, data.data())) return 0;
        VS_FIXEDFILEINFO* info = nullptr;
        UINT infoSize = 0;
        if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
            infoSize < sizeof *info)
            return 0;
        const DWORD most = info->dwFileVersionMS;
        const long major = LOBYTE(HIWORD(most));
        const long minor = LOBYTE(LOWORD(most));
        return major * 256 + minor;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowUnknownException();
    }
    return 0;
}

extern "C" long ConfigureConduit(HotSyncActionPrefs* prefs)
{
    long result = -1;
    if (!prefs) return result;
    try {
        ConduitConfigRequest request;
        std::memset(&request, 0, sizeof request);
        request.version = ConduitConfigRequestVersion;
        request.size = sizeof request;
        request.defaultSyncType = prefs->syncType;
        request.nextSyncType = prefs->syncType;
        request.chosenSyncType = prefs->syncType;
        request.preference = HsPreferenceNextRun;
        if (g_Conduit.ShowConfiguration(&request, TextOf(prefs->path))) {
            prefs->syncType = request.chosenSyncType;
            prefs->preference = request.preference;
            result = 0;
        }
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowUnknownException();
    }
    return result;
}

extern "C" long CfgConduit(long configType, void* request, DWORD* size)
{
    if (!request) return HsErrNoInput;
    if (!size) return HsErrNoBlockSize;
    if (*size != sizeof(ConduitConfigRequest)) return HsErrBadBlockSize;
    if (configType != 0) return HsErrBadConfigType;
    ConduitConfigRequest* block = static_cast<ConduitConfigRequest*>(request);
    if (block->version != ConduitConfigRequestVersion) return HsErrBadBlockVersion;
    try {
        // The dialog writes its result into the block itself.
        const CStringA folder = g_Conduit.GetConduitFolder(TextOf(block->userName));
        g_Conduit.ShowConfiguration(block, folder);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowUnknownException();
    }
    return 0;
}

extern "C" long GetConduitInfo(long infoType, void* input, void* output, DWORD* size)
{
    if (!output) return HsErrNoOutput;
    if (!size) return HsErrNoOutputSize;
    BYTE* out = static_cast<BYTE*>(output);
    switch (static_cast<DWORD>(infoType)) {
    case HsInfoName: {
        if (!input) return HsErrNoInput;
        DWORD query[2];
        std::memcpy(query, input, sizeof query);
        if (query[0] != ConduitInfoQueryVersion || query[1] != sizeof(ConduitInfoQuery)) return HsErrBadInput;
        char* name = static_cast<char*>(output);
        const long result = GetConduitName(name, LOWORD(*size));
        if (result == 0 || result == HsErrNameFailed) *size = static_cast<DWORD>(std::strlen(name) + 1);
        return result;
    }
    case 2: {
        if (*size < sizeof(DWORD)) return HsErrOutputTooSmall;
        const DWORD zero = 0;
        std::memcpy(out, &zero, sizeof zero);
        return 0;
    }
    case 4:
    case 5:
    case 6:
        if (*size < 1) return HsErrOutputTooSmall;
        out[0] = infoType == 5 ? 1 : 0;
        return 0;
    default: return HsErrUnknownType;  // 1, 3 and every type above 6
    }
}
