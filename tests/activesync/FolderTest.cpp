// The folder through the store, as the manager drives it: enumeration and its session, handle
// bytes, item comparison, change and update, validity, the folder's change check and duplicate
// removal (checked against a literal walk that reloads the database for every record).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "activesync/FolderImpl.h"
#include "activesync/ObjectContent.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

namespace {

const SYSTEMTIME kNow = Utc(2030, 3, 4, 5, 6, 7);

class FolderTest : public ::testing::Test {
protected:
    void Open()
    {
        key = std::make_unique<DesktopKey>(db.AnsiPath());
        s = std::make_unique<StoreSession>();
        ASSERT_EQ(S_OK, s->initialized);
    }
    void TearDown() override
    {
        s.reset();
        key.reset();
    }
    HREPLITEM ItemOf(const ItemFields& f) { return MakeItem(s->store, f.type, f.row, f.ref, f.modified); }

    CFixedClock clock{kNow};
    SyncDatabase db;
    std::unique_ptr<DesktopKey> key;
    std::unique_ptr<StoreSession> s;
};

}  // namespace

TEST_F(FolderTest, EnumeratesEveryKindInOrderAndEndsWithSOkAndNoItem)
{
    db.AddEntry(0x20, 0x99, CEntry::etFuel, 40000, 10, 1.5f);
    db.AddEntry(0x21, 0x99, CEntry::etExpense, 40001, 20, 2.5f, L"Wash");
    db.AddKeyword(0x40, CKeyword::ktFuelVendor, L"Shell");
    Open();

    HREPLITEM item = nullptr;
    BOOL exists = FALSE;
    ASSERT_EQ(S_OK, s->store->FindFirstItem(s->folder, &item, &exists));
    ASSERT_TRUE(exists);
    ItemFields f = ReadItem(s->store, item);
    EXPECT_EQ(1u, f.kind);
    EXPECT_EQ(2, f.type);
    EXPECT_EQ(1, f.row);
    EXPECT_EQ(0x20u, f.ref);
    EXPECT_EQ(db.Real("SELECT Modified FROM Entry WHERE ID=1"), f.modified) << "the date as stored";
    s->store->FreeObject(item);

    ASSERT_EQ(S_OK, s->store->FindNextItem(s->folder, &item, &exists));
    ASSERT_TRUE(exists);
    EXPECT_EQ(0x21u, ReadItem(s->store, item).ref);
    s->store->FreeObject(item);
    ASSERT_EQ(S_OK, s->store->FindNextItem(s->folder, &item, &exists));
    ASSERT_TRUE(exists);
    f = ReadItem(s->store, item);
    EXPECT_EQ(4, f.type);
    EXPECT_EQ(0x40u, f.ref);
    s->store->FreeObject(item);

    item = reinterpret_cast<HREPLITEM>(1);
    exists = TRUE;
    EXPECT_EQ(S_OK, s->store->FindNextItem(s->folder, &item, &exists));
    EXPECT_FALSE(exists);
    EXPECT_EQ(nullptr, item);
    EXPECT_EQ(S_OK, s->store->FindNextItem(s->folder, &item, &exists)) << "still the end";
    EXPECT_FALSE(exists);
    EXPECT_EQ(S_OK, s->store->FindItemClose(s->folder));
    EXPECT_EQ(E_FAIL, s->store->FindNextItem(s->folder, &item, &exists)) << "no enumeration running";
}

TEST_F(FolderTest, TheMutexIsHeldFromTheFirstItemToTheClose)
{
    Open();
    HREPLITEM item = nullptr;
    BOOL exists = TRUE;
    ASSERT_EQ(S_OK, s->store->FindFirstItem(s->folder, &item, &exists));
    EXPECT_FALSE(exists) << "an empty database";
    EXPECT_TRUE(MutexHeldElsewhere());
    s->store->FindItemClose(s->folder);
    EXPECT_FALSE(MutexHeldElsewhere());

    db.AddVehicle(0x10, L"Car");
    ASSERT_EQ(S_OK, s->store->FindFirstItem(s->folder, &item, &exists));
    ASSERT_TRUE(exists);
    s->store->FreeObject(item);
    EXPECT_TRUE(MutexHeldElsewhere());
    // The store's other calls still work on this thread meanwhile.
    EXPECT_EQ(S_OK, s->store->IsValidObject(s->folder, s->folder, 0));
    s->store->FindItemClose(s->folder);
    EXPECT_FALSE(MutexHeldElsewhere());

    // The folder's end closes a running enumeration too.
    ASSERT_EQ(S_OK, s->store->FindFirstItem(s->folder, &item, &exists));
    s->store->FreeObject(item);
    s->store->FreeObject(s->folder);
    s->folder = nullptr;
    EXPECT_FALSE(MutexHeldElsewhere());
}

