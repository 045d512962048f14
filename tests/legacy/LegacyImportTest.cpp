// CLegacyImport through Legacy.dll, as the desktop program calls it, reading old files through the
// ADO double: the paths it refuses and the one with an apostrophe, the mapping of every old table
// and column onto the business records, the fixed keywords, faults of the data access layer on
// cue, the messages it shows (answered from a watcher thread), and the library's exports.
#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AdoDoubleSupport.h"
#include "business/AlkBiz.h"
#include "legacy/LegacyImport.h"
#include "tests/support/TestFiles.h"

namespace {

const bool g_registered = RegisterAdoDouble();

// The current UTC time as an OLE date.
double UtcNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    double date = 0;
    SystemTimeToVariantTime(&now, &date);
    return date;
}

class LegacyImportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(g_registered); }

    // A new old-format file with the four empty tables.
    std::wstring NewFile(const std::wstring& name, COldDataFile& file)
    {
        const std::wstring path = m_folder.File(name);
        EXPECT_TRUE(file.Create(path));
        return path;
    }
    std::wstring EmptyFile(const std::wstring& name)
    {
        COldDataFile file;
        return NewFile(name, file);
    }
    // Runs an import to its end; the boxes it showed are in m_boxes.
    int Run(CLegacyImport& import, const std::wstring& path)
    {
        m_boxes.Clear();
        return import.Import(path.c_str());
    }

    CScratchFolder m_folder{L"alk-legacy"};
    CBoxWatcher m_boxes{L"Legacy"};
};

void ExpectEmpty(CLegacyImport& import)
{
    EXPECT_EQ(0, import.GetVehicleList()->GetCount());
    EXPECT_EQ(0, import.GetEntryList()->GetCount());
    EXPECT_EQ(0, import.GetNotificationList()->GetCount());
    EXPECT_EQ(0, import.GetKeywordList()->GetCount());
}

TEST_F(LegacyImportTest, PathsThatAreNoOldDatabaseAreRefusedWithOneMessage)
{
    CJournal journal(m_folder.File(L"journal.txt"));
    const std::wstring text = m_folder.File(L"notes.txt");
    HANDLE file = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "plain text", 10, &written, nullptr);
    CloseHandle(file);

    for (const std::wstring& path : {std::wstring(), m_folder.File(L"missing.mdb"), text}) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        CLegacyImport import;
        EXPECT_EQ(0, Run(import, path));
        ExpectEmpty(import);
        const std::vector<CBoxWatcher::Box> boxes = m_boxes.Boxes();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(kCannotImportText, boxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes[0].icon);
    }
    CLegacyImport none;
    EXPECT_EQ(0, none.Import(nullptr));
    // Only the file that exists reached the provider.
    std::vector<std::wstring> opens;
    for (const std::wstring& line : journal.Lines()) {
        if (line.compare(0, 16, L"Connection.Open(") == 0) opens.push_back(line);
    }
    ASSERT_EQ(1u, opens.size());
    EXPECT_EQ(
        L"Connection.Open(\"Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + text + L"'\", \"\", \"\", 0) -> 80004005",
        opens[0]);
}

TEST_F(LegacyImportTest, APathWithAnApostropheGoesBetweenDoubleQuotes)
{
    CScratchFolder brien(L"alk-legacy", L"O'Brien's data");
    COldDataFile file;
    const std::wstring path = brien.File(L"old.mdb");
    ASSERT_TRUE(file.Create(path));
    ASSERT_TRUE(file.Add(COldVehicle{}));
    file.Close();

    CJournal journal(m_folder.File(L"journal.txt"));
    CLegacyImport import;
    EXPECT_EQ(1, Run(import, path));
    EXPECT_EQ(1, import.GetVehicleList()->GetCount());
    EXPECT_LE(0, journal.Find(L"Connection.Open(\"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"\"" + path +
                              L"\"\"\", \"\", \"\", 0)"))
        << "the journal quotes the string, doubling its own quotes";
    const std::vector<CBoxWatcher::Box> boxes = m_boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kDisconnectText, boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), boxes[0].icon);
}

