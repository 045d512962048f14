#include "desktop/DlgDatabaseInfo.h"

#include <shlwapi.h>

#include <vector>

#include "desktop/DataFileMessages.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Handle.h"

namespace {

CString Count(int count)
{
    return FormatNumber(static_cast<float>(count), false, false);
}

// The engine's version text (8-bit, in the thread's ANSI code page).
CString LibraryVersion()
{
    const char* version = g_DataLayer.GetDBLibVersion();
    if (!version) return CString();
    const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, version, -1, nullptr, 0);
    if (length <= 0) return CString();
    std::vector<wchar_t> text(length);
    MultiByteToWideChar(CP_THREAD_ACP, 0, version, -1, text.data(), length);
    return CString(text.data());
}

}  // namespace

LRESULT CDlgDatabaseInfo::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    SetDlgItemText(IDC_DBINFO_PATH, g_DataLayer.GetDBPath());
    SetDlgItemText(IDC_DBINFO_VERSION, LibraryVersion());
    SetDlgItemText(IDC_DBINFO_VEHICLES, Count(g_DataLayer.GetNumVehicles()));
    SetDlgItemText(IDC_DBINFO_ENTRIES, Count(g_DataLayer.GetNumEntries()));
    SetDlgItemText(IDC_DBINFO_REMINDERS, Count(g_DataLayer.GetNumNotifications()));
    SetDlgItemText(IDC_DBINFO_KEYWORDS, Count(g_DataLayer.GetNumKeywords()));
    ShowFileSize();
    return TRUE;
}

void CDlgDatabaseInfo::ShowFileSize()
{
    // Opened to be queried only: no read or write access, others keep theirs.
    CHandle file(CreateFileW(g_DataLayer.GetDBPath(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return;
    const DWORD size = GetFileSize(file, nullptr);  // the low 32 bits
    wchar_t text[14];
    if (StrFormatKBSizeW(size, text, 14)) SetDlgItemText(IDC_DBINFO_SIZE, text);
}

LRESULT CDlgDatabaseInfo::OnCompress(WORD, WORD, HWND, BOOL&)
{
    TellOfDamage();  // compressing rewrites the whole file
    if (g_DataLayer.Compress()) ShowFileSize();
    return 0;
}

LRESULT CDlgDatabaseInfo::OnClose(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
