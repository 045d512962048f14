// CDlgEntryDetails<T>: what the "Details" pages of repair and other-expense entries share: date,
// odometer, a description chosen from the keywords of one kind ("..." manages them), vendor and
// amount, the description required. The page T derives from it and states what differs:
//   IDD                    its dialog template
//   kKeywordType           the kind of keyword the description box lists and "..." manages
//   kExplainsRefusedInput  whether a field the exchange refuses is answered with a message
//                          besides the beep and the focus
//   its DDX map            the controls (the vendor's id) and the order they exchange in: the
//                          first field refused in that order gets the focus
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "desktop/DlgKeywords.h"
#include "desktop/Utility.h"
#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

template <class T>
class CDlgEntryDetails : public CPropertyPageImpl<T>, public CWinDataExchangeLocale<T> {
public:
    // The entry's fields: filled before the sheet runs, read after it ended with OK.
    double m_date = 0;    // OLE date with the time of day
    long m_odometer = 0;  // signed 32-bit
    float m_amount = 0;
    CString m_vendor;
    CString m_description;  // the entry's name
    CDateTimePickerCtrl m_datePicker;
    CComboBox m_descriptionBox;

    // clang-format off
    BEGIN_MSG_MAP(CDlgEntryDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDC_ENTRY_KEYWORDS, OnKeywords)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<T>)
    END_MSG_MAP()
    // clang-format on

    // PSN_APPLY: the fields from the controls (a refused one beeps and takes the focus), a
    // description required, the date from the picker.
    int OnApply()
    {
        if (!Page().DoDataExchange(TRUE)) {
            if (T::kExplainsRefusedInput) ShowMessage(IDS_CHECK_INPUTS);
            return PSNRET_INVALID;
        }
        if (m_description.IsEmpty()) {
            ShowMessage(IDS_DESCRIPTION_REQUIRED);
            this->GotoDlgCtrl(m_descriptionBox);
            return PSNRET_INVALID;
        }
        this->DDX_Date(IDC_ENTRY_DATE, m_date, TRUE);
        return PSNRET_NOERROR;
    }

protected:
    CDlgEntryDetails() = default;
    ~CDlgEntryDetails() override = default;

private:
    T& Page() { return static_cast<T&>(*this); }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        CWindow(this->GetParent()).CenterWindow();
        m_datePicker = this->GetDlgItem(IDC_ENTRY_DATE);
        m_descriptionBox = this->GetDlgItem(IDC_ENTRY_KEYWORD);
        FillKeywordCombo(T::kKeywordType, m_descriptionBox);
        this->DDX_Date(IDC_ENTRY_DATE, m_date, FALSE);
        SetupSpinControl(this->GetDlgItem(IDC_ENTRY_ODOMETER_SPIN), 1000000, 10);
        Page().DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
        return TRUE;
    }
    LRESULT OnKeywords(WORD, WORD, HWND, BOOL&)
    {
        CString chosen;
        if (ManageKeywords(T::kKeywordType, chosen)) m_descriptionBox.SetWindowText(chosen);
        return 0;
    }
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
    void ShowMessage(UINT text)
    {
        CWindow(this->GetParent())
            .MessageBox(LoadResString(text), LoadResString(IDS_ENTRY_PROPERTIES), MB_OK | MB_ICONINFORMATION);
    }
};
