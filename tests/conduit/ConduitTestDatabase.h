// Database files for the conduit's tests: a copy of the template connected through the 8-bit
// business build, records of every kind with every field set, and the stored rows read back
// through the engine itself.
#pragma once

#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "tests/support/TestFiles.h"

namespace alk_conduit_test {

class CConduitDatabase {
public:
    CConduitDatabase();
    ~CConduitDatabase();
    bool Ok() const { return m_ok; }
    CDataLayer& Layer() { return m_layer; }
    const std::string& Path() const { return m_path; }

private:
    CScratchFolder m_folder;
    std::string m_path;
    CDataLayer m_layer;
    bool m_ok;
};

// Two vehicles (every field set: apostrophes, 8-bit bytes, a long note, a negative odometer), an
// entry of every type, a reminder and a keyword of every type, saved with keepDates so their dates
// are as given. Returns the number of records.
int AddEveryKind(CDataLayer& layer);

// Every row of a table, ordered by RefID, all columns but the row id, as "a|b|c"; reals with 17
// digits, so a difference in the last bit shows.
std::vector<std::string> StoredRows(const std::string& path, const char* table);

}  // namespace alk_conduit_test
