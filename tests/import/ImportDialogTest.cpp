// The Import Old Data command with the main window built in this process on a test database: the
// dialog worked as a user does (tests/support/DialogScript), the import library's own messages
// answered from a watcher thread (they belong to the import worker's thread), old files read
// through the ADO double, and the database checked afterwards through the test's own connection.
// The question before the open file's content is replaced is the dialog's own, on this thread.
#include <windows.h>

#include <commctrl.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "AdoDoubleSupport.h"
#include "desktop/AppSettings.h"
#include "desktop/DlgLegacyData.h"
#include "desktop/MainFrame.h"
#include "desktop/Startup.h"
#include "framework/HyperLink.h"
#include "framework/RegKey.h"
#include "tests/mainframe/MainFrameTestSupport.h"
#include "tests/support/DialogScript.h"
#include "tests/support/MainWindow.h"
#include "tests/support/Pictures.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/TestFiles.h"

using namespace alk_mainframe_test;

namespace {

const bool g_registered = RegisterAdoDouble();
const wchar_t kDialog[] = L"Import Old Data";
const wchar_t kNotWritten[] =
    L"The old data could not be written to the database. Your current data has not been changed.";
// Asked before the open file's content is replaced.
std::wstring ReplaceQuestion(const std::wstring& file, const std::wstring& holds)
{
    return L"Importing replaces the data in " + file + L" (" + holds +
           L") with the old data. Everything this file holds now is deleted.\n\nDo you want to replace it with the "
           L"old data?";
}

class ImportDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrepareWindowClasses(); }

    void SetUp() override
    {
        ASSERT_TRUE(g_registered);
        DeleteSettingsKey();
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
        ASSERT_TRUE(db.Ok());
        // The current content the import replaces.
        current = CVehicleRecord(L"Current Car").Year(2010).Odometer(5000).Save(db.Db());
        ASSERT_NE(0u, current);
        ASSERT_NE(0u, CEntryRecord(current, CEntry::etFuel).Odometer(4900).Amount(30).Custom(10, 3).Save(db.Db()));
        ASSERT_NE(0u, CEntryRecord(current, CEntry::etRepair).Description(L"Tyres").Amount(300).Save(db.Db()));
        storeID = db.Db().GetStoreID();
        oldFile = folder.File(L"old.mdb");
    }

    void TearDown() override
    {
        CloseFrame(frame);
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
    }

    // The frame on the test database with the current car active.
    void Open()
    {
        ASSERT_TRUE(OpenMainWindow(frame, db.Path(), current));
        ASSERT_EQ(current, g_AppSettings.LastActiveVehicle);
    }

    // The old version's settings naming a file.
    static void RememberOldFile(const std::wstring& path, DWORD type = REG_SZ)
    {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY));
        ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue(L"DBPath", path.c_str(), type));
    }

    // The example of an older version's data: two vehicles, five entries of the first, three of
    // the second, one entry and one reminder of a vehicle that does not exist, reminders of both
    // vehicles, and keywords.
    void WriteExample()
    {
        COldDataFile file;
        ASSERT_TRUE(file.Create(oldFile));
        COldVehicle alpha;
        alpha.id = 1;
        alpha.name = L"Alpha";
        alpha.year = 1995;
        ASSERT_TRUE(file.Add(alpha));
        COldVehicle beta;
        beta.id = 2;
        beta.name = L"Beta";
        beta.year = 1998;
        ASSERT_TRUE(file.Add(beta));
        for (long i = 0; i < 9; ++i) {
            COldEvent e;
            e.id = i + 1;
            e.vehicleId = i < 5 ? 1 : i < 8 ? 2 : 99;
            e.eventType = 2;
            e.description = L"Service " + std::to_wstring(i + 1);
            e.odometer = 1000 * (i + 1);
            e.amount = 10.0f * static_cast<float>(i + 1);
            e.eventDate = OleDate(2004, 1, 1 + static_cast<int>(i));
            ASSERT_TRUE(file.Add(e));
        }
        for (long vehicle : {1L, 2L, 2L, 99L}) {
            COldTrigger t;
            t.vehicleId = vehicle;
            t.description = L"Check of " + std::to_wstring(vehicle);
            t.targetOdometer = 50000;
            t.targetDate = OleDate(2005, 1, 1);
            ASSERT_TRUE(file.Add(t));
        }
        ASSERT_TRUE(file.AddTableId(1000, L"Tune-up", 1));
        ASSERT_TRUE(file.AddTableId(1001, L"Parking", 2));
    }

    // Runs the command; returns when the dialog (and what follows it) is over.
    void RunCommand() { frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_IMPORT, 0), 0); }

    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    static bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
    static bool Idle(HWND dialog)
    {
        return Enabled(dialog, IDOK) && Enabled(dialog, IDCANCEL) && Enabled(dialog, IDC_LEGACY_PATH) &&
               Enabled(dialog, IDC_LEGACY_BROWSE) && !Visible(dialog, IDC_LEGACY_PROGRESS) &&
               !Visible(dialog, IDC_LEGACY_BUSY);
    }
    int VehicleRows()
    {
        return static_cast<int>(SendMessageW(FindControl(*frame, IDC_VEHICLE_LIST), LVM_GETITEMCOUNT, 0, 0));
    }

    // The current content as the test's connection finds it.
    void ExpectCurrentContentWhole()
    {
        EXPECT_EQ(1, db.Db().GetNumVehicles());
        EXPECT_EQ(2, db.Db().GetNumEntries());
        EXPECT_EQ(0, db.Db().GetNumNotifications());
        CVehicle* car = new CVehicle;
        car->SetRefID(current);
        EXPECT_TRUE(db.Db().LoadByRefID(car));
        EXPECT_STREQ(L"Current Car", car->GetName());
        delete car;
    }

    CSettingsScope settings;
    CScratchFolder folder{L"alk-import"};
    SampleDatabase db{L"import"};
    std::unique_ptr<CMainFrame> frame;
    unsigned long current = 0;
    unsigned long storeID = 0;
    std::wstring oldFile;
};

