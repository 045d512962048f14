// Database files for the conduit's tests: a copy of the template connected through the 8-bit
// business build, records of every kind with every field set, and the stored rows read back
// through the engine itself.
#pragma once

#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "tests/support/TestDatabase.h"

namespace alk_conduit_test {

// A copy of the template with a name of 8-bit letters, connected at once through the 8-bit
// build (Db(); AnsiPath() is the path it was given).
class CConduitDatabase : public CTestDatabase {
public:
    CConduitDatabase() : CTestDatabase(L"Vehicles \xe9.dat", L"", L"alkconduitdb", Opening::atOnce) {}
};

// Two vehicles (every field set: apostrophes, 8-bit bytes, a long note, a negative odometer), an
// entry of every type, a reminder and a keyword of every type, saved with keepDates so their dates
// are as given. Returns the number of records.
int AddEveryKind(CDataLayer& layer);

// Every row of a table, ordered by RefID, all columns but the row id, as "a|b|c"; reals with 17
// digits, so a difference in the last bit shows.
std::vector<std::string> StoredRows(const std::string& path, const char* table);

}  // namespace alk_conduit_test