TEST_F(FolderTest, AListThatCannotBeLoadedEndsTheEnumerationWithEFail)
{
    db.AddVehicle(0x10, L"Car");
    db.AddEntry(0x20, 0x10, CEntry::etFuel, 40000, 10, 1.5f);
    Open();
    HREPLITEM item = nullptr;
    BOOL exists = FALSE;
    ASSERT_EQ(S_OK, s->store->FindFirstItem(s->folder, &item, &exists));
    ASSERT_TRUE(exists);
    s->store->FreeObject(item);

    // Another connection locks the file before the entries are loaded.
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    EXPECT_EQ(E_FAIL, s->store->FindNextItem(s->folder, &item, &exists));
    EXPECT_FALSE(exists);
    EXPECT_EQ(E_FAIL, s->store->FindNextItem(s->folder, &item, &exists)) << "no end after a failure";
    sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    s->store->FindItemClose(s->folder);

    // A database that cannot be read fails at once, holding nothing.
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    EXPECT_EQ(E_FAIL, s->store->FindFirstItem(s->folder, &item, &exists));
    EXPECT_FALSE(MutexHeldElsewhere());
    sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

TEST_F(FolderTest, HandleBytesRoundTripAndCopyWithinTheirKind)
{
    Open();
    ItemFields f;
    f.kind = 1;
    f.type = 3;
    f.row = -7;
    f.ref = 0xFEDCBA98;
    f.modified = 41234.567891;
    HREPLITEM item = ItemOf(f);
    ASSERT_NE(nullptr, item);
    BYTE bytes[24];
    ASSERT_EQ(24u, s->store->ObjectToBytes(item, nullptr));
    ASSERT_EQ(24u, s->store->ObjectToBytes(item, bytes));
    const BYTE expected[24] = {1, 0, 0, 0, 3, 0, 0, 0, 0xF9, 0xFF, 0xFF, 0xFF, 0x98, 0xBA, 0xDC, 0xFE};
    EXPECT_EQ(0, std::memcmp(expected, bytes, 16));
    double date;
    std::memcpy(&date, bytes + 16, 8);
    EXPECT_EQ(41234.567891, date);

    BYTE folderBytes[4] = {9, 9, 9, 9};
    EXPECT_EQ(4u, s->store->ObjectToBytes(s->folder, folderBytes));
    EXPECT_EQ(0u, folderBytes[0] | folderBytes[1] | folderBytes[2] | folderBytes[3]);
    EXPECT_EQ(0u, s->store->ObjectToBytes(nullptr, bytes));

    HREPLITEM other = ItemOf(ItemFields{1, 2, 3, 4, 5.0});
    EXPECT_TRUE(s->store->CopyObject(item, other));
    EXPECT_EQ(0xFEDCBA98u, ReadItem(s->store, other).ref);
    EXPECT_EQ(41234.567891, ReadItem(s->store, other).modified);
    EXPECT_FALSE(s->store->CopyObject(item, s->folder));
    EXPECT_FALSE(s->store->CopyObject(s->folder, other));
    HREPLFLD folder2 = s->store->BytesToObject(folderBytes, 4);
    EXPECT_TRUE(s->store->CopyObject(s->folder, folder2));
    s->store->FreeObject(folder2);
    s->store->FreeObject(item);
    s->store->FreeObject(other);
}

TEST_F(FolderTest, BytesToObjectNeverReadsPastTheBytesItIsGiven)
{
    Open();
    BYTE itemBytes[24] = {1};
    BYTE folderBytes[24] = {0};
    for (UINT size = 0; size <= 24; ++size) {
        GuardedBytes item(itemBytes, size), folder(folderBytes, size);
        HREPLOBJ madeItem = s->store->BytesToObject(item.Get(), size);
        HREPLOBJ madeFolder = s->store->BytesToObject(folder.Get(), size);
        if (size < 24) {
            EXPECT_EQ(nullptr, madeItem) << size;
        } else {
            ASSERT_NE(nullptr, madeItem);
            EXPECT_EQ(24u, s->store->ObjectToBytes(madeItem, nullptr));
        }
        if (size < 4) {
            EXPECT_EQ(nullptr, madeFolder) << size;
        } else {
            ASSERT_NE(nullptr, madeFolder) << size;
            EXPECT_EQ(4u, s->store->ObjectToBytes(madeFolder, nullptr));
            // A folder from bytes is a folder of this store.
            EXPECT_EQ(S_OK, s->store->IsValidObject(madeFolder, madeFolder, 0));
        }
        s->store->FreeObject(madeItem);
        s->store->FreeObject(madeFolder);
    }
    EXPECT_EQ(nullptr, s->store->BytesToObject(nullptr, 24));
    BYTE oddKind[24] = {7};
    HREPLOBJ odd = s->store->BytesToObject(oddKind, 24);
    EXPECT_EQ(24u, s->store->ObjectToBytes(odd, nullptr)) << "any kind but 0 is an item";
    s->store->FreeObject(odd);
}

TEST_F(FolderTest, ItemsCompareByReferenceIDAsUnsignedNumbers)
{
    Open();
    HREPLITEM low = ItemOf(ItemFields{1, 1, 1, 0x00000001, 0});
    HREPLITEM high = ItemOf(ItemFields{1, 1, 2, 0xFFFFFFFF, 0});
    HREPLITEM same = ItemOf(ItemFields{1, 4, 9, 0x00000001, 3});
    EXPECT_EQ(-1, s->store->CompareItem(low, high));
    EXPECT_EQ(1, s->store->CompareItem(high, low));
    EXPECT_EQ(0, s->store->CompareItem(low, same));
    s->store->FreeObject(low);
    s->store->FreeObject(high);
    s->store->FreeObject(same);
}

TEST_F(FolderTest, ChangeAndUpdateWithAndWithoutAComparisonItem)
{
    const long row = db.AddVehicle(0x10, L"Car");
    Open();
    std::vector<ItemFields> items;
    ASSERT_EQ(S_OK, Enumerate(s->store, s->folder, &items));
    ASSERT_EQ(1u, items.size());
    HREPLITEM item = ItemOf(items[0]);
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, item, nullptr));
    EXPECT_TRUE(s->store->IsItemReplicated(s->folder, item));

    {
        CFixedClock later(Utc(2030, 3, 4, 5, 6, 8));
        CVehicle v;
        v.SetID(row);
        ASSERT_TRUE(db.Db().Load(&v));
        v.SetName(L"Renamed");
        ASSERT_TRUE(db.Db().Save(&v, 0));
    }
    EXPECT_TRUE(s->store->IsItemChanged(s->folder, item, nullptr));
    s->store->UpdateItem(s->folder, item, nullptr);
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, item, nullptr));
    const double stored = ReadItem(s->store, item).modified;
    EXPECT_NE(items[0].modified, stored);

    // With a comparison item no database is read: the dates alone decide.
    HREPLITEM older = ItemOf(items[0]);
    EXPECT_TRUE(s->store->IsItemChanged(s->folder, item, older));
    s->store->UpdateItem(s->folder, older, item);
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, item, older));
    EXPECT_EQ(stored, ReadItem(s->store, older).modified);

    // A record that is gone, or a database that cannot be opened, reads as unchanged.
    db.Db().Delete(CBaseObject::otVehicle, row);
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, older, nullptr));
    s->store->UpdateItem(s->folder, older, nullptr);
    EXPECT_EQ(stored, ReadItem(s->store, older).modified) << "no record: the date stays";
    s->store->FreeObject(item);
    s->store->FreeObject(older);
}

