#include "ConduitTestDatabase.h"

#include <sqlite3.h>

#include <cstdio>

#include "ConduitTestSupport.h"

namespace alk_conduit_test {

int AddEveryKind(CDataLayer& layer)
{
    int count = 0;
    const std::string longNote = std::string(3000, 'n') + "\r\nend";
    unsigned long carRef = 0;
    for (int i = 0; i < 2; ++i) {
        CVehicle v;
        v.SetRefID(0x80000001u + i);
        v.SetName(i ? "Second" : "Bob's \xe9t\xe9 car");
        v.SetNotes(i ? "" : longNote.c_str());
        v.SetDateCreated(41000.25 + i);
        v.SetDateModified(41001.5 + i);
        v.SetLicensePlate("AB 'C' 1");
        v.SetVIN("1HGCM82633A004352");
        v.SetDealerName("Dealer \xfc");
        v.SetDealerPhone("555-0100");
        v.SetDealerAddress("1 Main St\r\nSpringfield");
        v.SetInsurancePolicyNumber("P-9");
        v.SetInsuranceAgentName("Agent");
        v.SetInsuranceAgentPhone("555-0199");
        v.SetInsuranceCoverage("Full");
        v.SetInsuranceExpirationDate(42000.75);
        v.SetCurrentOdometer(i ? -5 : 123456);
        v.SetYear(1999 + i);
        v.SetImagePath("C:\\Pictures\\car.jpg");
        EXPECT_TRUE(layer.Save(&v, 1)) << "vehicle " << i;
        count += v.GetID() != 0;
        if (!i) carRef = v.GetRefID();
    }
    for (int type = 1; type <= 4; ++type) {
        CEntry e;
        e.SetRefID(0x100 + type);
        e.SetName(type == 1 ? "" : "Description 'quoted'");
        e.SetNotes(type == 2 ? "notes \xe9" : "");
        e.SetDateCreated(41100.125);
        e.SetDateModified(41100.25 + type);
        e.SetDate(41050.5 + type);
        e.SetOdometer(type == 3 ? -1 : 1000 * type);
        e.SetVehicleID(carRef);
        e.SetType(static_cast<CEntry::Type>(type));
        e.SetVendor(type == 3 ? "Business" : "Vendor \xe9");
        e.SetAmount(12.5f * type);
        e.SetCustom1(type == 1 ? 10.25f : 0.0f);
        e.SetCustom2(type == 1 ? 1.25f : (type == 3 ? 4000.0f : 0.0f));
        EXPECT_TRUE(layer.Save(&e, 1)) << "entry " << type;
        count += e.GetID() != 0;
    }
    CNotification n;
    n.SetRefID(0xFFFFFFF0u);
    n.SetName("Rotate the tyres");
    n.SetDateCreated(41200);
    n.SetDateModified(41200.5);
    n.SetDate(41300.125);
    n.SetOdometer(150000);
    n.SetVehicleID(carRef);
    EXPECT_TRUE(layer.Save(&n, 1)) << "reminder";
    count += n.GetID() != 0;
    for (int type = 1; type <= 4; ++type) {
        CKeyword k;
        k.SetRefID(0x200 + type);
        k.SetName(type == 4 ? "Vendor \xe9" : "Keyword");
        k.SetType(static_cast<CKeyword::Type>(type));
        k.SetDateCreated(41000);
        k.SetDateModified(41000.5);
        EXPECT_TRUE(layer.Save(&k, 1)) << "keyword " << type;
        count += k.GetID() != 0;
    }
    return count;
}

std::vector<std::string> StoredRows(const std::string& path, const char* table)
{
    std::vector<std::string> rows;
    // The engine takes UTF-8 file names; the 8-bit build's paths are in the ANSI code page.
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char utf8[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(utf8, &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path;
        sqlite3_close(db);
        return rows;
    }
    const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY RefID";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int column = 1; column < sqlite3_column_count(statement); ++column) {
                if (column > 1) row += '|';
                if (sqlite3_column_type(statement, column) == SQLITE_FLOAT) {
                    char number[40];
                    std::snprintf(number, sizeof number, "%.17g", sqlite3_column_double(statement, column));
                    row += number;
                } else {
                    const unsigned char* text = sqlite3_column_text(statement, column);
                    row += text ? reinterpret_cast<const char*>(text) : "<null>";
                }
            }
            rows.push_back(row);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

}  // namespace alk_conduit_test
