// Why an operation failed, as the library tells it beside its results: a file another program
// holds (locked by the engine, or open without sharing), a file damaged under the tables, a file
// of a newer version whose tables take no row of ours, and what a refused file keeps of itself.
#include <windows.h>

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/TestDatabase.h"

using namespace alk_faulty_files;

namespace {

// A copy of the template that has had its store id (so connecting writes nothing more).
class FailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
        m_layer.Disconnect();
    }
    CTestDatabase m_db;
    CDataLayer m_layer;
};

TEST_F(FailureTest, AFileLockedByAnotherConnectionIsBusyAtConnectAndStaysAsItWas)
{
    const std::string before = FileBytes(m_db.Path());
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN EXCLUSIVE"));  // as a synchronisation's commit holds it
    EXPECT_EQ(CDataLayer::csInvalidDatabase, m_layer.Connect(m_db.Path().c_str())) << "the meaning of 3 is kept";
    EXPECT_EQ(CDataLayer::fcBusy, m_layer.GetLastFailure()) << "not taken for a file of another kind";
    EXPECT_EQ(0, m_layer.IsConnected());
    ASSERT_EQ(SQLITE_OK, m_db.Exec("ROLLBACK"));
    EXPECT_EQ(before, FileBytes(m_db.Path()));
    EXPECT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str())) << "free again";
    EXPECT_EQ(CDataLayer::fcNone, m_layer.GetLastFailure());

    // A fresh copy of the template gets its store id at the first connection: while another
    // connection holds the write lock that write is busy too, and nothing is written.
    CTestDatabase fresh(L"fresh.dat");
    const std::string template_ = FileBytes(fresh.Path());
    ASSERT_EQ(SQLITE_OK, fresh.Exec("BEGIN IMMEDIATE"));
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csInvalidDatabase, layer.Connect(fresh.Path().c_str()));
    EXPECT_EQ(CDataLayer::fcBusy, layer.GetLastFailure());
    fresh.Exec("ROLLBACK");
    fresh.CloseHandle();
    EXPECT_EQ(template_, FileBytes(fresh.Path()));
}

TEST_F(FailureTest, AFileAnotherProgramHoldsOpenWithoutSharingIsBusyAtConnect)
{
    HANDLE held = CreateFileW(m_db.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(CDataLayer::csCannotOpen, m_layer.Connect(m_db.Path().c_str()));
    EXPECT_EQ(CDataLayer::fcBusy, m_layer.GetLastFailure());
    CloseHandle(held);
    EXPECT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
}

TEST_F(FailureTest, SavesAndLoadsOfABusyFileAndWithoutAConnectionSayWhy)
{
    EXPECT_EQ(0, m_layer.Save(&CEntryRecord(1, CEntry::etFuel).Odometer(5).Get(), 0));
    EXPECT_EQ(CDataLayer::fcNotConnected, m_layer.GetLastFailure());

    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    const unsigned long car = CVehicleRecord(L"Car").Save(m_layer);
    ASSERT_NE(0u, car);
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN IMMEDIATE"));  // another writer's lock
    CEntryRecord fuel(car, CEntry::etFuel);
    EXPECT_EQ(0, m_layer.Save(&fuel.Odometer(100).Get(), 0));
    EXPECT_EQ(CDataLayer::fcBusy, m_layer.GetLastFailure());
    EXPECT_EQ(0, fuel.Get().GetID()) << "the record as it was, ready to be saved again";
    m_db.Exec("ROLLBACK");
    EXPECT_NE(0, m_layer.Save(&fuel.Get(), 0)) << "the same record, saved once the lock is gone";

    // While another connection holds the exclusive lock even reading is busy.
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN EXCLUSIVE"));
    CObjectListT<CVehicle> vehicles;
    EXPECT_EQ(0, m_layer.Load(&vehicles));
    EXPECT_EQ(CDataLayer::fcBusy, m_layer.GetLastFailure());
    EXPECT_EQ(0, m_layer.FoundDamage());
    m_db.Exec("ROLLBACK");
}

TEST_F(FailureTest, ANumberThatIsNotFiniteIsNeverWrittenAndTheRecordStaysAsItWas)
{
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    const unsigned long car = CVehicleRecord(L"Car").Save(m_layer);
    CEntryRecord stored(car, CEntry::etFuel);
    ASSERT_NE(0u, stored.Amount(30).Custom(10, 3).Save(m_layer));
    m_layer.Disconnect();
    const std::string before = FileBytes(m_db.Path());
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));

    const double bad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL};
    for (double value : bad) {
        const float narrow = static_cast<float>(value);
        SCOPED_TRACE(value);
        // Every number of every kind, new and (for the entry) stored.
        CEntryRecord e1(car, CEntry::etFuel), e2(car, CEntry::etFuel), e3(car, CEntry::etTrip), e4(car, CEntry::etFuel);
        CReminderRecord reminder(car, L"Due");
        CVehicle vehicle;
        vehicle.SetInsuranceExpirationDate(value);
        CKeyword keyword;
        keyword.SetDateModified(value);
        CEntry& update = stored.Get();
        const float amount = update.GetAmount();
        update.SetAmount(narrow);
        const int saves[] = {
            m_layer.Save(&e1.Date(value).Get(), 0),
            m_layer.Save(&e2.Amount(narrow).Get(), 0),
            m_layer.Save(&e3.Custom(1, narrow).Get(), 0),
            m_layer.Save(&e4.Custom(narrow, 1).Get(), 0),
            m_layer.Save(&reminder.Date(value).Get(), 0),
            m_layer.Save(&vehicle, 0),
            m_layer.Save(&keyword, 1),
            m_layer.Save(&update, 0),
        };
        for (int saved : saves) EXPECT_EQ(0, saved);
        EXPECT_EQ(CDataLayer::fcNotFinite, m_layer.GetLastFailure());
        EXPECT_EQ(0, e1.Get().GetID() + vehicle.GetID() + keyword.GetID()) << "not inserted";
        EXPECT_EQ(1, update.IsDirty()) << "left as it was, ready for another try";
        update.SetAmount(amount);
    }
    m_layer.Disconnect();
    EXPECT_EQ(before, FileBytes(m_db.Path()));
}

