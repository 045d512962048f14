// The Import Old Data command of Autolark.exe as a separate process under the same Wine prefix:
// an import from start to end through the program's own windows, and a program killed while it
// writes the imported records, whose database must keep its old content.
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AdoDoubleSupport.h"
#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/DlgLegacyData.h"
#include "resources/desktop/resource.h"
#include "tests/support/TestFiles.h"

namespace {

const bool g_registered = RegisterAdoDouble();

const std::wstring kProgram = WinePathW(ALK_PROGRAM_PATH);

// Waits for a condition, looking every 20 ms; false on time-out.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 30000)
{
    for (DWORD start = GetTickCount();;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

std::wstring TextOf(HWND window, int id = 0)
{
    wchar_t text[1024] = {};
    SendMessageW(id ? GetDlgItem(window, id) : window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

// A window below parent (at any depth) with that control id.
HWND ControlOf(HWND parent, int id)
{
    ControlSearch search{id, nullptr};
    EnumChildWindows(parent, &MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Program {
public:
    ~Program()
    {
        if (!m_info.hProcess) return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 10000);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    bool Start()
    {
        std::wstring line = L"\"" + kProgram + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        return CreateProcessW(kProgram.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_info) !=
               FALSE;
    }
    // A visible top-level window of the program with that class and caption (and, for a message
    // box, that text); null when there is none.
    HWND Find(const wchar_t* cls, const wchar_t* caption, const wchar_t* text = nullptr) const
    {
        for (HWND window = FindWindowExW(nullptr, nullptr, cls, caption); window;
             window = FindWindowExW(nullptr, window, cls, caption)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == m_info.dwProcessId && IsWindowVisible(window) && (!text || TextOf(window, 0xFFFF) == text))
                return window;
        }
        return nullptr;
    }
    HWND WaitForWindow(const wchar_t* cls, const wchar_t* caption, const wchar_t* text = nullptr) const
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = Find(cls, caption, text)) != nullptr; });
        return found;
    }
    long Wait(DWORD timeoutMs = 30000)
    {
        if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return static_cast<long>(code);
    }
    void Kill()
    {
        TerminateProcess(m_info.hProcess, 1);
        WaitForSingleObject(m_info.hProcess, 10000);
    }

private:
    PROCESS_INFORMATION m_info{};
};

void SetText(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value)
{
    HKEY handle = nullptr;
    RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

void SetNumber(const wchar_t* name, DWORD value)
{
    HKEY handle = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(handle);
}

class ImportProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_registered);
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
        ASSERT_TRUE(CopyTemplate(dbPath));
        CDataLayer db;
        ASSERT_EQ(CDataLayer::csConnected, db.Connect(dbPath.c_str()));
        const unsigned long car = CVehicleRecord(L"Current Car").Save(db);
        ASSERT_NE(0u, CEntryRecord(car, CEntry::etRepair).Description(L"Tyres").Save(db));
        // A program run before on this file, its first-run notice seen; the old version's file.
        SetText(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, L"DBPath", dbPath);
        SetNumber(L"UnitSetupMsgShown", 1);
        SetText(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY, L"DBPath", oldPath);
    }
    void TearDown() override
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
    }

    // The program's main window once it lists the vehicle of the connected database.
    HWND StartProgram(Program& program)
    {
        if (!program.Start()) return nullptr;
        HWND main = nullptr;
        const bool shown = WaitFor([&] {
            main = program.Find(L"Alk.MainFrame", L"Autolark");
            HWND vehicles = main ? ControlOf(main, IDC_VEHICLE_LIST) : nullptr;
            return vehicles && SendMessageW(vehicles, LVM_GETITEMCOUNT, 0, 0) == 1;
        });
        return shown ? main : nullptr;
    }

    // Opens the dialog through the command and starts the import.
    HWND StartImport(Program& program, HWND main)
    {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_FILE_IMPORT, 0), 0);
        HWND dialog = program.WaitForWindow(L"#32770", L"Import Old Data");
        if (!dialog) return nullptr;
        EXPECT_EQ(oldPath, TextOf(dialog, IDC_LEGACY_PATH));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return dialog;
    }

    CScratchFolder folder{L"alk-import-program"};
    std::wstring dbPath = folder.File(L"My Vehicles.dat");
    std::wstring oldPath = folder.File(L"old.mdb");
};

TEST_F(ImportProgramTest, TheCommandImportsAndTellsTheUser)
{
    {
        COldDataFile file;
        ASSERT_TRUE(file.Create(oldPath));
        for (long v = 1; v <= 2; ++v) {
            COldVehicle vehicle;
            vehicle.id = v;
            vehicle.name = v == 1 ? L"Alpha" : L"Beta";
            ASSERT_TRUE(file.Add(vehicle));
            COldEvent event;
            event.vehicleId = v;
            ASSERT_TRUE(file.Add(event));
        }
    }
    CBoxWatcher legacyBoxes(L"Legacy");
    Program program;
    HWND main = StartProgram(program);
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, StartImport(program, main));
    HWND done = program.WaitForWindow(L"#32770", L"Autolark", L"Your old data has been imported successfully.");
    ASSERT_NE(nullptr, done);
    EXPECT_EQ(main, GetWindow(done, GW_OWNER));
    PostMessageW(done, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(done) && IsWindowEnabled(main); }));
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts());
    EXPECT_EQ(2, SendMessageW(ControlOf(main, IDC_VEHICLE_LIST), LVM_GETITEMCOUNT, 0, 0));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_NE(-1, program.Wait()) << "the program ended";

    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(dbPath.c_str()));
    EXPECT_EQ(2, db.GetNumVehicles());
    EXPECT_EQ(2, db.GetNumEntries());
    EXPECT_EQ(9, db.GetNumKeywords());
}

TEST_F(ImportProgramTest, KilledWhileWritingTheProgramLeavesTheOldContent)
{
    {
        COldDataFile file;
        ASSERT_TRUE(file.Create(oldPath));
        ASSERT_TRUE(file.Add(COldVehicle{}));
        ASSERT_TRUE(file.Begin());
        // Each new record waits for its reference id: several seconds of writing.
        for (int i = 0; i < 400; ++i) ASSERT_TRUE(file.Add(COldEvent{}));
        ASSERT_TRUE(file.Commit());
    }
    CBoxWatcher legacyBoxes(L"Legacy");
    Program program;
    HWND main = StartProgram(program);
    ASSERT_NE(nullptr, main);
    HWND dialog = StartImport(program, main);
    ASSERT_NE(nullptr, dialog);
    HWND bar = GetDlgItem(dialog, IDC_LEGACY_PROGRESS);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(bar) && SendMessageW(bar, PBM_GETPOS, 0, 0) >= 50; }))
        << "the records are being written";
    program.Kill();

    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(dbPath.c_str()));
    EXPECT_EQ(1, db.GetNumVehicles());
    EXPECT_EQ(1, db.GetNumEntries());
    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(db.Load(&vehicles));
    ASSERT_EQ(1, vehicles.GetCount());
    EXPECT_STREQ(L"Current Car", vehicles.Get(0)->GetName());
}

}  // namespace
