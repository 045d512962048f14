// Tools > Export to Excel from the main window, built in this process on test databases, with the
// Excel double registered: the workbook and the calls that made it are read from the double's
// record once its process has ended. The export's message boxes live on its worker thread: the
// test finds them by caption while it keeps its own (the frame's) thread running.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/ExcelExport.h"
#include "desktop/MainFrame.h"
#include "ExcelTestSupport.h"
#include "tests/mainframe/MainFrameTestSupport.h"
#include "tests/support/DialogScript.h"
#include "tests/support/MainWindow.h"
#include "tests/support/SettingsScope.h"

using namespace alk_excel_test;
using namespace alk_mainframe_test;
using excel_double::CExcelRecord;
using Strings = std::vector<std::string>;

namespace {

const SYSTEMTIME kToday = {2026, 6, 1, 15, 12, 0, 0, 0};

// What a run of the command showed: its message boxes, and whether the worker ended in time.
struct ExportRun {
    bool ended = false;
    std::vector<std::wstring> boxes;  // texts
    std::vector<HICON> icons;
};

HICON BoxIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    }
    return nullptr;
}

// A recorded value as a short text: "BSTR:Fuel", "I4:11950", "R8:0.10000000149011612", "EMPTY".
std::string ValueText(const excel_double::RecordValue& v)
{
    switch (v.type) {
    case VT_EMPTY: return "EMPTY";
    case VT_BSTR: return "BSTR:" + std::string(v.text.begin(), v.text.end());
    case VT_I4: return "I4:" + std::to_string(v.integer);
    case VT_R8: return "R8:" + excel_double::NumberText(v.number);
    case VT_DATE: return "DATE:" + excel_double::NumberText(v.number);
    default: return "type " + std::to_string(v.type);
    }
}
std::string Date(double date)
{
    return "DATE:" + excel_double::NumberText(date);
}
// Columns A to O of a row; "-" where the record has no cell.
Strings Row(const CExcelRecord& record, int row)
{
    Strings values;
    for (int column = 1; column <= 15; ++column) {
        const excel_double::RecordCell* cell = record.Cell(excel_double::CellName(row, column).c_str());
        values.push_back(cell ? ValueText(cell->value) : "-");
    }
    return values;
}
Strings WithEmpties(Strings used)
{
    used.resize(15, "EMPTY");
    return used;
}
// The number format of a column, "-" for none.
std::wstring Format(const CExcelRecord& record, const wchar_t* column)
{
    const excel_double::RecordLine* line = record.Column(column);
    return line && line->hasFormat ? line->format : L"-";
}
int AutoFits(const CExcelRecord& record, const wchar_t* column)
{
    const excel_double::RecordLine* line = record.Column(column);
    return line ? line->autofits : 0;
}

class ExcelExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        PrepareWindowClasses();
        CUtcClock::SetFixedTime(&kToday);
    }
    static void TearDownTestSuite() { CUtcClock::SetFixedTime(nullptr); }

    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_TRUE(db.Ok());
        car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
        van = CVehicleRecord(L"Van").Year(1999).Odometer(80000).Save(db.Db());
    }
    void TearDown() override
    {
        Finish(nullptr);
        CloseFrame(frame);
    }

    // An entry dated days before today at noon; fuel buys quantity at price (its amount their
    // product), a trip runs from quantity to price.
    double Add(unsigned long vehicle, CEntry::Type type, int daysAgo, long odometer, float amount,
               const wchar_t* vendor, const wchar_t* description = L"", const wchar_t* notes = L"", float custom1 = 0,
               float custom2 = 0)
    {
        double date = DaysBefore(kToday, daysAgo);
        EXPECT_NE(0u, CEntryRecord(vehicle, type)
                          .Date(date)
                          .Odometer(odometer)
                          .Amount(amount)
                          .Vendor(vendor)
                          .Description(description)
                          .Notes(notes)
                          .Custom(custom1, custom2)
                          .Save(db.Db()));
        return date;
    }

    void Open(unsigned long lastActive) { ASSERT_TRUE(OpenMainWindow(frame, db.Path(), lastActive)); }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // Keeps this thread's messages going until every export worker is done, answering the
    // workers' message boxes with OK; then the frame gets the workers' end messages.
    void Finish(ExportRun* run, DWORD timeoutMs = 60000)
    {
        DWORD start = GetTickCount();
        while (CExcelExportJob::Alive() > 0 && GetTickCount() - start < timeoutMs) {
            PumpMessages();
            HWND box = FindWindowW(L"#32770", L"Autolark");
            if (box && IsWindowVisible(box) && run) {
                run->boxes.push_back(CDialogScript::Text(box, 0xFFFF));
                run->icons.push_back(BoxIcon(box));
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                while (IsWindow(box) && GetTickCount() - start < timeoutMs) {
                    PumpMessages();
                    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
                }
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        PumpMessages();
        if (run) run->ended = CExcelExportJob::Alive() == 0;
    }
    ExportRun Export()
    {
        ExportRun run;
        Command(ID_TOOLS_EXPORT);
        Finish(&run);
        return run;
    }
    // One export that shows nothing, and the record of the double it started.
    void ExportQuietly(CExcelDoubleScope& excel, CExcelRecord* record)
    {
        size_t before = excel.Started();
        ExportRun run = Export();
        EXPECT_TRUE(run.ended);
        for (const std::wstring& box : run.boxes) ADD_FAILURE() << "a message: " << std::string(box.begin(), box.end());
        std::vector<CExcelRecord> records;
        ASSERT_TRUE(excel.Records(before + 1, &records));
        ASSERT_EQ(before + 1, records.size());
        *record = records.back();
    }

    CSettingsScope settings;
    SampleDatabase db;
    unsigned long car = 0, van = 0;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ExcelExportTest, EntriesWithoutTripsMakeNineColumnsFormattedAndFittedAndExcelIsShownLast)
{
    // Stored newest first: the rows keep the order of storage, not of dates.
    double fuel = Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"Full tank", 10.0f, 3.0f);
    double expense = Add(car, CEntry::etExpense, 20, 11500, 5.5f, L"", L"Parking");
    double repair = Add(car, CEntry::etRepair, 40, 11000, 120.0f, L"Garage", L"Oil change");
    Add(van, CEntry::etFuel, 5, 79900, 60.0f, L"Esso", L"", L"", 20.0f, 3.0f);
    CExcelDoubleScope excel;
    Open(car);
    CExcelRecord record;
    ExportQuietly(excel, &record);

    EXPECT_EQ("BSTR:Family Car (2002)", ValueText(record.Cell(L"A1")->value));
    EXPECT_EQ(14, record.Cell(L"A1")->size);
    EXPECT_TRUE(record.Cell(L"A1")->bold);
    EXPECT_EQ(WithEmpties({"BSTR:Date", "BSTR:Type", "BSTR:Odometer", "BSTR:Vendor", "BSTR:Description",
                           "BSTR:Fuel Qty.", "BSTR:Fuel Price", "BSTR:Amount", "BSTR:Notes"}),
              Row(record, 3));
    EXPECT_EQ(WithEmpties({Date(fuel), "BSTR:Fuel", "I4:11950", "BSTR:Shell", "BSTR:10.00 gal @ $3.00 (Shell)", "R8:10",
                           "R8:3", "R8:30", "BSTR:Full tank"}),
              Row(record, 4));
    EXPECT_EQ(WithEmpties({Date(expense), "BSTR:Expense", "I4:11500", "BSTR:", "BSTR:Parking",
                           "BSTR:", "BSTR:", "R8:5.5", "BSTR:"}),
              Row(record, 5));
    EXPECT_EQ(WithEmpties({Date(repair), "BSTR:Repair", "I4:11000", "BSTR:Garage", "BSTR:Oil change (Garage)",
                           "BSTR:", "BSTR:", "R8:120", "BSTR:"}),
              Row(record, 6));
    EXPECT_EQ(Strings(15, "-"), Row(record, 7)) << "the van's entry is not exported";
    for (const excel_double::RecordCell& cell : record.cells) {
        if (cell.ref == L"A1") continue;
        EXPECT_EQ(9, cell.size) << std::string(cell.ref.begin(), cell.ref.end());
        EXPECT_EQ(cell.ref.substr(1) == L"3", cell.bold) << "only the header is bold";
    }

    EXPECT_EQ(L"[$-409]d-mmm-yy;@", Format(record, L"A"));
    EXPECT_EQ(L"-", Format(record, L"B"));
    EXPECT_EQ(L"#,##0", Format(record, L"C"));
    EXPECT_EQ(L"0.00", Format(record, L"F"));
    EXPECT_EQ(L"$#,##0.00", Format(record, L"G"));
    EXPECT_EQ(L"$#,##0.00", Format(record, L"H"));
    EXPECT_EQ(L"-", Format(record, L"I"));
    const wchar_t* columns[] = {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I"};
    for (const wchar_t* column : columns)
        EXPECT_EQ(*column == L'A' || *column == L'I' ? 0 : 1, AutoFits(record, column)) << *column;

    std::vector<const excel_double::RecordCall*> invokes = record.Invokes();
    ASSERT_EQ(50u + 4 * 3, invokes.size());
    EXPECT_EQ(L"Visible", invokes.back()->member);
    EXPECT_EQ("[I4:1]", invokes.back()->line.substr(invokes.back()->line.find("args=") + 5, 6));
    EXPECT_TRUE(record.visible);
    for (const wchar_t* name : {L"Quit", L"Close", L"Save", L"SaveAs"}) EXPECT_FALSE(record.AskedFor(name)) << name;
    EXPECT_EQ(L"released", record.endReason) << std::string(record.heldObjects.begin(), record.heldObjects.end());
    EXPECT_EQ(0, record.held);
}

TEST_F(ExcelExportTest, OneTripAnywhereGivesEveryRowTheTripColumnsWithTheirFormats)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    double trip =
        Add(car, CEntry::etTrip, 2, 12100, 15.0f, L"Business", L"Client visit", L"Met\tthem", 11950.0f, 12100.0f);
    double repair = Add(car, CEntry::etRepair, 1, 12100, 80.0f, L"Garage", L"Brakes", L"Front");
    CExcelDoubleScope excel;
    Open(car);
    CExcelRecord record;
    ExportQuietly(excel, &record);

    EXPECT_EQ(WithEmpties({"BSTR:Date", "BSTR:Type", "BSTR:Odometer", "BSTR:Vendor", "BSTR:Description",
                           "BSTR:Fuel Qty.", "BSTR:Fuel Price", "BSTR:Amount", "BSTR:Start Odometer",
                           "BSTR:End Odometer", "BSTR:Category", "BSTR:Notes"}),
              Row(record, 3));
    EXPECT_EQ("BSTR:", Row(record, 4)[8]) << "no trip: empty trip cells";
    EXPECT_EQ("BSTR:", Row(record, 4)[10]);
    EXPECT_EQ(WithEmpties({Date(trip), "BSTR:Trip", "I4:12100", "BSTR:", "BSTR:Client visit (Business)",
                           "BSTR:", "BSTR:", "R8:15", "I4:11950", "I4:12100", "BSTR:Business", "BSTR:Met them"}),
              Row(record, 5));
    EXPECT_EQ(WithEmpties({Date(repair), "BSTR:Repair", "I4:12100", "BSTR:Garage", "BSTR:Brakes (Garage)",
                           "BSTR:", "BSTR:", "R8:80", "BSTR:", "BSTR:", "BSTR:", "BSTR:Front"}),
              Row(record, 6));
    EXPECT_EQ(L"#,##0", Format(record, L"I"));
    EXPECT_EQ(L"#,##0", Format(record, L"J"));
    EXPECT_EQ(L"-", Format(record, L"K"));
    for (const wchar_t* column : {L"I", L"J", L"K"}) EXPECT_EQ(1, AutoFits(record, column)) << *column;
    EXPECT_EQ(0, AutoFits(record, L"L"));
    EXPECT_EQ(65u + 4 * 3, record.Invokes().size());
    EXPECT_EQ(0, record.held);
}

