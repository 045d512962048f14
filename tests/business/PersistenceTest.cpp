// Saving, loading, list loads with the entry filter, deleting and look-ups, checked against what
// the file holds as another connection reads it.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestDatabase.h"

namespace {

// A date as the file keeps it: printed with six decimals of a day.
double Stored(double date)
{
    char text[40];
    snprintf(text, sizeof text, "%.6f", date);
    return atof(text);
}

class Persistence : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str())); }
    void TearDown() override { m_db.CloseHandle(); }

    static CEntry* NewEntry(unsigned long vehicle, CEntry::Type type, double date, long odometer = 0)
    {
        return CEntryRecord(vehicle, type).Date(date).Odometer(odometer).Take();
    }
    // Saves an entry and keeps it for the test's life.
    CEntry* SaveEntry(unsigned long vehicle, CEntry::Type type, double date, long odometer = 0)
    {
        CEntry* e = NewEntry(vehicle, type, date, odometer);
        m_kept.Add(e);
        EXPECT_EQ(1, m_layer.Save(e, 0));
        return e;
    }
    static std::set<long> Ids(CObjectList& list)
    {
        std::set<long> ids;
        for (int i = 0; i < list.GetCount(); ++i) ids.insert(list.GetItem(i)->GetID());
        return ids;
    }

    CTestDatabase m_db;
    CDataLayer m_layer;
    CObjectListT<CEntry> m_kept;
};

TEST_F(Persistence, NewVehicleIsStoredColumnByColumn)
{
    CFixedClock clock(Utc(2008, 3, 15, 10, 30, 1));
    CVehicle v;
    v.SetName(L"Bob's car");
    v.SetNotes(L"Line 1\r\nLine 2");
    v.SetLicensePlate(L"ABC 123");
    v.SetVIN(L"VIN");
    v.SetDealerName(L"Dealer");
    v.SetDealerPhone(L"555-0100");
    v.SetDealerAddress(L"1 Main St");
    v.SetInsurancePolicyNumber(L"P9");
    v.SetInsuranceAgentName(L"Agent");
    v.SetInsuranceAgentPhone(L"555-0199");
    v.SetInsuranceCoverage(L"Full");
    v.SetImagePath(L"C:\\Pictures\\car.jpg");
    v.SetYear(1999);
    v.SetCurrentOdometer(123456);
    ASSERT_EQ(1, m_layer.Save(&v, 0));

    EXPECT_NE(0, v.GetID());
    EXPECT_NE(0u, v.GetRefID());
    EXPECT_EQ(0, v.IsDirty());
    const double now = OleDate(Utc(2008, 3, 15, 10, 30, 1));
    EXPECT_DOUBLE_EQ(now, v.GetDateCreated());
    EXPECT_DOUBLE_EQ(now, v.GetDateModified());

    const std::string row = "FROM Vehicle WHERE ID=" + std::to_string(v.GetID());
    EXPECT_EQ(static_cast<long long>(v.GetRefID()), m_db.Integer("SELECT RefID " + row));
    EXPECT_EQ("Bob's car", m_db.Text("SELECT Name " + row));
    EXPECT_EQ("Line 1\r\nLine 2", m_db.Text("SELECT Notes " + row));
    EXPECT_EQ("ABC 123|VIN|Dealer|555-0100|1 Main St|P9|Agent|555-0199|Full|C:\\Pictures\\car.jpg",
              m_db.Text("SELECT LicensePlate||'|'||VIN||'|'||DealerName||'|'||DealerPhone||'|'||"
                        "DealerAddress||'|'||InsurancePolicyNumber||'|'||InsuranceAgentName||'|'||"
                        "InsuranceAgentPhone||'|'||InsuranceCoverage||'|'||ImagePath " +
                        row));
    EXPECT_EQ(39813.0, m_db.Real("SELECT InsuranceExpirationDate " + row));
    EXPECT_EQ(123456, m_db.Integer("SELECT CurrentOdometer " + row));
    EXPECT_EQ(1999, m_db.Integer("SELECT Year " + row));
    // Dates are written with six decimals.
    EXPECT_NE(now, Stored(now));
    EXPECT_EQ(Stored(now), m_db.Real("SELECT Created " + row));
    EXPECT_EQ(SQLITE_FLOAT, m_db.ColumnType("SELECT Modified " + row));
}

