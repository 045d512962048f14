// CWinDataExchangeLocale<T>: dialog data exchange whose DDX_Float speaks the user's decimal
// separator. Derive the page from it instead of CWinDataExchange<T>; the DDX_FLOAT... entries of
// the page's map then use this exchange. A user with a decimal comma types and sees "3,5" for
// 3.5 ("3.5" is accepted too). Grouping separators are not understood: "1,234.5" in a locale
// that groups with "," is refused. Failures call T's OnDataExchangeError (not a number) or
// OnDataValidateError (outside minimum..maximum).
#pragma once

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "desktop/Utility.h"
#include "framework/DataExchange.h"

template <class T>
class CWinDataExchangeLocale : public CWinDataExchange<T> {
public:
    // The edit field's text is read and written through a buffer of this many characters;
    // longer text is cut.
    enum { FloatTextSize = 32 };

    BOOL DDX_Float(UINT nID, float& value, BOOL bSave, BOOL bValidate = FALSE, float nMin = 0, float nMax = 0,
                   int nPrecision = 6)
    {
        HWND dialog = static_cast<T*>(this)->m_hWnd;
        wchar_t text[FloatTextSize] = {};
        if (bSave) {
            ::GetDlgItemTextW(dialog, nID, text, FloatTextSize);
            ConvertDecimalSeparator(text, FloatTextSize, true);
            double parsed = 0;
            if (!ParseFloatText(text, parsed)) return this->ExchangeError(nID, bSave);
            const float stored = static_cast<float>(parsed);
            // Too large for a float: it would be stored as infinity.
            if (!std::isfinite(stored)) return this->ExchangeError(nID, bSave);
            // Stored before the range check: a page may show the value it refused.
            value = stored;
            if (bValidate && (stored < nMin || stored > nMax)) return this->ValidateError(nID, bSave);
            return TRUE;
        }
        const int length = swprintf(text, FloatTextSize, L"%.*g", nPrecision, static_cast<double>(value));
        if (length < 0 || length >= FloatTextSize) return this->ExchangeError(nID, bSave);
        ConvertDecimalSeparator(text, FloatTextSize, false);
        if (!::SetDlgItemTextW(dialog, nID, text)) return this->ExchangeError(nID, bSave);
        return TRUE;
    }

protected:
    ~CWinDataExchangeLocale() = default;

private:
    // A number in decimal notation with "." as the decimal point: an optional sign, digits with
    // at most one point among them, an optional exponent ("e" or "E", an optional sign, digits),
    // and blanks or tabs around it; nothing else. The runtime's parser alone would also take
    // hexadecimal ("0x10" as 16), "inf" and "nan".
    static bool ParseFloatText(const wchar_t* text, double& value)
    {
        auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
        const wchar_t* p = text;
        while (*p == L' ' || *p == L'\t') ++p;
        const wchar_t* number = p;
        if (*p == L'+' || *p == L'-') ++p;
        int digits = 0;
        while (digit(*p)) ++p, ++digits;
        if (*p == L'.') {
            ++p;
            while (digit(*p)) ++p, ++digits;
        }
        if (digits == 0) return false;
        if (*p == L'e' || *p == L'E') {
            ++p;
            if (*p == L'+' || *p == L'-') ++p;
            if (!digit(*p)) return false;
            while (digit(*p)) ++p;
        }
        const wchar_t* end = p;
        while (*p == L' ' || *p == L'\t') ++p;
        if (*p != L'\0') return false;
        wchar_t* parsed = nullptr;
        value = wcstod(number, &parsed);
        return parsed == end;
    }
};