TEST_F(ImportDialogTest, TheOldSettingsProposeTheirPathAsStored)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    struct Case {
        const wchar_t* name;
        std::function<void()> prepare;
        std::wstring shown;
    };
    const Case cases[] = {
        {L"REG_SZ", [] { RememberOldFile(L"C:\\Old Data\\ALK.dat"); }, L"C:\\Old Data\\ALK.dat"},
        {L"REG_EXPAND_SZ", [] { RememberOldFile(L"%USERPROFILE%\\ALK.dat", REG_EXPAND_SZ); },
         L"%USERPROFILE%\\ALK.dat"},
        {L"no key", [] { SHDeleteKeyW(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY); }, L""},
        {L"no value",
         [] {
             CRegKey key;
             key.Create(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
             key.DeleteValue(L"DBPath");
         },
         L""},
        {L"a number",
         [] {
             CRegKey key;
             key.Create(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY);
             key.SetDWORDValue(L"DBPath", 7);
         },
         L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        std::wstring shown = L"<not seen>";
        bool startState = false;
        std::wstring link;
        CDialogScript ui;
        ui.WaitFor(kDialog).Do([&](HWND dialog) {
            shown = CDialogScript::Text(dialog, IDC_LEGACY_PATH);
            startState = Idle(dialog) && (GetWindowLongW(GetDlgItem(dialog, IDC_LEGACY_PATH), GWL_STYLE) & ES_READONLY);
            if (auto* manual = ObjectOf<CHyperLink>(GetDlgItem(dialog, IDC_LEGACY_MANUAL)))
                link = manual->GetHyperLink();
        });
        ui.Click(IDCANCEL);
        RunCommand();
        EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
        EXPECT_EQ(c.shown, shown);
        EXPECT_TRUE(startState);
        EXPECT_EQ(ProgramFolder() + L"autolark_en.pdf", link);
    }
    // Read only: the old settings are left as they were.
    CRegKey key;
    DWORD value = 0;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY, KEY_READ));
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue(L"DBPath", value));
    EXPECT_EQ(7u, value);
    ExpectCurrentContentWhole();
}

