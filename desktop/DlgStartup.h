// The welcome dialog: shown when no usable database file is known (the very first start, or a
// remembered file that cannot be opened). The user chooses to create a new file (from the
// template) or to open an existing one; the chosen path goes straight into the settings' DBPath.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/HyperLink.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgStartup : public CDialogImpl<CDlgStartup> {
public:
    enum { IDD = IDD_STARTUP };

    CDlgStartup() = default;
    ~CDlgStartup() override;

    // 1 when "Create a new database file" was chosen, 0 for "Open an existing database file";
    // set when the dialog ends with IDOK.
    int m_createNew = 1;

    // clang-format off
    BEGIN_MSG_MAP(CDlgStartup)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDC_STARTUP_INFO, OnManual)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    // The text that points to the manual is a link to it: opened, or the user told why not.
    LRESULT OnManual(WORD, WORD, HWND, BOOL&);

    // Runs the save-as dialog (create) or the open dialog with DBPath as the proposed name;
    // true with the chosen path in path.
    bool AskForFile(bool create, CString& path);

    // The information icon of control 1007, owned (loaded at the settings' small-icon size).
    HICON m_infoIcon = nullptr;
    // Text 1023 shown as a link that sends its command to the dialog.
    CHyperLink m_manualLink;
};
