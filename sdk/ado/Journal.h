// The journal of the ADO double: one line per call, appended to the file that the environment
// variable ALK_ADO_JOURNAL names (the variable is read at each call; no journal while it is
// unset). Lines are UTF-8 and end in "\n":
//
//   Recordset.CursorLocation = 3
//   Recordset.Open("SELECT * from Vehicles", Connection, 3, 3, 8)
//   Field(Year).Value
//   Fields.Item("Nmae") -> 800a0cc1
//
// that is the object, the member, the arguments of a method or the value of a property put, and
// for a failed call " -> " with the HRESULT of its error. The file is opened and closed for each
// line, so a reader sees every line as soon as the call has returned.
#pragma once

#include <string>

#define ALK_ADO_JOURNAL_VARIABLE L"ALK_ADO_JOURNAL"

void JournalWrite(const std::wstring& line);