TEST_F(FolderTest, ValidityOfItemsAndFolders)
{
    const long row = db.AddKeyword(0x40, CKeyword::ktRepair, L"Brakes");
    Open();
    HREPLITEM item = ItemOf(ItemFields{1, CBaseObject::otKeyword, static_cast<int32_t>(row), 0x40, 0});
    HREPLITEM wrongKind = ItemOf(ItemFields{1, CBaseObject::otVehicle, static_cast<int32_t>(row), 0x40, 0});
    EXPECT_EQ(S_OK, s->store->IsValidObject(s->folder, item, 0));
    EXPECT_EQ(REPL_E_OBJECT_GONE, s->store->IsValidObject(s->folder, wrongKind, 0));
    EXPECT_EQ(S_OK, s->store->IsValidObject(nullptr, wrongKind, 0)) << "no folder: no question";
    EXPECT_EQ(S_OK, s->store->IsValidObject(s->folder, s->folder, 0));
    db.Db().Delete(CBaseObject::otKeyword, row);
    EXPECT_EQ(REPL_E_OBJECT_GONE, s->store->IsValidObject(s->folder, item, 0));
    db.CloseDb();
    ASSERT_TRUE(DeleteFileW(db.Path().c_str()));
    EXPECT_EQ(REPL_E_DATABASE_UNAVAILABLE, s->store->IsValidObject(s->folder, item, 0));
    s->store->FreeObject(item);
    s->store->FreeObject(wrongKind);
}

