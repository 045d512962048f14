// Shared by the provider's tests: a database made from the template with records written through
// AlkBiz (the engine's own connection beside it, to look at rows or hold locks); the desktop
// settings key and the device doubles' state (both under HKEY_CURRENT_USER: each test takes a
// test desktop, with a registry of its own); a store made and initialised as the manager would, with its folder and
// handler, and a window of the test that owns its boxes and counts its reload broadcasts; packet
// bytes written out by hand; memory that ends at a page no one may read.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "activesync/Store.h"
#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "sdk/activesync/device/ReplNotifyDouble.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

namespace alk_sync_test {

// A string of the provider's resources, which the test program links, in the ANSI code page.
std::string LoadAnsi(UINT id);

// A copy of the template in a scratch folder, with records saved with the reference ids given.
class SyncDatabase : public CTestDatabase {
public:
    SyncDatabase() : CTestDatabase(L"sync.dat", L"", L"alksync") {}

    // Records saved with the reference id given (no generated id, no pause); row ids returned.
    long AddVehicle(unsigned long ref, const wchar_t* name, int year = 2004, long odometer = 1000);
    long AddEntry(unsigned long ref, unsigned long vehicle, CEntry::Type type, double date, long odometer, float amount,
                  const wchar_t* name = L"", const wchar_t* notes = L"");
    long AddReminder(unsigned long ref, unsigned long vehicle, const wchar_t* name, double date, long odometer);
    long AddKeyword(unsigned long ref, CKeyword::Type type, const wchar_t* name);
};

// Writes the desktop settings key's "DBPath" (removed with the key at the end).
class DesktopKey {
public:
    explicit DesktopKey(const std::string& path);
    ~DesktopKey();
    static void SetPath(const std::string& path);
};

// The state of the device doubles with a device folder of its own: connected, its database at
// "\Autolark\Autolark.dat" (file and registry value made), the given store value. All of it and
// the folder go at the end.
class DeviceState {
public:
    explicit DeviceState(DWORD syncValue = 0x5EED0001);
    ~DeviceState();
    const std::wstring& Root() const { return m_folder.Path(); }
    static void SetDword(const wchar_t* name, DWORD value);
    static void DeleteValue(const wchar_t* name);
    static DWORD RapiCalls();
    // The device application's own "DBPath" value (a device path).
    static void SetDevicePath(const wchar_t* path);
    std::string Messages() const;

private:
    CScratchFolder m_folder;
};

// A store as the manager holds it: made, initialised for the selected device (no device calls)
// with a callback owning `window`, its folder and the folder's handler.
class StoreSession {
public:
    explicit StoreSession(HWND window = nullptr, UINT flags = REPL_INIT_SELECTED_DEVICE);
    ~StoreSession();
    CStore* store = nullptr;
    CReplNotifyDouble notify;
    HREPLFLD folder = nullptr;
    IReplObjHandler* handler = nullptr;
    HRESULT initialized = E_FAIL;
};

// A top-level window of the test: the owner of the store's boxes, and a receiver of the reload
// broadcast that counts them (one such window at a time).
class ReloadWindow {
public:
    ReloadWindow();
    ~ReloadWindow();
    ReloadWindow(const ReloadWindow&) = delete;
    ReloadWindow& operator=(const ReloadWindow&) = delete;
    // Broadcasts received since the window was made (the queue pumped first).
    int Reloads();
    HWND hwnd = nullptr;
};

// What an item handle says (its bytes read back, not its members).
struct ItemFields {
    uint32_t kind = 0;
    int32_t type = 0;
    int32_t row = 0;
    uint32_t ref = 0;
    double modified = 0;
};
ItemFields ReadItem(IReplStore* store, HREPLITEM item);
// The fields of an item's 24 handle bytes.
ItemFields ParseItem(const BYTE* bytes);
// An item handle made from its bytes, as the manager keeps it.
HREPLITEM MakeItem(IReplStore* store, int type, long row, unsigned long ref = 0, double modified = 0);
// Every item of a whole enumeration, in order (the handles freed); the enumeration's result.
HRESULT Enumerate(IReplStore* store, HREPLFLD folder, std::vector<ItemFields>* items);

// True when a thread other than this one finds the database mutex owned.
bool MutexHeldElsewhere();

// Packet bytes written by hand, little-endian.
class Bytes {
public:
    Bytes& U32(uint32_t value);
    Bytes& F32(float value);
    Bytes& F64(double value);
    Bytes& Text(const std::wstring& text);  // with its NUL
    Bytes& Raw(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> data;
};
// A packet: count, reserved 0, then the properties.
std::vector<uint8_t> Packet(uint32_t count, const Bytes& properties);

// `size` bytes whose end touches a page that may not be read or written: a read past them
// faults at once.
class GuardedBytes {
public:
    GuardedBytes(const void* bytes, size_t size);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    BYTE* Get() const { return m_start; }

private:
    BYTE* m_base = nullptr;
    BYTE* m_start = nullptr;
};

}  // namespace alk_sync_test
