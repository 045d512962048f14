// CWinDataExchange<T>: dialog data exchange between member variables and the controls of T
// (a dialog or property page).
//
//   BEGIN_DDX_MAP(CMyDialog)
//       DDX_TEXT(IDC_NAME, m_name)             CString or a wchar_t array
//       DDX_INT(IDC_ODOMETER, m_odometer)      signed whole number (int, long)
//       DDX_UINT(IDC_COUNT, m_count)
//       DDX_INT_RANGE(IDC_YEAR, m_year, 1900, 2100)
//       DDX_FLOAT(IDC_RATE, m_rate)            float or double, 6 significant digits
//       DDX_FLOAT_P(IDC_RATE, m_rate, 4)       with a precision
//       DDX_FLOAT_RANGE(IDC_RATE, m_rate, 0, 10)
//       DDX_CHECK(IDC_FLAG, m_flag)            int (BST_*) or bool
//       DDX_RADIO(IDC_FIRST_RADIO, m_index)    index of the checked button of the group, -1 none
//       DDX_CONTROL(IDC_LIST, m_list)          subclasses the control with a CWindowImpl member
//       DDX_CONTROL_HANDLE(IDC_LIST, m_wnd)    attaches a CWindow-derived member
//   END_DDX_MAP()
//
// DoDataExchange(save, id) runs the map: save FALSE writes the variables into the controls,
// TRUE reads and validates them; id -1 runs every entry, another id only that control's. It
// stops at the first entry that fails and returns FALSE.
//
// Failures call T's handlers, which a dialog may hide with its own of the same signature:
//   OnDataExchangeError(id, save)  the control could not be read or written (not a number ...)
//   OnDataValidateError(id, save)  the value is outside the entry's range
// Both default to a beep and the focus on the control; no message is shown.
//
// The map calls DDX_Text, DDX_Int, DDX_Float ... unqualified from inside T, so a class between
// CWinDataExchange<T> and T (or T itself) that declares its own DDX_Float replaces this one
// for T's map (a locale-aware float exchange, for example).
#pragma once

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "framework/String.h"
#include "framework/Window.h"

#define BEGIN_DDX_MAP(thisClass)                                               \
    BOOL DoDataExchange(BOOL bSaveAndValidate = FALSE, UINT nCtlID = (UINT)-1) \
    {                                                                          \
        (void)bSaveAndValidate;                                                \
        (void)nCtlID;

#define ALK_DDX_IF(id) if (nCtlID == (UINT)-1 || nCtlID == (UINT)(id))

#define DDX_TEXT(id, var)                                       \
    ALK_DDX_IF(id)                                              \
    {                                                           \
        if (!DDX_Text(id, var, bSaveAndValidate)) return FALSE; \
    }
#define DDX_TEXT_LEN(id, var, len)                                         \
    ALK_DDX_IF(id)                                                         \
    {                                                                      \
        if (!DDX_Text(id, var, bSaveAndValidate, TRUE, len)) return FALSE; \
    }
#define DDX_INT(id, var)                                             \
    ALK_DDX_IF(id)                                                   \
    {                                                                \
        if (!DDX_Int(id, var, TRUE, bSaveAndValidate)) return FALSE; \
    }
#define DDX_INT_RANGE(id, var, min, max)                                             \
    ALK_DDX_IF(id)                                                                   \
    {                                                                                \
        if (!DDX_Int(id, var, TRUE, bSaveAndValidate, TRUE, min, max)) return FALSE; \
    }
#define DDX_UINT(id, var)                                             \
    ALK_DDX_IF(id)                                                    \
    {                                                                 \
        if (!DDX_Int(id, var, FALSE, bSaveAndValidate)) return FALSE; \
    }
#define DDX_UINT_RANGE(id, var, min, max)                                             \
    ALK_DDX_IF(id)                                                                    \
    {                                                                                 \
        if (!DDX_Int(id, var, FALSE, bSaveAndValidate, TRUE, min, max)) return FALSE; \
    }
#define DDX_FLOAT(id, var)                                       \
    ALK_DDX_IF(id)                                               \
    {                                                            \
        if (!DDX_Float(id, var, bSaveAndValidate)) return FALSE; \
    }
#define DDX_FLOAT_P(id, var, precision)                                                  \
    ALK_DDX_IF(id)                                                                       \
    {                                                                                    \
        if (!DDX_Float(id, var, bSaveAndValidate, FALSE, 0, 0, precision)) return FALSE; \
    }
#define DDX_FLOAT_RANGE(id, var, min, max)                                       \
    ALK_DDX_IF(id)                                                               \
    {                                                                            \
        if (!DDX_Float(id, var, bSaveAndValidate, TRUE, min, max)) return FALSE; \
    }
#define DDX_FLOAT_P_RANGE(id, var, min, max, precision)                                     \
    ALK_DDX_IF(id)                                                                          \
    {                                                                                       \
        if (!DDX_Float(id, var, bSaveAndValidate, TRUE, min, max, precision)) return FALSE; \
    }
#define DDX_CHECK(id, var)                                       \
    ALK_DDX_IF(id)                                               \
    {                                                            \
        if (!DDX_Check(id, var, bSaveAndValidate)) return FALSE; \
    }
#define DDX_RADIO(id, var)                                       \
    ALK_DDX_IF(id)                                               \
    {                                                            \
        if (!DDX_Radio(id, var, bSaveAndValidate)) return FALSE; \
    }
#define DDX_CONTROL(id, obj)                                       \
    ALK_DDX_IF(id)                                                 \
    {                                                              \
        if (!DDX_Control(id, obj, bSaveAndValidate)) return FALSE; \
    }
#define DDX_CONTROL_HANDLE(id, obj)                                       \
    ALK_DDX_IF(id)                                                        \
    {                                                                     \
        if (!DDX_Control_Handle(id, obj, bSaveAndValidate)) return FALSE; \
    }

#define END_DDX_MAP() \
    return TRUE;      \
    }