TEST_F(Persistence, UnsetTextsAreWrittenAsEmptyTexts)
{
    CVehicle v;
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    EXPECT_EQ(SQLITE_TEXT, m_db.ColumnType("SELECT VIN FROM Vehicle"));
    EXPECT_EQ("", m_db.Text("SELECT VIN FROM Vehicle"));
    EXPECT_EQ(SQLITE_TEXT, m_db.ColumnType("SELECT ImagePath FROM Vehicle"));
}

TEST_F(Persistence, VehicleRoundTrip)
{
    CVehicle v;
    v.SetName(L"M\u00fcller \u20ac");
    v.SetVIN(L"x'y''z");
    v.SetCurrentOdometer(-1);
    v.SetInsuranceExpirationDate(39900.5);
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    // Odometers of vehicles are written unsigned.
    EXPECT_EQ(4294967295LL, m_db.Integer("SELECT CurrentOdometer FROM Vehicle"));
    EXPECT_EQ(ToUtf8(L"M\u00fcller \u20ac"), m_db.Text("SELECT Name FROM Vehicle"));

    CVehicle loaded;
    loaded.SetID(v.GetID());
    loaded.SetName(L"to be replaced");
    ASSERT_EQ(1, m_layer.Load(&loaded));
    EXPECT_EQ(0, loaded.IsDirty());
    EXPECT_EQ(v.GetRefID(), loaded.GetRefID());
    EXPECT_STREQ(L"M\u00fcller \u20ac", loaded.GetName());
    EXPECT_STREQ(L"x'y''z", loaded.GetVIN());
    EXPECT_EQ(-1, loaded.GetCurrentOdometer());
    EXPECT_EQ(2002, loaded.GetYear());
    EXPECT_EQ(39900.5, loaded.GetInsuranceExpirationDate());
    EXPECT_EQ(Stored(v.GetDateCreated()), loaded.GetDateCreated());

    CVehicle byRef;
    byRef.SetRefID(v.GetRefID());
    ASSERT_EQ(1, m_layer.LoadByRefID(&byRef));
    EXPECT_EQ(v.GetID(), byRef.GetID());
}

TEST_F(Persistence, VehicleUpdateWritesEveryEditableColumn)
{
    CVehicle v;
    v.SetName(L"Old");
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    const long id = v.GetID();
    const unsigned long refID = v.GetRefID();
    v.SetName(L"New");
    v.SetImagePath(L"pic.png");
    v.SetYear(2007);
    v.SetCurrentOdometer(99);
    v.SetInsuranceCoverage(L"Third party");
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    EXPECT_EQ(id, v.GetID());
    EXPECT_EQ(refID, v.GetRefID());
    EXPECT_EQ(1, m_layer.GetNumVehicles());
    EXPECT_EQ("New|pic.png|2007|99|Third party",
              m_db.Text("SELECT Name||'|'||ImagePath||'|'||Year||'|'||CurrentOdometer||'|'||"
                        "InsuranceCoverage FROM Vehicle"));
}

TEST_F(Persistence, SavingAgainChangesOnlyTheModificationDate)
{
    CEntry* e;
    double created;
    {
        CFixedClock clock(Utc(2008, 3, 15, 10, 0, 0));
        e = SaveEntry(7, CEntry::etFuel, 39500.0);
        created = e->GetDateCreated();
        EXPECT_EQ(created, e->GetDateModified());
        EXPECT_NE(0u, e->GetRefID());
    }
    const long id = e->GetID();
    const unsigned long refID = e->GetRefID();
    CFixedClock later(Utc(2008, 3, 16, 11, 0, 0));
    e->SetAmount(20.0f);
    ASSERT_EQ(1, m_layer.Save(e, 0));
    EXPECT_EQ(id, e->GetID());
    EXPECT_EQ(refID, e->GetRefID());
    EXPECT_EQ(created, e->GetDateCreated());
    EXPECT_DOUBLE_EQ(OleDate(Utc(2008, 3, 16, 11, 0, 0)), e->GetDateModified());
    EXPECT_EQ(Stored(created), m_db.Real("SELECT Created FROM Entry"));
    EXPECT_EQ(Stored(e->GetDateModified()), m_db.Real("SELECT Modified FROM Entry"));
}