TEST_F(ExcelExportTest, ValuesArriveAsStoredAndTheViewFilterChoosesTheRows)
{
    double fuel = Add(car, CEntry::etFuel, 2, 11950, 0.35f, L"", L"", L"", 0.1f, 3.5f);
    Add(car, CEntry::etTrip, 1, 1300, 0.0f, L"", L"Out", L"a\r\nb\tc", 1234.9f, -7.9f);
    Add(car, CEntry::etFuel, 20, 11000, 30.0f, L"", L"", L"", 10.0f, 3.0f);
    Add(car, CEntry::etRepair, 1, 11990, 99.99f, L"", L"Wipers");
    CExcelDoubleScope excel;
    Open(car);

    CExcelRecord all;
    ExportQuietly(excel, &all);
    EXPECT_EQ("R8:0.10000000149011612", Row(all, 4)[5]) << "the float widened as it is";
    EXPECT_EQ("R8:3.5", Row(all, 4)[6]);
    EXPECT_EQ("R8:0.34999999403953552", Row(all, 4)[7]);
    EXPECT_EQ("I4:1234", Row(all, 5)[8]) << "truncated";
    EXPECT_EQ("I4:-7", Row(all, 5)[9]) << "truncated toward zero";
    EXPECT_EQ("BSTR:a \nb c", Row(all, 5)[11]) << "carriage returns and tabs become blanks";
    EXPECT_EQ("R8:99.989997863769531", Row(all, 7)[7]);

    // Fuel of the last week: the row of 2 days ago alone, and no trip columns.
    Command(ID_VIEW_FUEL);
    Command(ID_VIEW_LAST_WEEK);
    CExcelRecord fuelOfTheWeek;
    ExportQuietly(excel, &fuelOfTheWeek);
    EXPECT_EQ(Date(fuel), Row(fuelOfTheWeek, 4)[0]);
    EXPECT_EQ(Strings(15, "-"), Row(fuelOfTheWeek, 5));
    EXPECT_EQ("BSTR:Notes", Row(fuelOfTheWeek, 3)[8]);
    EXPECT_EQ(50u + 4, fuelOfTheWeek.Invokes().size());
}

