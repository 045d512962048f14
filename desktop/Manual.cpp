#include "desktop/Manual.h"

#include <shellapi.h>

#include <cwchar>

#include "desktop/Paths.h"
#include "desktop/Utility.h"
#include "resources/desktop/resource.h"

CString GetManualPath(const wchar_t* folder)
{
    wchar_t path[MAX_PATH];
    return JoinPath(path, folder, LoadResString(IDS_MANUAL_FILE)) ? CString(path) : CString();
}

bool OpenManual(HWND owner, const wchar_t* path)
{
    INT_PTR result = SE_ERR_FNF;
    if (path && *path) {
        result = reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", path, nullptr, nullptr, SW_SHOWNORMAL));
    }
    if (result > 32) return true;
    ReportManualNotOpened(owner, path, result);
    return false;
}

void ReportManualNotOpened(HWND owner, const wchar_t* path, INT_PTR shellResult)
{
    const CString file = path && *path ? CString(path) : LoadResString(IDS_MANUAL_FILE);
    CString text;
    switch (shellResult) {
    case SE_ERR_FNF:
    case SE_ERR_PNF: text.Format(LoadResString(IDS_MANUAL_MISSING), file.GetString()); break;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE: text.Format(LoadResString(IDS_MANUAL_NO_VIEWER), file.GetString()); break;
    default: {
        // The shell's own codes for the rest, as the system's error numbers, in its words.
        DWORD error = static_cast<DWORD>(shellResult);
        if (shellResult == 0 || shellResult == SE_ERR_OOM) error = ERROR_NOT_ENOUGH_MEMORY;
        if (shellResult == SE_ERR_SHARE) error = ERROR_SHARING_VIOLATION;
        if (shellResult == SE_ERR_DLLNOTFOUND) error = ERROR_DLL_NOT_FOUND;
        wchar_t reason[256] = L"";
        if (!::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                              256, nullptr)) {
            swprintf(reason, 256, L"error %d", static_cast<int>(shellResult));
        }
        // The system's text ends with a line break.
        for (size_t n = wcslen(reason); n > 0 && (reason[n - 1] == L'\n' || reason[n - 1] == L'\r'); --n)
            reason[n - 1] = L'\0';
        text.Format(LoadResString(IDS_MANUAL_NOT_OPENED), file.GetString(), reason);
        break;
    }
    }
    ::MessageBoxW(owner, text, LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONEXCLAMATION);
}
