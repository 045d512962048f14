#include "desktop/Startup.h"

#include <cwchar>

CAppModule _Module;
CDataLayer g_DataLayer;
HFONT g_hBoldFont = nullptr;
UINT WM_ACTIVATE_INSTANCE = 0;
UINT WM_RELOAD_DATA = 0;
HANDLE SingleInstanceMutex = nullptr;
CMainFrame* g_pMainFrame = nullptr;

void RegisterAppMessages()
{
    WM_ACTIVATE_INSTANCE = ::RegisterWindowMessageW(ALK_ACTIVATE_INSTANCE_MESSAGE);
    WM_RELOAD_DATA = ::RegisterWindowMessageW(ALK_RELOAD_DATA_MESSAGE);
}

wchar_t* CreateExclusionNameForDesktop(const wchar_t* guid, wchar_t* buffer, HDESK desktop)
{
    lstrcpynW(buffer, guid, MAX_PATH);
    size_t used = wcslen(buffer);
    if (used + 1 < MAX_PATH) {
        buffer[used++] = L'-';
        buffer[used] = L'\0';
    }
    // The room left, terminator included.
    DWORD room = static_cast<DWORD>(MAX_PATH - used);
    wchar_t name[MAX_PATH];
    DWORD needed = 0;
    if (desktop && ::GetUserObjectInformationW(desktop, UOI_NAME, name, sizeof name, &needed))
        lstrcpynW(buffer + used, name, static_cast<int>(room));
    else
        lstrcpynW(buffer + used, L"Win9x", static_cast<int>(room));
    return buffer;
}

wchar_t* CreateExclusionName(const wchar_t* guid, wchar_t* buffer, ExclusionScope scope)
{
    if (scope == UNIQUE_TO_DESKTOP)
        return CreateExclusionNameForDesktop(guid, buffer, ::GetThreadDesktop(::GetCurrentThreadId()));
    lstrcpynW(buffer, guid, MAX_PATH);
    return buffer;
}

bool IsAnotherInstanceRunning(const wchar_t* guid, ExclusionScope scope)
{
    if (SingleInstanceMutex) return false;
    wchar_t name[MAX_PATH];
    CreateExclusionName(guid, name, scope);
    SingleInstanceMutex = ::CreateMutexW(nullptr, FALSE, name);
    DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

void CreateBoldFont()
{
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    g_hBoldFont = ::CreateFontIndirectW(&font);
}

void ActivateRunningInstance()
{
    if (HWND running = ::FindWindowW(ALK_MAIN_FRAME_CLASS, nullptr)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(running, &process);
        if (process) ::AllowSetForegroundWindow(process);
    }
    ::SendNotifyMessageW(HWND_BROADCAST, WM_ACTIVATE_INSTANCE, 0, 0);
}
