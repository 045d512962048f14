// A database session of the provider: a CDataLayer that holds the named mutex
// ALK_DATABASE_SESSION_MUTEX exactly while it is connected, so that at most one provider
// session, in any process, works on the database at a time.
//
// The provider keeps no connection between the manager's calls: each operation makes a session,
// connects it to the store's path, works and destroys it (an item enumeration keeps its session
// from the first item to the close). One thread may hold the mutex several times over (an open
// enumeration and the sessions of the store's other calls); each session releases it once. A
// mutex abandoned by a thread that ended while holding it is taken over as a free one. When the
// mutex cannot be made at all, sessions run without it. The desktop program and the Palm conduit
// do not take this mutex.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"

#define ALK_DATABASE_SESSION_MUTEX "{9022CDC1-2880-48e0-B361-D88CB7A0AE7C}"

class CSyncDataLayer : public CDataLayer {
public:
    // Creates or opens the mutex (not owned).
    CSyncDataLayer();
    // Disconnects and releases the mutex when connected, then closes its handle.
    ~CSyncDataLayer();
    CSyncDataLayer(const CSyncDataLayer&) = delete;
    CSyncDataLayer& operator=(const CSyncDataLayer&) = delete;

    // Waits without time limit for the mutex, then connects to path (ANSI, the thread's code
    // page). On failure the mutex is released again; the status is CDataLayer's. A second
    // Connect ends the first connection first. A file made by a newer version of the program is
    // not kept connected (csInvalidDatabase, RefusedAsNewer): the provider never writes into one.
    ConnectStatus Connect(const char* path);
    // The last Connect refused the file as a newer version's.
    bool RefusedAsNewer() const { return m_refusedNewer; }

    // A record of the object type (1 vehicle, 2 entry, 3 notification, 4 keyword) loaded by row
    // id, owned by the caller; null for another type or when it cannot be loaded.
    CBaseObject* LoadObject(int objectType, long rowID);
    // CDataLayer's Load, Save (stamping the modification date with now; a new record gets a
    // reference id when it has none) and Delete (a vehicle takes its entries and reminders) of
    // the record's kind. 0 without a call when not connected, for null or another kind.
    int LoadByType(CBaseObject* record);
    int SaveObject(CBaseObject* record);
    int DeleteObject(CBaseObject* record);

private:
    void ReleaseMutex();

    HANDLE m_mutex;
    bool m_holding;  // this session waited for the mutex successfully and owes one release
    bool m_refusedNewer = false;
};
