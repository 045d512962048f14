// Transactions a caller opens: "BEGIN IMMEDIATE", commit and roll-back, and how a lock held by
// another connection shows (only Commit tells busy apart).
#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/TestDatabase.h"

namespace {

class Transactions : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.Path().c_str())); }
    int SaveVehicle(const wchar_t* name)
    {
        CVehicle v;
        v.SetName(name);
        return m_layer.Save(&v, 0);
    }
    long long VehiclesSeenByOthers() { return m_db.Integer("SELECT COUNT(*) FROM Vehicle"); }

    CTestDatabase m_db;
    CDataLayer m_layer;
};

TEST_F(Transactions, CommitMakesTheWorkVisible)
{
    ASSERT_EQ(1, m_layer.BeginTransaction());
    ASSERT_EQ(1, SaveVehicle(L"a"));
    ASSERT_EQ(1, SaveVehicle(L"b"));
    EXPECT_EQ(0, VehiclesSeenByOthers());
    EXPECT_EQ(CDataLayer::crCommitted, m_layer.Commit());
    EXPECT_EQ(2, VehiclesSeenByOthers());
}

TEST_F(Transactions, RollBackUndoesTheWork)
{
    ASSERT_EQ(1, SaveVehicle(L"kept"));
    ASSERT_EQ(1, m_layer.BeginTransaction());
    ASSERT_EQ(1, SaveVehicle(L"dropped"));
    ASSERT_EQ(1, m_layer.DeleteAllData());
    EXPECT_EQ(1, m_layer.RollBack());
    EXPECT_EQ(1, m_layer.GetNumVehicles());
    EXPECT_EQ("kept", m_db.Text("SELECT Name FROM Vehicle"));
    // Nothing open any more.
    EXPECT_EQ(0, m_layer.RollBack());
    EXPECT_EQ(CDataLayer::crFailed, m_layer.Commit());
}

TEST_F(Transactions, CommitWhileAnotherConnectionReadsIsBusyAndStaysOpen)
{
    ASSERT_EQ(1, m_layer.BeginTransaction());
    ASSERT_EQ(1, SaveVehicle(L"pending"));

    // The other connection holds a read lock through an open read transaction.
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN"));
    EXPECT_EQ(0, VehiclesSeenByOthers());
    EXPECT_EQ(CDataLayer::crBusy, m_layer.Commit());
    EXPECT_EQ(CDataLayer::crBusy, m_layer.Commit());
    // Still our transaction: a second one cannot begin.
    EXPECT_EQ(0, m_layer.BeginTransaction());

    ASSERT_EQ(SQLITE_OK, m_db.Exec("COMMIT"));
    EXPECT_EQ(CDataLayer::crCommitted, m_layer.Commit());
    EXPECT_EQ(1, VehiclesSeenByOthers());
}

TEST_F(Transactions, AnotherWritersLockFailsBeginAndPlainStatements)
{
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN IMMEDIATE"));
    EXPECT_EQ(0, m_layer.BeginTransaction());
    EXPECT_EQ(0, SaveVehicle(L"refused"));
    EXPECT_EQ(0, m_layer.DeleteAllData());
    ASSERT_EQ(SQLITE_OK, m_db.Exec("COMMIT"));
    EXPECT_EQ(1, SaveVehicle(L"now"));
    EXPECT_EQ(1, VehiclesSeenByOthers());
}

TEST_F(Transactions, OurTransactionKeepsOtherWritersOut)
{
    ASSERT_EQ(1, m_layer.BeginTransaction());
    EXPECT_EQ(SQLITE_BUSY, m_db.Exec("INSERT INTO Keyword VALUES(NULL,1,'x',1,0,0)"));
    EXPECT_EQ(CDataLayer::crCommitted, m_layer.Commit());
    EXPECT_EQ(SQLITE_OK, m_db.Exec("INSERT INTO Keyword VALUES(NULL,1,'x',1,0,0)"));
}

}  // namespace