TEST_F(FolderTest, TheFolderChangesWithTheFilesLastWriteTime)
{
    Open();
    BOOL changed = FALSE;
    ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_TRUE(changed) << "the first check after the folder is made";
    ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_FALSE(changed);
    FILETIME later;
    SYSTEMTIME t = Utc(2031, 1, 1);
    SystemTimeToFileTime(&t, &later);
    HANDLE file = CreateFileW(db.Path().c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_TRUE(changed);
    ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
    EXPECT_FALSE(changed);

    // A time that cannot be read counts as a change, every time.
    db.CloseDb();
    ASSERT_TRUE(DeleteFileW(db.Path().c_str()));
    for (int i = 0; i < 2; ++i) {
        changed = FALSE;
        ASSERT_EQ(S_OK, s->store->IsFolderChanged(s->folder, &changed));
        EXPECT_TRUE(changed);
    }
    EXPECT_EQ(S_OK, s->store->IsFolderChanged(s->folder, nullptr));
}

TEST_F(FolderTest, DuplicateVehiclesGoWithTheirEntriesMovedToTheOneThatStays)
{
    for (unsigned long ref : {0x11ul, 0x12ul, 0x13ul}) db.AddVehicle(ref, L"Twin", 2003, 5000);
    db.AddVehicle(0x14, L"Twin", 2004, 5000);  // another year: no duplicate
    db.AddEntry(0x21, 0x11, CEntry::etFuel, 40000, 100, 30.0f);
    db.AddEntry(0x22, 0x12, CEntry::etRepair, 40001, 200, 99.0f, L"Brakes");
    db.AddEntry(0x23, 0x13, CEntry::etTrip, 40002, 300, 5.0f, L"Coast");
    db.AddReminder(0x31, 0x11, L"Oil", 40100, 9000);
    db.AddReminder(0x32, 0x12, L"Tyres", 40200, 9500);
    db.AddKeyword(0x41, CKeyword::ktCategory, L"Same");
    db.AddKeyword(0x42, CKeyword::ktRepair, L"Same");  // another type: no duplicate
    Open();

    CFixedClock later(Utc(2030, 3, 5));
    EXPECT_EQ(REPL_E_DUPLICATES_DELETED, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0));
    EXPECT_EQ("19|\n20|\n", db.Rows("SELECT RefID FROM Vehicle ORDER BY RefID"));
    // Every entry and reminder under the third twin, with its own reference id, its creation date
    // kept and a new modification date (it goes to the device again).
    EXPECT_EQ("33|19|\n34|19|\n35|19|\n", db.Rows("SELECT RefID, VehicleID FROM Entry ORDER BY RefID"));
    EXPECT_EQ("49|19|Oil|\n50|19|Tyres|\n", db.Rows("SELECT RefID, VehicleID, Name FROM Notification ORDER BY RefID"));
    EXPECT_EQ(2, db.Integer("SELECT COUNT(*) FROM Entry WHERE Created < Modified")) << "the third's own stays";
    EXPECT_EQ(2, db.Integer("SELECT COUNT(*) FROM Notification WHERE Created < Modified"));
    EXPECT_EQ("Brakes", db.Text("SELECT Name FROM Entry WHERE RefID=34"));
    EXPECT_EQ(2, db.Integer("SELECT COUNT(*) FROM Keyword"));

    EXPECT_EQ(S_OK, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0)) << "nothing left to remove";
}

