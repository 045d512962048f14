#include "desktop/DlgStartup.h"

#include "desktop/AppSettings.h"
#include "desktop/Manual.h"
#include "desktop/Paths.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Controls.h"
#include "framework/FileDialog.h"

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
    CStatic(GetDlgItem(IDC_STARTUP_ICON)).SetIcon(m_infoIcon);
    // The welcome dialog is modal: the Help menu it names cannot be reached while it is up.
    m_manualLink.SubclassWindow(GetDlgItem(IDC_STARTUP_INFO));
    m_manualLink.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    CenterWindow(GetParent());
    CheckRadioButton(IDC_STARTUP_CREATE, IDC_STARTUP_OPEN, IDC_STARTUP_CREATE);
    return TRUE;
}

LRESULT CDlgStartup::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // The icon control does not own its icon; take it back before the icon goes.
    CStatic(GetDlgItem(IDC_STARTUP_ICON)).SetIcon(nullptr);
    handled = FALSE;
    return 0;
}

bool CDlgStartup::AskForFile(bool create, CString& path)
{
    const CString filter = LoadFileFilter(IDS_FILTER_DATABASE);
    DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!create) flags |= OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    CFileDialog dialog(create ? FALSE : TRUE, nullptr, g_AppSettings.DBPath, flags, filter);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return false;
    path = dialog.m_szFileName;
    return true;
}

LRESULT CDlgStartup::OnOK(WORD, WORD, HWND, BOOL&)
{
    bool create = IsDlgButtonChecked(IDC_STARTUP_CREATE) == BST_CHECKED;
    CString path;
    if (!AskForFile(create, path)) return 0;  // the welcome dialog stays open
    lstrcpynW(g_AppSettings.DBPath, path, CAppSettings::MaxPath + 1);
    m_createNew = create ? 1 : 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgStartup::OnManual(WORD, WORD, HWND, BOOL&)
{
    wchar_t folder[MAX_PATH];
    GetAppDirectory(folder);
    OpenManual(m_hWnd, GetManualPath(folder));
    return 0;
}

LRESULT CDlgStartup::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
