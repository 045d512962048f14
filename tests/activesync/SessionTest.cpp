// Database sessions: the mutex held exactly while connected (within a thread and across threads,
// a failed connection, an abandoned mutex), loading by object type and the record holder.
#include <windows.h>

#include <gtest/gtest.h>

#include "activesync/ObjectHolder.h"
#include "activesync/SyncDataLayer.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

namespace {

// Connects a session on a thread of its own, keeps it while `hold` is unset, then destroys it.
struct SessionThread {
    std::string path;
    HANDLE connected = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE hold = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    int status = -1;

    explicit SessionThread(const std::string& p) : path(p)
    {
        thread = CreateThread(nullptr, 0, &SessionThread::Run, this, 0, nullptr);
    }
    ~SessionThread()
    {
        SetEvent(hold);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(connected);
        CloseHandle(hold);
    }
    static DWORD WINAPI Run(void* self_)
    {
        SessionThread* self = static_cast<SessionThread*>(self_);
        CSyncDataLayer session;
        self->status = session.Connect(self->path.c_str());
        SetEvent(self->connected);
        WaitForSingleObject(self->hold, INFINITE);
        return 0;
    }
};

class SessionTest : public ::testing::Test {
protected:
    SyncDatabase db;
};

}  // namespace

TEST_F(SessionTest, TwoSessionsOfOneThreadConnectAndEachReleasesOnce)
{
    {
        CSyncDataLayer first;
        ASSERT_EQ(CDataLayer::csConnected, first.Connect(db.AnsiPath().c_str()));
        {
            CSyncDataLayer second;
            EXPECT_EQ(CDataLayer::csConnected, second.Connect(db.AnsiPath().c_str()));
            EXPECT_TRUE(MutexHeldElsewhere());
        }
        EXPECT_TRUE(MutexHeldElsewhere()) << "the first session still holds it";
    }
    EXPECT_FALSE(MutexHeldElsewhere());
}

TEST_F(SessionTest, AnotherThreadWaitsUntilTheFirstSessionIsDestroyed)
{
    auto first = std::make_unique<CSyncDataLayer>();
    ASSERT_EQ(CDataLayer::csConnected, first->Connect(db.AnsiPath().c_str()));
    SessionThread other(db.AnsiPath());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(other.connected, 300));
    first.reset();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(other.connected, 10000));
    EXPECT_EQ(CDataLayer::csConnected, other.status);
}

TEST_F(SessionTest, AFailedConnectionLeavesTheMutexFree)
{
    CSyncDataLayer missing;
    EXPECT_EQ(CDataLayer::csFileNotFound, missing.Connect((db.AnsiPath() + ".gone").c_str()));
    EXPECT_FALSE(MutexHeldElsewhere());

    // Not a database: the engine opens it, the check refuses it.
    SyncDatabase notADatabase;
    notADatabase.Handle();
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(notADatabase.Handle(), "DROP TABLE MetaData", nullptr, nullptr, nullptr));
    notADatabase.CloseHandle();
    CSyncDataLayer invalid;
    EXPECT_EQ(CDataLayer::csInvalidDatabase, invalid.Connect(notADatabase.AnsiPath().c_str()));
    EXPECT_FALSE(MutexHeldElsewhere());

    CSyncDataLayer empty;
    EXPECT_EQ(CDataLayer::csFileNotFound, empty.Connect(""));
    EXPECT_EQ(CDataLayer::csFileNotFound, empty.Connect(nullptr));
    EXPECT_FALSE(MutexHeldElsewhere());

    SessionThread other(db.AnsiPath());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(other.connected, 10000));
    EXPECT_EQ(CDataLayer::csConnected, other.status);
}

