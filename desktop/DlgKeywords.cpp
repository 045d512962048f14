#include "desktop/DlgKeywords.h"

#include <cwchar>
#include <memory>

#include "desktop/SaveEditedRecord.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"

namespace {

UINT CaptionOf(CKeyword::Type type)
{
    switch (type) {
    case CKeyword::ktCategory: return IDS_KEYWORDS_CATEGORIES;
    case CKeyword::ktRepair: return IDS_KEYWORDS_REPAIRS;
    case CKeyword::ktExpense: return IDS_KEYWORDS_EXPENSES;
    case CKeyword::ktFuelVendor: return IDS_KEYWORDS_FUEL_VENDORS;
    default: return 0;  // the template's "Manage Keywords"
    }
}

// A keyword record of the kind (allocated by AlkBiz, freed with the pointer).
std::unique_ptr<CKeyword> MakeKeyword(CKeyword::Type type, const wchar_t* name, long id)
{
    std::unique_ptr<CKeyword> keyword(new CKeyword);
    if (keyword) {
        keyword->SetID(id);
        keyword->SetType(type);
        keyword->SetName(name);
    }
    return keyword;
}

}  // namespace

LRESULT CDlgKeywords::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    if (UINT caption = CaptionOf(m_type)) SetWindowText(LoadResString(caption));

    m_list = GetDlgItem(IDC_KEYWORD_LIST);
    m_list.ResetContent();
    CObjectListT<CKeyword> keywords;
    if (g_DataLayer.Load(&keywords, m_type)) {
        for (int i = 0; i < keywords.GetCount(); ++i) {
            CKeyword* keyword = keywords.Get(i);
            int index = m_list.AddString(keyword->GetName());
            if (index >= 0) m_list.SetItemData(index, static_cast<DWORD_PTR>(keyword->GetID()));
        }
    }
    CEdit(GetDlgItem(IDC_KEYWORD_TEXT)).SetLimitText(MaxKeyword);
    return TRUE;
}

LRESULT CDlgKeywords::OnTextChange(WORD, WORD, HWND, BOOL&)
{
    CWindow(GetDlgItem(IDC_KEYWORD_ADD)).EnableWindow(CWindow(GetDlgItem(IDC_KEYWORD_TEXT)).GetWindowTextLength() > 0);
    return 0;
}

void CDlgKeywords::SelectionChanged()
{
    const int selected = m_list.GetCurSel();
    if (selected >= 0) {
        CString text;
        m_list.GetText(selected, text);
        SetDlgItemText(IDC_KEYWORD_TEXT, text);
    }
    const BOOL any = selected >= 0;
    CWindow(GetDlgItem(IDC_KEYWORD_EDIT)).EnableWindow(any);
    CWindow(GetDlgItem(IDC_KEYWORD_DELETE)).EnableWindow(any);
    CWindow(GetDlgItem(IDOK)).EnableWindow(any);
}

LRESULT CDlgKeywords::OnSelChange(WORD, WORD, HWND, BOOL&)
{
    SelectionChanged();
    return 0;
}

bool CDlgKeywords::IsNameTaken(const wchar_t* name) const
{
    CObjectListT<CKeyword> keywords;
    if (!g_DataLayer.Load(&keywords, m_type)) return true;
    for (int i = 0; i < keywords.GetCount(); ++i)
        if (wcscmp(keywords.Get(i)->GetName(), name) == 0) return true;
    return false;
}

LRESULT CDlgKeywords::OnAdd(WORD, WORD, HWND, BOOL&)
{
    DoDataExchange(TRUE);
    if (m_text.IsEmpty()) return 0;
    std::unique_ptr<CKeyword> keyword = MakeKeyword(m_type, m_text, 0);
    const bool added = keyword && !IsNameTaken(m_text);
    if (added && WriteAskingAgain([&keyword] { return g_DataLayer.Save(keyword.get(), 0); })) {
        // Selected without a selection notification: the buttons keep their state.
        const int index = m_list.AddString(m_text);
        if (index >= 0) {
            m_list.SetItemData(index, static_cast<DWORD_PTR>(keyword->GetID()));
            m_list.SetCurSel(index);
        }
    }
    GotoDlgCtrl(GetDlgItem(IDC_KEYWORD_TEXT));
    return 0;
}

LRESULT CDlgKeywords::OnRename(WORD, WORD, HWND, BOOL&)
{
    const int selected = m_list.GetCurSel();
    DoDataExchange(TRUE);
    if (selected < 0 || m_text.IsEmpty()) return 0;
    const long id = static_cast<long>(m_list.GetItemData(selected));
    std::unique_ptr<CKeyword> keyword = MakeKeyword(m_type, m_text, id);
    if (!keyword || IsNameTaken(m_text)) return 0;
    if (!WriteAskingAgain([&keyword] { return g_DataLayer.Save(keyword.get(), 0); })) return 0;
    // In place: the list is not sorted again until the dialog is opened again.
    m_list.DeleteString(selected);
    const int index = m_list.InsertString(selected, m_text);
    if (index >= 0) {
        m_list.SetItemData(index, static_cast<DWORD_PTR>(id));
        m_list.SetCurSel(index);
    }
    m_list.SetFocus();
    return 0;
}

LRESULT CDlgKeywords::OnDelete(WORD, WORD, HWND, BOOL&)
{
    const int selected = m_list.GetCurSel();
    if (selected < 0) return 0;
    std::unique_ptr<CKeyword> keyword = MakeKeyword(m_type, L"", static_cast<long>(m_list.GetItemData(selected)));
    if (keyword && WriteAskingAgain([&keyword] { return g_DataLayer.Delete(keyword.get()); })) {
        m_list.DeleteString(selected);
        if (m_list.GetCount() > 0) m_list.SetCurSel(selected > 0 ? selected - 1 : 0);
        m_list.SetFocus();
    }
    SelectionChanged();
    return 0;
}

LRESULT CDlgKeywords::OnOK(WORD, WORD, HWND, BOOL&)
{
    const int selected = m_list.GetCurSel();
    if (selected < 0) return 0;
    m_list.GetText(selected, m_text);
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgKeywords::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int ManageKeywords(CKeyword::Type type, CString& chosen)
{
    CDlgKeywords dialog(type);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return 0;
    chosen = dialog.m_text;
    return 1;
}

void FillKeywordCombo(CKeyword::Type type, HWND combo)
{
    CComboBox box(combo);
    box.ResetContent();
    CObjectListT<CKeyword> keywords;
    if (!g_DataLayer.Load(&keywords, type)) return;
    for (int i = 0; i < keywords.GetCount(); ++i) box.AddString(keywords.Get(i)->GetName());
}
