// The vehicle sheet on its own: EditVehicle on new and stored vehicles typed into as a user types,
// checked by what the pages show and by what the file holds afterwards.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "desktop/Utility.h"
#include "desktop/VehicleEditor.h"
#include "EditorTestSupport.h"
#include "tests/support/Pictures.h"

using namespace alk_editor_test;

namespace {

const wchar_t kSheet[] = L"Vehicle Properties";
const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};

class VehicleSheetTest : public EditorTest {
protected:
    static void SetUpTestSuite()
    {
        EditorTest::SetUpTestSuite();
        SetFixedLocalTime(&kToday);
    }
    static void TearDownTestSuite() { SetFixedLocalTime(nullptr); }

    // A vehicle as the file holds it, through the test's own connection.
    std::unique_ptr<CVehicle> Stored(unsigned long refId)
    {
        std::unique_ptr<CVehicle> vehicle(new CVehicle);
        vehicle->SetRefID(refId);
        EXPECT_TRUE(db.Db().LoadByRefID(vehicle.get())) << "vehicle " << refId;
        return vehicle;
    }
    // A vehicle saved through the test's connection and loaded through the program's.
    std::unique_ptr<CVehicle> Loaded(CVehicleRecord& record)
    {
        const unsigned long refId = record.Save(db.Db());
        EXPECT_NE(0u, refId);
        std::unique_ptr<CVehicle> vehicle(new CVehicle);
        vehicle->SetRefID(refId);
        EXPECT_TRUE(g_DataLayer.LoadByRefID(vehicle.get()));
        return vehicle;
    }
};