// Entries sent to the device and moved within one step of the file's dates (a millionth of a
// day), or stored by a clock that ran ahead, still come out later than they were stored: the
// device's copies, naming the vehicle that went, are replaced at the next synchronisation.
TEST_F(FolderTest, MovedEntriesAreStoredAsChangedWhateverTheClockSays)
{
    {
        CFixedClock now(Utc(2030, 3, 5));
        db.AddVehicle(0x11, L"Twin", 2003, 5000);
        db.AddVehicle(0x12, L"Twin", 2003, 5000);
        db.AddEntry(0x21, 0x11, CEntry::etFuel, 40000, 100, 30.0f);
    }
    {
        CFixedClock ahead(Utc(2031, 1, 1));
        db.AddReminder(0x31, 0x11, L"Oil", 40100, 9000);
    }
    const char* dates = "SELECT Modified FROM Entry UNION ALL SELECT Modified FROM Notification";
    const std::string before = db.Rows(dates);
    Open();

    CFixedClock same(Utc(2030, 3, 5));
    EXPECT_EQ(REPL_E_DUPLICATES_DELETED, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0));
    EXPECT_EQ("33|18|\n", db.Rows("SELECT RefID, VehicleID FROM Entry"));
    EXPECT_EQ("49|18|\n", db.Rows("SELECT RefID, VehicleID FROM Notification"));
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Entry WHERE Modified <= Created"));
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Notification WHERE Modified <= Created"));
    EXPECT_NE(before, db.Rows(dates));
}

namespace {

// The walk as it reads: every record of every kind in order, each checked against the database
// as it stands at its turn (reloaded), deleted when another record of its kind with another
// reference id is equal to it; a vehicle's entries and reminders move to the first such record,
// stored as modified now or, when now would not store as later, a millionth of a day later.
void LiteralRemoveDuplicates(CDataLayer& db)
{
    auto modified = [](double was) { return std::max(CUtcClock::NowAsOLEDate(), was + 0.000001); };
    auto load = [&db](int type) -> CObjectList* {
        switch (type) {
        case 1: {
            auto* l = new CObjectListT<CVehicle>;
            db.Load(l);
            return l;
        }
        case 2: {
            auto* l = new CObjectListT<CEntry>;
            CEntryFilter all;
            db.Load(l, &all);
            return l;
        }
        case 3: {
            auto* l = new CObjectListT<CNotification>;
            db.Load(l, 0);
            return l;
        }
        default: {
            auto* l = new CObjectListT<CKeyword>;
            db.Load(l, CKeyword::ktAll);
            return l;
        }
        }
    };
    for (int type = 1; type <= 4; ++type) {
        std::unique_ptr<CObjectList> outer(load(type));
        for (int i = 0; i < outer->GetCount(); ++i) {
            CBaseObject* record = outer->GetItem(i);
            std::unique_ptr<CObjectList> now(load(type));
            CBaseObject* match = nullptr;
            for (int j = 0; j < now->GetCount() && !match; ++j) {
                CBaseObject* other = now->GetItem(j);
                if (other->GetRefID() != record->GetRefID() && AreObjectsEqual(*record, *other)) match = other;
            }
            if (!match) continue;
            if (type == 1) {
                CEntryFilter filter;
                filter.SetVehicleID(record->GetRefID());
                CObjectListT<CEntry> entries;
                db.Load(&entries, &filter);
                for (int k = 0; k < entries.GetCount(); ++k) {
                    CEntry* e = entries.Get(k);
                    const long old = e->GetID();
                    e->SetID(0);
                    e->SetVehicleID(match->GetRefID());
                    e->SetDateModified(modified(e->GetDateModified()));
                    db.Save(e, 1);
                    db.Delete(CBaseObject::otEntry, old);
                }
                CObjectListT<CNotification> reminders;
                db.Load(&reminders, record->GetRefID());
                for (int k = 0; k < reminders.GetCount(); ++k) {
                    CNotification* n = reminders.Get(k);
                    const long old = n->GetID();
                    n->SetID(0);
                    n->SetVehicleID(match->GetRefID());
                    n->SetDateModified(modified(n->GetDateModified()));
                    db.Save(n, 1);
                    db.Delete(CBaseObject::otNotification, old);
                }
                db.Delete(static_cast<CVehicle*>(record));
            } else {
                db.Delete(static_cast<CBaseObject::ObjectType>(type), record->GetID());
            }
        }
    }
}

}  // namespace

