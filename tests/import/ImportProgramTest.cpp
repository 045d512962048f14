// The Import Old Data command of Autolark.exe as a separate process under the same Wine prefix:
// an import from start to end through the program's own windows, and a program killed while it
// writes the imported records, whose database must keep its old content.
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <string>

#include <gtest/gtest.h>

#include "AdoDoubleSupport.h"
#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/DlgLegacyData.h"
#include "resources/desktop/resource.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestDatabase.h"

namespace {

const bool g_registered = RegisterAdoDouble();

const std::wstring kProgram = WinePathW(ALK_PROGRAM_PATH);

// The program is given longer than a start alone takes: the import writes hundreds of records.
const DWORD kPatience = 30000;

class ImportProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_registered);
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
        ASSERT_TRUE(database.Ok());
        const unsigned long car = CVehicleRecord(L"Current Car").Save(database.Db());
        ASSERT_NE(0u, CEntryRecord(car, CEntry::etRepair).Description(L"Tyres").Save(database.Db()));
        database.CloseDb();
        // A program run before on this file, its first-run notice seen; the old version's file.
        RememberDatabase(database.Path());
        WriteSetting(L"DBPath", oldPath, ALK_OLD_SETTINGS_KEY);
    }
    void TearDown() override
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
    }

    // The program's main window once it lists the vehicle of the connected database.
    HWND StartProgram(CProgramDriver& program)
    {
        if (!program.Start(kProgram)) return nullptr;
        return program.WaitForMainWindow([](HWND main) { return RowCount(FindControl(main, IDC_VEHICLE_LIST)) == 1; },
                                         kPatience);
    }

    // Opens the dialog through the command, starts the import and answers Yes to the question.
    HWND StartImport(const CProgramDriver& program, HWND main)
    {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_FILE_IMPORT, 0), 0);
        HWND dialog = program.WaitForWindow(L"#32770", L"Import Old Data", kPatience);
        if (!dialog) return nullptr;
        EXPECT_EQ(oldPath, ControlText(GetDlgItem(dialog, IDC_LEGACY_PATH)));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // Once the old file is read, the program asks before it replaces the current content.
        const std::wstring question = L"Importing replaces the data in " + database.Path() +
                                      L" (1 vehicle and 1 entry) with the old data. Everything this file holds now is "
                                      L"deleted.\n\nDo you want to replace it with the old data?";
        HWND box = program.WaitForBox(L"Autolark", question, kPatience);
        if (!box) return nullptr;
        EXPECT_EQ(dialog, GetWindow(box, GW_OWNER));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        return dialog;
    }

    CTestDatabase database{L"My Vehicles.dat", L"", L"alk-import-program", CTestDatabase::Opening::atOnce};
    std::wstring oldPath = database.Folder() + L"\\old.mdb";
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
    CProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, StartImport(program, main));
    HWND done = program.WaitForBox(L"Autolark", L"Your old data has been imported successfully.", kPatience);
    ASSERT_NE(nullptr, done);
    EXPECT_EQ(main, GetWindow(done, GW_OWNER));
    PostMessageW(done, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(done) && IsWindowEnabled(main); }, kPatience));
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts());
    EXPECT_EQ(2, RowCount(FindControl(main, IDC_VEHICLE_LIST)));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main, kPatience))
        << "the program ended as its frame ends it, not by a crash";

    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(database.Path().c_str()));
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
    CProgramDriver program;
    HWND main = StartProgram(program);
    ASSERT_NE(nullptr, main);
    HWND dialog = StartImport(program, main);
    ASSERT_NE(nullptr, dialog);
    HWND bar = GetDlgItem(dialog, IDC_LEGACY_PROGRESS);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(bar) && SendMessageW(bar, PBM_GETPOS, 0, 0) >= 50; }, kPatience))
        << "the records are being written";
    program.Kill();

    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(database.Path().c_str()));
    EXPECT_EQ(1, db.GetNumVehicles());
    EXPECT_EQ(1, db.GetNumEntries());
    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(db.Load(&vehicles));
    ASSERT_EQ(1, vehicles.GetCount());
    EXPECT_STREQ(L"Current Car", vehicles.Get(0)->GetName());
}

}  // namespace
