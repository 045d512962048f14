// One HotSync run of the conduit, whatever its direction: the base of the three synchronizers.
//
// Run reads the database path ("DBPath" under HKCU\Software\Brellox Software\Autolark), connects,
// opens one transaction ("BEGIN IMMEDIATE": the run starts as the only writer or not at all),
// brackets the synchronizer's own work (Synchronize) between two empty exchanges with the
// handheld, and commits. A commit that finds the database busy (another program holds a lock on
// the file) waits 5000 ms and tries again, five attempts in all, the transaction staying open
// across them. After a commit the snapshot file is rewritten and every top-level window is told
// to reload (the registered message WM_RELOAD_DATA, posted without waiting). Any exception rolls
// the desktop back; what the handheld already stored stays.
//
// A file that cannot be connected fails the run with general synch error 2, a transaction that
// cannot begin with 8; either line names the cause where the user can act on it ("the database
// file is in use by another program", read-only, damaged). A file made by a newer version of the
// program is refused with 2 before anything is written: it may hold what this one does not know.
//
// The snapshot file "SynchInfo.dat" lies in the run's folder (the path of the run information,
// followed directly by the name). It describes the desktop database as it stood right after the
// last committed run: one ItemInfoRecord per desktop record, little-endian, 21 bytes each
//
//   offset  0  object type    u8
//           1  RefID          u32
//           5  DateCreated    double (the 8 bytes of its image)
//          13  DateModified   double
//
// in the order of the item-information map (object type, then RefID), with no header, count or
// trailer. It is written to "SynchInfo.dat.tmp" first, then the old file is deleted and the new
// one renamed into its place. A missing or unreadable file stands for an empty snapshot. So does
// a damaged one (cut short, an unknown type, a date that is not a finite number), with one log
// line: read in part it would make every record it lacks, or misdates, a change on both sides.
#pragma once

#include <windows.h>

#include <string>

#include "business/AlkBiz.h"
#include "Conduit/Src/DbItemInfo.h"
#include "framework/String.h"
#include "sdk/hotsync/HotSync.h"

class CCustomSynchronizerBase {
public:
    // The pointers are the caller's and outlive the synchronizer. The database is not connected
    // until Run.
    CCustomSynchronizerBase(HsProgressFn progress, HotSyncRunInfo* runInfo, long* conflictsResolving);
    virtual ~CCustomSynchronizerBase();
    CCustomSynchronizerBase(const CCustomSynchronizerBase&) = delete;
    CCustomSynchronizerBase& operator=(const CCustomSynchronizerBase&) = delete;

    // The whole run; throws nothing (every failure ends in the HotSync log).
    void Run();
    // True when the transaction was committed.
    bool CommitWithRetry();
    // Rolls the transaction back and logs it; nothing when there was none.
    void RollBack();
    CStringA GetSyncInfoPath() const;
    // Writes the snapshot of the database as it stands; false (never an exception) when it could
    // not be written whole, the old snapshot then staying in place.
    bool SaveSyncInfo();

    // Milliseconds between two commit attempts.
    enum { CommitAttempts = 5, CommitWaitMs = 5000 };

protected:
    // The run's data work between the two empty exchanges.
    virtual void Synchronize() = 0;
    void ShowProgress(const char* text) const;

    HsProgressFn m_progress;
    HotSyncRunInfo* m_runInfo;
    long* m_conflictsResolving;
    CDataLayer m_database;
    UINT m_reloadMessage;  // WM_RELOAD_DATA
};

// The desktop database's path from the registry; general synch error 1 when the value is missing,
// not text, longer than 259 characters or names no file.
CStringA ReadDatabasePath();
// The snapshot file's records into map (emptied first); a file that cannot be opened is an empty
// snapshot. A file that does not read whole and sound (a whole number of records, types 1 to 4,
// finite dates) is no snapshot either: the map stays empty, the result is false and *problem
// (when given) says what is wrong.
bool LoadSyncInfo(const char* path, CDbItemInfoMap& map, std::string* problem);