TEST_F(FolderTest, DuplicateRemovalLeavesWhatTheLiteralWalkLeaves)
{
    // Small value ranges make many equal records; shared reference ids and -0.0 beside 0.0 too.
    std::mt19937 random(20240611);
    auto pick = [&random](int n) { return static_cast<int>(random() % n); };
    const wchar_t* names[] = {L"A", L"B"};
    ASSERT_TRUE(db.Db().BeginTransaction());
    for (int i = 0; i < 14; ++i) {
        db.AddVehicle(0x100 + (i == 5 ? 3 : i), names[pick(2)], 2000 + pick(2), 1000);
    }
    for (int i = 0; i < 80; ++i) {
        const float amount = pick(3) == 0 ? -0.0f : static_cast<float>(pick(2));
        db.AddEntry(0x1000 + (i % 17 == 0 ? 1 : i), 0x100 + pick(14), static_cast<CEntry::Type>(1 + pick(2)),
                    40000 + pick(2), 100, amount, names[pick(2)]);
    }
    for (int i = 0; i < 25; ++i) db.AddReminder(0x2000 + i, 0x100 + pick(14), names[pick(2)], 40000, 100 * pick(2));
    for (int i = 0; i < 20; ++i) {
        db.AddKeyword(0x3000 + i, static_cast<CKeyword::Type>(1 + pick(2)), names[pick(2)]);
    }
    ASSERT_EQ(CDataLayer::crCommitted, db.Db().Commit());
    db.CloseDb();
    SyncDatabase literal;
    literal.CloseDb();
    ASSERT_TRUE(CopyFileW(db.Path().c_str(), literal.Path().c_str(), FALSE));

    Open();
    CFixedClock later(Utc(2030, 3, 5));
    EXPECT_EQ(REPL_E_DUPLICATES_DELETED, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0));
    ASSERT_TRUE(literal.Db().BeginTransaction());
    LiteralRemoveDuplicates(literal.Db());
    ASSERT_EQ(CDataLayer::crCommitted, literal.Db().Commit());

    for (const char* table : {"Vehicle", "Entry", "Notification", "Keyword"}) {
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY ID";
        EXPECT_EQ(literal.Rows(sql), db.Rows(sql)) << table;
    }
    EXPECT_LT(db.Integer("SELECT COUNT(*) FROM Entry"), 80);
    EXPECT_EQ(S_OK, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0));
}

TEST_F(FolderTest, DuplicateRemovalWithoutADatabaseDeletesNothing)
{
    Open();
    db.CloseDb();
    ASSERT_TRUE(DeleteFileW(db.Path().c_str()));
    EXPECT_EQ(S_OK, s->store->RemoveDuplicates(const_cast<char*>("ALK"), 0));
    CFolderImpl* folder = CFolderImpl::FromHandle(s->folder);
    EXPECT_EQ(E_FAIL, folder->RemoveDuplicates());
}
