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
    // A number with "." as the decimal point, blanks and tabs allowed around it and nothing
    // else. A result of 0 counts only when the text starts with "0": the runtime also answers 0
    // for text that holds no number at all.
    static bool ParseFloatText(const wchar_t* text, double& value)
    {
        const wchar_t* p = text;
        while (*p == L' ' || *p == L'\t') ++p;
        wchar_t* end = nullptr;
        const double parsed = wcstod(p, &end);
        if (parsed == 0 && *p != L'0') return false;
        while (*end == L' ' || *end == L'\t') ++end;
        if (*end != L'\0') return false;
        value = parsed;
        return true;
    }
};