TEST_F(Persistence, KeepDatesWritesTheRecordsOwnDates)
{
    CKeyword k;
    k.SetRefID(4242);
    k.SetDateCreated(39500.25);
    k.SetDateModified(39501.5);
    ASSERT_EQ(1, m_layer.Save(&k, 1));
    EXPECT_EQ(4242u, k.GetRefID());
    EXPECT_EQ(39500.25, k.GetDateCreated());
    EXPECT_EQ(39501.5, k.GetDateModified());
    EXPECT_EQ("39500.25|39501.5", m_db.Text("SELECT Created||'|'||Modified FROM Keyword"));
    EXPECT_EQ(4242, m_db.Integer("SELECT RefID FROM Keyword"));
}

TEST_F(Persistence, EntryColumnsAndSignedOdometer)
{
    CEntry* e = NewEntry(3000000000u, CEntry::etTrip, 39500.75, -1);
    m_kept.Add(e);
    e->SetName(L"Trip to Mike's");
    e->SetVendor(L"Business");
    e->SetAmount(0.1f);
    e->SetCustom1(100.0f);
    e->SetCustom2(250.5f);
    ASSERT_EQ(1, m_layer.Save(e, 0));

    EXPECT_EQ(4294967295LL, m_db.Integer("SELECT Odometer FROM Entry"));
    EXPECT_EQ(3000000000LL, m_db.Integer("SELECT VehicleID FROM Entry"));
    EXPECT_EQ(3, m_db.Integer("SELECT Type FROM Entry"));
    EXPECT_EQ("Trip to Mike's", m_db.Text("SELECT Name FROM Entry"));
    // The float is widened and printed with six decimals: 0.1f is stored as 0.1.
    EXPECT_EQ(0.1, m_db.Real("SELECT Amount FROM Entry"));
    EXPECT_EQ(250.5, m_db.Real("SELECT Custom2 FROM Entry"));

    CEntry loaded;
    loaded.SetID(e->GetID());
    ASSERT_EQ(1, m_layer.Load(&loaded));
    EXPECT_EQ(-1, loaded.GetOdometer());
    EXPECT_EQ(3000000000u, loaded.GetVehicleID());
    EXPECT_EQ(CEntry::etTrip, loaded.GetType());
    EXPECT_EQ(39500.75, loaded.GetDate());
    EXPECT_STREQ(L"Business", loaded.GetVendor());
    EXPECT_EQ(0.1f, loaded.GetAmount());
    EXPECT_EQ(100.0f, loaded.GetCustom1());
    EXPECT_EQ(250.5f, loaded.GetCustom2());
    EXPECT_EQ(0, loaded.IsDirty());
}

TEST_F(Persistence, EntryUpdateKeepsTypeAndVehicle)
{
    CEntry* e = SaveEntry(7, CEntry::etFuel, 39500.0, 1000);
    e->SetType(CEntry::etRepair);
    e->SetVehicleID(8);
    e->SetOdometer(1100);
    e->SetVendor(L"Joe's");
    ASSERT_EQ(1, m_layer.Save(e, 0));
    EXPECT_EQ("1|7|1100|Joe's", m_db.Text("SELECT Type||'|'||VehicleID||'|'||Odometer||'|'||Vendor "
                                          "FROM Entry"));
}

TEST_F(Persistence, KeywordUpdateWritesOnlyTheName)
{
    CKeyword k;
    k.SetName(L"Shell");
    k.SetType(CKeyword::ktFuelVendor);
    k.SetNotes(L"never stored");
    ASSERT_EQ(1, m_layer.Save(&k, 0));
    k.SetName(L"Esso");
    k.SetType(CKeyword::ktExpense);
    ASSERT_EQ(1, m_layer.Save(&k, 0));
    EXPECT_EQ("Esso|4", m_db.Text("SELECT Name||'|'||Type FROM Keyword"));

    CKeyword loaded;
    loaded.SetID(k.GetID());
    ASSERT_EQ(1, m_layer.Load(&loaded));
    EXPECT_EQ(CKeyword::ktFuelVendor, loaded.GetType());
    EXPECT_STREQ(L"Esso", loaded.GetName());
    EXPECT_STREQ(L"", loaded.GetNotes());
}

