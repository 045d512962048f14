#include "activesync/SyncDataLayer.h"

#include "common/Assert.h"

CSyncDataLayer::CSyncDataLayer() : m_mutex(CreateMutexA(nullptr, FALSE, ALK_DATABASE_SESSION_MUTEX)), m_holding(false)
{}

CSyncDataLayer::~CSyncDataLayer()
{
    if (IsConnected()) Disconnect();
    ReleaseMutex();
    if (m_mutex) CloseHandle(m_mutex);
}

void CSyncDataLayer::ReleaseMutex()
{
    if (m_holding) {
        // The mutex is the thread's that connected the session: a session stays on its thread.
        const BOOL released = ::ReleaseMutex(m_mutex);
        ALK_ASSERT(released);
    }
    m_holding = false;
}

CDataLayer::ConnectStatus CSyncDataLayer::Connect(const char* path)
{
    if (IsConnected()) Disconnect();
    ReleaseMutex();
    if (m_mutex) {
        const DWORD wait = WaitForSingleObject(m_mutex, INFINITE);
        // WAIT_ABANDONED: the last owner's thread ended without releasing; the mutex is ours.
        m_holding = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }

    wchar_t widePath[MaxPath + 1];
    ConnectStatus status = csFileNotFound;
    m_refusedNewer = false;
    if (path && *path && MultiByteToWideChar(CP_THREAD_ACP, 0, path, -1, widePath, MaxPath + 1) > 0) {
        status = CDataLayer::Connect(widePath);
    }
    if (status == csConnected && IsNewerVersion()) {
        Disconnect();
        m_refusedNewer = true;
        status = csInvalidDatabase;
    }
    if (status != csConnected) ReleaseMutex();
    return status;
}

CBaseObject* CSyncDataLayer::LoadObject(int objectType, long rowID)
{
    CBaseObject* record = nullptr;
    switch (objectType) {
    case CBaseObject::otVehicle: record = new CVehicle; break;
    case CBaseObject::otEntry: record = new CEntry; break;
    case CBaseObject::otNotification: record = new CNotification; break;
    case CBaseObject::otKeyword: record = new CKeyword; break;
    default: return nullptr;
    }
    if (!record) return nullptr;  // the library's allocation gives null, never throws
    record->SetID(rowID);
    if (!LoadByType(record)) {
        delete record;
        return nullptr;
    }
    return record;
}

int CSyncDataLayer::LoadByType(CBaseObject* record)
{
    if (!IsConnected() || !record) return 0;
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: return Load(static_cast<CVehicle*>(record));
    case CBaseObject::otEntry: return Load(static_cast<CEntry*>(record));
    case CBaseObject::otNotification: return Load(static_cast<CNotification*>(record));
    case CBaseObject::otKeyword: return Load(static_cast<CKeyword*>(record));
    default: return 0;
    }
}

int CSyncDataLayer::SaveObject(CBaseObject* record)
{
    if (!IsConnected() || !record) return 0;
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: return Save(static_cast<CVehicle*>(record), 0);
    case CBaseObject::otEntry: return Save(static_cast<CEntry*>(record), 0);
    case CBaseObject::otNotification: return Save(static_cast<CNotification*>(record), 0);
    case CBaseObject::otKeyword: return Save(static_cast<CKeyword*>(record), 0);
    default: return 0;
    }
}

int CSyncDataLayer::DeleteObject(CBaseObject* record)
{
    if (!IsConnected() || !record) return 0;
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: return Delete(static_cast<CVehicle*>(record));
    case CBaseObject::otEntry: return Delete(static_cast<CEntry*>(record));
    case CBaseObject::otNotification: return Delete(static_cast<CNotification*>(record));
    case CBaseObject::otKeyword: return Delete(static_cast<CKeyword*>(record));
    default: return 0;
    }
}
