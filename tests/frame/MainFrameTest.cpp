// The main window built in this process on test databases, driven with the messages a user's
// actions produce, checked by what its controls show and what the database holds afterwards.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <memory>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/MainFrame.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "FrameTestSupport.h"

using namespace alk_frame_test;

namespace {

// The frame with the shell kept out: what would be opened is recorded instead.
class TestFrame : public CMainFrame {
public:
    std::vector<std::wstring> opened;

protected:
    void ShellOpen(const wchar_t* target) override { opened.push_back(target); }
};

// Today as the entry filter sees it (fixed for the whole test program).
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};

class MainFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        PrepareWindowClasses();
        CUtcClock::SetFixedTime(&kToday);
    }

    void SetUp() override
    {
        DeleteSettingsKey();
        g_AppSettings.LastActiveVehicle = 0;
        g_AppSettings.ActiveOdometer = 0;
        g_AppSettings.ViewEntryType = CEntry::etNone;
        g_AppSettings.ViewDateRangeType = CEntryFilter::drAll;
        g_AppSettings.ShowVehiclePicture = -1;
        g_AppSettings.LastColSorted = 0;
        g_AppSettings.SortAscending = 1;
        ASSERT_TRUE(db.Ok());
        car = db.AddVehicle(L"Family Car", 2002, 12000);
        van = db.AddVehicle(L"Van", 1999, 80000);
        fuelWithNotes = db.AddEntry(car, CEntry::etFuel, DaysBefore(kToday, 3), 11950, 30.0f, L"",
                                    L"Cheap fuel, see http://example.com/station");
        db.AddEntry(car, CEntry::etRepair, DaysBefore(kToday, 40), 11000, 120.0f, L"Oil change");
        db.AddEntry(car, CEntry::etTrip, DaysBefore(kToday, 2), 11990, 15.0f, L"Trip to town", L"Met the dealer");
        db.AddEntry(car, CEntry::etExpense, DaysBefore(kToday, 100), 10500, 50.0f, L"Parking");
        db.AddEntry(van, CEntry::etFuel, DaysBefore(kToday, 5), 79900, 60.0f, L"");
    }

    void TearDown() override { CloseFrame(frame); }

    // The frame on the test database, shown, with the remembered vehicle given.
    void Open(unsigned long lastActive)
    {
        lstrcpynW(g_AppSettings.DBPath, db.Path().c_str(), CAppSettings::MaxPath + 1);
        g_AppSettings.LastActiveVehicle = lastActive;
        frame = std::make_unique<TestFrame>();
        ASSERT_TRUE(frame->CreateEx(nullptr, CRect(0, 0, 900, 650)));
        frame->ShowWindow(SW_SHOW);
        frame->OpenDatabase();
        PumpMessages();
    }

    int VehicleRows() { return static_cast<int>(frame->m_vehicleList.SendMessage(LVM_GETITEMCOUNT)); }
    int EntryRows() { return static_cast<int>(frame->m_entryList.SendMessage(LVM_GETITEMCOUNT)); }
    bool Enabled(UINT id) { return !(frame->UIGetState(id) & UPDUI_DISABLED); }
    bool Checked(UINT id) { return (frame->UIGetState(id) & UPDUI_CHECKED) != 0; }
    bool NotesShown() { return frame->m_hSplit2.GetSinglePaneMode() == SPLIT_PANE_NONE; }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring StatusPart(int part)
    {
        wchar_t text[256] = {};
        frame->m_statusBar.SendMessage(SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // A click on the vehicle list's row of the vehicle, as the list reports it.
    void ClickVehicle(const wchar_t* caption)
    {
        int row = FindRow(frame->m_vehicleList, caption);
        ASSERT_GE(row, 0);
        SelectRows(frame->m_vehicleList, {row});
        NMITEMACTIVATE click{};
        click.hdr = {frame->m_vehicleList, IDC_VEHICLE_LIST, static_cast<UINT>(NM_CLICK)};
        click.iItem = row;
        frame->m_vehiclePane.SendMessage(WM_NOTIFY, IDC_VEHICLE_LIST, reinterpret_cast<LPARAM>(&click));
        PumpMessages();
    }
    // The toolbar's idea of a button after the frame's idle update.
    bool ToolbarEnabled(UINT id)
    {
        frame->OnIdle();
        return frame->m_toolBar.SendMessage(TB_ISBUTTONENABLED, id) != 0;
    }
    // The state a menu item gets when its popup opens.
    UINT MenuState(int top, int sub, UINT id)
    {
        HMENU popup = GetSubMenu(frame->m_cmdBar.GetMenu(), top);
        if (sub >= 0) popup = GetSubMenu(popup, sub);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        return GetMenuState(popup, id, MF_BYCOMMAND);
    }

    SampleDatabase db;
    unsigned long car = 0, van = 0;
    unsigned long fuelWithNotes = 0;
    std::unique_ptr<TestFrame> frame;
};

const UINT kVehicleCommands[] = {ID_NEW_FUEL,      ID_NEW_REPAIR,     ID_NEW_TRIP,         ID_NEW_EXPENSE,
                                 ID_NEW_REMINDER,  ID_TOOLS_EXPORT,   ID_TOOLS_REMINDERS,  ID_VIEW_ALL_ENTRIES,
                                 ID_VIEW_EXPENSES, ID_VIEW_ALL_DATES, ID_VIEW_CUSTOM_DATES};

TEST_F(MainFrameTest, WithoutAnActiveVehicleTheVehicleCommandsAreOffAndTheEntryPaneIsEmpty)
{
    Open(0);
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(0, EntryRows());
    EXPECT_STREQ(L"<No Active Vehicle>", frame->m_entryPane.GetTitle());
    EXPECT_FALSE(NotesShown());
    for (UINT id : kVehicleCommands) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(ToolbarEnabled(ID_NEW_FUEL));
    EXPECT_FALSE(ToolbarEnabled(ID_TOOLS_EXPORT));
    EXPECT_TRUE(ToolbarEnabled(ID_NEW_VEHICLE));  // outside the table: always on
    EXPECT_TRUE(MenuState(0, 0, ID_NEW_FUEL) & MF_GRAYED);
    EXPECT_FALSE(MenuState(0, 0, ID_NEW_VEHICLE) & MF_GRAYED);
    EXPECT_TRUE(MenuState(1, 1, ID_VIEW_FUEL) & MF_GRAYED);
    // The view still shows which filter is chosen.
    EXPECT_TRUE(Checked(ID_VIEW_ALL_ENTRIES));
    EXPECT_TRUE(Checked(ID_VIEW_ALL_DATES));
    EXPECT_EQ(L"All Dates", StatusPart(1));
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);

    // The bars stand: the menu in its band, the toolbar with the 24-pixel icons.
    RECT bar{};
    frame->m_cmdBar.GetWindowRect(&bar);
    EXPECT_TRUE(frame->m_cmdBar.IsWindowVisible());
    EXPECT_GT(bar.bottom - bar.top, 10);
    EXPECT_EQ(nullptr, GetMenu(*frame));
    EXPECT_EQ(12, ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(frame->m_toolBar.SendMessage(TB_GETIMAGELIST))));
}

