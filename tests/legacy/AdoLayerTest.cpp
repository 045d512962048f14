// The ADO access layer (CADODataBase, CADORecordset) of the Legacy library, linked statically,
// against the ADO double registered in the test prefix: every getter over every column type the
// double serves, NULL and EMPTY included; how Open takes its query for each option, as the
// double's journal shows the calls; error texts; the row operations' errors; COM initialisation.
#include <windows.h>

#include <objbase.h>

#include <cmath>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "AdoDoubleSupport.h"
#include "legacy/ADODataBase.h"
#include "legacy/ADORecordset.h"
#include "legacy/Trigger.h"
#include "legacy/VehicleEvent.h"
#include "legacy/VehicleObject.h"
#include "tests/support/TestFiles.h"

namespace {

const bool g_registered = RegisterAdoDouble();

std::wstring Jet(const std::wstring& path)
{
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + path + L"'";
}

class AdoLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_registered);
        // One row of every type, one of NULLs, and decimals that need the high 32 bits.
        ASSERT_TRUE(m_file.Create(m_path));
        ASSERT_TRUE(m_file.Exec(
            "CREATE TABLE Types (Id LONG, B BYTE, S SHORT, L LONG, F SINGLE, D DOUBLE, C CURRENCY, T DATETIME,"
            " X TEXT(20), M MEMO, Y BIT, N DECIMAL(28,4), E EMPTY);"
            "INSERT INTO Types VALUES (1, 200, -1234, -70000, 12.5, -2.25, '12.3456', 38047.75, 'abc', 'long memo',"
            " 1, CAST('-12.50' AS BLOB), 5);"
            "INSERT INTO Types VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
            "INSERT INTO Types (Id, N, D, T) VALUES (3, CAST('79228162514264337593543950335' AS BLOB), 0.1,"
            " '2004-03-01');"
            "INSERT INTO Types (Id, N, D) VALUES (4, CAST('-18446744073709551616' AS BLOB), 123456789012.0);"
            "INSERT INTO Types (Id, N) VALUES (5, CAST('0.0000000000000000000000000001' AS BLOB));"
            "INSERT INTO Types (Id, N) VALUES (6, 2.5);"
            "CREATE VIEW TypesQuery AS SELECT Id, X FROM Types WHERE Id <= 2;"));
        m_file.Close();
        ASSERT_TRUE(m_db.Open(Jet(m_path).c_str())) << m_db.GetLastErrorText();
    }

    // Opens the Types table on row id.
    void OpenRow(CADORecordset& rows, int id)
    {
        ASSERT_TRUE(rows.Open((L"SELECT * FROM Types WHERE Id = " + std::to_wstring(id)).c_str()))
            << rows.GetLastErrorText();
    }

    CScratchFolder m_folder{L"alk-ado"};
    std::wstring m_path = m_folder.File(L"types.mdb");
    COldDataFile m_file;
    CADODataBase m_db;
};

// What each getter makes of one column of the first row: its result and the value read.
struct Expected {
    const wchar_t* column;
    BOOL doubleRead;
    double doubleValue;
    BOOL longRead;
    long longValue;
    BOOL intRead;
    int intValue;
    const wchar_t* text;  // null: the text read answers FALSE with the empty text
};

