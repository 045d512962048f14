#include "tests/activesync/SyncTestSupport.h"

#include <shlwapi.h>

#include <cstring>

#include "activesync/SyncDataLayer.h"
#include "sdk/activesync/DeviceState.h"

namespace alk_sync_test {

namespace {

LONG SetValue(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, size_t size)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return result;
    result = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    RegCloseKey(key);
    return result;
}

}  // namespace

std::string LoadAnsi(UINT id)
{
    char text[1024] = {};
    LoadStringA(GetModuleHandleW(nullptr), id, text, sizeof text);
    return text;
}

// --- the database ----------------------------------------------------------------------------

long SyncDatabase::AddVehicle(unsigned long ref, const wchar_t* name, int year, long odometer)
{
    CVehicleRecord v(name);
    v.Year(year).Odometer(odometer).Get().SetRefID(ref);
    EXPECT_EQ(ref, v.Save(Db()));
    return v.Get().GetID();
}

long SyncDatabase::AddEntry(unsigned long ref, unsigned long vehicle, CEntry::Type type, double date, long odometer,
                            float amount, const wchar_t* name, const wchar_t* notes)
{
    CEntryRecord e(vehicle, type);
    e.Date(date).Odometer(odometer).Amount(amount).Name(name).Notes(notes).Get().SetRefID(ref);
    EXPECT_EQ(ref, e.Save(Db()));
    return e.Get().GetID();
}

long SyncDatabase::AddReminder(unsigned long ref, unsigned long vehicle, const wchar_t* name, double date,
                               long odometer)
{
    CReminderRecord n(vehicle, name);
    n.Date(date).Odometer(odometer).Get().SetRefID(ref);
    EXPECT_EQ(ref, n.Save(Db()));
    return n.Get().GetID();
}

long SyncDatabase::AddKeyword(unsigned long ref, CKeyword::Type type, const wchar_t* name)
{
    CKeywordRecord k(type, name);
    k.Get().SetRefID(ref);
    EXPECT_EQ(ref, k.Save(Db()));
    return k.Get().GetID();
}

// --- registry state --------------------------------------------------------------------------

DesktopKey::DesktopKey(const std::string& path)
{
    SHDeleteKeyA(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A);
    SetPath(path);
}

DesktopKey::~DesktopKey()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A);
}

void DesktopKey::SetPath(const std::string& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "DBPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                            static_cast<DWORD>(path.size() + 1)));
    RegCloseKey(key);
}

DeviceState::DeviceState(DWORD syncValue) : m_folder(L"alksync-device")
{
    SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SDK_ACTIVESYNC_KEY);
    const std::wstring& root = m_folder.Path();
    EXPECT_EQ(ERROR_SUCCESS,
              SetValue(ALK_SDK_DEVICE_KEY, L"Root", REG_SZ, root.c_str(), (root.size() + 1) * sizeof(wchar_t)));
    SetDword(L"Connected", 1);
    SetDword(L"SyncValue", syncValue);
    CreateDirectoryW((root + L"\\Autolark").c_str(), nullptr);
    HANDLE file = CreateFileW((root + L"\\Autolark\\Autolark.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    SetDevicePath(L"\\Autolark\\Autolark.dat");
}

DeviceState::~DeviceState()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SDK_ACTIVESYNC_KEY);
}

void DeviceState::SetDword(const wchar_t* name, DWORD value)
{
    EXPECT_EQ(ERROR_SUCCESS, SetValue(ALK_SDK_DEVICE_KEY, name, REG_DWORD, &value, sizeof value));
}

void DeviceState::DeleteValue(const wchar_t* name)
{
    SHDeleteValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, name);
}

