// One synchronisation as the ActiveSync service manager runs it, between the desktop store (the
// provider, made through its registration) and the device's objects (CDeviceFolder), with the
// manager's own record of the last run (CSyncState):
//
//  1. The store: found and made (CStoreHost), Initialize with the manager's callback (a
//     CReplNotifyDouble owning the manager's window), GetStoreInfo. A store id unlike the
//     state's starts afresh: every object of either side is then new to the other.
//  2. The desktop: GetFolderInfo("ALK"), IsFolderChanged (a replaced store ends the run before
//     anything is written; a folder made for the run always reports a change, and the
//     enumeration runs in any case), the state's handles rebuilt (BytesToObject), the enumeration (a
//     failed one ends the run: items it did not give are not taken for deleted). Items the
//     store does not replicate are skipped; the others are matched to the state's handles
//     (CompareItem), changed when IsItemChanged says so against the enumerated item, whose
//     content the state's handle then takes (CopyObject). A handle the enumeration did not give
//     is deleted on the desktop when IsValidObject says the object is gone.
//  3. The device: each file new, changed (its bytes unlike the state's hash), or gone. Then per
//     object: sent (Setup for reading, GetPacket until the last packet, Reset, the file written),
//     received (Setup for writing, new or not, SetPacket, Reset), deleted (the file removed, or
//     DeleteObj; a failed DeleteObj counts when IsValidObject finds the object gone), or, changed
//     on both sides, a conflict: the device packet is stored as a new desktop object without its
//     reference id, GetConflictInfo names both; when the store finds them equal the copy is
//     deleted, else by the rule (desktop wins unless told otherwise) the copy goes and the
//     desktop packet is sent, or the device packet is set onto the desktop object and the copy
//     goes. A change on one side wins over a deletion on the other.
//  4. After a run that started afresh, RemoveDuplicates. The state saved (ObjectToBytes), the
//     handles freed; ReportStatus 2 (end of synchronisation) and 6 (release); the store let go
//     and the server's DllCanUnloadNow logged.
// An object whose step failed keeps what the state knew of it and is tried again next run.
// Every call of the provider is logged with its result; message boxes are answered and logged.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "sdk/activesync/manager/DeviceFolder.h"
#include "sdk/activesync/manager/ManagerLog.h"
#include "sdk/activesync/manager/SyncState.h"
#include "sdk/activesync/ReplStore.h"

// Exit codes of the manager double: 0 done (objects may have failed: see the log), else the stage
// that stopped the run.
enum ManagerExit {
    exitDone = 0,
    exitUsage = 2,
    exitNoLibrary = 3,       // register/unregister: the library or its export is missing
    exitExportFailed = 4,    // register/unregister: the export answered a failure
    exitState = 10,          // the state file cannot be read, or no device folder
    exitNotRegistered = 11,  // no object type "ALK", or it names no store class
    exitDisabled = 12,       // the object type is disabled
    exitNoStore = 13,        // the store could not be made
    exitInitialize = 14,     // Initialize failed
    exitStoreInfo = 15,      // GetStoreInfo failed
    exitFolder = 16,         // GetFolderInfo or IsFolderChanged failed
    exitStoreReplaced = 17,  // IsFolderChanged: the store was replaced
    exitEnumeration = 18,    // the enumeration failed
    exitSaveState = 19,      // the state file cannot be written
};

struct SyncOptions {
    std::string statePath;
    bool hasProfile = false;  // the object type under partnership `profile`, else the defaults
    DWORD profile = 0;
    UINT initializeFlags = 0;  // REPL_INIT_SELECTED_DEVICE, REPL_INIT_REMOTE
    bool deviceWins = false;   // the conflict rule
    // Stages a caller may wait in or act at (the manager double's pause, a test in process):
    // after the store id, after the enumeration's first item, after the first device object new
    // to the desktop was stored there (a run stopped then has written the desktop, saved no state).
    enum Stage { afterStoreInfo, afterFirstItem, afterFirstReceived };
    std::function<void(Stage)> onStage;
};

// What a run did, for its summary line and for callers in process.
struct SyncCounts {
    int sent = 0, received = 0, deletedOnDevice = 0, deletedOnDesktop = 0, conflicts = 0, failed = 0;
    bool fresh = false;
};

class CSyncRun {
public:
    CSyncRun(const SyncOptions& options, CManagerLog& log) : m_options(options), m_log(log) {}
    CSyncRun(const CSyncRun&) = delete;
    CSyncRun& operator=(const CSyncRun&) = delete;

    // The whole run on this thread (made a single-threaded apartment for it); a ManagerExit.
    int Run();
    const SyncCounts& Counts() const { return m_counts; }

private:
    enum class Side { same, changed, gone };
    struct Object {
        std::string file;   // the device's file
        CSyncObject saved;  // as the state had it: kept when this object fails
        HREPLITEM handle = nullptr;
        bool seen = false;  // given by the enumeration
        Side desktop = Side::same, device = Side::same;
        std::vector<uint8_t> deviceBytes;
        uint64_t hash = 0;    // to remember for it
        bool keep = true;     // false once gone on both sides
        bool failed = false;  // keeps `saved`
    };

    int Synchronise(IReplStore* store, IReplNotify* notify);
    bool ReadDesktop(std::vector<Object>& objects, std::vector<HREPLITEM>& fresh);
    void ReadDevice(std::vector<Object>& objects, std::vector<std::string>& fresh);
    void Reconcile(Object& object);
    void Conflict(Object& object);

    // One object's steps; each logs its calls and answers whether it worked (Send counts what it
    // sent; what is received is counted by the callers, a conflict's copy is not).
    bool Send(HREPLITEM item, const std::string& file, uint64_t* hash);
    bool Receive(const std::vector<uint8_t>& bytes, const std::string& what, HREPLITEM* item, bool isNew);
    bool DeleteOnDesktop(HREPLITEM item, const std::string& what);
    bool IsGone(HREPLITEM item, const std::string& what);
    void Free(HREPLITEM item);
    std::string NewFileName();

    const SyncOptions& m_options;
    CManagerLog& m_log;
    SyncCounts m_counts;
    CSyncState m_state;
    CDeviceFolder m_device;
    IReplStore* m_store = nullptr;
    IReplObjHandler* m_handler = nullptr;
    HREPLFLD m_folder = nullptr;
    uint32_t m_lastNumber = 0;  // the highest file number seen or given
};