TEST_F(AdoLayer, EveryGetterOverEveryColumnTypeConvertsByValue)
{
    // clang-format off
    const Expected table[] = {
        // column  double             long                int              text
        {L"B", TRUE, 200,       TRUE, 200,       TRUE, 200,   L"200"},
        {L"S", TRUE, -1234,     TRUE, -1234,     TRUE, -1234, L"-1234"},
        {L"L", TRUE, -70000,    TRUE, -70000,    FALSE, 0,    L"-70000"},
        {L"F", TRUE, 12.5,      TRUE, 12,        FALSE, 0,    L"12.5"},
        {L"D", TRUE, -2.25,     TRUE, -2,        FALSE, 0,    L"-2.25"},
        {L"C", TRUE, 12.3456,   TRUE, 12,        FALSE, 0,    nullptr},
        {L"T", TRUE, 38047.75,  FALSE, 0,        FALSE, 0,    L"2004-03-01 18:00:00"},
        {L"X", FALSE, 0,        FALSE, 0,        FALSE, 0,    L"abc"},
        {L"M", FALSE, 0,        FALSE, 0,        FALSE, 0,    L"long memo"},
        {L"Y", TRUE, -1,        TRUE, -1,        TRUE, -1,    nullptr},
        {L"N", TRUE, -12.5,     TRUE, -12,       FALSE, 0,    nullptr},
        {L"E", TRUE, 0,         TRUE, 0,         TRUE, 0,     L""},
    };
    // clang-format on
    CADORecordset rows(&m_db);
    OpenRow(rows, 1);
    for (const Expected& e : table) {
        SCOPED_TRACE(e.column);
        // Every target starts with a value the conversion must replace.
        double d = 99;
        long l = 99;
        int i = 99;
        float f = 99;
        std::wstring text = L"before";
        EXPECT_EQ(e.doubleRead, rows.GetFieldValue(e.column, d));
        EXPECT_EQ(e.doubleValue, d);
        EXPECT_EQ(e.longRead, rows.GetFieldValue(e.column, l));
        EXPECT_EQ(e.longValue, l);
        EXPECT_EQ(e.intRead, rows.GetFieldValue(e.column, i));
        EXPECT_EQ(e.intValue, i);
        EXPECT_EQ(e.doubleRead, rows.GetFieldValue(e.column, f));
        EXPECT_EQ(static_cast<float>(e.doubleValue), f);
        EXPECT_EQ(e.text ? TRUE : FALSE, rows.GetFieldValue(e.column, text));
        EXPECT_EQ(e.text ? e.text : L"", text);
        // Only a date column gives a date; anything else leaves the target as it was.
        COleDateTime date(1234.5);
        const bool isDate = std::wstring(e.column) == L"T" || std::wstring(e.column) == L"E";
        EXPECT_EQ(isDate ? TRUE : FALSE, rows.GetFieldValue(e.column, date));
        EXPECT_EQ(e.column == std::wstring(L"T") ? 38047.75 : 1234.5, date.m_dt);
    }
}

TEST_F(AdoLayer, NullColumnsGiveZeroAndEmptyTextAndLeaveADate)
{
    CADORecordset rows(&m_db);
    OpenRow(rows, 2);
    for (const wchar_t* column : {L"B", L"S", L"L", L"F", L"D", L"C", L"T", L"X", L"M", L"Y", L"N"}) {
        SCOPED_TRACE(column);
        double d = 99;
        long l = 99;
        int i = 99;
        float f = 99;
        std::wstring text = L"before";
        COleDateTime date(1234.5);
        date.SetStatus(COleDateTime::null);
        EXPECT_TRUE(rows.GetFieldValue(column, d));
        EXPECT_EQ(0, d);
        EXPECT_TRUE(rows.GetFieldValue(column, l));
        EXPECT_EQ(0, l);
        EXPECT_TRUE(rows.GetFieldValue(column, i));
        EXPECT_EQ(0, i);
        EXPECT_TRUE(rows.GetFieldValue(column, f));
        EXPECT_EQ(0, f);
        EXPECT_TRUE(rows.GetFieldValue(column, text));
        EXPECT_EQ(L"", text);
        EXPECT_TRUE(rows.GetFieldValue(column, date));
        EXPECT_EQ(1234.5, date.m_dt);
        EXPECT_EQ(COleDateTime::null, date.GetStatus());
    }
}