// Number parsing shared by the exchanges: blanks and tabs around the number are allowed,
// nothing else. Exposed for callers that read fields by hand.
namespace alk_ddx {

inline const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

// A signed (or unsigned) decimal whole number; false for empty text, junk or overflow.
inline bool ParseInt(const wchar_t* text, bool isSigned, long long& value)
{
    const wchar_t* p = SkipBlanks(text);
    // A digit or a sign first: the runtime's parser would skip line breaks and other white space.
    if (!(*p >= L'0' && *p <= L'9') && *p != L'-' && *p != L'+') return false;
    wchar_t* end = nullptr;
    errno = 0;
    if (isSigned) {
        long long v = wcstoll(p, &end, 10);
        if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
        value = v;
    } else {
        if (*p == L'-') return false;
        unsigned long long v = wcstoull(p, &end, 10);
        if (end == p || errno == ERANGE || v > UINT_MAX) return false;
        value = static_cast<long long>(v);
    }
    return *SkipBlanks(end) == 0;
}

// A number in decimal notation with "." as the decimal point: an optional sign, digits with at
// most one point among them, an optional exponent ("e" or "E", an optional sign, digits), blanks
// or tabs around it; nothing else. The runtime's parser alone would also take hexadecimal ("0x10"
// as 16), "inf" and "nan". An exponent too large gives an infinite value, which callers check.
inline bool ParseDouble(const wchar_t* text, double& value)
{
    auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    const wchar_t* number = SkipBlanks(text);
    const wchar_t* p = number;
    if (*p == L'+' || *p == L'-') ++p;
    int digits = 0;
    for (; digit(*p); ++p) ++digits;
    if (*p == L'.') {
        for (++p; digit(*p); ++p) ++digits;
    }
    if (digits == 0) return false;
    if (*p == L'e' || *p == L'E') {
        ++p;
        if (*p == L'+' || *p == L'-') ++p;
        if (!digit(*p)) return false;
        while (digit(*p)) ++p;
    }
    const wchar_t* end = p;
    if (*SkipBlanks(end) != 0) return false;
    wchar_t* parsed = nullptr;
    const double v = wcstod(number, &parsed);
    if (parsed != end) return false;
    value = v;
    return true;
}

}  // namespace alk_ddx

template <class T>
class CWinDataExchange {
public:
    // Default handlers; T may declare its own with the same signatures.
    void OnDataExchangeError(UINT nCtrlID, BOOL /*bSave*/)
    {
        ::MessageBeep(static_cast<UINT>(-1));
        FocusControl(nCtrlID);
    }
    void OnDataValidateError(UINT nCtrlID, BOOL /*bSave*/)
    {
        ::MessageBeep(static_cast<UINT>(-1));
        FocusControl(nCtrlID);
    }