TEST_F(ExcelExportTest, TextsExcelWouldReadAsFormulasNumbersOrDatesGoWithExcelsTextMark)
{
    // What a handheld or a user may have typed: Excel would run formulas, take numbers, dates,
    // times, percentages, amounts, truth values, and drop a leading apostrophe. The captions
    // built around such texts are plain texts.
    unsigned long odd = CVehicleRecord(L"=HYPERLINK(\"http://example.com\")").Year(2001).Save(db.Db());
    Add(odd, CEntry::etFuel, 6, 100, 30.0f, L"+Shell", L"", L"-rotate tires\n-check the oil", 10.0f, 3.0f);
    Add(odd, CEntry::etExpense, 5, 110, 5.0f, L"3/4", L"Parking", L"12:30");
    Add(odd, CEntry::etTrip, 3, 300, 9.0f, L"@work", L"1e5", L"'quoted", 200.0f, 300.0f);
    Add(odd, CEntry::etRepair, 2, 310, 80.0f, L"", L"$5", L"50%");
    Add(odd, CEntry::etRepair, 1, 320, 10.0f, L"TRUE", L"Oil change", L"Changed at 12:30, 3/4 of the way");
    CExcelDoubleScope excel;
    Open(odd);
    CExcelRecord record;
    ExportQuietly(excel, &record);

    EXPECT_EQ("BSTR:'=HYPERLINK(\"http://example.com\") (2001)", ValueText(record.Cell(L"A1")->value));
    // Vendor, description, category and notes of each row (D, E, K, L).
    auto texts = [&](int row) {
        Strings cells = Row(record, row);
        return Strings{cells[3], cells[4], cells[10], cells[11]};
    };
    EXPECT_EQ(
        (Strings{"BSTR:'+Shell", "BSTR:10.00 gal @ $3.00 (+Shell)", "BSTR:", "BSTR:'-rotate tires\n-check the oil"}),
        texts(4));
    EXPECT_EQ((Strings{"BSTR:'3/4", "BSTR:Parking (3/4)", "BSTR:", "BSTR:'12:30"}), texts(5));
    EXPECT_EQ((Strings{"BSTR:", "BSTR:1e5 (@work)", "BSTR:'@work", "BSTR:''quoted"}), texts(6));
    EXPECT_EQ((Strings{"BSTR:", "BSTR:'$5", "BSTR:", "BSTR:'50%"}), texts(7));
    EXPECT_EQ((Strings{"BSTR:'TRUE", "BSTR:Oil change (TRUE)", "BSTR:", "BSTR:Changed at 12:30, 3/4 of the way"}),
              texts(8));
}

