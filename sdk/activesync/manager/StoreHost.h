// Finding and making the store as the manager does it: the object type "ALK" registered under a
// partnership (or, without one, under the "PocketPC" device-type defaults), refused when
// "Disabled" is not 0; its "Store" ProgID; the class id under HKEY_CLASSES_ROOT; the store made
// with CoCreateInstance on this thread, which the caller has made a single-threaded apartment.
// When the store is let go, the server's DllCanUnloadNow is asked (the module found by the
// InprocServer32 path). Each step is logged.
#pragma once

#include <windows.h>

#include <string>

#include "sdk/activesync/manager/ManagerLog.h"
#include "sdk/activesync/ReplStore.h"

class CStoreHost {
public:
    enum Result { found = 0, notRegistered, disabled, noClass, notCreated };

    explicit CStoreHost(CManagerLog& log) : m_log(log) {}
    ~CStoreHost() { Release(); }
    CStoreHost(const CStoreHost&) = delete;
    CStoreHost& operator=(const CStoreHost&) = delete;

    // The object type's registration: under partnership `profile` when hasProfile, else under
    // the "PocketPC" defaults.
    Result Locate(bool hasProfile, DWORD profile);
    Result Create();
    IReplStore* Store() const { return m_store; }
    // Lets the store go (logged) and logs the server's DllCanUnloadNow; its answer, or E_FAIL
    // when the server is not loaded. Nothing when no store is held.
    HRESULT Release();

    const std::string& ClassID() const { return m_classID; }
    const std::string& ServerPath() const { return m_serverPath; }

private:
    CManagerLog& m_log;
    std::string m_progID, m_classID, m_serverPath;
    IReplStore* m_store = nullptr;
};
