#include "business/UtcClock.h"

#include <oleauto.h>

namespace {
bool g_fixed = false;
SYSTEMTIME g_fixedTime;
}  // namespace

void CUtcClock::Now(SYSTEMTIME* now)
{
    if (g_fixed)
        *now = g_fixedTime;
    else
        GetSystemTime(now);
}

double CUtcClock::NowAsOLEDate()
{
    SYSTEMTIME now;
    Now(&now);
    return ToOLEDate(now);
}

void CUtcClock::SetFixedTime(const SYSTEMTIME* fixedTime)
{
    g_fixed = fixedTime != nullptr;
    if (fixedTime) g_fixedTime = *fixedTime;
}

double CUtcClock::ToOLEDate(const SYSTEMTIME& time)
{
    SYSTEMTIME whole = time;
    whole.wMilliseconds = 0;
    double date = 0;
    if (!SystemTimeToVariantTime(&whole, &date)) return 0;
    return date;
}
