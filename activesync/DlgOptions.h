// The information dialog the manager shows when the user asks for the object type's options
// (template IDD_OPTIONS): the provider's icon and name in bold, what it does, and that there is
// nothing to set. It ends with the id of the command that closed it: 1 (IDOK) or 2 (IDCANCEL,
// which "Close", Escape and the close box give). It stores nothing.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"
#include "resources/activesync/resource.h"

class CDlgOptions : public CDialogImpl<CDlgOptions> {
public:
    enum { IDD = IDD_OPTIONS };

    CDlgOptions() = default;
    ~CDlgOptions() override;
    CDlgOptions(const CDlgOptions&) = delete;
    CDlgOptions& operator=(const CDlgOptions&) = delete;

    // clang-format off
    BEGIN_MSG_MAP(CDlgOptions)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);

    HFONT m_boldFont = nullptr;  // the title's font, owned; made at WM_INITDIALOG
};
