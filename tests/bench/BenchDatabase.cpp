#include "tests/bench/BenchDatabase.h"

#include <initializer_list>

namespace alk_bench {

void SetEntryFields(CEntry& e, int i, double daysApart, long odometerApart)
{
    static const wchar_t* const vendors[] = {L"Shell", L"Esso", L"Joe's Garage", L"Tankstelle M\u00fcller"};
    e.SetType(static_cast<CEntry::Type>(1 + i % 4));
    e.SetDate(36526.0 + i * daysApart);
    e.SetOdometer(10000 + i * odometerApart);
    e.SetVendor(vendors[i % 4]);
    if (i % 4 != 0) e.SetName(L"Oil change and filter");
    if (i % 10 == 0) e.SetNotes(L"Checked the tyre pressure as well.");
    e.SetAmount(12.5f + i % 50);
    e.SetCustom1(40.0f + i % 7);
    e.SetCustom2(1.299f);
}

int ReadEveryRow(sqlite3* db, double* checksum)
{
    int rows = 0;
    double sum = 0;
    for (const char* sql :
         {"SELECT * FROM Vehicle", "SELECT * FROM Entry", "SELECT * FROM Notification", "SELECT * FROM Keyword"}) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare(db, sql, -1, &statement, nullptr) != SQLITE_OK) return -1;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0, columns = sqlite3_column_count(statement); c < columns; ++c) {
                switch (sqlite3_column_type(statement, c)) {
                case SQLITE_TEXT: {
                    const wchar_t* t = static_cast<const wchar_t*>(sqlite3_column_text16(statement, c));
                    sum += t ? t[0] : 0;
                    break;
                }
                case SQLITE_FLOAT: sum += sqlite3_column_double(statement, c); break;
                default: sum += static_cast<double>(sqlite3_column_int64(statement, c)); break;
                }
            }
            ++rows;
        }
        sqlite3_finalize(statement);
    }
    *checksum = sum;
    return rows;
}

}  // namespace alk_bench