TEST_F(MainFrameTest, ClickingAVehicleMakesItActiveWithItsEntriesCaptionAndCommands)
{
    Open(0);
    ClickVehicle(L"Family Car (2002)");
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(12000, g_AppSettings.ActiveOdometer);
    EXPECT_STREQ(L"Family Car (2002)", frame->m_entryPane.GetTitle());
    EXPECT_EQ(4, EntryRows());
    for (UINT id : kVehicleCommands) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(ToolbarEnabled(ID_NEW_FUEL));
    EXPECT_FALSE(MenuState(0, 0, ID_NEW_TRIP) & MF_GRAYED);
    EXPECT_EQ(static_cast<HWND>(frame->m_entryList), GetFocus());

    // Choosing it again changes nothing: a row deleted from the control stays deleted.
    frame->m_entryList.DeleteItem(0);
    ClickVehicle(L"Family Car (2002)");
    EXPECT_EQ(3, EntryRows());

    ClickVehicle(L"Van (1999)");
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(1, EntryRows());
    EXPECT_STREQ(L"Van (1999)", frame->m_entryPane.GetTitle());
}

TEST_F(MainFrameTest, EntryTypeAndDateRangeViewsFilterTheListAndMarkTheirCommand)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());

    Command(ID_VIEW_FUEL);
    EXPECT_EQ(1, EntryRows());
    EXPECT_EQ(CEntry::etFuel, g_AppSettings.ViewEntryType);
    EXPECT_TRUE(Checked(ID_VIEW_FUEL));
    EXPECT_FALSE(Checked(ID_VIEW_ALL_ENTRIES));
    EXPECT_TRUE(MenuState(1, 1, ID_VIEW_FUEL) & MF_CHECKED);
    EXPECT_FALSE(MenuState(1, 1, ID_VIEW_TRIPS) & MF_CHECKED);

    Command(ID_VIEW_EXPENSES);
    EXPECT_EQ(1, EntryRows());
    EXPECT_EQ(L"Parking", ItemText(frame->m_entryList, 0, 1));
    EXPECT_TRUE(Checked(ID_VIEW_EXPENSES));
    EXPECT_FALSE(Checked(ID_VIEW_FUEL));

    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_LAST_WEEK);
    EXPECT_EQ(2, EntryRows());  // the fuel entry 3 days and the trip 2 days ago
    EXPECT_EQ(CEntryFilter::drLastWeek, g_AppSettings.ViewDateRangeType);
    EXPECT_TRUE(Checked(ID_VIEW_LAST_WEEK));
    EXPECT_FALSE(Checked(ID_VIEW_ALL_DATES));
    EXPECT_NE(L"All Dates", StatusPart(1));
    EXPECT_EQ(std::wstring(FormatDateRange(frame->m_filter)), StatusPart(1));
    // Seven days back to today, both ends shown.
    EXPECT_EQ(
        std::wstring(FormatDate(DaysBefore(kToday, 7))) + L" - " + std::wstring(FormatDate(DaysBefore(kToday, 0))),
        StatusPart(1));

    Command(ID_VIEW_YEAR_TO_DATE);
    EXPECT_EQ(4, EntryRows());  // 100 days back is still this year (from 15 June)
    Command(ID_VIEW_MONTH_TO_DATE);
    EXPECT_EQ(2, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_MONTH_TO_DATE));
    Command(ID_VIEW_ALL_DATES);
    EXPECT_EQ(4, EntryRows());
    EXPECT_EQ(L"All Dates", StatusPart(1));

    // A new frame starts with the chosen views.
    Command(ID_VIEW_TRIPS);
    frame->DestroyWindow();
    g_DataLayer.Disconnect();
    Open(car);
    EXPECT_EQ(1, EntryRows());
    EXPECT_TRUE(Checked(ID_VIEW_TRIPS));
}