TEST_F(LegacyImportTest, EmptyTablesGiveTheNineFixedKeywordsReadInOrder)
{
    const std::wstring path = EmptyFile(L"empty.mdb");
    CJournal journal(m_folder.File(L"journal.txt"));
    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    EXPECT_EQ(std::vector<std::wstring>{kDisconnectText}, m_boxes.Texts());
    EXPECT_EQ(0, import.GetVehicleList()->GetCount());
    EXPECT_EQ(0, import.GetEntryList()->GetCount());
    EXPECT_EQ(0, import.GetNotificationList()->GetCount());

    // clang-format off
    const struct { const wchar_t* name; CKeyword::Type type; } fixed[] = {
        {L"Business", CKeyword::ktCategory}, {L"Personal", CKeyword::ktCategory}, {L"Shell", CKeyword::ktFuelVendor},
        {L"BP", CKeyword::ktFuelVendor},     {L"Mobil", CKeyword::ktFuelVendor},  {L"Amoco", CKeyword::ktFuelVendor},
        {L"Chevron", CKeyword::ktFuelVendor}, {L"Citgo", CKeyword::ktFuelVendor}, {L"Texaco", CKeyword::ktFuelVendor},
    };
    // clang-format on
    CObjectListT<CKeyword>* keywords = import.GetKeywordList();
    ASSERT_EQ(9, keywords->GetCount());
    for (int i = 0; i < 9; ++i) {
        EXPECT_STREQ(fixed[i].name, keywords->Get(i)->GetName());
        EXPECT_EQ(fixed[i].type, keywords->Get(i)->GetType());
        EXPECT_EQ(0, keywords->Get(i)->GetID());
    }

    // One recordset, each query closed before the next, the connection closed at the end.
    const int vehicles = journal.Find(L"Recordset.Open(\"SELECT * from Vehicles\", Connection, 3, 3, 8)");
    const int events = journal.Find(L"Recordset.Open(\"SELECT * from events\", Connection, 3, 3, 8)");
    const int triggers = journal.Find(L"Recordset.Open(\"SELECT * from Triggers\", Connection, 3, 3, 8)");
    const int ids = journal.Find(L"Recordset.Open(\"SELECT * from TableIds WHERE Id >= 1000\", Connection, 3, 3, 8)");
    EXPECT_TRUE(vehicles > 0 && vehicles < events && events < triggers && triggers < ids);
    const std::vector<std::wstring> lines = journal.Lines();
    int closes = 0, lastClose = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        if (lines[i] == L"Recordset.Close") ++closes, lastClose = i;
    }
    EXPECT_EQ(4, closes);
    EXPECT_GT(journal.Find(L"Connection.Close"), lastClose);
}

TEST_F(LegacyImportTest, AVehicleRowMapsEveryColumnAndKeepsItsOldIdAsRowId)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"vehicles.mdb", file);
    COldVehicle car;
    car.id = 17;
    car.name = L"Caf\u00e9 Racer";
    car.vin = L"VIN17";
    car.licensePlate = L"PLATE 17";
    car.year = 1987;
    car.dealerLocation = L"Dealer Row";
    car.dealerPhone = L"555-0117";
    car.odometer = 123456;
    car.registrationDate = OleDate(1999, 5, 1);
    car.notes = L"First line\r\nSecond line";
    car.insurancePolicyNum = L"POL-17";
    car.insuranceAgentName = L"Agent Smith";
    car.insuranceAgentPhone = L"555-0199";
    car.insuranceCoverageNotes = L"Full coverage";
    car.insuranceExpirationDate = OleDate(2005, 7, 31, 12);
    ASSERT_TRUE(file.Add(car));
    COldVehicle blank;
    blank.id = 18;
    ASSERT_TRUE(file.Add(blank));
    ASSERT_TRUE(
        file.Exec("UPDATE Vehicles SET Year = NULL, Notes = NULL, InsuranceExpirationDate = NULL,"
                  " Odometer = NULL WHERE VehicleId = 18"));
    file.Close();

    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    CObjectListT<CVehicle>* vehicles = import.GetVehicleList();
    ASSERT_EQ(2, vehicles->GetCount());
    CVehicle* v = vehicles->Get(0);
    EXPECT_EQ(17, v->GetID());
    EXPECT_EQ(0u, v->GetRefID());
    EXPECT_STREQ(L"Caf\u00e9 Racer", v->GetName());
    EXPECT_STREQ(L"VIN17", v->GetVIN());
    EXPECT_STREQ(L"PLATE 17", v->GetLicensePlate());
    EXPECT_EQ(1987, v->GetYear());
    EXPECT_STREQ(L"Dealer Row", v->GetDealerName());
    EXPECT_STREQ(L"555-0117", v->GetDealerPhone());
    EXPECT_EQ(123456, v->GetCurrentOdometer());
    EXPECT_STREQ(L"First line\r\nSecond line", v->GetNotes());
    EXPECT_STREQ(L"POL-17", v->GetInsurancePolicyNumber());
    EXPECT_STREQ(L"Agent Smith", v->GetInsuranceAgentName());
    EXPECT_STREQ(L"555-0199", v->GetInsuranceAgentPhone());
    EXPECT_STREQ(L"Full coverage", v->GetInsuranceCoverage());
    EXPECT_EQ(OleDate(2005, 7, 31, 12), v->GetInsuranceExpirationDate());
    EXPECT_STREQ(L"", v->GetDealerAddress());
    EXPECT_STREQ(L"", v->GetImagePath());

    // NULL columns: 0 and empty texts, not the old defaults; a NULL date keeps the new default.
    CVehicle fresh;
    CVehicle* b = vehicles->Get(1);
    EXPECT_EQ(18, b->GetID());
    EXPECT_EQ(0, b->GetYear());
    EXPECT_EQ(0, b->GetCurrentOdometer());
    EXPECT_STREQ(L"", b->GetNotes());
    EXPECT_EQ(fresh.GetInsuranceExpirationDate(), b->GetInsuranceExpirationDate());
}

