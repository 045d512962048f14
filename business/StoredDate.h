// How the database file keeps a date, and the two questions every writer of the file has to
// answer about it.
//
// Dates (created, modified, entry and reminder dates, the insurance expiration) are OLE dates,
// days since 30 December 1899, written into the file's statements with the engine's "%f": six
// decimals of a day, one step of 86.4 milliseconds. A date read back is the value of that text,
// which may differ from the date in memory before the save. Two dates are therefore the same
// date of the file exactly when they print alike; and a modification date that must read as a
// change has to be at least one step after the one the file holds.
//
// The rule lives here, once, for every deliverable: AlkBiz exports it, and the Palm conduit's
// 8-bit build of this library carries it too. It uses the engine's own printf, so that it
// rounds as the statements do (a date that lies exactly half-way between two steps, as whole
// seconds such as 00:11:15 do, is rounded by the engine's rule, not the C library's).
#pragma once

#include "business/AlkBizDefs.h"

class ALKBIZ_API CStoredDate {
public:
    // One step of the file: a millionth of a day.
    static constexpr double Step = 0.000001;

    // Whether the file keeps a and b as the same date (their six-decimal texts are equal).
    static bool Same(double a, double b);
    // A modification date that the file keeps as later than `stored` (a date it holds): now
    // when now is at least one step after it, else one step after it, which always prints as
    // another date. For a record written again whose clock may lag, or run within one step.
    static double Later(double stored, double now);
};