TEST_F(MainFrameTest, DeleteAsksAndDeletesOnlyOnYes)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());
    frame->m_entryList.SetFocus();
    SelectRows(frame->m_entryList, {0});
    {
        BoxSeen box;
        BoxAnswer no(IDNO, &box);
        Command(ID_DELETE_SELECTED);
        EXPECT_TRUE(box.seen);
        EXPECT_EQ(L"Autolark", box.caption);
        EXPECT_EQ(L"Do you want to permanently delete the selected entry?", box.text);
    }
    EXPECT_EQ(4, EntryRows());
    EXPECT_EQ(5, g_DataLayer.GetNumEntries());
    // The answer gave the focus back where it was: the next Delete is about entries again.
    EXPECT_EQ(static_cast<HWND>(frame->m_entryList), GetFocus());

    SelectRows(frame->m_entryList, {0, 2});
    {
        BoxSeen box;
        BoxAnswer yes(IDYES, &box);
        Command(ID_DELETE_SELECTED);
        EXPECT_EQ(L"Do you want to permanently delete the selected entries?", box.text);
    }
    EXPECT_EQ(2, EntryRows());
    EXPECT_EQ(3, g_DataLayer.GetNumEntries());

    // The vehicle: with its entries, and then no vehicle is active.
    frame->m_vehicleList.SetFocus();
    int row = FindRow(frame->m_vehicleList, L"Family Car (2002)");
    SelectRows(frame->m_vehicleList, {row});
    {
        BoxSeen box;
        BoxAnswer no(IDNO, &box);
        Command(ID_DELETE_SELECTED);
        EXPECT_EQ(L"Do you want to permanently delete the selected vehicle and all data associated with it?", box.text);
    }
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    {
        BoxSeen box;
        BoxAnswer yes(IDYES, &box);
        Command(ID_DELETE_SELECTED);
        EXPECT_TRUE(box.seen);
    }
    EXPECT_EQ(1, VehicleRows());
    EXPECT_EQ(L"Van (1999)", ItemText(frame->m_vehicleList, 0, 0));
    EXPECT_EQ(1, g_DataLayer.GetNumVehicles());
    EXPECT_EQ(1, g_DataLayer.GetNumEntries());  // the van's
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, g_AppSettings.ActiveOdometer);
    EXPECT_STREQ(L"<No Active Vehicle>", frame->m_entryPane.GetTitle());
    EXPECT_EQ(0, EntryRows());
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));

    // Focus in the notes (or nowhere in the panes): Delete does nothing and asks nothing.
    frame->m_notes.SetFocus();
    BoxSeen box;
    {
        BoxAnswer yes(IDYES, &box);
        Command(ID_DELETE_SELECTED);
        PumpMessages();
    }
    EXPECT_FALSE(box.seen);
    EXPECT_EQ(1, g_DataLayer.GetNumVehicles());
}