TEST_F(VehicleSheetTest, ANewVehicleNeedsANameAndStoresWhatEveryPageHolds)
{
    std::vector<std::wstring> shown;
    const auto read = [&](int id) { return [&shown, id](HWND sheet) { shown.push_back(UI::Text(sheet, id)); }; };
    UI ui;
    ui.WaitFor(kSheet).Do(read(IDC_VEHICLE_YEAR)).Do(read(IDC_VEHICLE_ODOMETER)).Click(IDOK).Answer(IDOK);
    ui.Do([&](HWND) { shown.push_back(std::to_wstring(FocusedId())); });
    ui.Type(L"Runabout").Focus(IDC_VEHICLE_PLATE).Type(L"ab-123 cd").Focus(IDC_VEHICLE_VIN).Type(L"1hgcm82633a004352");
    // The arrows stop at next year's models.
    ui.Focus(IDC_VEHICLE_YEAR).Type(L"2025").Key(VK_UP).Key(VK_UP).Key(VK_UP).Do(read(IDC_VEHICLE_YEAR));
    // A number beyond 32 bits is refused without a message; the sheet stays on the field.
    ui.Focus(IDC_VEHICLE_ODOMETER).Type(L"2147483648").Click(IDOK).Do([&](HWND sheet) {
        shown.push_back(std::to_wstring(FocusedId()) + L" " + UI::Text(sheet, IDC_VEHICLE_ODOMETER));
    });
    ui.Type(L"20500");
    ui.ClickTab(1).Focus(IDC_INSURANCE_AGENT).Type(L"Jo Smith").Focus(IDC_INSURANCE_PHONE).Type(L"555-abc");
    ui.Focus(IDC_INSURANCE_POLICY).Type(L"pol-9x").Focus(IDC_INSURANCE_COVERAGE).Type(L"Full\rGlass");
    ui.SetDate(IDC_INSURANCE_EXPIRES, Utc(2027, 1, 31));
    ui.ClickTab(2).Focus(IDC_DEALER_NAME).Type(L"Town Motors").Focus(IDC_DEALER_PHONE).Type(L"555-def");
    ui.Focus(IDC_DEALER_ADDRESS).Type(L"1 Main St\rSpringfield").ClickTab(3).Tab().Type(L"Bought used");
    ui.Click(IDOK);
    std::unique_ptr<CVehicle> vehicle(new CVehicle);
    ASSERT_NE(0, EditVehicle(vehicle.get())) << testing::PrintToString(ui.Failure());

    EXPECT_EQ((std::vector<std::wstring>{L"2002", L"20000", std::to_wstring(IDC_VEHICLE_NAME), L"2027",
                                         std::to_wstring(IDC_VEHICLE_ODOMETER) + L" 2147483648"}),
              shown);
    ASSERT_EQ(2u, ui.Met().size());
    EXPECT_EQ(L"A name is required.", ui.Met()[1].text);
    EXPECT_EQ(kSheet, ui.Met()[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[1].icon);
    ASSERT_NE(0u, vehicle->GetRefID());
    std::unique_ptr<CVehicle> stored = Stored(vehicle->GetRefID());
    EXPECT_STREQ(L"Runabout", stored->GetName());
    EXPECT_STREQ(L"AB-123 CD", stored->GetLicensePlate());
    EXPECT_STREQ(L"1HGCM82633A004352", stored->GetVIN());
    EXPECT_EQ(2027, stored->GetYear());
    EXPECT_EQ(20500, stored->GetCurrentOdometer());
    EXPECT_STREQ(L"Jo Smith", stored->GetInsuranceAgentName());
    EXPECT_STREQ(L"555-ABC", stored->GetInsuranceAgentPhone());
    EXPECT_STREQ(L"POL-9X", stored->GetInsurancePolicyNumber());
    EXPECT_STREQ(L"Full\r\nGlass", stored->GetInsuranceCoverage());
    SYSTEMTIME expires{};
    ASSERT_TRUE(VariantTimeToSystemTime(stored->GetInsuranceExpirationDate(), &expires));
    EXPECT_EQ(2027, expires.wYear);
    EXPECT_EQ(1, expires.wMonth);
    EXPECT_EQ(31, expires.wDay);
    EXPECT_STREQ(L"Town Motors", stored->GetDealerName());
    EXPECT_STREQ(L"555-DEF", stored->GetDealerPhone());
    EXPECT_STREQ(L"1 Main St\r\nSpringfield", stored->GetDealerAddress());
    EXPECT_STREQ(L"Bought used", stored->GetNotes());
}

TEST_F(VehicleSheetTest, OkWithoutAChangeSavesNothingWhileLowerCaseTextComesBackUpper)
{
    // Six decimals of a day in the expiration date; line breaks in the long texts.
    CVehicleRecord record(L"Pickup");
    record.Year(1998).Odometer(150000).Plate(L"XYZ 987").VIN(L"VIN1").InsuranceExpires(46100.654321);
    record.Insurance(L"Agent", L"555 0100", L"P-1", L"Third party\r\nFire").Dealer(L"D", L"555 0199", L"Here\r\nThere");
    record.Notes(L"Keep");
    std::unique_ptr<CVehicle> pickup = Loaded(record);
    const double modified = Stored(pickup->GetRefID())->GetDateModified();
    UI ui;
    ui.WaitFor(kSheet).ClickTab(1).ClickTab(2).ClickTab(3).Click(IDOK);
    EXPECT_EQ(0, EditVehicle(pickup.get())) << testing::PrintToString(ui.Failure());
    EXPECT_SCRIPT(ui);
    EXPECT_FALSE(pickup->IsDirty());
    EXPECT_EQ(46100.654321, pickup->GetInsuranceExpirationDate());
    EXPECT_EQ(modified, Stored(pickup->GetRefID())->GetDateModified()) << "nothing saved";

    // Stored in lower case (a handheld's record): the upper-case fields give it back upper.
    CVehicleRecord lower(L"Scooter");
    lower.Plate(L"ab 12");
    std::unique_ptr<CVehicle> scooter = Loaded(lower);
    UI again;
    again.WaitFor(kSheet).Click(IDOK);
    EXPECT_NE(0, EditVehicle(scooter.get())) << testing::PrintToString(again.Failure());
    EXPECT_STREQ(L"AB 12", Stored(scooter->GetRefID())->GetLicensePlate());
}

TEST_F(VehicleSheetTest, TypedYearsAreNotRangeCheckedAndLongNamesComeBackWhole)
{
    std::wstring name(5000, L'n');
    name[0] = L'L';
    CVehicleRecord record(name.c_str());
    std::unique_ptr<CVehicle> vehicle = Loaded(record);
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_VEHICLE_YEAR).Type(L"2100").Click(IDOK);
    ASSERT_NE(0, EditVehicle(vehicle.get())) << testing::PrintToString(ui.Failure());
    std::unique_ptr<CVehicle> stored = Stored(vehicle->GetRefID());
    EXPECT_EQ(2100, stored->GetYear());
    EXPECT_TRUE(name == stored->GetName()) << wcslen(stored->GetName()) << " characters";
}