TEST_F(ImportDialogTest, TheManualLinkWrapsOntoItsSecondLine)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    int lineHeight = 0, labelWidth = 0, width = -1, lastInkRow = -1;
    CDialogScript ui;
    ui.WaitFor(kDialog).Do([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_LEGACY_MANUAL);
        const std::wstring label = CDialogScript::Text(link);
        HDC dc = GetDC(link);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        lineHeight = metrics.tmHeight;
        SIZE extent{};
        GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &extent);
        labelWidth = extent.cx;
        SelectObject(dc, old);
        ReleaseDC(link, dc);
        UpdateWindow(link);
        CShownPixels shown(link);
        width = shown.Width();
        lastInkRow = shown.LastRowWith(RGB(0, 0, 255));  // the link's colour, its underline too
    });
    ui.Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    ASSERT_GT(labelWidth, width) << "the label needs a second line";
    EXPECT_GE(lastInkRow, lineHeight) << "nothing of the label below its first line";
}

TEST_F(ImportDialogTest, WithoutAPathImportDoesNothingAndBrowseFillsItIn)
{
    WriteExample();
    ASSERT_NO_FATAL_FAILURE(Open());
    CBoxWatcher legacyBoxes(L"Legacy");
    std::wstring before = L"<not seen>", filter, after;
    bool idleAfterImport = false;
    CDialogScript ui;
    ui.WaitFor(kDialog).Do([&](HWND dialog) { before = CDialogScript::Text(dialog, IDC_LEGACY_PATH); });
    ui.Click(IDOK).Do([&](HWND dialog) { idleAfterImport = Idle(dialog); });
    ui.Click(IDC_LEGACY_BROWSE).WaitFor(L"Open").Do([&](HWND open) {
        // The file-type box shows the filter's description.
        filter = CDialogScript::Text(GetDlgItem(open, 0x470));
    });
    ui.Type(oldFile).Enter();
    ui.WaitFor(kDialog).Do([&](HWND dialog) { after = CDialogScript::Text(dialog, IDC_LEGACY_PATH); });
    ui.Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(L"", before);
    EXPECT_TRUE(idleAfterImport);
    EXPECT_EQ(L"Autolark Data Files (*.dat)", filter);
    EXPECT_EQ(oldFile, after);
    EXPECT_TRUE(legacyBoxes.Boxes().empty()) << "nothing was read";
    ExpectCurrentContentWhole();
}

TEST_F(ImportDialogTest, AFileThatCannotBeReadReturnsTheDialogToIdle)
{
    HANDLE file = CreateFileW(oldFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "not old data", 12, &written, nullptr);
    CloseHandle(file);
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    CBoxWatcher legacyBoxes(L"Legacy");
    bool importing = false;
    CDialogScript ui;
    ui.WaitFor(kDialog).Click(IDOK).Do([&](HWND dialog) { importing = !Enabled(dialog, IDOK); });
    // The worker hands the dialog back once the library's message was answered.
    ui.Until(&Idle).Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_TRUE(importing);
    EXPECT_EQ(std::vector<std::wstring>{kCannotImportText}, legacyBoxes.Texts());
    ExpectCurrentContentWhole();
    EXPECT_EQ(current, g_AppSettings.LastActiveVehicle) << "a cancelled import changes nothing";
}

