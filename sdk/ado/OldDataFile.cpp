#include "sdk/ado/OldDataFile.h"

#include <windows.h>

#include <sqlite3.h>

#include "sdk/ado/OldDataFormat.h"

namespace {

// clang-format off
const char kSchema[] =
    "CREATE TABLE Vehicles (VehicleId LONG, Name TEXT(50), VIN TEXT(50), LicensePlate TEXT(20), Year SHORT,"
    " DealerLocation TEXT(100), DealerPhone TEXT(30), Odometer LONG, RegistrationDate DATETIME, Notes MEMO,"
    " InsurancePolicyNum TEXT(50), InsuranceAgentName TEXT(50), InsuranceAgentPhone TEXT(30),"
    " InsuranceCoverageNotes MEMO, InsuranceExpirationDate DATETIME);"
    "CREATE TABLE events (EventId LONG, VehicleId LONG, EventType SHORT, EventDate DATETIME, Vendor TEXT(50),"
    " Amount SINGLE, Odometer LONG, Description TEXT(100), Notes MEMO, Custom1 SINGLE, Custom2 SINGLE,"
    " Custom3 TEXT(10), TriggerId LONG);"
    "CREATE TABLE Triggers (TriggerId LONG, VehicleId LONG, TargetDate DATETIME, Description TEXT(100),"
    " TargetOdometer LONG);"
    "CREATE TABLE TableIds (Id LONG, TableName TEXT(50), NextId LONG);";
// clang-format on

// A statement with its parameters bound in order, run once.
class Insert {
public:
    Insert(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr); }
    ~Insert() { sqlite3_finalize(m_statement); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;

    Insert& Text(const std::wstring& value)
    {
        sqlite3_bind_text16(m_statement, ++m_index, value.c_str(), static_cast<int>(value.size() * sizeof(wchar_t)),
                            SQLITE_TRANSIENT);
        return *this;
    }
    Insert& Integer(long value)
    {
        sqlite3_bind_int64(m_statement, ++m_index, value);
        return *this;
    }
    Insert& Real(double value)
    {
        sqlite3_bind_double(m_statement, ++m_index, value);
        return *this;
    }
    bool Run() { return m_statement && sqlite3_step(m_statement) == SQLITE_DONE; }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_index = 0;
};

}  // namespace

COldDataFile::~COldDataFile()
{
    Close();
}

void COldDataFile::Close()
{
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
}

bool COldDataFile::Create(const std::wstring& path)
{
    Close();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    if (sqlite3_open16(path.c_str(), &m_db) != SQLITE_OK) {
        Close();
        return false;
    }
    char pragma[64];
    wsprintfA(pragma, "PRAGMA application_id = %d;", ALK_OLD_DATA_APPLICATION_ID);
    return Exec(pragma) && Exec(kSchema);
}

bool COldDataFile::Exec(const std::string& sql)
{
    return m_db && sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string COldDataFile::LastError() const
{
    return m_db ? sqlite3_errmsg(m_db) : "no file";
}

bool COldDataFile::Add(const COldVehicle& v)
{
    return Insert(m_db, "INSERT INTO Vehicles VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
        .Integer(v.id)
        .Text(v.name)
        .Text(v.vin)
        .Text(v.licensePlate)
        .Integer(v.year)
        .Text(v.dealerLocation)
        .Text(v.dealerPhone)
        .Integer(v.odometer)
        .Real(v.registrationDate)
        .Text(v.notes)
        .Text(v.insurancePolicyNum)
        .Text(v.insuranceAgentName)
        .Text(v.insuranceAgentPhone)
        .Text(v.insuranceCoverageNotes)
        .Real(v.insuranceExpirationDate)
        .Run();
}

bool COldDataFile::Add(const COldEvent& e)
{
    return Insert(m_db, "INSERT INTO events VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
        .Integer(e.id)
        .Integer(e.vehicleId)
        .Integer(e.eventType)
        .Real(e.eventDate)
        .Text(e.vendor)
        .Real(e.amount)
        .Integer(e.odometer)
        .Text(e.description)
        .Text(e.notes)
        .Real(e.custom1)
        .Real(e.custom2)
        .Text(e.custom3)
        .Integer(e.triggerId)
        .Run();
}

bool COldDataFile::Add(const COldTrigger& t)
{
    return Insert(m_db, "INSERT INTO Triggers VALUES (?,?,?,?,?)")
        .Integer(t.id)
        .Integer(t.vehicleId)
        .Real(t.targetDate)
        .Text(t.description)
        .Integer(t.targetOdometer)
        .Run();
}

bool COldDataFile::AddTableId(long id, const std::wstring& tableName, long nextId)
{
    return Insert(m_db, "INSERT INTO TableIds VALUES (?,?,?)").Integer(id).Text(tableName).Integer(nextId).Run();
}
