// Duplicate removal on a session alone, without a store or a folder: what makes two records one
// group (the bucket of their numbers, reference ids), which of a group survives, and what the
// removal reports when a kind cannot be loaded. The removal through the store, and its agreement
// with a literal walk, is FolderTest's.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "activesync/DuplicateRemoval.h"
#include "activesync/ObjectEnumerator.h"
#include "activesync/SyncDataLayer.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

namespace {

class DuplicateRemovalTest : public ::testing::Test {
protected:
    void Connect() { ASSERT_EQ(CDataLayer::csConnected, session.Connect(db.AnsiPath().c_str())); }

    CFixedClock clock{Utc(2030, 3, 4)};
    SyncDatabase db;
    CSyncDataLayer session;
};

}  // namespace

TEST_F(DuplicateRemovalTest, OfEachGroupTheLastSurvivesAndASecondRunFindsNothing)
{
    for (unsigned long ref : {0x41ul, 0x42ul, 0x43ul}) db.AddKeyword(ref, CKeyword::ktFuelVendor, L"Shell");
    db.AddKeyword(0x44, CKeyword::ktFuelVendor, L"shell");  // texts compare with case
    db.AddReminder(0x31, 0x10, L"Oil", 40100, 9000);
    db.AddReminder(0x32, 0x10, L"Oil", 40100, 9000);
    Connect();

    CDuplicateRemoval removal(session);
    EXPECT_TRUE(removal.Run());
    EXPECT_TRUE(removal.Deleted());
    EXPECT_EQ("67|\n68|\n", db.Rows("SELECT RefID FROM Keyword ORDER BY RefID"));
    EXPECT_EQ("50|\n", db.Rows("SELECT RefID FROM Notification"));

    CDuplicateRemoval again(session);
    EXPECT_TRUE(again.Run());
    EXPECT_FALSE(again.Deleted());
}

TEST_F(DuplicateRemovalTest, ZeroAndNegativeZeroFallInOneBucket)
{
    // Equal as numbers, so equal records; but their bits differ, and a bucket made of the bits
    // alone would never bring the two together.
    db.AddEntry(0x21, 0x10, CEntry::etExpense, 40000, 100, 0.0f, L"Wash");
    db.AddEntry(0x22, 0x10, CEntry::etExpense, 40000, 100, 0.0f, L"Wash");
    Connect();
    std::unique_ptr<CObjectList> entries(CObjectEnumerator::LoadList(&session, CBaseObject::otEntry));
    ASSERT_TRUE(entries);
    ASSERT_EQ(2, entries->GetCount());
    static_cast<CEntry*>(entries->GetItem(0))->SetAmount(-0.0f);

    CDuplicateRemoval removal(session);
    EXPECT_TRUE(removal.RemoveFrom(*entries));
    EXPECT_EQ(1, db.Integer("SELECT COUNT(*) FROM Entry"));
}

TEST_F(DuplicateRemovalTest, RecordsSharingAReferenceIDAreNotDuplicatesOfEachOther)
{
    // Two rows of one record (as a device may leave them) are kept; a third equal record with a
    // reference id of its own is what makes them duplicates.
    db.AddKeyword(0x41, CKeyword::ktCategory, L"Business");
    db.AddKeyword(0x41, CKeyword::ktCategory, L"Business");
    Connect();
    CDuplicateRemoval removal(session);
    EXPECT_TRUE(removal.Run());
    EXPECT_FALSE(removal.Deleted());
    EXPECT_EQ(2, db.Integer("SELECT COUNT(*) FROM Keyword"));

    db.AddKeyword(0x42, CKeyword::ktCategory, L"Business");
    EXPECT_TRUE(removal.Run());
    EXPECT_TRUE(removal.Deleted());
    EXPECT_EQ("66|\n", db.Rows("SELECT RefID FROM Keyword"));
}

TEST_F(DuplicateRemovalTest, AKindThatCannotBeLoadedEndsTheRun)
{
    db.AddKeyword(0x41, CKeyword::ktCategory, L"Business");
    db.AddKeyword(0x42, CKeyword::ktCategory, L"Business");
    Connect();
    // Another connection locks the file: not even the vehicles can be loaded.
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    CDuplicateRemoval removal(session);
    EXPECT_FALSE(removal.Run());
    EXPECT_FALSE(removal.Deleted());
    sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    EXPECT_EQ(2, db.Integer("SELECT COUNT(*) FROM Keyword"));
}
