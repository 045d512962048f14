#include "desktop/DlgStartup.h"

#include <commdlg.h>

#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"

CDlgStartup::~CDlgStartup()
{
    if (m_infoIcon) ::DestroyIcon(m_infoIcon);
}

LRESULT CDlgStartup::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    if (g_hBoldFont) CWindow(GetDlgItem(IDC_STARTUP_TITLE)).SetFont(g_hBoldFont);
    if (!m_infoIcon) {
        int size = g_AppSettings.SmallIconSize;
        m_infoIcon = static_cast<HICON>(
            ::LoadImageW(AlkGetResourceInstance(), MAKEINTRESOURCEW(IDI_INFO), IMAGE_ICON, size, size, 0));
    }
    SendDlgItemMessage(IDC_STARTUP_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_infoIcon));
    CenterWindow(GetParent());
    CheckRadioButton(IDC_STARTUP_CREATE, IDC_STARTUP_OPEN, IDC_STARTUP_CREATE);
    return TRUE;
}

LRESULT CDlgStartup::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // The icon control does not own its icon; take it back before the icon goes.
    SendDlgItemMessage(IDC_STARTUP_ICON, STM_SETICON, 0);
    handled = FALSE;
    return 0;
}

bool CDlgStartup::AskForFile(bool create, wchar_t* path)
{
    CString filter = LoadFileFilter(IDS_FILTER_DATABASE);
    lstrcpynW(path, g_AppSettings.DBPath, MAX_PATH + 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ::GetActiveWindow();
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH + 1;
    if (create) {
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        return ::GetSaveFileNameW(&ofn) != FALSE;
    }
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return ::GetOpenFileNameW(&ofn) != FALSE;
}

LRESULT CDlgStartup::OnOK(WORD, WORD, HWND, BOOL&)
{
    bool create = IsDlgButtonChecked(IDC_STARTUP_CREATE) == BST_CHECKED;
    wchar_t path[MAX_PATH + 1];
    if (!AskForFile(create, path)) return 0;  // the welcome dialog stays open
    lstrcpynW(g_AppSettings.DBPath, path, CAppSettings::MaxPath + 1);
    m_createNew = create ? 1 : 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgStartup::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
