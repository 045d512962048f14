// Shared by the benchmarks that make a database through AlkBiz and read it back with SQLite
// alone: the entries they fill it with, and a plain loop over every row of the four tables.
#pragma once

#include <sqlite3.h>

#include "business/AlkBiz.h"

namespace alk_bench {

// The fields of a vehicle's i-th entry (its reference id and vehicle are the caller's): the four
// types in turn, four vendors, a description on three in four and notes on one in ten, amounts
// and custom fields that vary; dates daysApart and odometers odometerApart from one to the next.
void SetEntryFields(CEntry& e, int i, double daysApart, long odometerApart);

// Every column of every row of the four tables, read as the library reads them, on the connection
// given; the rows read (-1 when a statement cannot be prepared), with a sum of what was read in
// *checksum so that no read can be left out.
int ReadEveryRow(sqlite3* db, double* checksum);

}  // namespace alk_bench