TEST_F(Persistence, ReminderOdometerIsSigned)
{
    CNotification n;
    n.SetName(L"Oil");
    n.SetOdometer(-1);
    n.SetDate(39600.0);
    n.SetVehicleID(3000000000u);
    ASSERT_EQ(1, m_layer.Save(&n, 0));
    EXPECT_EQ(-1, m_db.Integer("SELECT Odometer FROM Notification"));
    EXPECT_EQ(3000000000LL, m_db.Integer("SELECT VehicleID FROM Notification"));

    n.SetOdometer(50000);
    n.SetName(L"Oil & filter");
    n.SetDate(39700.5);
    ASSERT_EQ(1, m_layer.Save(&n, 0));
    CNotification loaded;
    loaded.SetID(n.GetID());
    ASSERT_EQ(1, m_layer.Load(&loaded));
    EXPECT_EQ(50000, loaded.GetOdometer());
    EXPECT_STREQ(L"Oil & filter", loaded.GetName());
    EXPECT_EQ(39700.5, loaded.GetDate());
    EXPECT_EQ(3000000000u, loaded.GetVehicleID());
    EXPECT_EQ(n.GetRefID(), loaded.GetRefID());
}

TEST_F(Persistence, NewRecordsGetDistinctReferenceIds)
{
    std::set<unsigned long> refIDs;
    for (int i = 0; i < 5; ++i) refIDs.insert(SaveEntry(7, CEntry::etFuel, 39500)->GetRefID());
    EXPECT_EQ(5u, refIDs.size());
    EXPECT_EQ(0u, refIDs.count(0));
}

TEST_F(Persistence, LoadsThatFindNothing)
{
    CVehicle v;
    EXPECT_EQ(0, m_layer.Load(&v));  // ID 0
    v.SetID(999);
    EXPECT_EQ(0, m_layer.Load(&v));
    EXPECT_EQ(0, m_layer.LoadByRefID(&v));  // RefID 0
    v.SetRefID(12345);
    EXPECT_EQ(0, m_layer.LoadByRefID(&v));
    CEntry e;
    EXPECT_EQ(0, m_layer.Load(&e));
}

TEST_F(Persistence, FailedSaveLeavesTheRecordAsItWas)
{
    CTestDatabase& db = m_db;
    ASSERT_EQ(SQLITE_OK, db.Exec("BEGIN EXCLUSIVE"));
    CEntry e;
    e.SetName(L"blocked");
    e.SetDateCreated(1.0);
    ASSERT_EQ(1, e.IsDirty());
    EXPECT_EQ(0, m_layer.Save(&e, 0));
    EXPECT_EQ(0, e.GetID());
    EXPECT_EQ(0u, e.GetRefID());
    EXPECT_EQ(1.0, e.GetDateCreated());
    EXPECT_EQ(0.0, e.GetDateModified());
    EXPECT_EQ(1, e.IsDirty());
    ASSERT_EQ(SQLITE_OK, db.Exec("ROLLBACK"));
    EXPECT_EQ(1, m_layer.Save(&e, 0));
}

TEST_F(Persistence, ListLoadsByKindAndSelector)
{
    for (unsigned long vehicle : {11ul, 12ul}) {
        CVehicle v;
        v.SetRefID(vehicle);
        ASSERT_EQ(1, m_layer.Save(&v, 0));
        CNotification n;
        n.SetVehicleID(vehicle);
        ASSERT_EQ(1, m_layer.Save(&n, 0));
    }
    for (CKeyword::Type type : {CKeyword::ktCategory, CKeyword::ktFuelVendor, CKeyword::ktFuelVendor}) {
        CKeyword k;
        k.SetType(type);
        ASSERT_EQ(1, m_layer.Save(&k, 0));
    }

    CObjectListT<CVehicle> vehicles;
    ASSERT_EQ(1, m_layer.Load(&vehicles));
    ASSERT_EQ(2, vehicles.GetCount());
    EXPECT_EQ(11u, vehicles.Get(0)->GetRefID());  // stored order
    EXPECT_EQ(0, vehicles.Get(1)->IsDirty());

    CObjectListT<CKeyword> keywords;
    ASSERT_EQ(1, m_layer.Load(&keywords, CKeyword::ktFuelVendor));
    EXPECT_EQ(2, keywords.GetCount());
    ASSERT_EQ(1, m_layer.Load(&keywords, CKeyword::ktAll));
    EXPECT_EQ(3, keywords.GetCount());  // the earlier records were replaced
    ASSERT_EQ(1, m_layer.Load(&keywords, CKeyword::ktRepair));
    EXPECT_EQ(0, keywords.GetCount());

    CObjectListT<CNotification> reminders;
    ASSERT_EQ(1, m_layer.Load(&reminders, 12ul));
    ASSERT_EQ(1, reminders.GetCount());
    EXPECT_EQ(12u, reminders.Get(0)->GetVehicleID());
    ASSERT_EQ(1, m_layer.Load(&reminders, 0ul));
    EXPECT_EQ(2, reminders.GetCount());
}

