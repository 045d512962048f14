// The one road to a database file: connect and validate, load, save, delete, count, compact,
// and transactions a caller opens itself. Booleans are non-zero for success; every operation
// but Connect and the getters fails while not connected. Used by one thread at a time; nothing
// here waits on a busy database.
//
// The library never creates a schema: a new database file is a copy of the template
// Default.ENU. The file holds the tables Vehicle, Entry, Keyword, Notification (read by column
// position) and MetaData with three rows in this order: 1 the store id, 2 the signature "ALK",
// 3 the version text.
#pragma once

#include <memory>

#include "business/DefaultStringHelperFactory.h"
#include "business/EntryFilter.h"
#include "business/Keyword.h"
#include "business/Notification.h"
#include "business/ObjectListT.h"
#include "business/Vehicle.h"

class ALKBIZ_API CDataLayer {
public:
    enum ConnectStatus {
        csConnected = 0,
        csFileNotFound = 1,  // also an empty path, or one longer than MaxPath characters
                             // (GetLastFailure tells them apart)
        csReadOnly = 2,
        csInvalidDatabase = 3,  // also a file that could not be read (busy, damaged)
        csCannotOpen = 4        // also a file another program holds open (fcBusy)
    };
    enum CommitResult {
        crCommitted = 0,
        crBusy = 1,  // another connection holds a lock; the transaction stays open
        crFailed = 2
    };
    // Why the last operation that failed did so, for a caller that tells the user (the results
    // above keep their meanings; this only tells their causes apart). A failure is recorded by
    // the operation that failed; a success leaves the record as it was.
    enum FailureCause {
        fcNone = 0,      // nothing failed since Connect
        fcNotConnected,  // no file is connected
        fcNotFound,      // no such file, or an empty path
        fcPathTooLong,   // a path longer than MaxPath characters, or than the system takes
        fcReadOnly,      // the file (or its folder) may not be written
        fcBusy,          // another program holds the file or a lock on it: later it may work
        fcNotDatabase,   // no SQLite file, or no MetaData of this program (Connect only)
        fcDamaged,       // the engine found the file damaged (pages it cannot read)
        fcLayout,        // the file's tables do not take the statement (another version's)
        fcDiskFull,      // no room left on the disk
        fcDiskError,     // the system could not read or write the file
        fcCannotOpen,    // the engine cannot open the file (or the journal beside it)
        fcOther,         // out of memory, or a text that could not be converted
        fcNotFinite      // a number of the record is not finite (not a number, or infinite):
                         // the file keeps only finite numbers, so nothing was written
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
    // The version text of the files this library reads and writes: that of the template's
    // MetaData (Default.sql).
    static const AlkChar* GetFormatVersion();
    // Non-zero when the connected file's version text names a later version than
    // GetFormatVersion (a file made by a newer program). Such a file is connected as any other.
    int IsNewerVersion();

    // The cause of the last failure (see FailureCause).
    FailureCause GetLastFailure();
    // Non-zero once an operation since Connect has met damage in the file (pages the engine
    // cannot read): some of its records cannot be loaded.
    int FoundDamage();
    // Reads the whole file with the engine's quick integrity check ("PRAGMA quick_check": every
    // page of every table and index, not the indexes' agreement with their rows), so that damage
    // anywhere is known before any record of it is loaded. Non-zero when the file is damaged
    // (FoundDamage answers so from then on); 0 when it is sound or the check could not run
    // (GetLastFailure says why: another program's lock, say). A pass over the whole file: for a
    // caller that opens a file for a user's session, not for each connection of a short task.
    int CheckForDamage();

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
    // The connected flag, checked against the handle; records fcNotConnected when not.
    int Connected();
    // Records the cause of a failure (an engine result, or a cause of our own) and gives 0.
    int Fail(int engineResult);
    int Fail(FailureCause cause);
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
    FailureCause m_lastFailure;
    int m_foundDamage;
};
