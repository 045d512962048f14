// The keywords of the editors' drop-down fields: CDlgKeywords, the "Manage Keywords" dialog that
// adds, renames and deletes the keywords of one kind and lets the user pick one, and the two
// operations the editors use.
//
// Keywords are only texts offered for entry and reminder fields: renaming or deleting one
// changes no record that uses its text. Every change is saved as it is made, whatever the
// dialog's outcome; refused changes (a name taken, an empty text, a failed save or delete) leave
// the list as it was, without a message.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

class CDlgKeywords : public CDialogImpl<CDlgKeywords>, public CWinDataExchange<CDlgKeywords> {
public:
    enum { IDD = IDD_KEYWORDS };
    // The longest keyword the field takes, in characters.
    enum { MaxKeyword = 30 };

    explicit CDlgKeywords(CKeyword::Type type) : m_type(type) {}
    ~CDlgKeywords() override = default;

    CKeyword::Type m_type;
    // The edit field's text while the dialog runs; the chosen keyword after IDOK.
    CString m_text;
    // The list of the kind's keywords; each entry's item data is the keyword's row id.
    CListBox m_list;

    // clang-format off
    BEGIN_MSG_MAP(CDlgKeywords)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_HANDLER(IDC_KEYWORD_TEXT, EN_CHANGE, OnTextChange)
        COMMAND_HANDLER(IDC_KEYWORD_LIST, LBN_SELCHANGE, OnSelChange)
        COMMAND_HANDLER(IDC_KEYWORD_LIST, LBN_DBLCLK, OnOK)
        COMMAND_ID_HANDLER(IDC_KEYWORD_ADD, OnAdd)
        COMMAND_ID_HANDLER(IDC_KEYWORD_EDIT, OnRename)
        COMMAND_ID_HANDLER(IDC_KEYWORD_DELETE, OnDelete)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgKeywords)
        DDX_TEXT(IDC_KEYWORD_TEXT, m_text)
    END_DDX_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTextChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnSelChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnAdd(WORD, WORD, HWND, BOOL&);
    LRESULT OnRename(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    // True when a keyword of the kind has exactly that text (case counts), and when the
    // keywords cannot be loaded to tell.
    bool IsNameTaken(const wchar_t* name) const;
    // Edit, Delete and OK follow the selection; a selected entry's text goes into the field.
    void SelectionChanged();
};

// Shows the keyword dialog for the kind, owned by the active window. 1 with the chosen keyword's
// text in chosen; 0 when the dialog was cancelled (chosen untouched).
int ManageKeywords(CKeyword::Type type, CString& chosen);

// Empties the combo box and adds the name of every keyword of the kind (the box sorts them). A
// failed load leaves the box empty.
void FillKeywordCombo(CKeyword::Type type, HWND combo);