TEST_F(Persistence, EntryListFollowsTheFilter)
{
    const double march1 = OleDate(Utc(2008, 3, 1));
    // Dates and the range bounds are both written with six decimals: the last second still matches.
    const double march31End = OleDate(Utc(2008, 3, 31, 23, 59, 59));
    const long inRange = SaveEntry(7, CEntry::etFuel, march1)->GetID();
    const long lastSecond = SaveEntry(7, CEntry::etFuel, march31End)->GetID();
    const long repair = SaveEntry(7, CEntry::etRepair, march1 + 3)->GetID();
    const long before = SaveEntry(7, CEntry::etFuel, march1 - 1.0 / 86400)->GetID();
    const long after = SaveEntry(7, CEntry::etFuel, OleDate(Utc(2008, 4, 1)))->GetID();
    const long otherVehicle = SaveEntry(8, CEntry::etFuel, march1 + 1)->GetID();
    const long trip = SaveEntry(3000000000u, CEntry::etTrip, march1 + 2)->GetID();

    CObjectListT<CEntry> list;
    CEntryFilter filter;
    ASSERT_EQ(1, m_layer.Load(&list, &filter));
    EXPECT_EQ(7, list.GetCount());

    filter.SetVehicleID(7);
    filter.SetEntryType(CEntry::etFuel);
    filter.SetDateRangeType(CEntryFilter::drCustom);
    filter.SetStartDate(Utc(2008, 3, 1), 1);
    filter.SetEndDate(Utc(2008, 3, 31), 1);
    ASSERT_EQ(1, m_layer.Load(&list, &filter));
    EXPECT_EQ((std::set<long>{inRange, lastSecond}), Ids(list));
    for (int i = 0; i < list.GetCount(); ++i) EXPECT_EQ(1, filter.EntryMatchesFilter(list.Get(i)));

    CEntryFilter byType;
    byType.SetEntryType(CEntry::etTrip);
    ASSERT_EQ(1, m_layer.Load(&list, &byType));
    EXPECT_EQ((std::set<long>{trip}), Ids(list));

    CEntryFilter bigVehicle;
    bigVehicle.SetVehicleID(3000000000u);
    ASSERT_EQ(1, m_layer.Load(&list, &bigVehicle));
    EXPECT_EQ((std::set<long>{trip}), Ids(list));

    CEntryFilter anyVehicleInMarch;
    anyVehicleInMarch.SetDateRangeType(CEntryFilter::drCustom);
    anyVehicleInMarch.SetStartDate(Utc(2008, 3, 1), 1);
    anyVehicleInMarch.SetEndDate(Utc(2008, 3, 31), 1);
    ASSERT_EQ(1, m_layer.Load(&list, &anyVehicleInMarch));
    EXPECT_EQ((std::set<long>{inRange, lastSecond, repair, otherVehicle, trip}), Ids(list));
    (void)before;
    (void)after;

    EXPECT_EQ(0, m_layer.Load(&list, nullptr));
}

