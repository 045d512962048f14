// The calling thread's locale for the length of a scope: the program formats numbers, money and
// dates in it, so tests that compare displayed texts with literals choose it first.
#pragma once

#include <windows.h>

class CThreadLocale {
public:
    explicit CThreadLocale(LCID locale) : m_saved(::GetThreadLocale()) { m_set = ::SetThreadLocale(locale) != FALSE; }
    ~CThreadLocale() { ::SetThreadLocale(m_saved); }
    CThreadLocale(const CThreadLocale&) = delete;
    CThreadLocale& operator=(const CThreadLocale&) = delete;
    bool IsSet() const { return m_set; }

    static LCID UnitedStates() { return MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT); }

private:
    LCID m_saved;
    bool m_set = false;
};
