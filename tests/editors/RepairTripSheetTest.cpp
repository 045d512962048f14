// The repair and trip sheets: EditEntry on repair and trip entries typed into as a user types,
// checked by what the pages show and by what the file holds afterwards.
#include <windows.h>

#include <commctrl.h>

#include <climits>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/EntryEditor.h"
#include "EditorTestSupport.h"

using namespace alk_editor_test;

namespace {

const wchar_t kSheet[] = L"Entry Properties";
const wchar_t kCheckInputs[] = L"An error occured, please double check your inputs.";
const wchar_t kEndTooLow[] = L"End odometer must be greater than start odometer.";

class RepairTripSheetTest : public EditorTest {
protected:
    // A new trip as the main window makes one for a vehicle at 20000.
    std::unique_ptr<CEntry> NewTrip()
    {
        std::unique_ptr<CEntry> trip = New(CEntry::etTrip);
        trip->SetOdometer(20000);
        trip->SetCustom1(20000);
        trip->SetCustom2(20100);
        return trip;
    }
    // The three numbers of the trip details page: start|end|distance.
    static std::wstring Odometers(HWND sheet)
    {
        return UI::Text(sheet, IDC_TRIP_START) + L"|" + UI::Text(sheet, IDC_TRIP_END) + L"|" +
               UI::Text(sheet, IDC_TRIP_DISTANCE);
    }
    static int CurrentPage(HWND sheet) { return TabCtrl_GetCurSel(PropSheet_GetTabControl(sheet)); }
};

TEST_F(RepairTripSheetTest, ARepairReportsAFieldItCannotReadAndNeedsADescription)
{
    CThreadLocale german(kGermany);
    int focusAfterMessage = 0;
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_ENTRY_ODOMETER).Type(L"\b").Click(IDOK).Answer(IDOK);
    ui.Do([&](HWND) { focusAfterMessage = FocusedId(); });
    ui.Type(L"12100").Focus(IDC_ENTRY_AMOUNT).Type(L"12,5").Focus(IDC_REPAIR_VENDOR).Type(L"Main Street Garage");
    ui.Click(IDOK).Answer(IDOK);
    // The description from the repair keywords.
    ui.Click(IDC_ENTRY_KEYWORDS).WaitFor(L"Repairs and Maintenance").Type(L"Brakes").Click(IDC_KEYWORD_ADD);
    ui.ClickItem(IDC_KEYWORD_LIST, 0, true).WaitFor(kSheet);
    ui.SetDate(IDC_ENTRY_DATE, Utc(2026, 3, 4, 10, 20, 30)).CtrlTab().Tab().Type(L"Pads and discs").Click(IDOK);
    std::unique_ptr<CEntry> repair = New(CEntry::etRepair);
    ASSERT_NE(0, EditEntry(repair.get())) << testing::PrintToString(ui.Failure());

    ASSERT_EQ(5u, ui.Met().size());
    EXPECT_EQ(kCheckInputs, ui.Met()[1].text) << "the message follows the beep";
    EXPECT_EQ(kSheet, ui.Met()[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[1].icon);
    EXPECT_EQ(IDC_ENTRY_ODOMETER, focusAfterMessage);
    EXPECT_EQ(L"A description is required.", ui.Met()[2].text);
    EXPECT_EQ(kSheet, ui.Met()[2].caption);
    std::unique_ptr<CEntry> stored = Stored(repair->GetID());
    EXPECT_EQ(12100, stored->GetOdometer());
    EXPECT_EQ(12.5f, stored->GetAmount()) << "typed with the German decimal comma";
    EXPECT_STREQ(L"Main Street Garage", stored->GetVendor());
    EXPECT_STREQ(L"Brakes", stored->GetName());
    EXPECT_STREQ(L"Pads and discs", stored->GetNotes());
    EXPECT_EQ(46085.430903, stored->GetDate());
    EXPECT_EQ(CEntry::etRepair, stored->GetType());
}

TEST_F(RepairTripSheetTest, TheTripDetailsKeepStartEndAndDistanceConsistentAsTheUserTypes)
{
    // Each line: what is typed into which field, then Tab; the three numbers shown afterwards.
    const struct {
        int field;
        const wchar_t *typed, *shown;
    } steps[] = {
        {IDC_TRIP_DISTANCE, L"250", L"20000|20250|250"},  // the end follows the distance
        {IDC_TRIP_END, L"20300", L"20000|20300|300"},     // the distance follows the end
        {IDC_TRIP_DISTANCE, L"0", L"20000|20000|0"},      // no distance: the end on the start
        {IDC_TRIP_START, L"19900", L"19900|20000|100"},   // the distance follows the start
        {IDC_TRIP_END, L"19000", L"19900|19000|0"},       // an end below the start: no distance
    };
    std::vector<std::wstring> shown;
    std::vector<int> pages;
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND sheet) { shown.push_back(Odometers(sheet)); });
    for (const auto& step : steps)
        ui.Focus(step.field).Type(step.typed).Tab().Do([&](HWND sheet) { shown.push_back(Odometers(sheet)); });
    // Tab went on to the distance, and leaving a distance of 0 puts the end back on the start:
    // the focus goes into the description, the end below the start again, and the focus back.
    ui.Focus(IDC_TRIP_DESCRIPTION).Focus(IDC_TRIP_END).Type(L"19000").Focus(IDC_TRIP_DESCRIPTION);
    ui.Do([&](HWND sheet) { shown.push_back(Odometers(sheet)); });
    // The end below the start keeps the user on the page, by a tab and by OK.
    ui.ClickTab(1).Answer(IDOK).Do([&](HWND sheet) { pages.push_back(CurrentPage(sheet)); });
    ui.Click(IDOK).Answer(IDOK).Do([&](HWND sheet) { pages.push_back(CurrentPage(sheet)); });
    // An end equal to the start is a trip of no distance.
    ui.Focus(IDC_TRIP_END).Type(L"19900").Tab().Focus(IDC_TRIP_DESCRIPTION).Type(L"Round the block").Click(IDOK);
    std::unique_ptr<CEntry> trip = NewTrip();
    ASSERT_NE(0, EditEntry(trip.get())) << testing::PrintToString(ui.Failure());

    EXPECT_EQ(L"20000|20100|100", shown[0]) << "a new trip a hundred units long";
    ASSERT_EQ(std::size(steps) + 2, shown.size());
    for (size_t i = 0; i < std::size(steps); ++i) EXPECT_EQ(steps[i].shown, shown[i + 1]) << "step " << i;
    EXPECT_EQ(L"19900|19000|0", shown.back());
    ASSERT_EQ(3u, ui.Met().size());
    for (size_t i : {1, 2}) {
        EXPECT_EQ(kEndTooLow, ui.Met()[i].text);
        EXPECT_EQ(kSheet, ui.Met()[i].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ui.Met()[i].icon);
    }
    EXPECT_EQ((std::vector<int>{0, 0}), pages);
    std::unique_ptr<CEntry> stored = Stored(trip->GetID());
    EXPECT_EQ(19900.0f, stored->GetCustom1());
    EXPECT_EQ(19900.0f, stored->GetCustom2());
    EXPECT_EQ(19900, stored->GetOdometer());
    EXPECT_STREQ(L"Round the block", stored->GetName());
}

