// The 8-bit build of the Palm conduit: char texts stored byte for byte, the newest-entry load in
// place of the plain entry load, no largest-odometer query, no class-level allocation, and paths
// in the ANSI code page.
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/TestDatabase.h"

namespace {

// What the build leaves out, checked by the compiler.
template <class T, class = void>
struct HasMaxOdometer : std::false_type {};
template <class T>
struct HasMaxOdometer<T, decltype(void(&T::GetMaxOdometer))> : std::true_type {};
template <class T, class = void>
struct HasSingleEntryLoad : std::false_type {};
template <class T>
struct HasSingleEntryLoad<T, decltype(void(std::declval<T&>().Load(std::declval<CEntry*>())))> : std::true_type {};
template <class T, class = void>
struct HasClassNew : std::false_type {};
template <class T>
struct HasClassNew<T, decltype(void(&T::operator new))> : std::true_type {};

static_assert(!HasMaxOdometer<CDataLayer>::value, "no largest-odometer query in this build");
static_assert(!HasSingleEntryLoad<CDataLayer>::value, "Load(CEntry*, int) takes its place");
static_assert(!HasClassNew<CBaseObject>::value, "records use the global allocator here");
static_assert(std::is_same<decltype(std::declval<CVehicle&>().GetName()), const char*>::value, "texts are 8-bit");

class EightBit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CDataLayer::csConnected, m_layer.Connect(m_db.AnsiPath().c_str())); }
    CTestDatabase m_db;
    CDataLayer m_layer;
};

TEST(EightBitRecords, TextsAreBytes)
{
    CKeyword k;
    k.SetName("Caf\xe9");
    EXPECT_EQ(1, k.IsDirty());
    k.SetDirty(0);
    k.SetName("Caf\xe9");
    EXPECT_EQ(0, k.IsDirty());
    k.SetName("caf\xe9");
    EXPECT_EQ(1, k.IsDirty());
    EXPECT_STREQ("", CVehicle().GetVIN());

    CDefaultStringHelper helper;
    const char* text = "Caf\xe9";
    EXPECT_EQ(text, helper.Encode(text));
    EXPECT_EQ(text, helper.Decode(text));
    EXPECT_STREQ("", helper.Encode(nullptr));
}

TEST(EightBitRecords, SortIgnoresCase)
{
    CObjectListT<CKeyword> list;
    for (const char* name : {"b", "A", "a", "C"}) {
        CKeyword* k = new CKeyword;
        k->SetName(name);
        list.Add(k);
    }
    list.SortByName();
    EXPECT_EQ('a', tolower(list.Get(0)->GetName()[0]));
    EXPECT_EQ('a', tolower(list.Get(1)->GetName()[0]));
    EXPECT_STREQ("b", list.Get(2)->GetName());
    EXPECT_STREQ("C", list.Get(3)->GetName());
}

TEST_F(EightBit, BytesAreStoredAndReadAsGiven)
{
    CVehicle v;
    v.SetName("Caf\xe9 it's");
    ASSERT_EQ(1, m_layer.Save(&v, 0));
    EXPECT_EQ("Caf\xe9 it's", m_db.Text("SELECT Name FROM Vehicle"));

    // UTF-8 written by the desktop comes back as the same bytes.
    ASSERT_EQ(SQLITE_OK, m_db.Exec("UPDATE Vehicle SET Name='M\xc3\xbcller'"));
    CVehicle loaded;
    loaded.SetID(v.GetID());
    ASSERT_EQ(1, m_layer.Load(&loaded));
    EXPECT_STREQ("M\xc3\xbcller", loaded.GetName());
    EXPECT_STREQ("1.0", m_layer.GetDBVersion());
    EXPECT_STREQ(m_db.AnsiPath().c_str(), m_layer.GetDBPath());
}

TEST_F(EightBit, EntryByRowIdOrTheNewestOfItsVehicle)
{
    const double created[] = {39500.0, 39502.0, 39501.0};
    long ids[3];
    for (int i = 0; i < 3; ++i) {
        CEntry e;
        e.SetVehicleID(7);
        e.SetOdometer(1000 * (i + 1));
        e.SetDateCreated(created[i]);
        e.SetDateModified(created[i]);
        ASSERT_EQ(1, m_layer.Save(&e, 1));
        ids[i] = e.GetID();
    }
    CEntry other;
    other.SetVehicleID(8);
    other.SetDateCreated(39600.0);
    ASSERT_EQ(1, m_layer.Save(&other, 1));

    CEntry byId;
    byId.SetID(ids[0]);
    ASSERT_EQ(1, m_layer.Load(&byId, 0));
    EXPECT_EQ(1000, byId.GetOdometer());

    CEntry newest;
    newest.SetVehicleID(7);
    ASSERT_EQ(1, m_layer.Load(&newest, 1));
    EXPECT_EQ(ids[1], newest.GetID());
    EXPECT_EQ(2000, newest.GetOdometer());

    CEntry none;
    EXPECT_EQ(0, m_layer.Load(&none, 0));
    EXPECT_EQ(0, m_layer.Load(&none, 1));
    none.SetVehicleID(99);
    EXPECT_EQ(0, m_layer.Load(&none, 1));
}

TEST_F(EightBit, ConduitTransactionAndLookUps)
{
    ASSERT_EQ(1, m_layer.BeginTransaction());
    CNotification n;
    n.SetRefID(77);
    n.SetDateCreated(39000.5);
    n.SetDateModified(39001.5);
    ASSERT_EQ(1, m_layer.Save(&n, 1));
    ASSERT_EQ(SQLITE_OK, m_db.Exec("BEGIN"));
    m_db.Integer("SELECT COUNT(*) FROM Notification");
    EXPECT_EQ(CDataLayer::crBusy, m_layer.Commit());
    ASSERT_EQ(SQLITE_OK, m_db.Exec("COMMIT"));
    EXPECT_EQ(CDataLayer::crCommitted, m_layer.Commit());
    EXPECT_EQ(static_cast<unsigned long>(n.GetID()), m_layer.GetID(CBaseObject::otNotification, 77));
    EXPECT_EQ(39000.5, m_db.Real("SELECT Created FROM Notification"));
}

TEST(EightBitConnect, AnsiPathWithAnAccentedFolder)
{
    CTestDatabase db(L"test.dat", L"Donn\u00e9es");
    db.CloseHandle();
    const std::string path = db.AnsiPath();
    // The ANSI form of the path holds the accented letter as a single non-ASCII byte.
    ASSERT_NE(std::string::npos, path.find('\xe9'));
    {
        CDataLayer layer;
        ASSERT_EQ(CDataLayer::csConnected, layer.Connect(path.c_str()));
        CKeyword k;
        k.SetName("Shell");
        ASSERT_EQ(1, layer.Save(&k, 0));
    }
    // The write went into the file under its wide name, and no other file was made beside it.
    EXPECT_EQ("Shell", db.Text("SELECT Name FROM Keyword"));
}

TEST(EightBitConnect, StatusesAndLongPaths)
{
    CTestDatabase db;
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(""));
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect((db.AnsiPath() + ".missing").c_str()));
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.AnsiPath().c_str()));
    EXPECT_NE(0u, layer.GetStoreID());
    std::string longPath = db.AnsiPath();
    longPath.insert(longPath.rfind('\\'), "\\" + std::string(300, 'x') + "\\..");
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(longPath.c_str()));
    EXPECT_EQ(0, layer.IsConnected());
}

}  // namespace