DWORD DeviceState::RapiCalls()
{
    DWORD value = 0, size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, L"RapiCalls", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

void DeviceState::SetDevicePath(const wchar_t* path)
{
    const std::wstring key = std::wstring(ALK_SDK_DEVICE_REGISTRY) + L"\\HKCU\\Software\\Brellox Software\\Autolark";
    EXPECT_EQ(ERROR_SUCCESS, SetValue(key.c_str(), L"DBPath", REG_SZ, path, (wcslen(path) + 1) * sizeof(wchar_t)));
}

std::string DeviceState::Messages() const
{
    std::string text;
    HANDLE file = CreateFileW((Root() + L"\\" ALK_SDK_MESSAGES_FILE).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// --- the store -------------------------------------------------------------------------------

StoreSession::StoreSession(HWND window, UINT flags) : store(new CStore), notify(window)
{
    initialized = store->Initialize(&notify, flags);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, store->GetFolderInfo(const_cast<char*>("ALK"), &folder, &unknown));
    handler = static_cast<IReplObjHandler*>(unknown);
}

StoreSession::~StoreSession()
{
    if (folder) store->FreeObject(folder);
    if (handler) handler->Release();
    store->Release();
}

namespace {

int g_reloads = 0;

LRESULT CALLBACK ReloadWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT reload = RegisterWindowMessageA(ALK_RELOAD_DATA_MESSAGE_A);
    if (message == reload) ++g_reloads;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

ReloadWindow::ReloadWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ReloadWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AlkSyncTestWindow";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"Sync test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    g_reloads = 0;
}

ReloadWindow::~ReloadWindow()
{
    DestroyWindow(hwnd);
}

int ReloadWindow::Reloads()
{
    PumpMessages();
    return g_reloads;
}

ItemFields ReadItem(IReplStore* store, HREPLITEM item)
{
    BYTE bytes[24] = {};
    EXPECT_EQ(24u, store->ObjectToBytes(item, bytes));
    return ParseItem(bytes);
}

ItemFields ParseItem(const BYTE* bytes)
{
    ItemFields fields;
    std::memcpy(&fields.kind, bytes, 4);
    std::memcpy(&fields.type, bytes + 4, 4);
    std::memcpy(&fields.row, bytes + 8, 4);
    std::memcpy(&fields.ref, bytes + 12, 4);
    std::memcpy(&fields.modified, bytes + 16, 8);
    return fields;
}

HREPLITEM MakeItem(IReplStore* store, int type, long row, unsigned long ref, double modified)
{
    const uint32_t kind = 1;
    const int32_t row32 = static_cast<int32_t>(row);
    const uint32_t ref32 = static_cast<uint32_t>(ref);
    BYTE bytes[24];
    std::memcpy(bytes, &kind, 4);
    std::memcpy(bytes + 4, &type, 4);
    std::memcpy(bytes + 8, &row32, 4);
    std::memcpy(bytes + 12, &ref32, 4);
    std::memcpy(bytes + 16, &modified, 8);
    return store->BytesToObject(bytes, 24);
}

HRESULT Enumerate(IReplStore* store, HREPLFLD folder, std::vector<ItemFields>* items)
{
    items->clear();
    HREPLITEM item = nullptr;
    BOOL exists = FALSE;
    HRESULT hr = store->FindFirstItem(folder, &item, &exists);
    while (hr == S_OK && exists) {
        items->push_back(ReadItem(store, item));
        store->FreeObject(item);
        hr = store->FindNextItem(folder, &item, &exists);
    }
    store->FindItemClose(folder);
    return hr;
}

bool MutexHeldElsewhere()
{
    struct Probe {
        static DWORD WINAPI Run(void*)
        {
            HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, ALK_DATABASE_SESSION_MUTEX);
            if (!mutex) return 0;  // nobody has it open: free
            const DWORD wait = WaitForSingleObject(mutex, 0);
            const bool free = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
            if (free) ReleaseMutex(mutex);
            CloseHandle(mutex);
            return free ? 0 : 1;
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, &Probe::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD held = 0;
    GetExitCodeThread(thread, &held);
    CloseHandle(thread);
    return held != 0;
}

// --- bytes -----------------------------------------------------------------------------------

Bytes& Bytes::U32(uint32_t value)
{
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
}

Bytes& Bytes::F32(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return U32(bits);
}

Bytes& Bytes::F64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    U32(static_cast<uint32_t>(bits));
    return U32(static_cast<uint32_t>(bits >> 32));
}

Bytes& Bytes::Text(const std::wstring& text)
{
    for (wchar_t unit : text) {
        data.push_back(static_cast<uint8_t>(unit & 0xFF));
        data.push_back(static_cast<uint8_t>(unit >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return *this;
}

Bytes& Bytes::Raw(const std::vector<uint8_t>& bytes)
{
    data.insert(data.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> Packet(uint32_t count, const Bytes& properties)
{
    Bytes packet;
    packet.U32(count).U32(0).Raw(properties.data);
    return packet.data;
}

GuardedBytes::GuardedBytes(const void* bytes, size_t size)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t pages = (size + page - 1) / page + 1;
    m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(m_base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    m_start = m_base + (pages - 1) * page - size;
    if (size) std::memcpy(m_start, bytes, size);
}

GuardedBytes::~GuardedBytes()
{
    VirtualFree(m_base, 0, MEM_RELEASE);
}

}  // namespace alk_sync_test