TEST_F(SessionTest, AMutexAbandonedByAnEndedThreadIsTakenOver)
{
    struct Abandon {
        static DWORD WINAPI Run(void*)
        {
            HANDLE mutex = CreateMutexA(nullptr, FALSE, ALK_DATABASE_SESSION_MUTEX);
            WaitForSingleObject(mutex, INFINITE);
            return 0;  // ends owning it; the handle stays open so the mutex lives on
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, &Abandon::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);

    {
        CSyncDataLayer session;
        EXPECT_EQ(CDataLayer::csConnected, session.Connect(db.AnsiPath().c_str()));
        EXPECT_TRUE(MutexHeldElsewhere());
    }
    EXPECT_FALSE(MutexHeldElsewhere());
}

TEST_F(SessionTest, LoadObjectByTypeAndRowID)
{
    const long vehicle = db.AddVehicle(0x101, L"Blue car", 2001, 12345);
    const long entry = db.AddEntry(0x201, 0x101, CEntry::etTrip, 40000.5, 12000, 7.5f, L"To the coast");
    const long reminder = db.AddReminder(0x301, 0x101, L"Oil", 40100.25, 15000);
    const long keyword = db.AddKeyword(0x401, CKeyword::ktExpense, L"Parking");

    CSyncDataLayer session;
    EXPECT_EQ(nullptr, session.LoadObject(CBaseObject::otVehicle, vehicle)) << "not connected";
    ASSERT_EQ(CDataLayer::csConnected, session.Connect(db.AnsiPath().c_str()));

    CObjectHolder v(session.LoadObject(CBaseObject::otVehicle, vehicle));
    ASSERT_NE(nullptr, v.Get());
    EXPECT_EQ(0x101u, v.Get()->GetRefID());
    EXPECT_EQ(12345, static_cast<CVehicle*>(v.Get())->GetCurrentOdometer());
    CObjectHolder e(session.LoadObject(CBaseObject::otEntry, entry));
    ASSERT_NE(nullptr, e.Get());
    EXPECT_EQ(CEntry::etTrip, static_cast<CEntry*>(e.Get())->GetType());
    EXPECT_STREQ(L"To the coast", e.Get()->GetName());
    CObjectHolder n(session.LoadObject(CBaseObject::otNotification, reminder));
    ASSERT_NE(nullptr, n.Get());
    EXPECT_EQ(15000, static_cast<CNotification*>(n.Get())->GetOdometer());
    CObjectHolder k(session.LoadObject(CBaseObject::otKeyword, keyword));
    ASSERT_NE(nullptr, k.Get());
    EXPECT_EQ(CKeyword::ktExpense, static_cast<CKeyword*>(k.Get())->GetType());

    EXPECT_EQ(nullptr, session.LoadObject(5, vehicle));
    EXPECT_EQ(nullptr, session.LoadObject(0, vehicle));
    EXPECT_EQ(nullptr, session.LoadObject(CBaseObject::otEntry, entry + 100)) << "a row that is gone";
    db.Db().Delete(static_cast<CEntry*>(e.Get()));
    EXPECT_EQ(nullptr, session.LoadObject(CBaseObject::otEntry, entry));
}

TEST_F(SessionTest, SaveStampsTheTimeOfTheSaveAndDeleteTakesAVehiclesRecords)
{
    db.AddVehicle(0x101, L"Car");
    db.AddEntry(0x201, 0x101, CEntry::etFuel, 40000, 100, 20.0f);
    db.AddReminder(0x301, 0x101, L"Tyres", 40001, 200);
    db.AddVehicle(0x102, L"Other");
    db.AddEntry(0x202, 0x102, CEntry::etFuel, 40000, 100, 20.0f);

    CSyncDataLayer session;
    EXPECT_EQ(0, session.SaveObject(nullptr));
    ASSERT_EQ(CDataLayer::csConnected, session.Connect(db.AnsiPath().c_str()));
    const SYSTEMTIME later = Utc(2031, 5, 6, 7, 8, 9);
    CFixedClock clock(later);
    CObjectHolder vehicle(session.LoadObject(CBaseObject::otVehicle, 1));
    ASSERT_NE(nullptr, vehicle.Get());
    vehicle.Get()->SetName(L"Renamed");
    ASSERT_TRUE(session.SaveObject(vehicle.Get()));
    EXPECT_EQ(OleDate(later), vehicle.Get()->GetDateModified());
    EXPECT_EQ("Renamed", db.Text("SELECT Name FROM Vehicle WHERE RefID=257"));

    EXPECT_EQ(0, session.DeleteObject(nullptr));
    ASSERT_TRUE(session.DeleteObject(vehicle.Get()));
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Entry WHERE VehicleID=257"));
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Notification"));
    EXPECT_EQ(1, db.Integer("SELECT COUNT(*) FROM Entry WHERE VehicleID=258"));
}

namespace {

// A vehicle that counts its destruction.
class CountedVehicle : public CVehicle {
public:
    explicit CountedVehicle(int* deaths) : m_deaths(deaths) {}
    ~CountedVehicle() override { ++*m_deaths; }

private:
    int* m_deaths;
};

}  // namespace

TEST(ObjectHolderTest, HoldsOneRecordAtATimeUntilGivenUp)
{
    int deaths = 0;
    {
        CObjectHolder holder(new CountedVehicle(&deaths));
        holder.Hold(new CountedVehicle(&deaths));
        EXPECT_EQ(1, deaths) << "holding another deletes the first";
        holder.Hold(holder.Get());
        EXPECT_EQ(1, deaths) << "holding the same record again keeps it";
        CBaseObject* mine = holder.GiveUp();
        EXPECT_EQ(nullptr, holder.Get());
        delete mine;
        EXPECT_EQ(2, deaths);
        holder.Hold(new CountedVehicle(&deaths));
    }
    EXPECT_EQ(3, deaths);
}