TEST_F(VehicleSheetTest, ThePictureIsChosenInTheFileDialogAndKeptOnlyWithOk)
{
    CScratchFolder folder(L"alk-vehicle-sheet");
    const std::wstring picture = folder.File(L"car.bmp");
    ASSERT_TRUE(WriteBitmapFile(picture, 8, 8, RGB(0, 128, 255)));
    const auto choose = [&](UI& ui) {
        ui.WaitFor(kSheet).Click(IDC_VEHICLE_PICTURE_BROWSE).WaitFor(L"Open");
        ui.Do([](HWND) { SendMessageW(GetFocus(), EM_SETSEL, 0, -1); }).Type(picture).Enter().WaitFor(kSheet);
    };
    CVehicleRecord record(L"Coupe");
    record.Picture(L"C:\\old\\coupe.jpg");
    std::unique_ptr<CVehicle> coupe = Loaded(record);
    std::wstring shown;
    UI cancelled;
    choose(cancelled);
    cancelled.Do([&](HWND sheet) { shown = UI::Text(sheet, IDC_VEHICLE_PICTURE_PATH); }).Escape();
    EXPECT_EQ(0, EditVehicle(coupe.get())) << testing::PrintToString(cancelled.Failure());
    EXPECT_EQ(picture, shown);
    EXPECT_STREQ(L"C:\\old\\coupe.jpg", coupe->GetImagePath());
    EXPECT_STREQ(L"C:\\old\\coupe.jpg", Stored(coupe->GetRefID())->GetImagePath());

    UI ok;
    choose(ok);
    ok.Click(IDOK);
    EXPECT_NE(0, EditVehicle(coupe.get())) << testing::PrintToString(ok.Failure());
    EXPECT_EQ(picture, Stored(coupe->GetRefID())->GetImagePath());
}

TEST_F(VehicleSheetTest, ASaveRefusedByABusyFileIsMadeAgainOnRetryAndGivenUpOnCancel)
{
    CVehicleRecord record(L"Pickup");
    std::unique_ptr<CVehicle> pickup = Loaded(record.Odometer(1000));
    const int vehicles = db.CountVehicles();
    const auto letGo = [&](HWND) { db.Db().RollBack(); };  // the other program is done meanwhile

    // Edited and new, each given up, then saved on Retry without being typed again.
    ASSERT_TRUE(db.Db().BeginTransaction());  // the write lock a synchronisation holds
    UI edited;
    edited.WaitFor(kSheet).Focus(IDC_VEHICLE_ODOMETER).Type(L"1500").Click(IDOK).Answer(IDCANCEL);
    EXPECT_EQ(0, EditVehicle(pickup.get()));
    UI added;
    added.WaitFor(kSheet).Type(L"Runabout").Click(IDOK).Answer(IDCANCEL, letGo);
    std::unique_ptr<CVehicle> fresh(new CVehicle);
    EXPECT_EQ(0, EditVehicle(fresh.get()));
    EXPECT_EQ(1000, Stored(pickup->GetRefID())->GetCurrentOdometer());
    EXPECT_EQ(vehicles, db.CountVehicles());
    EXPECT_EQ(1500, pickup->GetCurrentOdometer()) << "what was typed stays in the vehicle";
    EXPECT_STREQ(L"Runabout", fresh->GetName());

    ASSERT_TRUE(db.Db().BeginTransaction());
    UI editedAgain;
    editedAgain.WaitFor(kSheet).Focus(IDC_VEHICLE_YEAR).Type(L"2004").Click(IDOK).Answer(IDRETRY, letGo);
    EXPECT_NE(0, EditVehicle(pickup.get()));
    ASSERT_TRUE(db.Db().BeginTransaction());
    UI addedAgain;
    addedAgain.WaitFor(kSheet).Click(IDOK).Answer(IDRETRY, letGo);
    EXPECT_NE(0, EditVehicle(fresh.get()));
    for (UI* ui : {&edited, &added, &editedAgain, &addedAgain}) {
        EXPECT_SCRIPT(*ui);
        ASSERT_EQ(2u, ui->Met().size());
        EXPECT_EQ(L"Autolark", ui->Met()[1].caption);
        EXPECT_EQ(0u, ui->Met()[1].text.find(L"Your changes could not be saved: the data file is in use by another "
                                             L"program"));
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), ui->Met()[1].icon);
    }
    std::unique_ptr<CVehicle> stored = Stored(pickup->GetRefID());
    EXPECT_EQ(1500, stored->GetCurrentOdometer()) << "the change given up before went with the next save";
    EXPECT_EQ(2004, stored->GetYear());
    EXPECT_STREQ(L"Runabout", Stored(fresh->GetRefID())->GetName());
    EXPECT_EQ(vehicles + 1, db.CountVehicles());
}

}  // namespace