TEST_F(LegacyImportTest, EventTypesMapOntoEntryTypesWithTheirOwnFields)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"events.mdb", file);
    for (int type = 0; type <= 6; ++type) {
        COldEvent e;
        e.id = 100 + type;
        e.vehicleId = 3;
        e.eventType = type;
        e.eventDate = OleDate(2004, 3, 1 + type, 8, 30);
        e.vendor = L"V" + std::to_wstring(type);
        e.amount = 12.5f;
        e.odometer = 1000 + type;
        e.description = L"D" + std::to_wstring(type);
        e.notes = L"N" + std::to_wstring(type);
        e.custom1 = 1.25f;
        e.custom2 = 2.75f;
        e.custom3 = L"B";
        e.triggerId = 9;
        ASSERT_TRUE(file.Add(e));
    }
    file.Close();

    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    CObjectListT<CEntry>* entries = import.GetEntryList();
    ASSERT_EQ(7, entries->GetCount());
    // clang-format off
    const struct { CEntry::Type type; const wchar_t* name; const wchar_t* vendor; float custom; } expected[] = {
        {CEntry::etNone, L"", L"", 0},               {CEntry::etFuel, L"", L"V1", 1},
        {CEntry::etRepair, L"D2", L"V2", 0},         {CEntry::etRepair, L"D3", L"V3", 0},
        {CEntry::etTrip, L"D4", L"Business", 1},     {CEntry::etExpense, L"D5", L"", 0},
        {CEntry::etNone, L"", L"", 0},
    };
    // clang-format on
    for (int type = 0; type <= 6; ++type) {
        SCOPED_TRACE(type);
        CEntry* e = entries->Get(type);
        EXPECT_EQ(expected[type].type, e->GetType());
        EXPECT_STREQ(expected[type].name, e->GetName());
        EXPECT_STREQ(expected[type].vendor, e->GetVendor());
        EXPECT_EQ(expected[type].custom * 1.25f, e->GetCustom1());
        EXPECT_EQ(expected[type].custom * 2.75f, e->GetCustom2());
        // What every entry takes over unchanged, whatever its kind.
        EXPECT_EQ(3u, e->GetVehicleID());
        EXPECT_EQ(OleDate(2004, 3, 1 + type, 8, 30), e->GetDate());
        EXPECT_EQ(12.5f, e->GetAmount());
        EXPECT_EQ(1000 + type, e->GetOdometer());
        EXPECT_STREQ((L"N" + std::to_wstring(type)).c_str(), e->GetNotes());
        EXPECT_EQ(0, e->GetID());
        EXPECT_EQ(0u, e->GetRefID());
    }
}

TEST_F(LegacyImportTest, TripCategoriesComeOnlyFromAnExactBOrP)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"trips.mdb", file);
    for (const wchar_t* category : {L"B", L"P", L"b", L"Bus", L""}) {
        COldEvent trip;
        trip.eventType = 4;
        trip.custom3 = category;
        ASSERT_TRUE(file.Add(trip));
    }
    file.Close();
    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    CObjectListT<CEntry>* entries = import.GetEntryList();
    ASSERT_EQ(5, entries->GetCount());
    EXPECT_STREQ(L"Business", entries->Get(0)->GetVendor());
    EXPECT_STREQ(L"Personal", entries->Get(1)->GetVendor());
    EXPECT_STREQ(L"", entries->Get(2)->GetVendor());
    EXPECT_STREQ(L"", entries->Get(3)->GetVendor());
    EXPECT_STREQ(L"", entries->Get(4)->GetVendor());
}

