// The store with the manager's callback double: the device and desktop checks of Initialize and
// their messages (a box owned by the callback's window, or a message to the device), store
// information and id, the reload broadcast, the folder check, conflict information and the object
// type's user-interface data. Boxes are answered by a hook of the test's thread.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "activesync/ModuleLock.h"
#include "resources/activesync/resource.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

namespace {

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

// Every message box of this thread while it lives: what it showed and its owner; each answered
// with OK.
class BoxWatcher {
public:
    struct Box {
        std::wstring caption, text;
        HWND owner;
    };
    BoxWatcher()
    {
        Current() = this;
        m_hook = SetWindowsHookExW(WH_CBT, &BoxWatcher::Proc, nullptr, GetCurrentThreadId());
    }
    ~BoxWatcher()
    {
        UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    std::vector<Box> boxes;

private:
    static BoxWatcher*& Current()
    {
        static BoxWatcher* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        BoxWatcher* self = Current();
        if (code == HCBT_ACTIVATE && self) {
            HWND box = reinterpret_cast<HWND>(wParam);
            wchar_t cls[32] = {};
            GetClassNameW(box, cls, 32);
            const bool seen = std::find(self->m_seen.begin(), self->m_seen.end(), box) != self->m_seen.end();
            if (std::wstring(cls) == L"#32770" && !seen) {
                self->m_seen.push_back(box);
                wchar_t caption[256] = {}, text[1024] = {};
                GetWindowTextW(box, caption, 256);
                GetDlgItemTextW(box, 0xFFFF, text, 1024);
                self->boxes.push_back({caption, text, GetWindow(box, GW_OWNER)});
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook = nullptr;
    std::vector<HWND> m_seen;
};

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, window.hwnd) << "no display"; }
    std::unique_ptr<StoreSession> Open(UINT flags = REPL_INIT_SELECTED_DEVICE)
    {
        auto session = std::make_unique<StoreSession>(window.hwnd, flags);
        PumpMessages();
        return session;
    }
    void ExpectOneBox(const BoxWatcher& boxes, UINT text)
    {
        ASSERT_EQ(1u, boxes.boxes.size());
        EXPECT_EQ(Wide(LoadAnsi(IDS_ERROR_CAPTION)), boxes.boxes[0].caption);
        EXPECT_EQ(Wide(LoadAnsi(text)), boxes.boxes[0].text);
        EXPECT_EQ(window.hwnd, boxes.boxes[0].owner);
    }

    CFixedClock clock{Utc(2030, 3, 4, 5, 6, 7)};
    ReloadWindow window;
    SyncDatabase db;
    DeviceState device;
    DesktopKey key{db.AnsiPath()};
};

}  // namespace

TEST_F(StoreTest, TheStringsAreTheProvidersOwn)
{
    EXPECT_EQ("Autolark Synchronization Error", LoadAnsi(IDS_ERROR_CAPTION));
    EXPECT_EQ(0u,
              LoadAnsi(IDS_ERROR_NO_DEVICE_DATABASE).find("Autolark needs to setup a database file on your mobile"));
    EXPECT_EQ("Trip", LoadAnsi(IDS_TYPE_TRIP));
}

TEST_F(StoreTest, InitializeChecksTheDeviceUnlessItIsForTheSelectedDevice)
{
    BoxWatcher boxes;
    const DWORD before = DeviceState::RapiCalls();
    {
        auto s = Open(REPL_INIT_SELECTED_DEVICE);
        EXPECT_EQ(S_OK, s->initialized);
        EXPECT_EQ(before, DeviceState::RapiCalls()) << "no device call for the selected device";
        EXPECT_STREQ(db.AnsiPath().c_str(), s->store->GetDatabasePath());
    }
    {
        auto s = Open(0);
        EXPECT_EQ(S_OK, s->initialized);
        EXPECT_LT(before, DeviceState::RapiCalls());
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(StoreTest, AMissingDeviceDatabaseIsShownOwnedByTheManagersWindowOrSentToTheDevice)
{
    DeviceState::SetDevicePath(L"\\Autolark\\Gone.dat");
    {
        BoxWatcher boxes;
        auto s = Open(0);
        EXPECT_EQ(E_FAIL, s->initialized);
        ExpectOneBox(boxes, IDS_ERROR_NO_DEVICE_DATABASE);
        EXPECT_STREQ("", s->store->GetDatabasePath());
        STOREINFO info = {};
        info.size = sizeof info;
        BYTE id[8];
        info.maxStoreIdSize = 8;
        info.storeId = id;
        EXPECT_EQ(S_OK, s->store->GetStoreInfo(&info));
        EXPECT_EQ(0u, info.storeIdSize) << "no store id before a successful Initialize";
    }
    {
        BoxWatcher boxes;
        auto s = Open(REPL_INIT_REMOTE);
        EXPECT_EQ(E_FAIL, s->initialized);
        EXPECT_TRUE(boxes.boxes.empty()) << "a remote connection shows nothing on the desktop";
        EXPECT_EQ(LoadAnsi(IDS_ERROR_NO_DEVICE_DATABASE) + "\r\n", device.Messages());
    }
    DeviceState::SetDevicePath(L"\\Autolark\\Autolark.dat");
    DeviceState::SetDword(L"Connected", 0);
    BoxWatcher boxes;
    auto s = Open(0);
    EXPECT_EQ(E_FAIL, s->initialized);
    ExpectOneBox(boxes, IDS_ERROR_NO_DEVICE_DATABASE);
}

TEST_F(StoreTest, AMissingDesktopDatabaseIsReported)
{
    for (const std::string& path : {db.AnsiPath() + ".gone", std::string()}) {
        DesktopKey::SetPath(path);
        BoxWatcher boxes;
        auto s = Open(REPL_INIT_SELECTED_DEVICE);
        EXPECT_EQ(E_FAIL, s->initialized);
        ExpectOneBox(boxes, IDS_ERROR_NO_DESKTOP_DATABASE);
    }
    {
        DesktopKey gone("");
    }
    BoxWatcher boxes;
    auto s = Open(REPL_INIT_SELECTED_DEVICE | REPL_INIT_REMOTE);
    EXPECT_EQ(E_FAIL, s->initialized);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(LoadAnsi(IDS_ERROR_NO_DESKTOP_DATABASE) + "\r\n", device.Messages());
}

TEST_F(StoreTest, StoreInformationAndTheStoreID)
{
    BoxWatcher boxes;
    CStore* bare = new CStore;
    STOREINFO info = {};
    EXPECT_EQ(E_INVALIDARG, bare->GetStoreInfo(&info));
    info.size = sizeof info;
    info.storeIdSize = 0x77;
    EXPECT_EQ(S_OK, bare->GetStoreInfo(&info));
    EXPECT_EQ(3u, info.flags);
    EXPECT_EQ(2000u, info.timerResolution);
    EXPECT_STREQ("Quorrin.ALK.Store", info.progId);
    EXPECT_STREQ("Autolark Store", info.description);
    EXPECT_EQ(0x77u, info.storeIdSize);
    bare->Release();

    auto s = Open();
    ASSERT_EQ(S_OK, s->initialized);
    BYTE id[8] = {};
    info = STOREINFO{};
    info.size = sizeof info;
    info.maxStoreIdSize = 7;
    info.storeId = id;
    EXPECT_EQ(E_OUTOFMEMORY, s->store->GetStoreInfo(&info));
    EXPECT_EQ(8u, info.storeIdSize);
    info.maxStoreIdSize = 8;
    info.storeId = nullptr;
    EXPECT_EQ(E_POINTER, s->store->GetStoreInfo(&info));
    info.storeId = id;
    ASSERT_EQ(S_OK, s->store->GetStoreInfo(&info));
    const uint32_t desktop = static_cast<uint32_t>(db.Integer("SELECT Value FROM MetaData WHERE ID=1"));
    const BYTE expected[8] = {static_cast<BYTE>(desktop),
                              static_cast<BYTE>(desktop >> 8),
                              static_cast<BYTE>(desktop >> 16),
                              static_cast<BYTE>(desktop >> 24),
                              0x01,
                              0x00,
                              0xED,
                              0x5E};
    EXPECT_EQ(0, std::memcmp(expected, id, 8));
    EXPECT_NE(0u, desktop);
    EXPECT_FALSE(MutexHeldElsewhere());
    EXPECT_TRUE(boxes.boxes.empty());

    DeviceState::SetDword(L"SyncValue", 0);
    EXPECT_EQ(E_FAIL, s->store->GetStoreInfo(&info));
    ExpectOneBox(boxes, IDS_ERROR_INVALID_DEVICE_DATABASE);
    boxes.boxes.clear();
    DeviceState::DeleteValue(L"SyncValue");
    EXPECT_EQ(E_FAIL, s->store->GetStoreInfo(&info));
    ExpectOneBox(boxes, IDS_ERROR_DEVICE_QUERY);
    boxes.boxes.clear();
    DeviceState::SetDword(L"SyncValue", 9);
    DeviceState::SetDword(L"QueryFails", 1);
    EXPECT_EQ(E_FAIL, s->store->GetStoreInfo(&info));
    ExpectOneBox(boxes, IDS_ERROR_DEVICE_QUERY);
    EXPECT_FALSE(MutexHeldElsewhere());
    boxes.boxes.clear();

    db.CloseDb();
    db.CloseHandle();
    ASSERT_TRUE(DeleteFileW(db.Path().c_str()));
    EXPECT_EQ(E_FAIL, s->store->GetStoreInfo(&info)) << "no database: no id, no message";
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(StoreTest, StoreIDsCompareByLengthThenUnsignedBytes)
{
    auto s = Open();
    BYTE four[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    BYTE a[8] = {0, 0, 0, 0, 0, 0, 0, 0x01};
    BYTE b[8] = {0, 0, 0, 0, 0, 0, 0, 0xFF};
    EXPECT_EQ(-1, s->store->CompareStoreIDs(four, 4, a, 8));
    EXPECT_EQ(1, s->store->CompareStoreIDs(a, 8, four, 4));
    EXPECT_EQ(-1, s->store->CompareStoreIDs(a, 8, b, 8));
    EXPECT_EQ(1, s->store->CompareStoreIDs(b, 8, a, 8));
    EXPECT_EQ(0, s->store->CompareStoreIDs(a, 8, a, 8));
}

TEST_F(StoreTest, OneReloadBroadcastAfterASynchronisationThatWroteAndNoneOtherwise)
{
    const long row = db.AddVehicle(0x10, L"Car");
    auto s = Open();
    s->store->ReportStatus(nullptr, nullptr, REPL_STATUS_SYNC_END, 0);
    EXPECT_EQ(0, window.Reloads());

    REPLSETUP setup = {sizeof setup, FALSE, 0, s->folder, MakeItem(s->store, CBaseObject::otVehicle, row)};
    s->handler->Setup(&setup);
    BYTE packet[] = {1, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00, 0x01, 0x80, 1, 0, 0, 0};
    ASSERT_EQ(S_OK, s->handler->SetPacket(packet, sizeof packet));
    s->handler->Reset(&setup);
    s->store->ReportStatus(nullptr, nullptr, 4, 0);  // another status: nothing
    EXPECT_EQ(0, window.Reloads());
    s->store->ReportStatus(nullptr, nullptr, REPL_STATUS_SYNC_END, 0);
    EXPECT_EQ(1, window.Reloads());
    s->store->ReportStatus(nullptr, nullptr, REPL_STATUS_SYNC_END, 0);
    EXPECT_EQ(1, window.Reloads());

    ASSERT_EQ(S_OK, s->handler->DeleteObj(&setup));
    EXPECT_EQ(E_FAIL, s->handler->DeleteObj(&setup)) << "already gone: no change";
    s->store->ReportStatus(nullptr, nullptr, REPL_STATUS_SYNC_END, 0);
    EXPECT_EQ(2, window.Reloads());
    s->store->FreeObject(setup.item);

    EXPECT_EQ(1, s->notify.References());
    s->store->ReportStatus(nullptr, nullptr, REPL_STATUS_RELEASE, 0);
    EXPECT_EQ(0, s->notify.References()) << "the release status lets the callback go";
}

TEST_F(StoreTest, AChangedDatabasePathReplacesTheStore)
{
    auto s = Open();
    BOOL changed = FALSE;
    ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_TRUE(changed);
    SyncDatabase other;
    DesktopKey::SetPath(other.AnsiPath());
    changed = 7;
    EXPECT_EQ(REPL_E_STORE_REPLACED, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_EQ(7, changed) << "left alone";
    DesktopKey::SetPath(db.AnsiPath());
    EXPECT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_FALSE(changed);
}

TEST_F(StoreTest, ConflictInformationNamesBothObjects)
{
    const std::wstring longName(600, L'x');
    const long trip1 = db.AddEntry(0x21, 0x10, CEntry::etTrip, 40000, 100, 5.0f, L"To Lyon");
    const long trip2 = db.AddEntry(0x22, 0x10, CEntry::etTrip, 40000, 100, 6.0f, longName.c_str());
    const long same = db.AddEntry(0x23, 0x10, CEntry::etTrip, 40000, 100, 5.0f, L"To Lyon");
    const long reminder = db.AddReminder(0x31, 0x10, L"Oil", 40000, 1);
    const long odd = db.AddEntry(0x24, 0x10, static_cast<CEntry::Type>(9), 40000, 100, 5.0f, L"Odd");
    auto s = Open();
    auto item = [&](int type, long row) { return MakeItem(s->store, type, row); };
    HREPLITEM a = item(2, trip1), b = item(2, trip2), c = item(2, same), r = item(3, reminder), o = item(2, odd);
    HREPLITEM gone = item(2, 999);

    CONFINFO info = {};
    info.size = sizeof info - 1;
    EXPECT_EQ(E_INVALIDARG, s->store->GetConflictInfo(&info));
    info.size = sizeof info;
    info.folder = s->folder;
    info.localItem = a;
    info.remoteItem = b;
    ASSERT_EQ(S_OK, s->store->GetConflictInfo(&info));
    EXPECT_STREQ("Trip", info.localType);
    EXPECT_STREQ("To Lyon", info.localDescription);
    EXPECT_STREQ("Trip", info.remoteType);
    EXPECT_EQ(std::string(511, 'x'), info.remoteDescription) << "cut at 511 characters";

    info.remoteItem = c;
    EXPECT_EQ(REPL_E_IGNORE_CONFLICT, s->store->GetConflictInfo(&info)) << "equal but for the reference id";
    info.remoteItem = gone;
    EXPECT_EQ(REPL_E_IGNORE_CONFLICT, s->store->GetConflictInfo(&info));
    info.localItem = r;
    info.remoteItem = o;
    ASSERT_EQ(S_OK, s->store->GetConflictInfo(&info));
    EXPECT_STREQ("Notification", info.localType);
    EXPECT_STREQ("Entry", info.remoteType);
    EXPECT_FALSE(MutexHeldElsewhere());
    for (HREPLITEM i : {a, b, c, r, o, gone}) s->store->FreeObject(i);
}

TEST_F(StoreTest, TheObjectTypesUserInterfaceData)
{
    auto s = Open();
    OBJUIDATA data = {};
    data.size = sizeof data + 1;
    EXPECT_EQ(E_INVALIDARG, s->store->GetObjTypeUIData(s->folder, &data));
    data.size = sizeof data;
    ASSERT_EQ(S_OK, s->store->GetObjTypeUIData(s->folder, &data));
    EXPECT_STREQ("Autolark", data.name);
    EXPECT_STREQ("Autolark", data.syncText);
    EXPECT_STREQ("Autolark", data.typeText);
    EXPECT_STREQ("Vehicles", data.pluralTypeText);
    for (auto [icon, size] : {std::make_pair(data.largeIcon, 32), std::make_pair(data.smallIcon, 16)}) {
        ICONINFO iconInfo = {};
        ASSERT_TRUE(GetIconInfo(icon, &iconInfo));
        BITMAP bitmap = {};
        GetObjectW(iconInfo.hbmColor ? iconInfo.hbmColor : iconInfo.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        DeleteObject(iconInfo.hbmColor);
        DeleteObject(iconInfo.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_F(StoreTest, ASecondInitializeLetsTheFirstCallbackGo)
{
    auto s = Open();
    EXPECT_EQ(1, s->notify.References());
    CReplNotifyDouble second(window.hwnd);
    EXPECT_EQ(E_INVALIDARG, s->store->Initialize(nullptr, REPL_INIT_SELECTED_DEVICE));
    EXPECT_EQ(1, s->notify.References()) << "a refused call keeps the one it has";
    ASSERT_EQ(S_OK, s->store->Initialize(&second, REPL_INIT_SELECTED_DEVICE));
    EXPECT_EQ(0, s->notify.References());
    EXPECT_EQ(1, second.References());
    s.reset();
    EXPECT_EQ(0, second.References()) << "the store's end lets the second go";
}

TEST_F(StoreTest, IdentityAndTheModuleLockCount)
{
    const LONG locks = CModuleLock::Count();
    CStore* store = new CStore;
    EXPECT_EQ(locks + 1, CModuleLock::Count());
    void* out = nullptr;
    ASSERT_EQ(S_OK, store->QueryInterface(IID_IReplStore, &out));
    EXPECT_EQ(static_cast<IReplStore*>(store), out);
    EXPECT_EQ(1u, store->Release());
    EXPECT_EQ(E_NOINTERFACE, store->QueryInterface(IID_IReplObjHandler, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(E_NOTIMPL, store->ActivateDialog(1, window.hwnd, nullptr, nullptr));
    EXPECT_EQ(0u, store->Release());
    EXPECT_EQ(locks, CModuleLock::Count());
}