// What reads as a number or a date is the user's locale's to say, as it is for Excel.
TEST(ExcelCellText, NumbersAndDatesAreReadInTheLocaleGiven)
{
    const LCID us = MAKELCID(0x0409, SORT_DEFAULT), german = MAKELCID(0x0407, SORT_DEFAULT);
    for (const wchar_t* germanOnly : {L"31.12.2020", L"5,5 \u20ac"}) {
        EXPECT_EQ(L"'" + std::wstring(germanOnly), std::wstring(ExcelCellText(germanOnly, german)));
        EXPECT_EQ(germanOnly, std::wstring(ExcelCellText(germanOnly, us)));
    }
    EXPECT_EQ(L"'$5", std::wstring(ExcelCellText(L"$5", us)));
    EXPECT_EQ(L"$5", std::wstring(ExcelCellText(L"$5", german)));
    EXPECT_EQ(L"'1e5", std::wstring(ExcelCellText(L"1e5", german)));
    EXPECT_EQ(L"'#n/a", std::wstring(ExcelCellText(L"#n/a", german)));
}

TEST_F(ExcelExportTest, FormatsFollowTheSettings)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    CExcelDoubleScope excel;
    Open(car);

    g_AppSettings.ExcelFormatCells = 0;
    CExcelRecord record;
    ExportQuietly(excel, &record);
    EXPECT_TRUE(record.Invokes(L"NumberFormat").empty());
    EXPECT_EQ(35u + 4, record.Invokes().size());

    g_AppSettings.ExcelFormatCells = 1;
    g_AppSettings.ExcelFmt_Currency = L"";
    g_AppSettings.ExcelFmt_Float = L"0.000";
    ExportQuietly(excel, &record);
    EXPECT_EQ(L"-", Format(record, L"G")) << "an empty format leaves General";
    EXPECT_EQ(L"-", Format(record, L"H"));
    EXPECT_EQ(L"0.000", Format(record, L"F"));
    EXPECT_EQ(L"#,##0", Format(record, L"C"));
    EXPECT_EQ(3u, record.Invokes(L"NumberFormat").size());
}

TEST_F(ExcelExportTest, NothingToExportSaysSoWithoutStartingExcel)
{
    Add(van, CEntry::etFuel, 5, 79900, 60.0f, L"Esso", L"", L"", 20.0f, 3.0f);
    CExcelDoubleScope excel;
    Open(car);
    ExportRun run = Export();
    EXPECT_TRUE(run.ended);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(
        L"No entries are currently available for exporting. Select a different vehicle, change your View "
        L"criteria, or create some new entries that can be exported.",
        run.boxes[0]);
    EXPECT_EQ(LoadIconW(nullptr, IDI_INFORMATION), run.icons[0]);
    EXPECT_EQ(0u, excel.Started());
}

TEST_F(ExcelExportTest, WithoutExcelTheUserIsToldAndANewExportRunsAfterwards)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    Open(car);
    const std::wstring missing =
        L"Unable to export data. Please verify that Microsoft Excel is installed on this computer.";
    excel_double::UnregisterExcelDouble();
    ExportRun unregistered = Export();
    EXPECT_TRUE(unregistered.ended);
    ASSERT_EQ(1u, unregistered.boxes.size());
    EXPECT_EQ(missing, unregistered.boxes[0]);
    EXPECT_EQ(LoadIconW(nullptr, IDI_EXCLAMATION), unregistered.icons[0]);

    ASSERT_TRUE(excel_double::RegisterExcelServerCommand(L"\"C:\\nowhere\\EXCEL.EXE\" /automation"));
    ExportRun notThere = Export();
    EXPECT_TRUE(notThere.ended);
    ASSERT_EQ(1u, notThere.boxes.size());
    EXPECT_EQ(missing, notThere.boxes[0]);

    CExcelDoubleScope excel;
    CExcelRecord record;
    ExportQuietly(excel, &record);
    EXPECT_TRUE(record.visible);
}

