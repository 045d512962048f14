#include "desktop/DlgFuelDetails.h"

#include <cmath>

#include "desktop/AppSettings.h"
#include "desktop/DlgKeywords.h"
#include "desktop/Utility.h"
#include "framework/RegKey.h"

namespace {

const wchar_t kLastPrice[] = L"LastPrice";

}  // namespace

float CDlgFuelDetails::ReadLastPrice()
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, ALK_SETTINGS_KEY) != ERROR_SUCCESS) return 0;
    float price = 0;
    ULONG size = sizeof price;
    // A value of another size would fill the float only partly (or not fit).
    if (key.QueryBinaryValue(kLastPrice, &price, &size) != ERROR_SUCCESS || size != sizeof price ||
        !std::isfinite(price))
        return 0;
    return price;
}

void CDlgFuelDetails::WriteLastPrice(float price)
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, ALK_SETTINGS_KEY) == ERROR_SUCCESS)
        key.SetBinaryValue(kLastPrice, &price, sizeof price);
}

LRESULT CDlgFuelDetails::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CWindow(GetParent()).CenterWindow();
    // A new entry has no price yet: propose the last one applied.
    if (m_price == 0) m_price = ReadLastPrice();

    m_datePicker = GetDlgItem(IDC_ENTRY_DATE);
    m_vendorBox = GetDlgItem(IDC_ENTRY_KEYWORD);
    DDX_Date(IDC_ENTRY_DATE, m_date, FALSE);
    FillKeywordCombo(CKeyword::ktFuelVendor, m_vendorBox);
    SetupSpinControl(GetDlgItem(IDC_ENTRY_ODOMETER_SPIN), 1000000, 10);

    switch (g_AppSettings.UnitVolume) {
    case 0:
    case 1:
        SetDlgItemText(IDC_FUEL_QUANTITY_LABEL, LoadResString(IDS_NUM_GALLONS));
        SetDlgItemText(IDC_FUEL_PRICE_LABEL, LoadResString(IDS_COST_PER_GALLON));
        break;
    case 2:
        SetDlgItemText(IDC_FUEL_QUANTITY_LABEL, LoadResString(IDS_NUM_LITRES));
        SetDlgItemText(IDC_FUEL_PRICE_LABEL, LoadResString(IDS_COST_PER_LITRE));
        break;
    default: break;  // the template's "#"
    }

    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

int CDlgFuelDetails::OnApply()
{
    if (!DoDataExchange(TRUE)) return PSNRET_INVALID;
    WriteLastPrice(m_price);
    DDX_Date(IDC_ENTRY_DATE, m_date, TRUE);
    return PSNRET_NOERROR;
}

LRESULT CDlgFuelDetails::OnCalc(WORD, WORD, HWND, BOOL&)
{
    if (!DoDataExchange(TRUE)) return 0;

    // The missing number: a later zero overrides an earlier one; with none missing, the total.
    enum { kQuantity, kPrice, kTotal } computed = kTotal;
    if (m_quantity == 0) computed = kQuantity;
    if (m_price == 0) computed = kPrice;
    if (m_total == 0) computed = kTotal;

    // Single-precision arithmetic, as the numbers are stored.
    UINT field = IDC_ENTRY_AMOUNT;
    switch (computed) {
    case kTotal: m_total = m_price * m_quantity; break;
    case kPrice:
        m_price = m_quantity > 0 ? m_total / m_quantity : 0.0f;
        field = IDC_FUEL_PRICE;
        break;
    case kQuantity:
        m_quantity = m_price > 0 ? m_total / m_price : 0.0f;
        field = IDC_FUEL_QUANTITY;
        break;
    }

    DoDataExchange(FALSE);
    CEdit edit(GetDlgItem(field));
    GotoDlgCtrl(edit);
    edit.SetSelAll();
    return 0;
}

LRESULT CDlgFuelDetails::OnKeywords(WORD, WORD, HWND, BOOL&)
{
    CString chosen;
    if (ManageKeywords(CKeyword::ktFuelVendor, chosen)) m_vendorBox.SetWindowText(chosen);
    return 0;
}
