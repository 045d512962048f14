// What a business record holds, as the provider compares and names it: whether two records hold
// the same data (a conflict between equal records is no conflict, and duplicate removal deletes
// one of them) and the label of a record's kind for the manager's conflict dialog. Free of the
// store and the folder, so that both, and duplicate removal, use them without one another.
#pragma once

#include "business/AlkBiz.h"

// The object's label ("Vehicle", "Fuel", "Trip", ...) from the provider's string table, at most
// capacity bytes with the NUL (thread's ANSI code page); empty when the string cannot be loaded.
void LoadObjectTypeName(const CBaseObject& object, char* buffer, int capacity);

// Whether two records hold the same data: names, notes and every field of their kind (texts
// compared with lstrcmpW, a missing text as empty, numbers exactly); never the row id,
// reference id or the dates of creation and modification.
bool AreObjectsEqual(const CBaseObject& a, const CBaseObject& b);