TEST_F(RepairTripSheetTest, OkOrEnterRightAfterTypingStoresWhatTheTypedFieldGives)
{
    // Enter, and OK pressed as Windows presses it for Enter, keep the focus in the field typed
    // into: leaving the page recomputes its partner. A click on OK takes the focus first.
    enum Way { kEnter, kPressOk, kClickOk };
    const struct {
        int field;
        const wchar_t* typed;
        Way way;
        float start, end;
    } cases[] = {
        {IDC_TRIP_DISTANCE, L"300", kEnter, 20000, 20300},  {IDC_TRIP_DISTANCE, L"310", kPressOk, 20000, 20310},
        {IDC_TRIP_DISTANCE, L"45", kClickOk, 20000, 20045}, {IDC_TRIP_END, L"20070", kPressOk, 20000, 20070},
        {IDC_TRIP_START, L"19950", kPressOk, 19950, 20100}, {IDC_TRIP_START, L"19960", kClickOk, 19960, 20100},
    };
    for (const auto& c : cases) {
        UI ui;
        ui.WaitFor(kSheet).Focus(IDC_TRIP_DESCRIPTION).Type(L"Client visit").Focus(c.field).Type(c.typed);
        switch (c.way) {
        case kEnter: ui.Enter(); break;
        case kPressOk: ui.Do([](HWND sheet) { PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }); break;
        case kClickOk: ui.Click(IDOK); break;
        }
        std::unique_ptr<CEntry> trip = NewTrip();
        ASSERT_NE(0, EditEntry(trip.get())) << c.typed << " " << testing::PrintToString(ui.Failure());
        std::unique_ptr<CEntry> stored = Stored(trip->GetID());
        EXPECT_EQ(c.start, stored->GetCustom1()) << c.typed;
        EXPECT_EQ(c.end, stored->GetCustom2()) << c.typed;
        EXPECT_EQ(static_cast<long>(c.end), stored->GetOdometer()) << c.typed;
    }
}