TEST_F(Persistence, EntryListWithAPresetRangeUsesTheClock)
{
    CFixedClock clock(Utc(2008, 3, 15, 12, 0, 0));
    const long today = SaveEntry(7, CEntry::etFuel, OleDate(Utc(2008, 3, 15, 6, 0, 0)))->GetID();
    const long weekAgo = SaveEntry(7, CEntry::etFuel, OleDate(Utc(2008, 3, 8)))->GetID();
    SaveEntry(7, CEntry::etFuel, OleDate(Utc(2008, 3, 7, 23, 0, 0)));
    const long january = SaveEntry(7, CEntry::etFuel, OleDate(Utc(2008, 1, 1, 0, 0, 0)))->GetID();
    SaveEntry(7, CEntry::etFuel, OleDate(Utc(2007, 12, 31, 23, 59, 0)));

    CObjectListT<CEntry> list;
    CEntryFilter filter;
    filter.SetDateRangeType(CEntryFilter::drLastWeek);
    ASSERT_EQ(1, m_layer.Load(&list, &filter));
    EXPECT_EQ((std::set<long>{today, weekAgo}), Ids(list));
    filter.SetDateRangeType(CEntryFilter::drYearToDate);
    ASSERT_EQ(1, m_layer.Load(&list, &filter));
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(1u, Ids(list).count(january));
}

TEST_F(Persistence, ListLoadThatCannotReadItsRowsFails)
{
    SaveEntry(7, CEntry::etFuel, 39500);
    SaveEntry(7, CEntry::etFuel, 39501);
    CObjectListT<CEntry> list;
    CEntryFilter filter;
    ASSERT_EQ(1, m_layer.Load(&list, &filter));
    ASSERT_EQ(2, list.GetCount());

    // Another connection holds the file exclusively: the statement prepares but no row can be
    // read. That is no empty list.
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN EXCLUSIVE"));
    EXPECT_EQ(0, m_layer.Load(&list, &filter));
    EXPECT_EQ(0, list.GetCount());
    CObjectListT<CVehicle> vehicles;
    EXPECT_EQ(0, m_layer.Load(&vehicles));
    ASSERT_EQ(SQLITE_OK, m_db.Exec("COMMIT"));
    EXPECT_EQ(1, m_layer.Load(&list, &filter));
    EXPECT_EQ(2, list.GetCount());
}

// realloc of AlkBiz.dll, failing for the first growth of an object list's array: from nothing to
// 16 pointers (no other code of the library asks realloc for that from nothing).
void* (*g_realRealloc)(void*, size_t) = nullptr;
void* ListCannotGrow(void* block, size_t size)
{
    if (!block && size == 16 * sizeof(void*)) return nullptr;
    return g_realRealloc(block, size);
}

TEST_F(Persistence, ListLoadWhoseListCannotGrowFails)
{
    for (int i = 0; i < 3; ++i) ASSERT_NE(0u, CVehicleRecord(L"Car").Year(2000 + i).Save(m_layer));
    CObjectListT<CVehicle> vehicles;
    {
        CImportPatch patch(L"AlkBiz.dll", "msvcrt.dll", "realloc", reinterpret_cast<void*>(&ListCannotGrow));
        ASSERT_TRUE(patch.Patched());
        g_realRealloc = reinterpret_cast<void* (*)(void*, size_t)>(patch.Original());
        // Every record the list could not keep is gone: the load reports it, it is no whole list.
        EXPECT_EQ(0, m_layer.Load(&vehicles));
        EXPECT_EQ(0, vehicles.GetCount());
    }
    EXPECT_EQ(1, m_layer.Load(&vehicles));
    EXPECT_EQ(3, vehicles.GetCount());
}

// A helper whose conversion fails, as the default one does when it cannot allocate.
class CFailingHelper : public CStringHelper {
public:
    const char* Encode(const wchar_t* text) override { return text && *text ? nullptr : ""; }
    const wchar_t* Decode(const char*) override { return L""; }
};
class CFailingFactory : public CStringHelperFactory {
public:
    std::unique_ptr<CStringHelper> Create() override { return std::unique_ptr<CStringHelper>(new CFailingHelper); }
};