TEST_F(MainFrameTest, TheDeleteKeyIsTheDeleteCommand)
{
    Open(car);
    frame->m_entryList.SetFocus();
    SelectRows(frame->m_entryList, {1});
    MSG key{frame->m_entryList, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    BoxSeen box;
    {
        BoxAnswer yes(IDYES, &box);
        EXPECT_TRUE(frame->PreTranslateMessage(&key));
    }
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(3, EntryRows());
    MSG other{frame->m_entryList, WM_KEYDOWN, 'A', 0x001E0001, 0, {0, 0}};
    EXPECT_FALSE(frame->PreTranslateMessage(&other));
}

TEST_F(MainFrameTest, NotesShowForOneSelectedEntryWithNotesOnly)
{
    g_AppSettings.LastColSorted = 0;  // by date, ascending: expense, repair, fuel, trip
    Open(car);
    ASSERT_EQ(4, EntryRows());
    std::vector<std::wstring> descriptions = ColumnTexts(frame->m_entryList, 1);
    int fuelRow = -1, tripRow = -1, repairRow = -1;
    for (int i = 0; i < 4; ++i) {
        if (descriptions[i] == L"Oil change") repairRow = i;
        if (descriptions[i].find(L"Trip to town") == 0) tripRow = i;
        if (descriptions[i].find(L"@") != std::wstring::npos) fuelRow = i;
    }
    ASSERT_TRUE(fuelRow >= 0 && tripRow >= 0 && repairRow >= 0);

    SelectRows(frame->m_entryList, {fuelRow});
    EXPECT_TRUE(NotesShown());
    EXPECT_EQ(L"Cheap fuel, see http://example.com/station", WindowText(frame->m_notes));

    SelectRows(frame->m_entryList, {repairRow});
    EXPECT_FALSE(NotesShown());
    EXPECT_EQ(L"", WindowText(frame->m_notes));

    SelectRows(frame->m_entryList, {tripRow});
    EXPECT_TRUE(NotesShown());
    EXPECT_EQ(L"Met the dealer", WindowText(frame->m_notes));
    SelectRows(frame->m_entryList, {tripRow, fuelRow});
    EXPECT_FALSE(NotesShown());

    // Select All of the notes menu selects the whole text and gives it the focus; Copy copies.
    SelectRows(frame->m_entryList, {fuelRow});
    Command(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(static_cast<HWND>(frame->m_notes), GetFocus());
    EXPECT_EQ(L"Cheap fuel, see http://example.com/station", std::wstring(frame->m_notes.GetSelText()));

    // A press of the left button on the address opens it; the selection comes back.
    CHARRANGE before{0, 5};
    frame->m_notes.SetSel(before);
    ENLINK link{};
    link.nmhdr = {frame->m_notes, IDC_NOTES, EN_LINK};
    link.msg = WM_LBUTTONDOWN;
    link.chrg = {16, 42};
    frame->m_notesPane.SendMessage(WM_NOTIFY, IDC_NOTES, reinterpret_cast<LPARAM>(&link));
    link.msg = WM_MOUSEMOVE;
    frame->m_notesPane.SendMessage(WM_NOTIFY, IDC_NOTES, reinterpret_cast<LPARAM>(&link));
    ASSERT_EQ(1u, frame->opened.size());
    EXPECT_EQ(L"http://example.com/station", frame->opened[0]);
    CHARRANGE after{};
    frame->m_notes.GetSel(after);
    EXPECT_EQ(0, after.cpMin);
    EXPECT_EQ(5, after.cpMax);
}

TEST_F(MainFrameTest, HelpCommandsOpenTheirAddressesAndTheManualBesideTheProgram)
{
    Open(0);
    Command(ID_HELP_WEB);
    Command(ID_HELP_UPDATES);
    Command(ID_HELP_SUPPORT);
    Command(ID_HELP_DOCUMENTATION);
    ASSERT_EQ(4u, frame->opened.size());
    EXPECT_EQ(LoadText(IDS_URL_PRODUCT), frame->opened[0]);
    EXPECT_EQ(LoadText(IDS_URL_UPGRADE), frame->opened[1]);
    EXPECT_EQ(LoadText(IDS_URL_SUPPORT), frame->opened[2]);
    EXPECT_EQ(ProgramFolder() + L"autolark_en.pdf", frame->opened[3]);
    EXPECT_EQ(0u, frame->opened[0].find(L"http://www.example.com/"));
}

TEST_F(MainFrameTest, ReloadReactivatesTheRememberedVehicleEvenWhenItIsActive)
{
    Open(car);
    ASSERT_EQ(4, EntryRows());
    // Written meanwhile by another connection, as a synchronisation would.
    db.AddEntry(car, CEntry::etRepair, DaysBefore(kToday, 1), 12100, 80.0f, L"Brakes");
    db.AddVehicle(L"Bike", 2010, 500);
    EXPECT_EQ(4, EntryRows());
    frame->SendMessage(WM_RELOAD_DATA, 7, 9);
    EXPECT_EQ(5, EntryRows());
    EXPECT_EQ(3, VehicleRows());
    EXPECT_EQ(L"Bike (2010)", ItemText(frame->m_vehicleList, 0, 0));
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_STREQ(L"Family Car (2002)", frame->m_entryPane.GetTitle());
    int selected =
        static_cast<int>(frame->m_vehicleList.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    EXPECT_EQ(L"Family Car (2002)", ItemText(frame->m_vehicleList, selected, 0));

    // The remembered vehicle gone: no vehicle is active afterwards.
    CVehicle* gone = new CVehicle;
    gone->SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(gone));
    ASSERT_TRUE(db.Db().Delete(gone));
    delete gone;
    frame->SendMessage(WM_RELOAD_DATA, 0, 0);
    EXPECT_EQ(2, VehicleRows());
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, EntryRows());
    EXPECT_STREQ(L"<No Active Vehicle>", frame->m_entryPane.GetTitle());
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
}

TEST_F(MainFrameTest, AVanishedRememberedVehicleStartsWithNoneActive)
{
    Open(0xDEADBEEF);
    EXPECT_EQ(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(0, EntryRows());
    EXPECT_EQ(2, VehicleRows());
    EXPECT_FALSE(Enabled(ID_NEW_FUEL));
    EXPECT_STREQ(L"<No Active Vehicle>", frame->m_entryPane.GetTitle());
    // Connected all the same, and the path remembered for the plug-ins.
    EXPECT_TRUE(g_DataLayer.IsConnected());
    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof stored;
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, L"DBPath", RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_EQ(db.Path(), stored);
}

TEST_F(MainFrameTest, ThePicturePaneClosesAndComesBackAndItsStateIsKept)
{
    Open(car);
    ASSERT_EQ(SPLIT_PANE_NONE, frame->m_hSplit3.GetSinglePaneMode());
    EXPECT_TRUE(Checked(ID_VIEW_PICTURE));
    frame->m_hSplit3.SendMessage(WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, 0),
                                 reinterpret_cast<LPARAM>(HWND(frame->m_picturePane)));
    EXPECT_EQ(SPLIT_PANE_TOP, frame->m_hSplit3.GetSinglePaneMode());
    EXPECT_FALSE(frame->m_picturePane.IsWindowVisible());
    EXPECT_FALSE(Checked(ID_VIEW_PICTURE));
    EXPECT_FALSE(MenuState(1, -1, ID_VIEW_PICTURE) & MF_CHECKED);

    Command(ID_VIEW_PICTURE);
    EXPECT_EQ(SPLIT_PANE_NONE, frame->m_hSplit3.GetSinglePaneMode());
    EXPECT_TRUE(frame->m_picturePane.IsWindowVisible());
    EXPECT_TRUE(Checked(ID_VIEW_PICTURE));
    Command(ID_VIEW_PICTURE);
    EXPECT_EQ(SPLIT_PANE_TOP, frame->m_hSplit3.GetSinglePaneMode());

    // Closed: kept so for the next frame.
    frame->DestroyWindow();
    EXPECT_EQ(0, g_AppSettings.ShowVehiclePicture);
    g_DataLayer.Disconnect();
    Open(car);
    EXPECT_EQ(SPLIT_PANE_TOP, frame->m_hSplit3.GetSinglePaneMode());
    EXPECT_FALSE(Checked(ID_VIEW_PICTURE));
    Command(ID_VIEW_PICTURE);
    frame->DestroyWindow();
    EXPECT_EQ(-1, g_AppSettings.ShowVehiclePicture);
}

TEST_F(MainFrameTest, TabMovesAcrossAndEnterActivatesTheSelectedVehicle)
{
    Open(car);
    frame->m_vehicleList.SetFocus();
    NMLVKEYDOWN key{};
    key.hdr = {frame->m_vehicleList, IDC_VEHICLE_LIST, static_cast<UINT>(LVN_KEYDOWN)};
    key.wVKey = VK_TAB;
    frame->m_vehiclePane.SendMessage(WM_NOTIFY, IDC_VEHICLE_LIST, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(static_cast<HWND>(frame->m_entryList), GetFocus());
    EXPECT_EQ(IDC_ENTRY_LIST, frame->GetFocusedListId());

    key.hdr = {frame->m_entryList, IDC_ENTRY_LIST, static_cast<UINT>(LVN_KEYDOWN)};
    frame->m_entryPane.SendMessage(WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(static_cast<HWND>(frame->m_vehicleList), GetFocus());
    EXPECT_EQ(IDC_VEHICLE_LIST, frame->GetFocusedListId());

    frame->m_quickStatsList.SetFocus();
    EXPECT_EQ(IDC_QUICK_STATS, frame->GetFocusedListId());
    key.hdr = {frame->m_quickStatsList, IDC_QUICK_STATS, static_cast<UINT>(LVN_KEYDOWN)};
    frame->m_quickStatsPane.SendMessage(WM_NOTIFY, IDC_QUICK_STATS, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(static_cast<HWND>(frame->m_entryList), GetFocus());
    frame->m_notes.SetFocus();
    EXPECT_EQ(0, frame->GetFocusedListId());

    // Enter on another vehicle's row activates it.
    int row = FindRow(frame->m_vehicleList, L"Van (1999)");
    SelectRows(frame->m_vehicleList, {row});
    key.hdr = {frame->m_vehicleList, IDC_VEHICLE_LIST, static_cast<UINT>(LVN_KEYDOWN)};
    key.wVKey = VK_RETURN;
    frame->m_vehiclePane.SendMessage(WM_NOTIFY, IDC_VEHICLE_LIST, reinterpret_cast<LPARAM>(&key));
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(1, EntryRows());
}

TEST_F(MainFrameTest, SyncCurrentOdometerStoresTheLargestEntryOdometer)
{
    Open(car);
    db.AddEntry(car, CEntry::etFuel, DaysBefore(kToday, 1), 12500, 40.0f, L"");
    frame->SyncCurrentOdometer();
    EXPECT_EQ(12500, g_AppSettings.ActiveOdometer);
    CVehicle stored;
    stored.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&stored));
    EXPECT_EQ(12500, stored.GetCurrentOdometer());
    // Lower than before is taken too: the entries decide.
    g_AppSettings.ActiveOdometer = 20000;
    frame->SyncCurrentOdometer();
    EXPECT_EQ(12500, g_AppSettings.ActiveOdometer);
}

TEST_F(MainFrameTest, TheExitCommandClosesTheFrameAndTheLayoutIsSaved)
{
    Open(car);
    Command(ID_APP_EXIT);
    PumpMessages();
    EXPECT_FALSE(frame->IsWindow());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY L"\\UI", 0, KEY_READ, &key));
    for (const wchar_t* name :
         {L"WndPlacement", L"Splitter_vSplit", L"Splitter_hSplit1", L"Splitter_hSplit2", L"Splitter_hSplit3"})
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr)) << name;
    RegCloseKey(key);
    // The quit the frame posted is not this test's to keep.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(MainFrameTest, StatisticsFollowTheViewAndTheDeletions)
{
    Open(car);
    EXPECT_FLOAT_EQ(215.0f, frame->m_quickStats.GetTotalExpense());  // 30 + 120 + 15 + 50
    Command(ID_VIEW_FUEL);
    EXPECT_FLOAT_EQ(30.0f, frame->m_quickStats.GetTotalExpense());
    Command(ID_VIEW_ALL_ENTRIES);
    Command(ID_VIEW_LAST_WEEK);
    EXPECT_FLOAT_EQ(45.0f, frame->m_quickStats.GetTotalExpense());
    Command(ID_VIEW_ALL_DATES);

    frame->m_entryList.SetFocus();
    int parking = FindRow(frame->m_entryList, FormatDate(DaysBefore(kToday, 100)));
    ASSERT_GE(parking, 0);
    SelectRows(frame->m_entryList, {parking});
    BoxSeen box;
    {
        BoxAnswer yes(IDYES, &box);
        Command(ID_DELETE_SELECTED);
    }
    EXPECT_FLOAT_EQ(165.0f, frame->m_quickStats.GetTotalExpense());

    // The statistics rows are two lines high: the frame measures them through the list.
    RECT statsRow{}, vehicleRow{};
    statsRow.left = vehicleRow.left = LVIR_BOUNDS;
    frame->m_quickStatsList.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&statsRow));
    frame->m_vehicleList.SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&vehicleRow));
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTVIEW;
    measure.CtlID = IDC_QUICK_STATS;
    frame->m_quickStatsList.MeasureItem(&measure);
    EXPECT_EQ(static_cast<LONG>(measure.itemHeight), statsRow.bottom - statsRow.top);
    EXPECT_GT(statsRow.bottom - statsRow.top, vehicleRow.bottom - vehicleRow.top);
    EXPECT_EQ(10, frame->m_quickStatsList.SendMessage(LVM_GETITEMCOUNT));
}