    // --- text ------------------------------------------------------------------------------
    BOOL DDX_Text(UINT nID, CString& value, BOOL bSave, BOOL bValidate = FALSE, int maxLength = 0)
    {
        CWindow ctl(Dialog().GetDlgItem(nID));
        if (bSave) {
            if (!ctl.m_hWnd || !ctl.GetWindowText(value)) return ExchangeError(nID, bSave);
            if (bValidate && maxLength > 0 && value.GetLength() > maxLength) return ValidateError(nID, bSave);
            return TRUE;
        }
        if (!ctl.m_hWnd || !ctl.SetWindowText(value)) return ExchangeError(nID, bSave);
        return TRUE;
    }
    template <size_t N>
    BOOL DDX_Text(UINT nID, wchar_t (&value)[N], BOOL bSave, BOOL bValidate = FALSE, int maxLength = 0)
    {
        CWindow ctl(Dialog().GetDlgItem(nID));
        if (!ctl.m_hWnd) return ExchangeError(nID, bSave);
        if (bSave) {
            int length = ctl.GetWindowTextLength();
            if (length >= static_cast<int>(N)) return ExchangeError(nID, bSave);  // would not fit
            if (bValidate && maxLength > 0 && length > maxLength) return ValidateError(nID, bSave);
            value[0] = 0;
            ctl.GetWindowText(value, static_cast<int>(N));
            return TRUE;
        }
        if (!ctl.SetWindowText(value)) return ExchangeError(nID, bSave);
        return TRUE;
    }

    // --- whole numbers -------------------------------------------------------------------------
    template <typename Int>
    BOOL DDX_Int(UINT nID, Int& value, BOOL bSigned, BOOL bSave, BOOL bValidate = FALSE, long long nMin = 0,
                 long long nMax = 0)
    {
        CWindow ctl(Dialog().GetDlgItem(nID));
        if (!ctl.m_hWnd) return ExchangeError(nID, bSave);
        if (bSave) {
            CString text;
            long long parsed = 0;
            if (!ctl.GetWindowText(text) || !alk_ddx::ParseInt(text, bSigned != FALSE, parsed))
                return ExchangeError(nID, bSave);
            value = static_cast<Int>(parsed);
            if (bValidate && (parsed < nMin || parsed > nMax)) return ValidateError(nID, bSave);
            return TRUE;
        }
        wchar_t buf[32];
        if (bSigned)
            swprintf(buf, 32, L"%lld", static_cast<long long>(value));
        else
            swprintf(buf, 32, L"%llu", static_cast<unsigned long long>(value));
        if (!ctl.SetWindowText(buf)) return ExchangeError(nID, bSave);
        return TRUE;
    }

    // --- decimals ----------------------------------------------------------------------------
    // Save: parse with "." as the decimal separator (see alk_ddx::ParseDouble); a value that is
    // not finite in the variable's type fails; the variable is set before the range check.
    // Load: "%.*g" with the precision.
    BOOL DDX_Float(UINT nID, float& value, BOOL bSave, BOOL bValidate = FALSE, float nMin = 0, float nMax = 0,
                   int nPrecision = 6)
    {
        double d = value;
        BOOL ok = FloatExchange(nID, d, bSave, bValidate, nMin, nMax, nPrecision, true, value);
        return ok;
    }
    BOOL DDX_Float(UINT nID, double& value, BOOL bSave, BOOL bValidate = FALSE, double nMin = 0, double nMax = 0,
                   int nPrecision = 15)
    {
        float unused = 0;
        return FloatExchange(nID, value, bSave, bValidate, nMin, nMax, nPrecision, false, unused);
    }