TEST_F(ImportDialogTest, TheExampleReplacesTheContentWithNewRecordsLinkedToTheirVehicles)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    CBoxWatcher legacyBoxes(L"Legacy");
    CDialogScript ui;
    ui.WaitFor(kDialog).Click(IDOK).Answer(IDYES).Answer(IDOK);
    RunCommand();
    ASSERT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    ASSERT_EQ(3u, ui.Met().size());
    EXPECT_EQ(L"Autolark", ui.Met()[1].caption);
    EXPECT_EQ(ReplaceQuestion(db.Path(), L"1 vehicle and 2 entries"), ui.Met()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), ui.Met()[1].icon);
    EXPECT_EQ(L"Autolark", ui.Met()[2].caption);
    EXPECT_EQ(L"Your old data has been imported successfully.", ui.Met()[2].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[2].icon);
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts());

    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(db.Db().Load(&vehicles));
    ASSERT_EQ(2, vehicles.GetCount());
    vehicles.SortByName();
    for (int v = 0; v < 2; ++v) {
        CVehicle* vehicle = vehicles.Get(v);
        SCOPED_TRACE(vehicle->GetName());
        EXPECT_STREQ(v ? L"Beta" : L"Alpha", vehicle->GetName());
        EXPECT_NE(0u, vehicle->GetRefID());
        EXPECT_NE(current, vehicle->GetRefID());
        EXPECT_GT(vehicle->GetRefID(), 2u) << "a new reference id, not the old one";
        CEntryFilter filter;
        filter.SetVehicleID(vehicle->GetRefID());
        CObjectListT<CEntry> entries;
        ASSERT_TRUE(db.Db().Load(&entries, &filter));
        EXPECT_EQ(v ? 3 : 5, entries.GetCount());
        CObjectListT<CNotification> reminders;
        ASSERT_TRUE(db.Db().Load(&reminders, vehicle->GetRefID()));
        EXPECT_EQ(v ? 2 : 1, reminders.GetCount());
    }
    // The orphans are gone; the keywords are the old ones and the nine fixed ones.
    EXPECT_EQ(8, db.Db().GetNumEntries());
    EXPECT_EQ(3, db.Db().GetNumNotifications());
    EXPECT_EQ(11, db.Db().GetNumKeywords());
    // The same database file: its store id is kept.
    CDataLayer again;
    ASSERT_EQ(CDataLayer::csConnected, again.Connect(db.Path().c_str()));
    EXPECT_EQ(storeID, again.GetStoreID());

    // The frame shows the new vehicles, none of them active.
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
}

// No, the default of the question, leaves the file as it was, byte for byte, and the dialog open
// for another file.
TEST_F(ImportDialogTest, NoToTheQuestionLeavesTheFileUntouchedAndTheDialogOpen)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    const std::string before = FileBytes(db.Path());
    CBoxWatcher legacyBoxes(L"Legacy");
    std::wstring question;
    int focused = 0;
    bool idle = false;
    CDialogScript ui;
    ui.SetTimeout(30000);
    ui.WaitFor(kDialog).Click(IDOK).Window([&](HWND box) {
        question = CDialogScript::Text(box, 0xFFFF);
        focused = GetDlgCtrlID(GetFocus());
    });
    ui.Enter();  // the default button
    ui.Until(&Idle).Do([&](HWND) { idle = true; }).Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(ReplaceQuestion(db.Path(), L"1 vehicle and 2 entries"), question);
    EXPECT_EQ(IDNO, focused);
    EXPECT_TRUE(idle);
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts()) << "the old file was read";
    EXPECT_TRUE(before == FileBytes(db.Path())) << "the file is as it was";
    ExpectCurrentContentWhole();
    EXPECT_EQ(current, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(1, VehicleRows());
}

// A file with nothing in it has nothing to lose: the import runs without the question.
TEST_F(ImportDialogTest, AnEmptyFileIsReplacedWithoutAQuestion)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_TRUE(db.Db().DeleteAllData());
    ASSERT_TRUE(OpenMainWindow(frame, db.Path(), 0));
    CBoxWatcher legacyBoxes(L"Legacy");
    CDialogScript ui;
    ui.WaitFor(kDialog).Click(IDOK).Answer(IDOK);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    ASSERT_EQ(2u, ui.Met().size());
    EXPECT_EQ(L"Your old data has been imported successfully.", ui.Met()[1].text);
    EXPECT_EQ(2, db.Db().GetNumVehicles());
    EXPECT_EQ(2, VehicleRows());
}

