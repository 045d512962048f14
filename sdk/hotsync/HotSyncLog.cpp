// HotSyncLog.dll, the double of the manager's log library. Each entry is appended at once to the
// log file its host named, as one line: activity TAB time-stamp flag TAB text LF. The text is
// written as given (a line end inside it would start a new line: the conduit's texts have none).
#include <windows.h>

#include <string>

#include "sdk/hotsync/HotSync.h"

namespace {

std::string g_logFile;
CRITICAL_SECTION g_lock;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&g_lock);
    if (reason == DLL_PROCESS_DETACH) DeleteCriticalSection(&g_lock);
    return TRUE;
}

void __cdecl HsSimSetLogFile(const char* path)
{
    EnterCriticalSection(&g_lock);
    g_logFile = path ? path : "";
    LeaveCriticalSection(&g_lock);
}

void __cdecl HsLogWrite(const char* line, long activity, long timeStamp)
{
    std::string entry = std::to_string(activity) + "\t" + std::to_string(timeStamp) + "\t" + (line ? line : "") + "\n";
    EnterCriticalSection(&g_lock);
    if (!g_logFile.empty()) {
        HANDLE file = CreateFileA(g_logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
            CloseHandle(file);
        }
    }
    LeaveCriticalSection(&g_lock);
}
