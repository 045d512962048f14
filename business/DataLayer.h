#pragma once

#include <memory>

#include "business/DefaultStringHelperFactory.h"
#include "business/EntryFilter.h"
#include "business/Keyword.h"
#include "business/Notification.h"
#include "business/ObjectListT.h"
#include "business/Vehicle.h"

// The one road to a database file: connect and validate, load, save, delete, count, compact,
// and transactions a caller opens itself. Booleans are non-zero for success; every operation
// but Connect and the getters fails while not connected. Used by one thread at a time; nothing
// here waits on a busy database.
//
// The library never creates a schema: a new database file is a copy of the template
// Default.ENU. The file holds the tables Vehicle, Entry, Keyword, Notification (read by column
// position) and MetaData with three rows in this order: 1 the store id, 2 the signature "ALK",
// 3 the version text.
class ALKBIZ_API CDataLayer {
public:
    enum ConnectStatus {
        csConnected = 0,
        csFileNotFound = 1,  // also an empty path, or one longer than MaxPath characters
        csReadOnly = 2,
        csInvalidDatabase = 3,
        csCannotOpen = 4
    };
    enum CommitResult {
        crCommitted = 0,
        crBusy = 1,  // another connection holds a lock; the transaction stays open
        crFailed = 2
    };
    // Longest path Connect accepts, in characters (without the terminator).
    enum { MaxPath = 260, MaxVersion = 4 };

    CDataLayer();
    ~CDataLayer();

    ConnectStatus Connect(const AlkChar* path);
    void Disconnect();
    int IsConnected();
    unsigned long GetStoreID();
    // The path of the last successful Connect, kept after Disconnect.
    AlkChar* GetDBPath();
    // MetaData's version text, at most MaxVersion characters.
    AlkChar* GetDBVersion();
    const char* GetDBLibVersion();

    int BeginTransaction();  // "BEGIN IMMEDIATE"
    CommitResult Commit();
    int RollBack();

    int GetNumVehicles();
    int GetNumEntries();
    int GetNumNotifications();
    int GetNumKeywords();
    // Empties Vehicle, Entry, Keyword and Notification in that order; MetaData stays.
    int DeleteAllData();
    int Compress();  // "VACUUM"

    CStringHelperFactory* GetStringHelperFactory();
    // Takes ownership; an empty pointer returns to the built-in default.
    void SetStringHelperFactory(std::unique_ptr<CStringHelperFactory> factory);

    // Insert when the record's ID is 0 (a RefID is made when it has none), update otherwise.
    // keepDates: write the record's own DateCreated/DateModified instead of the current UTC time.
    int Save(CVehicle* vehicle, int keepDates);
    int Save(CEntry* entry, int keepDates);
    int Save(CKeyword* keyword, int keepDates);
    int Save(CNotification* notification, int keepDates);

    // Fill a record from the row with its ID.
    int Load(CVehicle* vehicle);
#if ALKBIZ_WIDE
    int Load(CEntry* entry);
#else
    // newest 0: by row id; non-zero: the entry of the entry's VehicleID with the largest Created.
    int Load(CEntry* entry, int newest);
#endif
    int Load(CKeyword* keyword);
    int Load(CNotification* notification);
    int LoadByRefID(CVehicle* vehicle);

    // List loads empty the list first. A failure (including a row read that ends in an error
    // before the last row) leaves the list empty.
    int Load(CObjectListT<CVehicle>* list);
    int Load(CObjectListT<CEntry>* list, CEntryFilter* filter);
    int Load(CObjectListT<CKeyword>* list, CKeyword::Type type);
    int Load(CObjectListT<CNotification>* list, unsigned long vehicleRefID);

    // Deleting a vehicle deletes its entries and reminders too (no transaction of its own).
    int Delete(CVehicle* vehicle);
    int Delete(CEntry* entry);
    int Delete(CNotification* notification);
    int Delete(CKeyword* keyword);
    // One row of the type's table, no cascade.
    int Delete(CBaseObject::ObjectType type, unsigned long id);

    // Row id of the record with that RefID; 0 when none.
    unsigned long GetID(CBaseObject::ObjectType type, unsigned long refID);
#if ALKBIZ_WIDE
    // Largest entry odometer of the vehicle (0 when it has no entries).
    int GetMaxOdometer(unsigned long vehicleRefID, long* result);
#endif
    int UpdateCurrentOdometer(CVehicle* vehicle, long odometer);

    CDataLayer(const CDataLayer&) = delete;
    CDataLayer& operator=(const CDataLayer&) = delete;

private:
    // The connected flag, checked against the handle.
    int Connected() const;
    int VerifyDatabase();
    unsigned long GenerateRefID();
    double GetSystemTimeAsOLEDate();
    int CountRows(const char* table);
    void Reset();
    void CloseDatabase();
    int Exec(const char* sql);
    // Runs a built statement (and frees it) when every text of it was encoded; on success updates
    // the saved record, on failure leaves it as it was.
    int FinishSave(CBaseObject* record, char* sql, bool textsEncoded, bool insert, unsigned long refID, double created,
                   double modified);
    // Runs a built statement (and frees it) and reads its first row into the record.
    int LoadSingle(CBaseObject* record, char* sql);
    // Runs a built statement (and frees it) and appends a record of the type per row.
    int LoadList(CObjectList* list, CBaseObject::ObjectType type, char* sql);
    int ReadRow(CBaseObject* record, sqlite3_stmt* statement);
    int Load(CVehicle* vehicle, sqlite3_stmt* statement);
    int Load(CEntry* entry, sqlite3_stmt* statement);
    int Load(CKeyword* keyword, sqlite3_stmt* statement);
    int Load(CNotification* notification, sqlite3_stmt* statement);
    int RunDeleteQuery(const char* table, int id);
    static const char* GetTableName(CBaseObject::ObjectType type);

    unsigned long m_storeID;
    int m_connected;
    AlkChar m_dbPath[MaxPath + 1];
    AlkChar m_dbVersion[MaxVersion + 1];
    sqlite3* m_db;
    CDefaultStringHelperFactory m_defaultFactory;
    std::unique_ptr<CStringHelperFactory> m_factory;
};