TEST_F(ImportDialogTest, WhileTheLibraryAsksTheDialogCannotBeLeftAndReloadsWait)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND dialog = nullptr;
    bool disabled = false, stayed = false;
    int rowsDuringImport = -1;
    CBoxWatcher legacyBoxes(L"Legacy", [&](HWND) {
        dialog = FindWindowW(L"#32770", kDialog);
        disabled = !Enabled(dialog, IDOK) && !Enabled(dialog, IDCANCEL) && !Enabled(dialog, IDC_LEGACY_PATH) &&
                   !Enabled(dialog, IDC_LEGACY_BROWSE);
        // Cancel, Escape and the close box, as the dialog's own thread gets them.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        SendMessageW(dialog, WM_NULL, 0, 0);
        stayed = IsWindow(dialog) && IsWindowVisible(dialog);
        // A synchronisation writes meanwhile and asks every program to reload.
        CVehicleRecord(L"Synchronised").Save(db.Db());
        SendNotifyMessageW(HWND_BROADCAST, WM_RELOAD_DATA, 0, 0);
        SendMessageW(*frame, WM_NULL, 0, 0);  // handled after the broadcast
        rowsDuringImport = VehicleRows();
    });
    CDialogScript ui;
    ui.SetTimeout(30000);
    ui.WaitFor(kDialog).Click(IDOK).Answer(IDYES).Answer(IDOK);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(ReplaceQuestion(db.Path(), L"2 vehicles and 2 entries"), ui.Met()[1].text)
        << "what the synchronisation wrote meanwhile is counted";
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(1, rowsDuringImport) << "the reload waited for the import";
    PumpMessages();
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(2, db.Db().GetNumVehicles()) << "the import replaced what the synchronisation wrote";
}

TEST_F(ImportDialogTest, AReloadArrivingWhileTheDialogIsUpRunsAfterIt)
{
    ASSERT_NO_FATAL_FAILURE(Open());
    int rowsWhileUp = -1;
    CDialogScript ui;
    ui.WaitFor(kDialog).Do([&](HWND) {
        CVehicleRecord(L"Synchronised").Save(db.Db());
        SendNotifyMessageW(HWND_BROADCAST, WM_RELOAD_DATA, 0, 0);
        rowsWhileUp = VehicleRows();
    });
    ui.Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(1, rowsWhileUp);
    PumpMessages();
    EXPECT_EQ(2, VehicleRows());
}

// A failed write leaves the database as it was and gives the dialog back: the old content is
// whole, with its store id, and the user is told so.
class FailedWriteTest : public ImportDialogTest {
protected:
    void RunFailingImport()
    {
        CBoxWatcher legacyBoxes(L"Legacy");
        bool idle = false;
        CDialogScript ui;
        ui.SetTimeout(30000);
        ui.WaitFor(kDialog).Click(IDOK).Answer(IDYES).Answer(IDOK);
        ui.WaitFor(kDialog).Do([&](HWND dialog) { idle = Idle(dialog); });
        ui.Click(IDCANCEL);
        RunCommand();
        EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
        ASSERT_GE(ui.Met().size(), 3u);
        EXPECT_EQ(L"Autolark", ui.Met()[2].caption);
        EXPECT_EQ(kNotWritten, ui.Met()[2].text);
        EXPECT_TRUE(idle);
        EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts());
    }
};

TEST_F(FailedWriteTest, AnEntryTheDatabaseRefusesRollsEverythingBack)
{
    WriteExample();
    RememberOldFile(oldFile);
    // The fifth entry written after the tables were emptied is refused.
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(db.Path().c_str(), &raw));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(raw,
                                      "CREATE TRIGGER refuse_fifth BEFORE INSERT ON Entry "
                                      "WHEN (SELECT COUNT(*) FROM Entry) >= 4 "
                                      "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                                      nullptr, nullptr, nullptr));
    sqlite3_close(raw);
    // The test's connection learns of the new schema (its statements are not prepared again
    // when another connection changed it).
    db.Db().Disconnect();
    ASSERT_EQ(CDataLayer::csConnected, db.Db().Connect(db.Path().c_str()));
    ASSERT_NO_FATAL_FAILURE(Open());
    RunFailingImport();
    ExpectCurrentContentWhole();
    EXPECT_EQ(storeID, db.Db().GetStoreID());
    EXPECT_EQ(1, VehicleRows());
}

TEST_F(FailedWriteTest, ACommitThatStaysBusyRollsEverythingBack)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    // Another program reads the file for the whole import: its lock keeps the commit out.
    sqlite3* reader = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open16(db.Path().c_str(), &reader));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM Vehicle;", nullptr, nullptr, nullptr));
    RunFailingImport();
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    ExpectCurrentContentWhole();
    // The program's connection is usable again: no transaction was left open.
    EXPECT_TRUE(g_DataLayer.BeginTransaction());
    EXPECT_EQ(CDataLayer::crCommitted, g_DataLayer.Commit());
}

