// Display formatting and small helpers shared by the desktop program's views and dialogs. Each
// text comes back as a new CString.
//
// Numbers, money and dates are shown in the formats of the user's locale; stored values never
// depend on it. Formatting follows the calling thread's locale, which starts out as the user's
// default locale (user overrides included), so a thread that sets another locale sees that one.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "framework/String.h"

// The string-table text with that id; empty when there is none. Any length.
CString LoadResString(UINT id);

// A value for display: with decimals (two, rounded; zero is shown as the locale's zero) or
// without (the whole part, truncated toward zero), as money in the locale's currency format or as
// a plain number with the locale's grouping. Negative values take the locale's negative form.
CString FormatNumber(float value, bool decimals, bool currency);

// An OLE Automation date (days since 30 December 1899) in the locale's short-date format; the
// time of day is not shown and no time-zone conversion is made.
CString FormatDate(double date);

// "start - end" of two dates given as SYSTEMTIMEs, each shown as by FormatDate; empty when either
// is no valid date.
CString FormatDateRange(const SYSTEMTIME& start, const SYSTEMTIME& end);
// The filter's date range as above, or "All Dates" when it has none. The preset ranges are
// computed by the filter at each call (from today's UTC date).
CString FormatDateRange(CEntryFilter& filter);

// Names of the units chosen in the settings ("Miles", "Mi", "Gallons (US)", "Gal" ...); empty
// for a unit setting outside the known ones.
CString GetDistanceUnitName(bool abbreviated, bool lowerCase);
CString GetVolumeUnitName(bool abbreviated, bool lowerCase);

// "Family Car (2002)": the vehicle's name and model year.
CString FormatVehicleCaption(const CVehicle& vehicle);

// What the entry list and the exports show as an entry's description. Fuel: quantity, volume
// unit and price per unit ("12.50 gal @ $3.10"), with " (vendor)" when there is a vendor. Other
// types: the description, with " (vendor)" (for trips the category) when there is one.
CString FormatEntryCaption(const CEntry& entry);

// Rewrites the first decimal separator of a number text in place: the locale's separator to "."
// (toPoint) or "." to the locale's separator. capacity is the buffer's size in characters; a text
// that would not fit after the change is left as it is. Grouping separators are not touched.
void ConvertDecimalSeparator(wchar_t* text, int capacity, bool toPoint);

// A file-dialog filter from a string-table text whose pairs are separated by "|": each "|"
// becomes a NUL and the string keeps its full length, so its buffer is the NUL-separated list
// that ends in two NULs (the texts end in "|").
CString LoadFileFilter(UINT id);

// result = start moved by a signed number of whole days; the time of day is kept. False, with
// result = start, when start is no valid date or the moved one would fall before 1601 or after
// the year 30827.
bool AddDaysToSystemTime(SYSTEMTIME* result, int days, const SYSTEMTIME* start);

// Range 0..maximum for an up-down control; once an arrow has been held for a second the
// position moves by step.
void SetupSpinControl(HWND spin, int maximum, int step);

// The local date and time now, as the user's clock shows it (the date-range presets count from
// its date). SetFixedLocalTime pins it for tests; null returns to the clock.
void GetLocalNow(SYSTEMTIME* now);
void SetFixedLocalTime(const SYSTEMTIME* fixed);
