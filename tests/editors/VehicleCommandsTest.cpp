// The main window's vehicle commands: New Vehicle and Edit on the vehicle list, from the command
// and from the list's context menu, and what the window shows of the vehicle afterwards.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "desktop/Utility.h"
#include "desktop/VehicleImage.h"
#include "framework/PaneContainer.h"
#include "MainWindowTestSupport.h"
#include "tests/support/Pictures.h"

using namespace alk_editor_test;

namespace {

const wchar_t kSheet[] = L"Vehicle Properties";
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};

// The context menu's item chosen by its mnemonic once the menu is up.
wchar_t g_menuKey = 0;
void CALLBACK ChooseMenuItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    PostMessageW(popup, WM_CHAR, g_menuKey, 0);
}

class VehicleCommandsTest : public MainWindowTest {
protected:
    static void SetUpTestSuite()
    {
        MainWindowTest::SetUpTestSuite();
        CUtcClock::SetFixedTime(&kToday);
        SetFixedLocalTime(&kToday);
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        van = CVehicleRecord(L"Van").Year(1999).Odometer(80000).Save(db.Db());
        CEntryRecord(van, CEntry::etExpense)
            .Date(DaysBefore(kToday, 2))
            .Odometer(79000)
            .Description(L"Toll")
            .Save(db.Db());
        OpenFrame(car);
    }

    std::vector<std::wstring> Vehicles() { return ColumnTexts(List(IDC_VEHICLE_LIST), 0); }
    void SelectVehicle(const wchar_t* caption)
    {
        SetFocus(List(IDC_VEHICLE_LIST));
        SelectRows(List(IDC_VEHICLE_LIST), {FindRow(List(IDC_VEHICLE_LIST), caption)});
    }
    std::wstring EntryPaneTitle()
    {
        CPaneContainer* pane = ObjectOf<CPaneContainer>(GetParent(List(IDC_ENTRY_LIST)));
        return pane ? pane->GetTitle() : L"<no pane>";
    }
    void ContextMenu(wchar_t key)
    {
        g_menuKey = key;
        const UINT_PTR timer = SetTimer(nullptr, 0, 40, &ChooseMenuItem);
        SetFocus(List(IDC_VEHICLE_LIST));
        SendMessageW(List(IDC_VEHICLE_LIST), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(IDC_VEHICLE_LIST)),
                     MAKELPARAM(-1, -1));
        KillTimer(nullptr, timer);
        PumpMessages();
    }

    unsigned long van = 0;
};

TEST_F(VehicleCommandsTest, ANewVehicleIsListedInCaptionOrderAndBecomesActive)
{
    UI ui;
    ui.WaitFor(kSheet).Type(L"Bus").Focus(IDC_VEHICLE_ODOMETER).Type(L"500").Click(IDOK);
    Command(ID_NEW_VEHICLE);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<std::wstring>{L"Bus (2002)", L"Family Car (2002)", L"Van (1999)"}), Vehicles());
    EXPECT_EQ(3, db.CountVehicles());
    EXPECT_NE(car, g_AppSettings.LastActiveVehicle);
    EXPECT_NE(van, g_AppSettings.LastActiveVehicle);
    EXPECT_NE(0u, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(500, g_AppSettings.ActiveOdometer);
    EXPECT_EQ(L"Bus (2002)", EntryPaneTitle());
    EXPECT_EQ(0, ListView_GetItemCount(List(IDC_ENTRY_LIST)));
    EXPECT_EQ(0, ListView_GetNextItem(List(IDC_VEHICLE_LIST), -1, LVNI_SELECTED)) << "its row selected";

    // Cancelled: nothing stored, nothing listed, the active vehicle kept.
    const unsigned long bus = g_AppSettings.LastActiveVehicle;
    UI cancelled;
    cancelled.WaitFor(kSheet).Type(L"Tram").Escape();
    Command(ID_NEW_VEHICLE);
    EXPECT_SCRIPT(cancelled);
    EXPECT_EQ(3, db.CountVehicles());
    EXPECT_EQ(3u, Vehicles().size());
    EXPECT_EQ(bus, g_AppSettings.LastActiveVehicle);
}

