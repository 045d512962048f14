// Shared by the tests that drive AlkSync.dll as the ActiveSync manager would: the DLL beside the
// test registered through its own export (with the manager's device-type defaults key it needs),
// programs of the build run as separate processes, the manager double's runs with their logs, the
// device's object files read and written with the device application's CDevicePacket, and the
// manager's state file. Everything lives in the test prefix's registry and scratch folders.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sdk/activesync/device/DevicePacket.h"
#include "sdk/activesync/manager/SyncState.h"
#include "tests/activesync/SyncTestSupport.h"
#include "tests/support/ChildProcess.h"

namespace alk_sync_test {

// The manager's device-type defaults for Pocket PCs, as its installation leaves them.
#define ALK_TEST_DEFAULTS_KEY "SOFTWARE\\Microsoft\\Windows CE Services"
#define ALK_TEST_POCKETPC_OBJECTS                                                                    \
    "SOFTWARE\\Microsoft\\Windows CE Services\\SpecialDefaults\\PocketPC\\Services\\Synchronization" \
    "\\Objects"

// AlkSync.dll beside the test program.
std::string ServerPath();
// The registered object type's key under the Pocket PC defaults.
std::string PocketPCTypeKey();

// The sample database of the desktop program's sample-database tool (made once per test program,
// a copy each call) at path.
void CopySampleDatabase(const std::wstring& path);

// The Pocket PC defaults' Objects key made and AlkSync.dll registered in process; at the end
// unregistered and the defaults key gone.
class RegisteredServer {
public:
    RegisteredServer();
    ~RegisteredServer();
    RegisteredServer(const RegisteredServer&) = delete;
    RegisteredServer& operator=(const RegisteredServer&) = delete;
    // Calls an export of AlkSync.dll, loaded for the call.
    static HRESULT Call(const char* exportName);
};

// The manager double in a folder of its own: each run's log kept as lines.
class Manager {
public:
    Manager();
    const std::wstring& Folder() const { return m_folder.Path(); }
    std::string StatePath() const { return ToAnsi(m_folder.File(L"state.txt")); }
    // One `sync` with the state here and extra options; the exit code. `log` holds its lines.
    long Sync(const std::string& extra = std::string());
    // Any command; the log in `log`.
    long Run(const std::string& arguments);
    // The arguments exactly as given (no log file named); what the program printed in `log`.
    long RunAsTyped(const std::string& arguments);
    // A `sync` run by the manager's library in this process (the same command line and log).
    long SyncHere(const std::vector<std::string>& extra);
    // A `sync` started and left running (its log at LogPath()); the process handle.
    HANDLE Start(const std::string& extra);
    std::string LogPath() const;
    // Reads a log into `log`.
    void ReadLog(const std::string& path);

    CSyncState State() const;
    // Lines starting with prefix, and whether one equals line.
    int Count(const std::string& prefix) const;
    bool Has(const std::string& line) const;
    std::string Text() const;

    std::vector<std::string> log;

private:
    std::string NextLog();

    CScratchFolder m_folder;
    int m_runs = 0;
};

// The device's objects (<Root>\Objects).
class DeviceObjects {
public:
    explicit DeviceObjects(const DeviceState& device);
    std::vector<std::string> Files() const;
    std::vector<uint8_t> Bytes(const std::string& file) const;
    CDevicePacket Read(const std::string& file) const;  // a failed test when it cannot be read
    void Write(const std::string& file, const std::vector<uint8_t>& bytes) const;
    void Write(const std::string& file, const CDevicePacket& packet) const { Write(file, packet.Write()); }
    void Remove(const std::string& file) const;
    // Every file and its bytes, to compare two moments.
    std::string Snapshot() const;

private:
    std::wstring m_path;
};

// What a whole synchronisation through the manager double needs: the test's top-level window
// (owner of the store's boxes, counter of reload broadcasts), a desktop database named by
// "DBPath", a connected device, AlkSync.dll registered, the manager double and the device's
// objects.
class CManagerFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, window.hwnd) << "no display"; }

    ReloadWindow window;
    SyncDatabase db;
    DeviceState device;
    DesktopKey key{db.AnsiPath()};
    RegisteredServer server;
    Manager manager;
    DeviceObjects objects{device};
};

// What a state object's handle says.
ItemFields HandleFields(const CSyncObject& object);
// The state's object for the desktop record of that type and reference id; null when none.
const CSyncObject* FindObject(const CSyncState& state, int type, unsigned long ref);

}  // namespace alk_sync_test