TEST_F(Persistence, ASaveWhoseTextCannotBeEncodedFailsAndWritesNothing)
{
    CVehicle stored;
    stored.SetName(L"Kept");
    ASSERT_EQ(1, m_layer.Save(&stored, 0));
    m_layer.SetStringHelperFactory(std::unique_ptr<CStringHelperFactory>(new CFailingFactory));

    CVehicle fresh;
    fresh.SetName(L"Bob's car");
    EXPECT_EQ(0, m_layer.Save(&fresh, 0));
    EXPECT_EQ(0, fresh.GetID());
    EXPECT_EQ(0u, fresh.GetRefID());
    EXPECT_EQ(1, fresh.IsDirty());
    EXPECT_EQ(1, m_layer.GetNumVehicles());

    stored.SetName(L"Renamed");
    EXPECT_EQ(0, m_layer.Save(&stored, 0));
    EXPECT_EQ("Kept", m_db.Text("SELECT Name FROM Vehicle"));
    CEntry* entry = CEntryRecord(stored.GetRefID(), CEntry::etRepair).Description(L"Brakes").Take();
    m_kept.Add(entry);
    EXPECT_EQ(0, m_layer.Save(entry, 0));
    CKeyword keyword;
    keyword.SetName(L"Shell");
    EXPECT_EQ(0, m_layer.Save(&keyword, 0));
    CNotification reminder;
    reminder.SetName(L"Oil");
    EXPECT_EQ(0, m_layer.Save(&reminder, 0));
    EXPECT_EQ(0, m_layer.GetNumEntries() + m_layer.GetNumKeywords() + m_layer.GetNumNotifications());

    // Records without texts need no conversion.
    CKeyword unnamed;
    EXPECT_EQ(1, m_layer.Save(&unnamed, 0));
    m_layer.SetStringHelperFactory(std::unique_ptr<CStringHelperFactory>());
}

TEST_F(Persistence, DeletingAVehicleTakesItsEntriesAndReminders)
{
    CVehicle v;
    v.SetRefID(3000000000u);
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    CVehicle other;
    ASSERT_EQ(1, m_layer.Save(&other, 0));
    SaveEntry(3000000000u, CEntry::etFuel, 39500);
    SaveEntry(3000000000u, CEntry::etRepair, 39501);
    SaveEntry(other.GetRefID(), CEntry::etFuel, 39502);
    CNotification n;
    n.SetVehicleID(3000000000u);
    ASSERT_EQ(1, m_layer.Save(&n, 0));

    ASSERT_EQ(1, m_layer.Delete(&v));
    EXPECT_EQ(1, m_layer.GetNumVehicles());
    EXPECT_EQ(1, m_layer.GetNumEntries());
    EXPECT_EQ(0, m_layer.GetNumNotifications());
    EXPECT_EQ(0, m_db.Integer("SELECT COUNT(*) FROM Entry WHERE VehicleID=3000000000"));
}

TEST_F(Persistence, DeletesByRowId)
{
    CVehicle unsaved;
    EXPECT_EQ(0, m_layer.Delete(&unsaved));
    CKeyword k;
    EXPECT_EQ(0, m_layer.Delete(&k));

    CVehicle v;
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    SaveEntry(v.GetRefID(), CEntry::etFuel, 39500);
    // By type and id: the vehicle row only, no cascade.
    EXPECT_EQ(1, m_layer.Delete(CBaseObject::otVehicle, static_cast<unsigned long>(v.GetID())));
    EXPECT_EQ(0, m_layer.GetNumVehicles());
    EXPECT_EQ(1, m_layer.GetNumEntries());
    // A row id that is not there deletes nothing and succeeds.
    EXPECT_EQ(1, m_layer.Delete(CBaseObject::otEntry, 999));
    EXPECT_EQ(0, m_layer.Delete(CBaseObject::otEntry, 0x80000000ul));
    EXPECT_EQ(0, m_layer.Delete(CBaseObject::otNone, 1));
    EXPECT_EQ(1, m_layer.GetNumEntries());

    CEntry* e = m_kept.Get(0);
    ASSERT_EQ(1, m_layer.Delete(e));
    EXPECT_EQ(0, m_layer.GetNumEntries());

    ASSERT_EQ(1, m_layer.Save(&k, 0));
    CNotification n;
    ASSERT_EQ(1, m_layer.Save(&n, 0));
    EXPECT_EQ(1, m_layer.Delete(&k));
    EXPECT_EQ(1, m_layer.Delete(&n));
    EXPECT_EQ(0, m_layer.GetNumKeywords());
    EXPECT_EQ(0, m_layer.GetNumNotifications());
}