TEST_F(LegacyImportTest, TableIdsFromOneThousandBecomeKeywordsByTheirNextId)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"ids.mdb", file);
    ASSERT_TRUE(file.AddTableId(999, L"Below", 1));
    ASSERT_TRUE(file.AddTableId(1000, L"Tune-up", 1));
    ASSERT_TRUE(file.AddTableId(1001, L"Parking", 2));
    ASSERT_TRUE(file.AddTableId(1002, L"Odd one", 7));
    file.Close();
    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    CObjectListT<CKeyword>* keywords = import.GetKeywordList();
    ASSERT_EQ(12, keywords->GetCount());
    EXPECT_STREQ(L"Tune-up", keywords->Get(0)->GetName());
    EXPECT_EQ(CKeyword::ktRepair, keywords->Get(0)->GetType());
    EXPECT_STREQ(L"Parking", keywords->Get(1)->GetName());
    EXPECT_EQ(CKeyword::ktExpense, keywords->Get(1)->GetType());
    EXPECT_STREQ(L"Odd one", keywords->Get(2)->GetName());
    EXPECT_EQ(CKeyword::ktAll, keywords->Get(2)->GetType());
    EXPECT_STREQ(L"Business", keywords->Get(3)->GetName());
}

TEST_F(LegacyImportTest, TriggersBecomeRemindersOfTheOldVehicleId)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"triggers.mdb", file);
    COldTrigger oil;
    oil.vehicleId = 4;
    oil.description = L"Oil change";
    oil.targetOdometer = 45000;
    oil.targetDate = OleDate(2004, 6, 1);
    ASSERT_TRUE(file.Add(oil));
    COldTrigger undated;
    undated.vehicleId = 5;
    undated.description = L"Tyres";
    ASSERT_TRUE(file.Add(undated));
    ASSERT_TRUE(file.Exec("UPDATE Triggers SET TargetDate = NULL WHERE VehicleId = 5"));
    file.Close();

    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path));
    CObjectListT<CNotification>* reminders = import.GetNotificationList();
    ASSERT_EQ(2, reminders->GetCount());
    EXPECT_STREQ(L"Oil change", reminders->Get(0)->GetName());
    EXPECT_EQ(45000, reminders->Get(0)->GetOdometer());
    EXPECT_EQ(OleDate(2004, 6, 1), reminders->Get(0)->GetDate());
    EXPECT_EQ(4u, reminders->Get(0)->GetVehicleID());
    EXPECT_EQ(0, reminders->Get(0)->GetID());
    // A NULL date keeps the new reminder's own default, not the previous row's date.
    CNotification fresh;
    EXPECT_EQ(5u, reminders->Get(1)->GetVehicleID());
    EXPECT_EQ(fresh.GetDate(), reminders->Get(1)->GetDate());
}

TEST_F(LegacyImportTest, EachRowStartsFromTheDefaultsNotFromThePreviousRow)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"rows.mdb", file);
    COldVehicle first;
    first.id = 1;
    first.odometer = 77777;
    first.year = 1990;
    ASSERT_TRUE(file.Add(first));
    COldVehicle second;
    second.id = 2;
    second.odometer = 88888;
    second.year = 1991;
    ASSERT_TRUE(file.Add(second));
    COldEvent dated;
    dated.eventDate = OleDate(2003, 1, 2);
    ASSERT_TRUE(file.Add(dated));
    ASSERT_TRUE(file.Add(COldEvent{}));
    ASSERT_TRUE(
        file.Exec("UPDATE events SET EventDate = NULL WHERE rowid = 2;"
                  // The second vehicle's odometer and year cannot be read.
                  "CREATE TABLE __faults (Call TEXT, Subject TEXT, Skip INTEGER, Times INTEGER, Code INTEGER);"
                  "INSERT INTO __faults VALUES ('Field', 'Odometer', 1, 1, NULL);"
                  "INSERT INTO __faults VALUES ('Field', 'Year', 1, 1, NULL);"));
    file.Close();

    CLegacyImport import;
    ASSERT_EQ(1, Run(import, path)) << "an unreadable column does not stop the import";
    CObjectListT<CVehicle>* vehicles = import.GetVehicleList();
    ASSERT_EQ(2, vehicles->GetCount());
    EXPECT_EQ(77777, vehicles->Get(0)->GetCurrentOdometer());
    EXPECT_EQ(25000, vehicles->Get(1)->GetCurrentOdometer());
    EXPECT_EQ(2002, vehicles->Get(1)->GetYear());
    CObjectListT<CEntry>* entries = import.GetEntryList();
    ASSERT_EQ(2, entries->GetCount());
    EXPECT_EQ(OleDate(2003, 1, 2), entries->Get(0)->GetDate());
    EXPECT_LT(std::fabs(entries->Get(1)->GetDate() - UtcNow()), 1.0 / 24);
}

