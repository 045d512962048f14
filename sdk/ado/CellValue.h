// Values of the double's files as variants: a column's declared Access type picks the variant
// type, and the stored SQLite value is converted to it (the table is in OldDataFormat.h).
#pragma once

#include <windows.h>

#include <oaidl.h>

struct sqlite3_stmt;

// VT_ILLEGAL when the declared type is none of the Access types (or there is none): the value
// then decides (CellValue).
VARTYPE DeclaredVarType(const char* declaredType);

// The value of a column of the statement's current row as a variant of the given type (as the
// value decides for VT_ILLEGAL). A stored NULL gives VT_NULL; a stored value that the type
// cannot hold gives false (the caller reports a provider error).
bool CellValue(sqlite3_stmt* statement, int column, VARTYPE type, VARIANT* value);

// Exact decimal texts: "-12.50" to a DECIMAL (up to 28 decimals and 96 bits), "12.3456" to a
// currency value (ten-thousandths). False for anything else.
bool ParseDecimal(const char* text, DECIMAL* value);
bool ParseCurrency(const char* text, CY* value);
// "YYYY-MM-DD" with an optional " HH:MM:SS" to an OLE date; false for anything else.
bool ParseDateText(const char* text, double* date);