TEST_F(ImportDialogTest, ADoubleClickOnImportImportsOnce)
{
    WriteExample();
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    CJournal journal(folder.File(L"journal.txt"));
    CBoxWatcher legacyBoxes(L"Legacy");
    CDialogScript ui;
    ui.SetTimeout(30000);
    // Two clicks queued before the first is handled, as a quick double click gives them.
    ui.WaitFor(kDialog).Do([](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    ui.Answer(IDYES).Answer(IDOK);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, legacyBoxes.Texts());
    int opens = 0;
    for (const std::wstring& line : journal.Lines()) opens += line.compare(0, 16, L"Connection.Open(") == 0;
    EXPECT_EQ(1, opens);
    EXPECT_EQ(2, db.Db().GetNumVehicles());
    EXPECT_EQ(8, db.Db().GetNumEntries());
}

int g_barHigh = -1;
int g_barPosition = -1;

void CALLBACK LookAtTheBar(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", kDialog);
    HWND bar = dialog ? GetDlgItem(dialog, IDC_LEGACY_PROGRESS) : nullptr;
    if (!bar || !IsWindowVisible(bar)) return;
    g_barHigh = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
    g_barPosition = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
}

TEST_F(ImportDialogTest, MoreThanSixtyFiveThousandRecordsGiveTheBarAThirtyTwoBitRange)
{
    {
        COldDataFile file;
        ASSERT_TRUE(file.Create(oldFile));
        ASSERT_TRUE(file.Add(COldVehicle{}));
        ASSERT_TRUE(file.Begin());
        for (int i = 0; i < 20; ++i) ASSERT_TRUE(file.Add(COldEvent{}));
        // Reminders of no imported vehicle: read, counted in the range, never written.
        COldTrigger orphan;
        orphan.vehicleId = 5;
        for (int i = 0; i < 70000; ++i) ASSERT_TRUE(file.Add(orphan));
        ASSERT_TRUE(file.Commit());
    }
    RememberOldFile(oldFile);
    ASSERT_NO_FATAL_FAILURE(Open());
    // The bar as the dialog's thread shows it, looked at whenever its queue is idle.
    g_barHigh = g_barPosition = -1;
    UINT_PTR timer = SetTimer(nullptr, 0, 1, &LookAtTheBar);
    CBoxWatcher legacyBoxes(L"Legacy");
    CDialogScript ui;
    ui.SetTimeout(120000);
    ui.WaitFor(kDialog).Click(IDOK).Answer(IDYES).Answer(IDOK);
    RunCommand();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_EQ(70000 + 20 + 1 + 9, g_barHigh);
    // Only what is written is stepped: never beyond the vehicle, its entries and the keywords.
    EXPECT_GT(g_barPosition, 0);
    EXPECT_LE(g_barPosition, 20 + 1 + 9);
    EXPECT_EQ(1, db.Db().GetNumVehicles());
    EXPECT_EQ(20, db.Db().GetNumEntries());
    EXPECT_EQ(0, db.Db().GetNumNotifications());
}

// The link to the manual, clicked without a manual beside the program: the user is told, over
// the dialog, which stays open and idle.
TEST_F(ImportDialogTest, TheManualLinkTellsWhenTheManualIsMissing)
{
    const std::wstring manual = ProgramFolder() + L"autolark_en.pdf";
    CManualWithoutViewer missing(false);
    ASSERT_NO_FATAL_FAILURE(Open());
    bool idle = false;
    CDialogScript ui;
    ui.WaitFor(kDialog).ClickAt(IDC_LEGACY_MANUAL).Answer(IDOK);
    ui.WaitFor(kDialog).Do([&](HWND dialog) { idle = Idle(dialog); }).Click(IDCANCEL);
    RunCommand();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    ASSERT_EQ(3u, ui.Met().size());
    EXPECT_EQ(L"Autolark", ui.Met()[1].caption);
    EXPECT_EQ(L"The manual " + manual + L" could not be found. Install Autolark again to get it back.",
              ui.Met()[1].text);
    EXPECT_TRUE(idle);
    ExpectCurrentContentWhole();
}

}  // namespace