    // --- buttons -------------------------------------------------------------------------------
    BOOL DDX_Check(UINT nID, int& value, BOOL bSave)
    {
        HWND ctl = Dialog().GetDlgItem(nID);
        if (!ctl) return ExchangeError(nID, bSave);
        if (bSave)
            value = static_cast<int>(::SendMessageW(ctl, BM_GETCHECK, 0, 0));
        else
            ::SendMessageW(ctl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
        return TRUE;
    }
    BOOL DDX_Check(UINT nID, bool& value, BOOL bSave)
    {
        int v = value ? BST_CHECKED : BST_UNCHECKED;
        if (!DDX_Check(nID, v, bSave)) return FALSE;
        if (bSave) value = v == BST_CHECKED;
        return TRUE;
    }

    // The group of radio buttons that starts at nID and runs to the next control with
    // WS_GROUP; value is the index of the checked one among the radio buttons (-1: none).
    BOOL DDX_Radio(UINT nID, int& value, BOOL bSave)
    {
        HWND ctl = Dialog().GetDlgItem(nID);
        if (!ctl) return ExchangeError(nID, bSave);
        if (bSave) value = -1;
        int index = 0;
        HWND first = ctl;
        do {
            if (IsRadio(ctl)) {
                if (bSave) {
                    if (::SendMessageW(ctl, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0) value = index;
                } else {
                    ::SendMessageW(ctl, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
                }
                ++index;
            }
            ctl = ::GetWindow(ctl, GW_HWNDNEXT);
        } while (ctl && ctl != first && !(::GetWindowLongW(ctl, GWL_STYLE) & WS_GROUP));
        return TRUE;
    }

    // --- controls ------------------------------------------------------------------------------
    // Subclasses the control with a window object (once; loading again is harmless).
    template <class TControl>
    BOOL DDX_Control(UINT nID, TControl& ctl, BOOL bSave)
    {
        if (!bSave && !ctl.m_hWnd) {
            HWND h = Dialog().GetDlgItem(nID);
            if (!h || !ctl.SubclassWindow(h)) return ExchangeError(nID, bSave);
        }
        return TRUE;
    }
    template <class TControl>
    BOOL DDX_Control_Handle(UINT nID, TControl& ctl, BOOL bSave)
    {
        if (!bSave && !ctl.m_hWnd) ctl.Attach(Dialog().GetDlgItem(nID));
        return TRUE;
    }

protected:
    ~CWinDataExchange() = default;

    CWindow Dialog() { return CWindow(static_cast<T*>(this)->m_hWnd); }
    BOOL ExchangeError(UINT nID, BOOL bSave)
    {
        static_cast<T*>(this)->OnDataExchangeError(nID, bSave);
        return FALSE;
    }
    BOOL ValidateError(UINT nID, BOOL bSave)
    {
        static_cast<T*>(this)->OnDataValidateError(nID, bSave);
        return FALSE;
    }
    void FocusControl(UINT nID)
    {
        HWND dlg = static_cast<T*>(this)->m_hWnd;
        HWND ctl = ::GetDlgItem(dlg, nID);
        if (ctl) ::SendMessageW(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl), TRUE);
    }

private:
    static bool IsRadio(HWND ctl)
    {
        wchar_t cls[16] = {};
        ::GetClassNameW(ctl, cls, 16);
        if (_wcsicmp(cls, L"Button") != 0) return false;
        DWORD type = static_cast<DWORD>(::GetWindowLongW(ctl, GWL_STYLE)) & BS_TYPEMASK;
        return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    }

    BOOL FloatExchange(UINT nID, double& value, BOOL bSave, BOOL bValidate, double nMin, double nMax, int nPrecision,
                       bool single, float& singleValue)
    {
        CWindow ctl(Dialog().GetDlgItem(nID));
        if (!ctl.m_hWnd) return ExchangeError(nID, bSave);
        if (bSave) {
            CString text;
            double parsed = 0;
            if (!ctl.GetWindowText(text) || !alk_ddx::ParseDouble(text, parsed)) return ExchangeError(nID, bSave);
            if (single) {
                // A number too large for a float would be stored as infinity.
                const float narrowed = static_cast<float>(parsed);
                if (!std::isfinite(narrowed)) return ExchangeError(nID, bSave);
                singleValue = narrowed;
                parsed = narrowed;
            } else if (!std::isfinite(parsed)) {
                return ExchangeError(nID, bSave);
            }
            value = parsed;
            if (bValidate && (parsed < nMin || parsed > nMax)) return ValidateError(nID, bSave);
            return TRUE;
        }
        wchar_t buf[64];
        swprintf(buf, 64, L"%.*g", nPrecision, value);
        if (!ctl.SetWindowText(buf)) return ExchangeError(nID, bSave);
        return TRUE;
    }
};