TEST_F(AdoLayer, DecimalsUseTheirSignAndAllNinetySixBits)
{
    CADORecordset rows(&m_db);
    double value = 0;
    OpenRow(rows, 3);
    EXPECT_TRUE(rows.GetFieldValue(L"N", value));
    EXPECT_EQ(79228162514264337593543950335.0, value);
    long big = 7;
    EXPECT_FALSE(rows.GetFieldValue(L"N", big)) << "does not fit in 32 bits";
    EXPECT_EQ(0, big);
    OpenRow(rows, 4);
    EXPECT_TRUE(rows.GetFieldValue(L"N", value));
    EXPECT_EQ(-18446744073709551616.0, value);
    OpenRow(rows, 5);
    EXPECT_TRUE(rows.GetFieldValue(L"N", value));
    EXPECT_DOUBLE_EQ(1e-28, value);
    OpenRow(rows, 6);
    EXPECT_TRUE(rows.GetFieldValue(L"N", value));
    EXPECT_EQ(2.5, value);
}

TEST_F(AdoLayer, TextOfNumbersAndDatesAsTheOldVersionWroteThem)
{
    CADORecordset rows(&m_db);
    std::wstring text;
    OpenRow(rows, 3);
    EXPECT_TRUE(rows.GetFieldValue(L"T", text));
    EXPECT_EQ(L"2004-03-01 00:00:00", text);
    EXPECT_TRUE(rows.GetFieldValue(L"D", text));
    EXPECT_EQ(L"0.1", text);
    OpenRow(rows, 4);
    // Ten significant digits, the rest rounded away; exponent form past them.
    EXPECT_TRUE(rows.GetFieldValue(L"D", text));
    EXPECT_EQ(0u, text.find(L"1.23456789")) << std::string(text.begin(), text.end());
    EXPECT_NE(std::wstring::npos, text.find(L"e+")) << std::string(text.begin(), text.end());
}

TEST_F(AdoLayer, ColumnNamesIgnoreCaseAndAMissingOneKeepsAQueryError)
{
    CADORecordset rows(&m_db);
    OpenRow(rows, 1);
    long value = 0;
    EXPECT_TRUE(rows.GetFieldValue(L"l", value));
    EXPECT_EQ(-70000, value);
    value = 5;
    EXPECT_FALSE(rows.GetFieldValue(L"Nonesuch", value));
    EXPECT_EQ(5, value) << "a column that cannot be read leaves the target";
    EXPECT_EQ(static_cast<HRESULT>(0x800A0CC1), rows.GetLastError());
    EXPECT_EQ(
        L"Query = SELECT * FROM Types WHERE Id = 1\nCADORecordset Error\n\tCode = 800a0cc1\n\tCode meaning = " +
            ErrorMeaning(0x800A0CC1) +
            L"\n\tSource = ADODB.Fields\n\tDescription = Item cannot be found in the collection corresponding to the "
            L"requested name or ordinal.\n",
        rows.GetLastErrorText());
}

