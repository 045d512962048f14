// Autolark.exe exporting the sample database to the Excel double, both as processes of their own
// under the test prefix: the program is driven as a user drives it (the command from the menu),
// and the workbook is checked against the database.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "ExcelTestSupport.h"
#include "resources/desktop/resource.h"
#include "tests/mainframe/MainFrameTestSupport.h"
#include "tests/support/ProgramDriver.h"

using namespace alk_excel_test;
using namespace alk_mainframe_test;

namespace {

TEST(ExcelExportProgram, TheProgramExportsTheActiveVehicleOfTheSampleDatabase)
{
    DeleteSettingsKey();
    std::wstring sample = TempFile(L"excel-sample");
    CProgramDriver tool;
    ASSERT_TRUE(tool.Start(WinePathW(ALK_SAMPLE_TOOL_PATH), L"\"" + sample + L"\""));
    ASSERT_EQ(0, tool.Wait(60000));

    // The second vehicle and its entries in storage order, as the export should show them.
    std::wstring caption;
    unsigned long vehicle = 0;
    std::vector<double> dates;
    bool trips = false;
    {
        CDataLayer db;
        ASSERT_EQ(CDataLayer::csConnected, db.Connect(sample.c_str()));
        CObjectListT<CVehicle> vehicles;
        ASSERT_TRUE(db.Load(&vehicles));
        ASSERT_GE(vehicles.GetCount(), 2);
        vehicle = vehicles.Get(1)->GetRefID();
        caption = std::wstring(vehicles.Get(1)->GetName()) + L" (" + std::to_wstring(vehicles.Get(1)->GetYear()) + L")";
        CEntryFilter filter;
        filter.SetVehicleID(vehicle);
        CObjectListT<CEntry> entries;
        ASSERT_TRUE(db.Load(&entries, &filter));
        for (int i = 0; i < entries.GetCount(); ++i) {
            dates.push_back(entries.Get(i)->GetDate());
            trips = trips || entries.Get(i)->GetType() == CEntry::etTrip;
        }
        db.Disconnect();
    }
    ASSERT_GT(dates.size(), 10u);
    RememberDatabase(sample, vehicle);

    CExcelDoubleScope excel;
    CProgramDriver program;
    ASSERT_TRUE(program.Start(WinePathW(ALK_PROGRAM_PATH)));
    HWND main = program.WaitForMainWindow(
        [&](HWND window) { return RowCount(FindControl(window, IDC_ENTRY_LIST)) == static_cast<int>(dates.size()); },
        30000);
    ASSERT_NE(nullptr, main) << "the program did not show the vehicle's entries";

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_TOOLS_EXPORT, 0), 0);
    excel_double::CExcelRecord record;
    ASSERT_TRUE(excel.Record(&record));
    EXPECT_EQ(L"released", record.endReason);
    ASSERT_NE(nullptr, record.Cell(L"A1"));
    EXPECT_EQ(caption, record.Cell(L"A1")->value.text);
    EXPECT_EQ(L"Notes", record.Cell(trips ? L"L3" : L"I3")->value.text);
    for (size_t i = 0; i < dates.size(); ++i) {
        const excel_double::RecordCell* date = record.Cell(excel_double::CellName(static_cast<int>(i) + 4, 1).c_str());
        ASSERT_NE(nullptr, date) << "row " << i + 4;
        EXPECT_EQ(VT_DATE, date->value.type);
        EXPECT_EQ(dates[i], date->value.number) << "row " << i + 4;
    }
    EXPECT_EQ(nullptr, record.Cell(excel_double::CellName(static_cast<int>(dates.size()) + 4, 1).c_str()));
    EXPECT_EQ((trips ? 65u : 50u) + 4 * dates.size(), record.Invokes().size());
    EXPECT_TRUE(record.visible);

    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";
    DeleteSettingsKey();
    DeleteFileW(sample.c_str());
}

}  // namespace
