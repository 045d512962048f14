// The entry editor: one modal sheet, "Entry Properties", whose pages depend on the entry's type.
// The entry's fields are copied into the pages, and back only when the user ends with OK; the
// entry is saved afterwards, and only when a value changed. Pages the user never opened give
// back what they were given.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "desktop/CustomPropertySheet.h"

// Shows the sheet of the entry's type (the entry is the caller's) and saves the entry when the
// user confirmed a change. The result of CDataLayer::Save, non-zero for "saved"; 0 when the
// sheet was cancelled, nothing changed, the save failed (the user is told) or the type has no
// sheet (none is shown then).
int EditEntry(CEntry* entry);

// The sheets of fuel entries (details and notes) and other expenses (details and notes): they
// fill the pages from the entry, run the sheet owned by the active window and copy the pages
// back on OK. 1 when the sheet ended with OK, else 0 (the entry untouched).
int EditFuelEntry(CEntry* entry, CCustomPropertySheet& sheet);
int EditExpenseEntry(CEntry* entry, CCustomPropertySheet& sheet);
// The sheets of repairs (details and notes) and trips (details, expense and notes), alike.
int EditRepairEntry(CEntry* entry, CCustomPropertySheet& sheet);
int EditTripEntry(CEntry* entry, CCustomPropertySheet& sheet);

// A trip odometer as the pages show it (the entry keeps it as a float): its whole part, a value
// beyond the 32-bit range as the range's end, and not-a-number as 0.
long WholeOdometer(float odometer);