TEST_F(AdoLayer, OpenTakesSelectInAnyCaseAndEachOptionItsOwnRoad)
{
    CJournal journal(m_folder.File(L"journal.txt"));
    CADORecordset rows(&m_db);
    long id = 0;

    ASSERT_TRUE(rows.Open(L"Select * from Types WHERE Id = 2", CADORecordset::openTable));
    EXPECT_GE(journal.Find(L"Recordset.CursorLocation = 3"), 0);
    EXPECT_GE(journal.Find(L"Recordset.CursorType = 3"), 0);
    EXPECT_GE(journal.Find(L"Recordset.Open(\"Select * from Types WHERE Id = 2\", Connection, 3, 3, 8)"), 0);
    EXPECT_TRUE(rows.GetFieldValue(L"Id", id));
    EXPECT_EQ(2, id);

    // A query that is no select statement goes as text only with option 1.
    ASSERT_TRUE(rows.Open(L"Types", CADORecordset::openQuery));
    EXPECT_GE(journal.Find(L"Recordset.Close"), 0) << "an open recordset is closed first";
    EXPECT_GE(journal.Find(L"Recordset.Open(\"Types\", Connection, 3, 3, 8)"), 0);

    ASSERT_TRUE(rows.Open(L"Types", CADORecordset::openTable));
    EXPECT_GE(journal.Find(L"Recordset.Open(\"Types\", Connection, 1, 3, 2)"), 0);
    EXPECT_TRUE(rows.GetFieldValue(L"Id", id));
    EXPECT_EQ(1, id);

    ASSERT_TRUE(rows.Open(L"TypesQuery", CADORecordset::openStoredProc)) << rows.GetLastErrorText();
    EXPECT_GE(journal.Find(L"Command.ActiveConnection = Connection"), 0);
    EXPECT_GE(journal.Find(L"Command.CommandText = \"TypesQuery\""), 0);
    EXPECT_GE(journal.Find(L"Command.CommandType = 4"), 0);
    EXPECT_GE(journal.Find(L"Command.Execute"), 0);
    std::wstring text;
    EXPECT_TRUE(rows.GetFieldValue(L"X", text));
    EXPECT_EQ(L"abc", text);

    journal.Clear();
    EXPECT_FALSE(rows.Open(L"Types", 7));
    EXPECT_EQ(-1, journal.FindPrefix(L"Recordset.Open(")) << "another option opens nothing";
}

TEST_F(AdoLayer, RowsAreReadToTheirEndAndTheRowOperationsReportErrors)
{
    CADORecordset rows(&m_db);
    ASSERT_TRUE(rows.Open(L"SELECT Id FROM Types ORDER BY Id"));
    long sum = 0;
    int count = 0;
    for (;;) {
        BOOL eof = TRUE;
        ASSERT_EQ(S_OK, rows.IsEOF(&eof));
        if (eof) break;
        long id = 0;
        rows.GetFieldValue(L"Id", id);
        sum += id;
        ++count;
        ASSERT_EQ(S_OK, rows.MoveNext());
    }
    EXPECT_EQ(6, count);
    EXPECT_EQ(21, sum);
    EXPECT_EQ(static_cast<HRESULT>(0x800A0BCD), rows.MoveNext()) << "no current record";
    long id = 3;
    EXPECT_FALSE(rows.GetFieldValue(L"Id", id));
    EXPECT_EQ(3, id);
    EXPECT_EQ(S_OK, rows.Close());
    EXPECT_FALSE(rows.IsOpen());
    BOOL eof = FALSE;
    EXPECT_EQ(static_cast<HRESULT>(0x800A0E78), rows.IsEOF(&eof)) << "closed";
    EXPECT_FALSE(rows.Open(L"SELECT * FROM Nowhere"));
    EXPECT_EQ(0u,
              rows.GetLastErrorText().find(L"Query = SELECT * FROM Nowhere\nCADORecordset Error\n\tCode = 80040e37"));
}

TEST_F(AdoLayer, ConnectionErrorsKeepTheConnectionString)
{
    CADODataBase other;
    const std::wstring missing = Jet(m_folder.File(L"missing.mdb"));
    EXPECT_FALSE(other.Open(missing.c_str()));
    EXPECT_FALSE(other.IsOpen());
    EXPECT_EQ(E_FAIL, other.GetLastError());
    EXPECT_EQ(L"Connection String = " + missing + L"\nCADODataBase Error\n\tCode = 80004005\n\tCode meaning = " +
                  ErrorMeaning(E_FAIL) +
                  L"\n\tSource = Microsoft JET Database Engine\n\tDescription = Could not find file '" +
                  m_folder.File(L"missing.mdb") + L"'.\n",
              other.GetLastErrorText());

    EXPECT_FALSE(other.Open(L"Provider=SQLOLEDB;Data Source=x"));
    EXPECT_EQ(0u, other.GetLastErrorText().find(L"Connection String = Provider=SQLOLEDB;Data Source=x\nCADODataBase "
                                                L"Error\n\tCode = 800a0e7a\n"));

    // An empty string opens the one kept from before.
    CJournal journal(m_folder.File(L"journal.txt"));
    EXPECT_FALSE(other.Open(L""));
    EXPECT_GE(journal.Find(L"Connection.Open(\"Provider=SQLOLEDB;Data Source=x\", \"\", \"\", 0) -> 800a0e7a"), 0);
    EXPECT_TRUE(other.Open(Jet(m_path).c_str()));
    EXPECT_TRUE(other.IsOpen());
    EXPECT_EQ(S_OK, other.Close());
    EXPECT_FALSE(other.IsOpen());
}

