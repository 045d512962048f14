// The library's one reading of "now": the UTC system clock. Tests may pin it to a fixed time so
// that default dates, save stamps and the preset filter ranges are predictable.
#pragma once

#include "business/AlkBizDefs.h"

class ALKBIZ_API CUtcClock {
public:
    static void Now(SYSTEMTIME* now);
    // Now() as an OLE date, milliseconds dropped.
    static double NowAsOLEDate();
    // Pins the clock to *fixedTime, or lets it run again for null. For tests only.
    static void SetFixedTime(const SYSTEMTIME* fixedTime);
    // OLE date of a SYSTEMTIME with its milliseconds dropped; 0 when it does not convert.
    static double ToOLEDate(const SYSTEMTIME& time);
};