TEST_F(LegacyImportTest, AFaultOfTheDataAccessLayerEndsTheImportWithNothing)
{
    struct Cue {
        const char* call;
        const char* subject;
    };
    for (const Cue& cue :
         {Cue{"Open", "events"}, Cue{"EOF", "Triggers"}, Cue{"MoveNext", "Vehicles"}, Cue{"Close", "TableIds"}}) {
        SCOPED_TRACE(cue.call);
        COldDataFile file;
        const std::wstring path = NewFile(L"faults.mdb", file);
        ASSERT_TRUE(file.Add(COldVehicle{}));
        ASSERT_TRUE(file.Add(COldEvent{}));
        ASSERT_TRUE(file.Add(COldTrigger{}));
        ASSERT_TRUE(file.AddTableId(1000, L"Tune-up", 1));
        ASSERT_TRUE(
            file.Exec("CREATE TABLE __faults (Call TEXT, Subject TEXT, Skip INTEGER, Times INTEGER, Code "
                      "INTEGER); INSERT INTO __faults VALUES ('" +
                      std::string(cue.call) + "', '" + cue.subject + "', 0, 0, NULL);"));
        file.Close();
        CLegacyImport import;
        EXPECT_EQ(0, Run(import, path));
        ExpectEmpty(import);
        EXPECT_EQ((std::vector<std::wstring>{kDisconnectText, kCannotImportText}), m_boxes.Texts());
    }
}

TEST_F(LegacyImportTest, RecordsTakenOutAreTheCallersAndTheRestAreFreedOnce)
{
    COldDataFile file;
    const std::wstring path = NewFile(L"many.mdb", file);
    for (long i = 1; i <= 3; ++i) {
        COldVehicle v;
        v.id = i;
        ASSERT_TRUE(file.Add(v));
        COldEvent e;
        e.vehicleId = i;
        ASSERT_TRUE(file.Add(e));
    }
    file.Close();
    auto import = std::make_unique<CLegacyImport>();
    ASSERT_EQ(1, Run(*import, path));
    CVehicle* taken = import->GetVehicleList()->Disown(1);
    ASSERT_NE(nullptr, taken);
    EXPECT_EQ(2, taken->GetID());
    EXPECT_EQ(2, import->GetVehicleList()->GetCount());
    std::vector<CEntry*> entries;
    while (import->GetEntryList()->GetCount()) entries.push_back(import->GetEntryList()->Disown(0));
    import.reset();  // frees two vehicles and the keywords, none of what was taken
    EXPECT_STREQ(L"", taken->GetName());
    delete taken;
    for (CEntry* e : entries) delete e;
}

// The names the library exports (mangled), read from its export directory.
std::vector<std::string> ExportedNames(HMODULE module)
{
    std::vector<std::string> names;
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!entry.VirtualAddress) return names;
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    auto* nameTable = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char*>(base + nameTable[i]));
    return names;
}

TEST(LegacyLibrary, ExportsCLegacyImportOnlyAndCarriesItsVersion)
{
    HMODULE legacy = GetModuleHandleW(L"Legacy.dll");
    ASSERT_NE(nullptr, legacy);
    const std::vector<std::string> names = ExportedNames(legacy);
    EXPECT_GE(names.size(), 7u);
    for (const std::string& name : names) EXPECT_NE(std::string::npos, name.find("13CLegacyImport")) << name;

    wchar_t path[MAX_PATH];
    GetModuleFileNameW(legacy, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));
    wchar_t* original = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\OriginalFilename",
                               reinterpret_cast<void**>(&original), &length));
    EXPECT_STREQ(L"Legacy.dll", original);
}

}  // namespace