TEST_F(Persistence, RowIdByReferenceId)
{
    CNotification n;
    n.SetRefID(3000000001u);
    ASSERT_EQ(1, m_layer.Save(&n, 0));
    EXPECT_EQ(static_cast<unsigned long>(n.GetID()), m_layer.GetID(CBaseObject::otNotification, 3000000001u));
    EXPECT_EQ(0u, m_layer.GetID(CBaseObject::otNotification, 1));
    EXPECT_EQ(0u, m_layer.GetID(CBaseObject::otVehicle, 3000000001u));
    EXPECT_EQ(0u, m_layer.GetID(CBaseObject::otNone, 3000000001u));
}

TEST_F(Persistence, LargestOdometerOfAVehicle)
{
    long odometer = -5;
    ASSERT_EQ(1, m_layer.GetMaxOdometer(7, &odometer));
    EXPECT_EQ(0, odometer);
    SaveEntry(7, CEntry::etFuel, 39500, 1500);
    SaveEntry(7, CEntry::etFuel, 39501, 2500);
    SaveEntry(8, CEntry::etFuel, 39501, 9000);
    ASSERT_EQ(1, m_layer.GetMaxOdometer(7, &odometer));
    EXPECT_EQ(2500, odometer);
}

TEST_F(Persistence, CurrentOdometerUpdate)
{
    CVehicle v;
    EXPECT_EQ(0, m_layer.UpdateCurrentOdometer(&v, 5));
    EXPECT_EQ(20000, v.GetCurrentOdometer());
    {
        CFixedClock clock(Utc(2008, 3, 15));
        ASSERT_EQ(1, m_layer.Save(&v, 0));
    }
    CFixedClock clock(Utc(2008, 4, 1, 12, 0, 0));
    ASSERT_EQ(1, m_layer.UpdateCurrentOdometer(&v, 25000));
    EXPECT_EQ(25000, v.GetCurrentOdometer());
    EXPECT_EQ(1, v.IsDirty());
    EXPECT_DOUBLE_EQ(OleDate(Utc(2008, 4, 1, 12, 0, 0)), v.GetDateModified());
    EXPECT_EQ(25000, m_db.Integer("SELECT CurrentOdometer FROM Vehicle"));
    EXPECT_EQ(Stored(v.GetDateModified()), m_db.Real("SELECT Modified FROM Vehicle"));
    EXPECT_EQ(Stored(v.GetDateCreated()), m_db.Real("SELECT Created FROM Vehicle"));
}

TEST_F(Persistence, CountsEmptyingAndCompaction)
{
    CVehicle v;
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    for (int i = 0; i < 200; ++i) {
        CEntry* e = NewEntry(v.GetRefID(), CEntry::etFuel, 39500 + i);
        e->SetRefID(1000 + i);
        e->SetNotes(std::wstring(500, L'n').c_str());
        m_kept.Add(e);
        ASSERT_EQ(1, m_layer.Save(e, 0));
    }
    CKeyword k;
    ASSERT_EQ(1, m_layer.Save(&k, 0));
    CNotification n;
    ASSERT_EQ(1, m_layer.Save(&n, 0));
    EXPECT_EQ(1, m_layer.GetNumVehicles());
    EXPECT_EQ(200, m_layer.GetNumEntries());
    EXPECT_EQ(1, m_layer.GetNumKeywords());
    EXPECT_EQ(1, m_layer.GetNumNotifications());
    const unsigned long storeID = m_layer.GetStoreID();

    ASSERT_EQ(1, m_layer.DeleteAllData());
    EXPECT_EQ(0, m_layer.GetNumVehicles());
    EXPECT_EQ(0, m_layer.GetNumEntries());
    EXPECT_EQ(0, m_layer.GetNumKeywords());
    EXPECT_EQ(0, m_layer.GetNumNotifications());
    EXPECT_EQ(3, m_db.Integer("SELECT COUNT(*) FROM MetaData"));

    m_db.CloseHandle();
    WIN32_FILE_ATTRIBUTE_DATA before = {}, after = {};
    GetFileAttributesExW(m_db.Path().c_str(), GetFileExInfoStandard, &before);
    ASSERT_EQ(1, m_layer.Compress());
    GetFileAttributesExW(m_db.Path().c_str(), GetFileExInfoStandard, &after);
    EXPECT_LT(after.nFileSizeLow, before.nFileSizeLow);

    CDataLayer again;
    ASSERT_EQ(CDataLayer::csConnected, again.Connect(m_db.Path().c_str()));
    EXPECT_EQ(storeID, again.GetStoreID());
}

}  // namespace