TEST_F(MainFrameTest, AColumnClickReachesTheEntryListThroughTheFrame)
{
    Open(car);
    ASSERT_EQ(1, g_AppSettings.SortAscending);
    NMLISTVIEW click{};
    click.hdr = {frame->m_entryList, IDC_ENTRY_LIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = 3;
    frame->m_entryPane.SendMessage(WM_NOTIFY, IDC_ENTRY_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(0, g_AppSettings.SortAscending);
    EXPECT_EQ(3, g_AppSettings.LastColSorted);
    EXPECT_EQ(L"$120.00", ItemText(frame->m_entryList, 0, 3));  // the largest amount first
}

// The notes pane's menu, looked at while it is open and then left.
struct NotesMenuSeen {
    bool shown = false;
    UINT copyState = 0;
    UINT selectAllState = 0;
};
NotesMenuSeen* g_menuSeen = nullptr;
void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    g_menuSeen->shown = true;
    g_menuSeen->copyState = GetMenuState(menu, ID_EDIT_COPY, MF_BYCOMMAND);
    g_menuSeen->selectAllState = GetMenuState(menu, ID_EDIT_SELECT_ALL, MF_BYCOMMAND);
    EndMenu();
}

TEST_F(MainFrameTest, TheNotesMenuGreysCopyWithoutASelection)
{
    Open(car);
    int fuel = FindRow(frame->m_entryList, FormatDate(DaysBefore(kToday, 3)));
    ASSERT_GE(fuel, 0);
    SelectRows(frame->m_entryList, {fuel});
    ASSERT_TRUE(NotesShown());
    auto rightClick = [&] {
        NotesMenuSeen seen;
        g_menuSeen = &seen;
        UINT_PTR timer = SetTimer(nullptr, 0, 40, &LookAtMenu);
        MSGFILTER filter{};
        filter.nmhdr = {frame->m_notes, IDC_NOTES, EN_MSGFILTER};
        filter.msg = WM_RBUTTONDOWN;
        frame->m_notesPane.SendMessage(WM_NOTIFY, IDC_NOTES, reinterpret_cast<LPARAM>(&filter));
        KillTimer(nullptr, timer);
        g_menuSeen = nullptr;
        return seen;
    };
    frame->m_notes.SetSel(3, 3);
    NotesMenuSeen none = rightClick();
    EXPECT_TRUE(none.shown);
    EXPECT_TRUE(none.copyState & MF_GRAYED);
    EXPECT_FALSE(none.selectAllState & MF_GRAYED);

    frame->m_notes.SetSel(0, 5);
    NotesMenuSeen some = rightClick();
    EXPECT_TRUE(some.shown);
    EXPECT_FALSE(some.copyState & MF_GRAYED);
    // Other mouse messages pass by without a menu.
    MSGFILTER move{};
    move.nmhdr = {frame->m_notes, IDC_NOTES, EN_MSGFILTER};
    move.msg = WM_MOUSEMOVE;
    EXPECT_EQ(0, frame->m_notesPane.SendMessage(WM_NOTIFY, IDC_NOTES, reinterpret_cast<LPARAM>(&move)));
}

}  // namespace
