// COldDataFile: writes the old-format files that the ADO double serves (OldDataFormat.h): an
// SQLite file marked with the double's application id, holding the older version's four tables
// in Access DDL, for the tests, the benchmark and tools/make-old-data.
//
//   Vehicles  VehicleId LONG, Name TEXT(50), VIN TEXT(50), LicensePlate TEXT(20), Year SHORT,
//             DealerLocation TEXT(100), DealerPhone TEXT(30), Odometer LONG,
//             RegistrationDate DATETIME, Notes MEMO, InsurancePolicyNum TEXT(50),
//             InsuranceAgentName TEXT(50), InsuranceAgentPhone TEXT(30),
//             InsuranceCoverageNotes MEMO, InsuranceExpirationDate DATETIME
//   events    EventId LONG, VehicleId LONG, EventType SHORT, EventDate DATETIME, Vendor TEXT(50),
//             Amount SINGLE, Odometer LONG, Description TEXT(100), Notes MEMO, Custom1 SINGLE,
//             Custom2 SINGLE, Custom3 TEXT(10), TriggerId LONG
//   Triggers  TriggerId LONG, VehicleId LONG, TargetDate DATETIME, Description TEXT(100),
//             TargetOdometer LONG
//   TableIds  Id LONG, TableName TEXT(50), NextId LONG
//
// Rows are added with every column set; Exec runs any other statement (a NULL put into a column,
// a table of other types, rows of __faults, a view as a saved query). Dates are OLE dates.
#pragma once

#include <string>

struct sqlite3;

struct COldVehicle {
    long id = 1;
    std::wstring name;
    std::wstring vin;
    std::wstring licensePlate;
    int year = 2002;
    std::wstring dealerLocation;
    std::wstring dealerPhone;
    long odometer = 0;
    double registrationDate = 0;
    std::wstring notes;
    std::wstring insurancePolicyNum;
    std::wstring insuranceAgentName;
    std::wstring insuranceAgentPhone;
    std::wstring insuranceCoverageNotes;
    double insuranceExpirationDate = 0;
};

struct COldEvent {
    long id = 1;
    long vehicleId = 1;
    int eventType = 1;
    double eventDate = 0;
    std::wstring vendor;
    float amount = 0;
    long odometer = 0;
    std::wstring description;
    std::wstring notes;
    float custom1 = 0;
    float custom2 = 0;
    std::wstring custom3;
    long triggerId = 0;
};

struct COldTrigger {
    long id = 1;
    long vehicleId = 1;
    double targetDate = 0;
    std::wstring description;
    long targetOdometer = 0;
};

class COldDataFile {
public:
    COldDataFile() = default;
    ~COldDataFile();
    COldDataFile(const COldDataFile&) = delete;
    COldDataFile& operator=(const COldDataFile&) = delete;

    // Makes a new file at path (replacing one there) with the four empty tables; false on failure.
    bool Create(const std::wstring& path);
    // Runs statements (UTF-8 SQL); false when one fails.
    bool Exec(const std::string& sql);
    bool Add(const COldVehicle& vehicle);
    bool Add(const COldEvent& event);
    bool Add(const COldTrigger& trigger);
    bool AddTableId(long id, const std::wstring& tableName, long nextId);
    // Many rows at once: between Begin and Commit they are written as one transaction.
    bool Begin() { return Exec("BEGIN"); }
    bool Commit() { return Exec("COMMIT"); }
    void Close();

    // The engine's last error message, for a test's failure text.
    std::string LastError() const;

private:
    sqlite3* m_db = nullptr;
};