TEST_F(FailureTest, DamagedEntryPagesFailTheEntryLoadAsDamageWhileMetaDataAndVehiclesRead)
{
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    m_db.CloseHandle();
    const unsigned long car = WriteDamagedEntries(m_layer, m_db.Path());
    ASSERT_NE(0u, car);
    EXPECT_NE("ok", QueryFile(m_db.Path(), "PRAGMA integrity_check"));

    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str())) << "MetaData reads";
    EXPECT_EQ(0, m_layer.FoundDamage());
    CObjectListT<CVehicle> vehicles;
    ASSERT_NE(0, m_layer.Load(&vehicles));
    EXPECT_EQ(1, vehicles.GetCount());
    EXPECT_EQ(0, m_layer.FoundDamage());

    CObjectListT<CEntry> entries;
    CEntryFilter filter;
    filter.SetVehicleID(car);
    EXPECT_EQ(0, m_layer.Load(&entries, &filter));
    EXPECT_EQ(0, entries.GetCount()) << "no half list";
    EXPECT_EQ(CDataLayer::fcDamaged, m_layer.GetLastFailure());
    EXPECT_EQ(1, m_layer.FoundDamage());
    // Damage found stays known for the connection, whatever succeeds or fails afterwards.
    ASSERT_NE(0, m_layer.Load(&vehicles));
    EXPECT_EQ(1, m_layer.FoundDamage());
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    EXPECT_EQ(0, m_layer.FoundDamage()) << "a new connection has met no damage yet";
}

TEST_F(FailureTest, ANewerVersionConnectsAsItIsAndItsOtherEntryLayoutRefusesInsertsAsLayout)
{
    EXPECT_STREQ(L"1.0", CDataLayer::GetFormatVersion());
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    EXPECT_STREQ(CDataLayer::GetFormatVersion(), m_layer.GetDBVersion()) << "the template's own version";
    EXPECT_EQ(0, m_layer.IsNewerVersion());
    const unsigned long car = CVehicleRecord(L"Car").Save(m_layer);
    CEntryRecord stored(car, CEntry::etRepair);
    ASSERT_NE(0u, stored.Description(L"Brakes").Save(m_layer));
    m_layer.Disconnect();
    m_db.CloseHandle();

    ASSERT_TRUE(MakeNewerVersion(m_db.Path()));
    const std::string before = FileBytes(m_db.Path());
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    EXPECT_STREQ(L"2.0", m_layer.GetDBVersion());
    EXPECT_EQ(1, m_layer.IsNewerVersion());
    EXPECT_EQ(before, FileBytes(m_db.Path())) << "connecting changed nothing";

    CEntryRecord added(car, CEntry::etFuel);
    EXPECT_EQ(0, m_layer.Save(&added.Odometer(10).Get(), 0));
    EXPECT_EQ(CDataLayer::fcLayout, m_layer.GetLastFailure()) << "no busy file: a retry cannot mend it";
    EXPECT_EQ(before, FileBytes(m_db.Path()));
    stored.Get().SetName(L"Brake pads");
    EXPECT_NE(0, m_layer.Save(&stored.Get(), 0)) << "an update fits the wider table";
}

struct VersionCase {
    const char* version;
    bool newer;
};

class VersionTest : public FailureTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, IsNewerComparesTheNumbersOfTheVersionText)
{
    ASSERT_EQ(SQLITE_OK, m_db.Exec(std::string("UPDATE MetaData SET Value='") + GetParam().version + "' WHERE ID=3"));
    m_db.CloseHandle();
    ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str()));
    EXPECT_EQ(GetParam().newer ? 1 : 0, m_layer.IsNewerVersion()) << GetParam().version;
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionTest,
                         ::testing::Values(VersionCase{"1.0", false}, VersionCase{"1", false},
                                           VersionCase{"0.9", false}, VersionCase{"1.00", false},
                                           VersionCase{"1.1", true}, VersionCase{"1.01", true},
                                           VersionCase{"2.0", true}, VersionCase{"10", true}, VersionCase{"", false},
                                           VersionCase{"beta", false}, VersionCase{"v2", false}));

}  // namespace
