// CComBSTR: one BSTR, freed when the owner goes. A BSTR that a call hands out (an EXCEPINFO's
// texts, a property's value taken out of its VARIANT) is taken over with Attach; a new one is
// made from a text. &text gives the address for an out parameter and asserts that the owner
// holds nothing. A null BSTR stands for the empty text, as it does everywhere in OLE Automation.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

#include "common/Assert.h"

class CComBSTR {
public:
    CComBSTR() = default;
    explicit CComBSTR(const wchar_t* text) : m_text(text ? ::SysAllocString(text) : nullptr) {}
    CComBSTR(const wchar_t* text, UINT length) : m_text(::SysAllocStringLen(text, length)) {}
    ~CComBSTR() { ::SysFreeString(m_text); }
    CComBSTR(const CComBSTR&) = delete;
    CComBSTR& operator=(const CComBSTR&) = delete;

    // Takes over a BSTR the caller owns; the one held before is freed.
    void Attach(BSTR text)
    {
        if (text == m_text) return;
        ::SysFreeString(m_text);
        m_text = text;
    }
    BSTR Detach()
    {
        BSTR text = m_text;
        m_text = nullptr;
        return text;
    }
    void Free() { Attach(nullptr); }

    BSTR Get() const { return m_text; }
    operator BSTR() const { return m_text; }
    BSTR* operator&()
    {
        ALK_ASSERT(m_text == nullptr);
        return &m_text;
    }
    UINT Length() const { return ::SysStringLen(m_text); }
    // The text, embedded NULs and all (empty for a null BSTR).
    std::wstring ToString() const { return m_text ? std::wstring(m_text, Length()) : std::wstring(); }

private:
    BSTR m_text = nullptr;
};