TEST_F(AdoLayer, OnlyTheDoublesOwnFilesOpen)
{
    const std::wstring text = m_folder.File(L"notes.mdb");
    HANDLE file = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "not a database at all", 21, &written, nullptr);
    CloseHandle(file);
    CADODataBase other;
    EXPECT_FALSE(other.Open(Jet(text).c_str()));
    EXPECT_NE(std::wstring::npos,
              other.GetLastErrorText().find(L"Description = Unrecognized database format '" + text));

    // An SQLite file without the double's application id is foreign too.
    COldDataFile foreign;
    const std::wstring path = m_folder.File(L"foreign.mdb");
    ASSERT_TRUE(foreign.Create(path));
    ASSERT_TRUE(foreign.Exec("PRAGMA application_id = 0"));
    foreign.Close();
    EXPECT_FALSE(other.Open(Jet(path).c_str()));
    EXPECT_NE(std::wstring::npos, other.GetLastErrorText().find(L"Unrecognized database format"));
}

TEST(OldRecords, KnowTheirClassesAndStartFromTheOldDefaults)
{
    __CVehicleObject vehicle;
    __CVehicleEvent event;
    __CTrigger trigger;
    EXPECT_STREQ("__CVehicleObject", vehicle.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(vehicle.IsKindOf(RUNTIME_CLASS(__CBaseObject)));
    EXPECT_TRUE(event.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(trigger.IsKindOf(RUNTIME_CLASS(__CVehicleEvent)));
    EXPECT_EQ(-1, vehicle.m_id);
    EXPECT_EQ(2002, vehicle.m_Year);
    EXPECT_EQ(25000, vehicle.m_Odometer);
    EXPECT_EQ(-1, event.m_VehicleId);
    EXPECT_EQ(-1, event.m_TriggerId);
    EXPECT_EQ(-1, trigger.m_VehicleId);
    // Dates default to the local time of construction.
    EXPECT_EQ(COleDateTime::valid, trigger.m_TargetDate.GetStatus());
    EXPECT_LT(std::fabs(trigger.m_TargetDate.m_dt - COleDateTime::Now().m_dt), 1.0 / 24);
    vehicle.m_Year = 1970;
    vehicle.m_VIN = L"X";
    vehicle.Reset();
    EXPECT_EQ(2002, vehicle.m_Year);
    EXPECT_EQ(L"", vehicle.m_VIN);
}

TEST(AdoComApartment, ComIsUninitialisedOnlyWhenTheConstructorInitialisedIt)
{
    ASSERT_TRUE(g_registered);
    HRESULT afterFresh = E_FAIL, firstMulti = E_FAIL, afterMulti = E_FAIL;
    std::thread fresh([&] {
        {
            CADODataBase database;
        }
        afterFresh = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(afterFresh)) CoUninitialize();
    });
    fresh.join();
    EXPECT_EQ(S_OK, afterFresh) << "the database's own initialisation was undone";

    std::thread multi([&] {
        firstMulti = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            CADODataBase database;
        }
        afterMulti = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterMulti)) CoUninitialize();
        if (SUCCEEDED(firstMulti)) CoUninitialize();
    });
    multi.join();
    EXPECT_EQ(S_OK, firstMulti);
    EXPECT_EQ(S_FALSE, afterMulti) << "the thread's own apartment was left alone";
}

}  // namespace