TEST_F(ExcelExportTest, FailingCallsAndAnExcelThatGoesAwayEndTheExportQuietly)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    Add(car, CEntry::etRepair, 2, 11960, 10.0f, L"", L"Bulb");
    Open(car);
    {
        CExcelDoubleScope excel(L"-failmember AutoFit");
        CExcelRecord record;
        ExportQuietly(excel, &record);
        std::vector<const excel_double::RecordCall*> fits = record.Invokes(L"AutoFit");
        ASSERT_EQ(7u, fits.size());
        for (const excel_double::RecordCall* fit : fits) EXPECT_TRUE(fit->failedAsAsked);
        EXPECT_TRUE(record.visible) << "the calls after a failure go on";
        EXPECT_EQ(0, record.held);
    }
    {
        // Without the sheet every call on it, its ranges and their fonts is skipped: Excel is
        // still shown, and nothing is left referenced.
        CExcelDoubleScope excel(L"-fail 3");
        CExcelRecord record;
        ExportQuietly(excel, &record);
        std::vector<const excel_double::RecordCall*> invokes = record.Invokes();
        ASSERT_EQ(4u, invokes.size());
        EXPECT_EQ(L"ActiveSheet", invokes[2]->member);
        EXPECT_TRUE(invokes[2]->failedAsAsked);
        EXPECT_EQ(L"Visible", invokes[3]->member);
        EXPECT_TRUE(record.visible);
        EXPECT_EQ(L"released", record.endReason);
        EXPECT_EQ(0, record.held);
    }
    {
        CExcelDoubleScope excel(L"-exitafter 20");
        DWORD start = GetTickCount();
        CExcelRecord record;
        ExportQuietly(excel, &record);
        EXPECT_LT(GetTickCount() - start, 20000u);
        EXPECT_TRUE(record.exited);
        EXPECT_EQ(20u, record.Invokes().size());
    }
    CExcelDoubleScope excel;
    CExcelRecord record;
    ExportQuietly(excel, &record);
    EXPECT_EQ(58u, record.Invokes().size());
}

TEST_F(ExcelExportTest, OneExportAtATimeAndNoneWithoutAnActiveVehicle)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    CExcelDoubleScope excel;
    Open(0);
    Command(ID_TOOLS_EXPORT);
    EXPECT_EQ(0, CExcelExportJob::Alive());
    CloseFrame(frame);

    Open(car);
    Command(ID_TOOLS_EXPORT);
    Command(ID_TOOLS_EXPORT);
    EXPECT_EQ(1, CExcelExportJob::Alive());
    ExportRun run;
    Finish(&run);
    EXPECT_TRUE(run.ended);
    std::vector<CExcelRecord> records;
    ASSERT_TRUE(excel.Records(1, &records));
    EXPECT_EQ(1u, records.size());

    // An active vehicle that the list does not hold (gone from the file): nothing, silently.
    g_AppSettings.LastActiveVehicle = van + 100;
    Command(ID_TOOLS_EXPORT);
    EXPECT_EQ(0, CExcelExportJob::Alive());
    EXPECT_EQ(1u, excel.Started());
}

TEST_F(ExcelExportTest, TheTitleNamesTheActiveVehicleNotTheSelectedRow)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    Add(van, CEntry::etFuel, 5, 79900, 60.0f, L"Esso", L"", L"", 20.0f, 3.0f);
    CExcelDoubleScope excel;
    Open(car);
    HWND vehicles = FindControl(*frame, IDC_VEHICLE_LIST);
    SelectRows(vehicles, {FindRow(vehicles, L"Van (1999)")});  // selected, as the arrow keys do, not active
    CExcelRecord record;
    ExportQuietly(excel, &record);
    EXPECT_EQ("BSTR:Family Car (2002)", ValueText(record.Cell(L"A1")->value));
    EXPECT_EQ("I4:11950", Row(record, 4)[2]);
}

TEST_F(ExcelExportTest, ClosingTheWindowWhileExcelStartsLetsTheExportFinishAlone)
{
    Add(car, CEntry::etFuel, 3, 11950, 30.0f, L"Shell", L"", L"", 10.0f, 3.0f);
    CExcelDoubleScope excel(L"-startdelay 1500");
    Open(car);
    Command(ID_TOOLS_EXPORT);
    DWORD start = GetTickCount();
    while (excel.Started() == 0 && GetTickCount() - start < 20000) Sleep(10);
    ASSERT_EQ(1u, excel.Started());
    // The window, the frame object and the database connection go while Excel is starting.
    CloseFrame(frame);
    ExportRun run;
    Finish(&run);
    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.boxes.empty());
    CExcelRecord record;
    ASSERT_TRUE(excel.Record(&record));
    EXPECT_EQ("BSTR:Family Car (2002)", ValueText(record.Cell(L"A1")->value));
    EXPECT_TRUE(record.visible);
    EXPECT_EQ(0, record.held);
}

}  // namespace