TEST_F(RepairTripSheetTest, TheExpensePageShowsTheCurrentDistanceAndPricesItWithTheMileageRate)
{
    g_AppSettings.MileageRate = 0.36f;
    std::vector<std::wstring> shown;
    const auto expense = [&](HWND sheet) {
        shown.push_back(std::to_wstring(CurrentPage(sheet)) + L":" + UI::Text(sheet, IDC_TRIP_RATE) + L"|" +
                        UI::Text(sheet, IDC_TRIP_DISTANCE) + L"|" + UI::Text(sheet, IDC_ENTRY_AMOUNT));
    };
    CThreadLocale german(kGermany);
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_TRIP_DESCRIPTION).Type(L"Trade fair").ClickTab(1).Do(expense);
    ui.ClickTab(0).Focus(IDC_TRIP_END).Type(L"20250").ClickTab(1).Do(expense);
    ui.ClickTab(0).Focus(IDC_TRIP_DISTANCE).Type(L"100").Tab().CtrlTab().Do(expense);
    ui.Click(IDC_TRIP_CALC).Do(expense).Do([&](HWND) {
        DWORD start = 1, end = 0;
        SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        shown.push_back(std::to_wstring(FocusedId()) + L" " + std::to_wstring(start) + L"-" + std::to_wstring(end));
    });
    ui.Focus(IDC_TRIP_CATEGORY).Type(L"Business").Click(IDOK);
    std::unique_ptr<CEntry> trip = NewTrip();
    ASSERT_NE(0, EditEntry(trip.get())) << testing::PrintToString(ui.Failure());

    EXPECT_EQ(
        (std::vector<std::wstring>{L"1:0,36|100|0", L"1:0,36|250|0", L"1:0,36|100|0", L"1:0,36|100|36", L"1002 0-2"}),
        shown);
    std::unique_ptr<CEntry> stored = Stored(trip->GetID());
    EXPECT_EQ(36.0f, stored->GetAmount());
    EXPECT_STREQ(L"Business", stored->GetVendor());
    EXPECT_STREQ(L"Trade fair", stored->GetName());
    EXPECT_EQ(20100, stored->GetOdometer());
    EXPECT_EQ(0.36f, g_AppSettings.MileageRate);
}

TEST_F(RepairTripSheetTest, TheRateShownIsNeverWrittenBackIntoTheSettings)
{
    // More digits than the field shows: reading the field back would change the rate.
    const float rate = 0.123456789f;
    g_AppSettings.MileageRate = rate;
    std::wstring shown;
    UI ui;
    ui.WaitFor(kSheet).Focus(IDC_TRIP_DESCRIPTION).Type(L"Depot").ClickTab(1).Click(IDC_TRIP_CALC);
    ui.Do([&](HWND sheet) { shown = UI::Text(sheet, IDC_TRIP_RATE); }).Click(IDOK);
    std::unique_ptr<CEntry> trip = NewTrip();
    ASSERT_NE(0, EditEntry(trip.get())) << testing::PrintToString(ui.Failure());
    EXPECT_EQ(L"0.123457", shown);
    EXPECT_EQ(rate, g_AppSettings.MileageRate);
    EXPECT_EQ(100.0f * rate, Stored(trip->GetID())->GetAmount()) << "priced with the rate itself";
}

TEST_F(RepairTripSheetTest, AStoredTripOpensWithWholeOdometersAndKeepsWhatPagesNeverOpenedHold)
{
    CEntryRecord record(car, CEntry::etTrip);
    record.Date(46000.123456).Odometer(1100).Custom(1000.7f, 1100.2f).Vendor(L"Commute").Amount(12.34f);
    record.Description(L"Office").Notes(L"Parking paid");
    std::unique_ptr<CEntry> trip = Loaded(record);
    std::wstring shown;
    UI ui;
    ui.WaitFor(kSheet).Do([&](HWND sheet) { shown = Odometers(sheet); }).Click(IDOK);
    ASSERT_NE(0, EditEntry(trip.get())) << testing::PrintToString(ui.Failure());
    EXPECT_EQ(L"1000|1100|100", shown);
    std::unique_ptr<CEntry> stored = Stored(trip->GetID());
    EXPECT_EQ(1000.0f, stored->GetCustom1()) << "stored whole after OK";
    EXPECT_EQ(1100.0f, stored->GetCustom2());
    EXPECT_EQ(1100, stored->GetOdometer());
    EXPECT_STREQ(L"Commute", stored->GetVendor());
    EXPECT_EQ(12.34f, stored->GetAmount());
    EXPECT_STREQ(L"Parking paid", stored->GetNotes());
    EXPECT_EQ(46000.123456, stored->GetDate());

    // Whole now: OK without a change, with every page opened, saves nothing.
    const double modified = stored->GetDateModified();
    UI again;
    again.WaitFor(kSheet).ClickTab(1).ClickTab(2).Click(IDOK);
    EXPECT_EQ(0, EditEntry(trip.get())) << testing::PrintToString(again.Failure());
    EXPECT_SCRIPT(again);
    EXPECT_EQ(modified, Stored(trip->GetID())->GetDateModified());
    EXPECT_EQ(12.34f, trip->GetAmount());
}

TEST(WholeOdometerTest, TakesTheWholePartAndHoldsWhatLiesBeyondTheRangeAtItsEnds)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(1000, WholeOdometer(1000.7f));
    EXPECT_EQ(-5, WholeOdometer(-5.9f)) << "toward zero";
    EXPECT_EQ(0, WholeOdometer(nan));
    EXPECT_EQ(2147483520L, WholeOdometer(2147483520.0f)) << "the largest float inside the range";
    EXPECT_EQ(LONG_MAX, WholeOdometer(2147483648.0f));
    EXPECT_EQ(LONG_MAX, WholeOdometer(3e9f));
    EXPECT_EQ(LONG_MAX, WholeOdometer(inf));
    EXPECT_EQ(LONG_MIN, WholeOdometer(-2147483648.0f));
    EXPECT_EQ(LONG_MIN, WholeOdometer(-inf));
}

}  // namespace
