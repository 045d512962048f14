// CWinDataExchangeLocale<T>: dialog data exchange whose DDX_Float speaks the user's decimal
// separator. Derive the page from it instead of CWinDataExchange<T>; the DDX_FLOAT... entries of
// the page's map then use this exchange. A user with a decimal comma types and sees "3,5" for
// 3.5 ("3.5" is accepted too). Grouping separators are not understood: "1,234.5" in a locale
// that groups with "," is refused. Failures call T's OnDataExchangeError (not a number, or more
// text than the exchange reads) or OnDataValidateError (outside minimum..maximum).
//
// Unchanged fields give back what they were loaded with. The file keeps decimals as they were
// typed and dates to six decimals of a day, while a field shows six significant digits
// (12345.67 as "12345.7") and a date picker whole seconds. Reading the shown text back would
// alter every value the user never touched, and an editor confirmed without a change would save
// its record altered. So each exchange remembers what it wrote into a control (CLoadedValues);
// a decimal field that still holds that text, or a picker (DDX_Date) that still holds that date
// and time, gives back the loaded value exactly. What the controls show is not changed by this.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <oleauto.h>

#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "desktop/Utility.h"
#include "framework/DataExchange.h"
#include "framework/String.h"

// What exchanges last wrote into a dialog's controls, by control id: a decimal field's text with
// the value it stands for, a date picker's date and time with the OLE date it stands for.
class CLoadedValues {
public:
    void RememberFloat(UINT id, const wchar_t* shown, float value)
    {
        Float* entry = FindFloat(id);
        if (!entry) {
            m_floats.push_back(Float{id, CString(), 0});
            entry = &m_floats.back();
        }
        entry->shown = shown;
        entry->value = value;
    }
    // True, with the remembered value, while the field shows exactly the text written into it.
    bool RecallFloat(UINT id, const wchar_t* shown, float& value)
    {
        const Float* entry = FindFloat(id);
        if (!entry || wcscmp(entry->shown.GetString(), shown) != 0) return false;
        value = entry->value;
        return true;
    }

    void RememberDate(UINT id, const SYSTEMTIME& shown, double value)
    {
        Date* entry = FindDate(id);
        if (!entry) {
            m_dates.push_back(Date{id, SYSTEMTIME{}, 0});
            entry = &m_dates.back();
        }
        entry->shown = shown;
        entry->value = value;
    }
    // True, with the remembered date, while the picker holds exactly the date and time set.
    bool RecallDate(UINT id, const SYSTEMTIME& shown, double& value)
    {
        const Date* entry = FindDate(id);
        if (!entry || !SameTime(entry->shown, shown)) return false;
        value = entry->value;
        return true;
    }

private:
    struct Float {
        UINT id;
        CString shown;
        float value;
    };
    struct Date {
        UINT id;
        SYSTEMTIME shown;
        double value;
    };

    Float* FindFloat(UINT id)
    {
        for (Float& entry : m_floats)
            if (entry.id == id) return &entry;
        return nullptr;
    }
    Date* FindDate(UINT id)
    {
        for (Date& entry : m_dates)
            if (entry.id == id) return &entry;
        return nullptr;
    }
    // The day of the week is derived, not part of the date.
    static bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
    {
        return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
               a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
    }

    std::vector<Float> m_floats;
    std::vector<Date> m_dates;
};

template <class T>
class CWinDataExchangeLocale : public CWinDataExchange<T> {
public:
    // The edit field's text is read and written through a buffer of this many characters; a
    // field holding more text than fits is refused rather than cut.
    enum { FloatTextSize = 32 };

    BOOL DDX_Float(UINT nID, float& value, BOOL bSave, BOOL bValidate = FALSE, float nMin = 0, float nMax = 0,
                   int nPrecision = 6)
    {
        HWND dialog = static_cast<T*>(this)->m_hWnd;
        HWND field = ::GetDlgItem(dialog, nID);
        if (!field) return this->ExchangeError(nID, bSave);
        wchar_t text[FloatTextSize] = {};
        if (bSave) {
            // Cut text would be parsed as another number (a long row of digits as a short one).
            if (::GetWindowTextLengthW(field) >= FloatTextSize) return this->ExchangeError(nID, bSave);
            ::GetWindowTextW(field, text, FloatTextSize);
            float stored = 0;
            if (!m_loaded.RecallFloat(nID, text, stored)) {
                ConvertDecimalSeparator(text, FloatTextSize, true);
                double parsed = 0;
                if (!alk_ddx::ParseDouble(text, parsed)) return this->ExchangeError(nID, bSave);
                stored = static_cast<float>(parsed);
                // Too large for a float: it would be stored as infinity.
                if (!std::isfinite(stored)) return this->ExchangeError(nID, bSave);
            }
            // Stored before the range check: a page may show the value it refused.
            value = stored;
            if (bValidate && (stored < nMin || stored > nMax)) return this->ValidateError(nID, bSave);
            return TRUE;
        }
        const int length = swprintf(text, FloatTextSize, L"%.*g", nPrecision, static_cast<double>(value));
        if (length < 0 || length >= FloatTextSize) return this->ExchangeError(nID, bSave);
        ConvertDecimalSeparator(text, FloatTextSize, false);
        if (!::SetWindowTextW(field, text)) return this->ExchangeError(nID, bSave);
        m_loaded.RememberFloat(nID, text, value);
        return TRUE;
    }

    // A date picker and an OLE date (days since 30 December 1899, the time of day as the
    // fraction). Load sets the picker to the date and its time of day; save gives back the
    // picker's date with the time of day it carries, or the loaded date exactly while the picker
    // still holds it. Failures call T's OnDataExchangeError.
    BOOL DDX_Date(UINT nID, double& date, BOOL bSave)
    {
        HWND picker = ::GetDlgItem(static_cast<T*>(this)->m_hWnd, nID);
        if (!picker) return this->ExchangeError(nID, bSave);
        SYSTEMTIME shown{};
        if (bSave) {
            if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) != GDT_VALID)
                return this->ExchangeError(nID, bSave);
            if (m_loaded.RecallDate(nID, shown, date)) return TRUE;
            double picked = 0;
            if (!::SystemTimeToVariantTime(&shown, &picked)) return this->ExchangeError(nID, bSave);
            date = picked;
            return TRUE;
        }
        SYSTEMTIME when{};
        if (!::VariantTimeToSystemTime(date, &when) ||
            !::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&when)))
            return this->ExchangeError(nID, bSave);
        // What the picker holds now, as it will give it back.
        if (::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)) == GDT_VALID)
            m_loaded.RememberDate(nID, shown, date);
        return TRUE;
    }

protected:
    ~CWinDataExchangeLocale() = default;

private:
    CLoadedValues m_loaded;
};