TEST_F(VehicleCommandsTest, EditingASelectedVehicleMakesItActiveWithItsNewCaptionAndPicture)
{
    CScratchFolder folder(L"alk-vehicle-commands");
    const std::wstring picture = folder.File(L"van.bmp");
    ASSERT_TRUE(WriteBitmapFile(picture, 40, 30, RGB(30, 160, 60)));
    CVehicleImage* image = ObjectOf<CVehicleImage>(FindControl(*frame, IDC_VEHICLE_PICTURE));
    ASSERT_NE(nullptr, image);
    ASSERT_EQ(car, g_AppSettings.LastActiveVehicle);

    SelectVehicle(L"Van (1999)");
    UI ui;
    ui.WaitFor(kSheet).Type(L"Camper").Click(IDC_VEHICLE_PICTURE_BROWSE).WaitFor(L"Open");
    ui.Type(picture).Enter().WaitFor(kSheet).Click(IDOK);
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(ui);
    EXPECT_EQ((std::vector<std::wstring>{L"Camper (1999)", L"Family Car (2002)"}), Vehicles());
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(L"Camper (1999)", EntryPaneTitle());
    EXPECT_EQ(1, ListView_GetItemCount(List(IDC_ENTRY_LIST))) << "the van's entry";
    EXPECT_FALSE(image->IsDefaultPicture());
    HBITMAP shown = reinterpret_cast<HBITMAP>(
        SendMessageW(FindControl(*frame, IDC_VEHICLE_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_TRUE(ColoursNear(RGB(30, 160, 60), CentrePixel(shown))) << std::hex << CentrePixel(shown);

    // A name longer than the pane's caption takes (written meanwhile by another program): cut,
    // and the name given back whole.
    const std::wstring name(5000, L'x');
    CVehicle renamed;
    renamed.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&renamed));
    renamed.SetName(name.c_str());
    ASSERT_TRUE(db.Db().Save(&renamed, 0));
    frame->SendMessage(WM_RELOAD_DATA);
    PumpMessages();
    SelectVehicle((name + L" (2002)").c_str());
    UI longer;
    longer.WaitFor(kSheet).Focus(IDC_VEHICLE_ODOMETER).Type(L"12345").Click(IDOK);
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(longer);
    EXPECT_EQ(car, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(std::wstring(79, L'x'), EntryPaneTitle());
    CVehicle stored;
    stored.SetRefID(car);
    ASSERT_TRUE(db.Db().LoadByRefID(&stored));
    EXPECT_EQ(12345, stored.GetCurrentOdometer());
    EXPECT_TRUE(name == stored.GetName()) << wcslen(stored.GetName()) << " characters";
}

TEST_F(VehicleCommandsTest, AReloadDuringTheSheetWaitsUntilTheVehicleIsSavedAndShown)
{
    // Another program writes a vehicle and reloads while the sheet is up: the list keeps the
    // vehicle being edited until the command is done, then shows both.
    std::vector<std::wstring> during;
    const auto writeAndReload = [&](const wchar_t* name) {
        return [&, name](HWND) {
            CVehicleRecord(name).Year(2010).Save(db.Db());
            CEntryRecord(van, CEntry::etFuel).Date(DaysBefore(kToday, 1)).Odometer(79500).Save(db.Db());
            frame->SendMessage(WM_RELOAD_DATA);
            during = Vehicles();
        };
    };
    SelectVehicle(L"Van (1999)");
    UI edited;
    edited.WaitFor(kSheet).Do(writeAndReload(L"Bike")).Focus(IDC_VEHICLE_ODOMETER).Type(L"81000").Click(IDOK);
    Command(ID_EDIT_SELECTED);
    EXPECT_SCRIPT(edited);
    EXPECT_EQ((std::vector<std::wstring>{L"Family Car (2002)", L"Van (1999)"}), during);
    EXPECT_EQ((std::vector<std::wstring>{L"Bike (2010)", L"Family Car (2002)", L"Van (1999)"}), Vehicles());
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(81000, g_AppSettings.ActiveOdometer);
    EXPECT_EQ(2, ListView_GetItemCount(List(IDC_ENTRY_LIST))) << "the van's entries, one written meanwhile";

    UI added;
    added.WaitFor(kSheet).Do(writeAndReload(L"Cart")).Type(L"Bus").Click(IDOK);
    Command(ID_NEW_VEHICLE);
    EXPECT_SCRIPT(added);
    EXPECT_EQ(3u, during.size());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Bike (2010)", L"Bus (2002)", L"Cart (2010)", L"Family Car (2002)", L"Van (1999)"}),
        Vehicles());
    EXPECT_EQ(L"Bus (2002)", EntryPaneTitle());
    EXPECT_EQ(5, db.CountVehicles());
}

TEST_F(VehicleCommandsTest, TheVehicleListsContextMenuReachesEditAndNewVehicle)
{
    SelectVehicle(L"Van (1999)");
    UI edit;
    edit.WaitFor(kSheet).Focus(IDC_VEHICLE_ODOMETER).Type(L"81000").Click(IDOK);
    ContextMenu(L'e');
    EXPECT_SCRIPT(edit);
    EXPECT_EQ(van, g_AppSettings.LastActiveVehicle);
    EXPECT_EQ(81000, g_AppSettings.ActiveOdometer);

    UI added;
    added.WaitFor(kSheet).Type(L"Quad").Click(IDOK);
    ContextMenu(L'n');
    EXPECT_SCRIPT(added);
    EXPECT_EQ((std::vector<std::wstring>{L"Family Car (2002)", L"Quad (2002)", L"Van (1999)"}), Vehicles());
}

}  // namespace
