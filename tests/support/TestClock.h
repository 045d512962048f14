// UTC times for the tests: a SYSTEMTIME from its fields, its OLE date, and the library's UTC clock
// pinned for the length of a scope.
#pragma once

#include <oleauto.h>

#include "business/AlkBiz.h"

inline SYSTEMTIME Utc(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                      WORD milliseconds = 0)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    t.wMilliseconds = milliseconds;
    return t;
}

inline double OleDate(const SYSTEMTIME& t)
{
    SYSTEMTIME whole = t;
    whole.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&whole, &date);
    return date;
}

class CFixedClock {
public:
    explicit CFixedClock(const SYSTEMTIME& now) { CUtcClock::SetFixedTime(&now); }
    ~CFixedClock() { CUtcClock::SetFixedTime(nullptr); }
    CFixedClock(const CFixedClock&) = delete;
    CFixedClock& operator=(const CFixedClock&) = delete;
};
