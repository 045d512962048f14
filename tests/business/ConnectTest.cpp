// Connecting: the statuses, validation of the MetaData rows, the store id, long and non-ASCII
// paths, and what a connection that ended still tells.
#include <cctype>
#include <fstream>
#include <list>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/TestDatabase.h"

namespace {

// A folder of the test under the temporary folder (alkbiz-...), removed with what it holds.
class CTestFolder : public CScratchFolder {
public:
    explicit CTestFolder(const std::wstring& leaf = L"") : CScratchFolder(L"alkbiz", leaf) {}
};

TEST(Connect, FreshTemplateGetsAStoreIdOnce)
{
    CTestDatabase db;
    ASSERT_EQ(0, db.Integer("SELECT Value FROM MetaData WHERE ID=1"));
    db.CloseHandle();

    unsigned long storeID = 0;
    {
        CDataLayer layer;
        ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
        EXPECT_EQ(1, layer.IsConnected());
        storeID = layer.GetStoreID();
        EXPECT_NE(0u, storeID);
        EXPECT_STREQ(db.Path().c_str(), layer.GetDBPath());
        EXPECT_STREQ(L"1.0", layer.GetDBVersion());
        EXPECT_STREQ(sqlite3_libversion(), layer.GetDBLibVersion());
    }
    EXPECT_EQ(static_cast<long long>(storeID), db.Integer("SELECT Value FROM MetaData WHERE ID=1"));
    // The MetaData rows keep their order and the other two rows are untouched.
    EXPECT_EQ("ALK", db.Text("SELECT Value FROM MetaData LIMIT 1 OFFSET 1"));
    db.CloseHandle();

    CDataLayer again;
    ASSERT_EQ(CDataLayer::csConnected, again.Connect(db.Path().c_str()));
    EXPECT_EQ(storeID, again.GetStoreID());
}

TEST(Connect, StoreIdBeyondTwoToThe31IsReadBackUnsigned)
{
    CTestDatabase db;
    ASSERT_EQ(SQLITE_OK, db.Exec("UPDATE MetaData SET Value=3000000000 WHERE ID=1"));
    db.CloseHandle();
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    EXPECT_EQ(3000000000u, layer.GetStoreID());
}

TEST(Connect, MissingFileOrEmptyPath)
{
    CTestFolder folder;
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(folder.File(L"none.dat").c_str()));
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(L""));
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(nullptr));
    EXPECT_EQ(0, layer.IsConnected());
    // Never created.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.File(L"none.dat").c_str()));
}

TEST(Connect, ReadOnlyFileEndsTheEarlierConnection)
{
    CTestDatabase good(L"good.dat");
    CTestDatabase locked(L"locked.dat");
    locked.CloseHandle();
    ASSERT_TRUE(SetFileAttributesW(locked.Path().c_str(), FILE_ATTRIBUTE_READONLY));

    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(good.Path().c_str()));
    EXPECT_EQ(CDataLayer::csReadOnly, layer.Connect(locked.Path().c_str()));
    EXPECT_EQ(0, layer.IsConnected());
    EXPECT_EQ(0u, layer.GetStoreID());
    EXPECT_EQ(0, layer.GetNumVehicles());
}

TEST(Connect, FileThatIsNoDatabase)
{
    CTestFolder folder;
    const std::wstring path = folder.File(L"notes.dat");
    std::ofstream(path.c_str()) << "This is a text file, not a database file at all.\n";
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csInvalidDatabase, layer.Connect(path.c_str()));
    EXPECT_EQ(CDataLayer::fcNotDatabase, layer.GetLastFailure()) << "no damaged database: none at all";
    EXPECT_EQ(0, layer.IsConnected());
    // The handle was closed: the file can go.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(Connect, FolderCannotBeOpened)
{
    CTestFolder folder(L"sub");
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csCannotOpen, layer.Connect(folder.Path().c_str()));
    EXPECT_EQ(CDataLayer::fcCannotOpen, layer.GetLastFailure());
}

struct BadMetaData {
    const char* name;
    const char* change;
};

class ConnectInvalid : public ::testing::TestWithParam<BadMetaData> {};

TEST_P(ConnectInvalid, IsRefusedAndLeftUnchanged)
{
    CTestDatabase db;
    ASSERT_EQ(SQLITE_OK, db.Exec(GetParam().change));
    db.CloseHandle();
    CDataLayer layer;
    EXPECT_EQ(CDataLayer::csInvalidDatabase, layer.Connect(db.Path().c_str()));
    EXPECT_EQ(CDataLayer::fcNotDatabase, layer.GetLastFailure());
    EXPECT_EQ(0, layer.IsConnected());
    // The zero store id was not replaced in a file that failed validation.
    if (db.Integer("SELECT COUNT(*) FROM sqlite_master WHERE name='MetaData'") == 1 &&
        db.Integer("SELECT COUNT(*) FROM MetaData WHERE ID=1") == 1) {
        EXPECT_EQ(0, db.Integer("SELECT Value FROM MetaData WHERE ID=1"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    MetaData, ConnectInvalid,
    ::testing::Values(BadMetaData{"LowerCaseSignature", "UPDATE MetaData SET Value='alk' WHERE ID=2"},
                      BadMetaData{"LongerSignature", "UPDATE MetaData SET Value='ALKX' WHERE ID=2"},
                      BadMetaData{"NullSignature", "UPDATE MetaData SET Value=NULL WHERE ID=2"},
                      BadMetaData{"OnlyTwoRows", "DELETE FROM MetaData WHERE ID=3"},
                      BadMetaData{"NullVersion", "UPDATE MetaData SET Value=NULL WHERE ID=3"},
                      BadMetaData{"NoRows", "DELETE FROM MetaData"}, BadMetaData{"NoTable", "DROP TABLE MetaData"}),
    [](const ::testing::TestParamInfo<BadMetaData>& info) { return std::string(info.param.name); });

TEST(Connect, ARefusedFileLeavesNoStoreIdOrVersionBehind)
{
    CTestDatabase good(L"good.dat");
    good.CloseHandle();
    CTestDatabase bad(L"bad.dat");
    ASSERT_EQ(SQLITE_OK, bad.Exec("UPDATE MetaData SET Value=77 WHERE ID=1"));
    ASSERT_EQ(SQLITE_OK, bad.Exec("UPDATE MetaData SET Value='alk' WHERE ID=2"));
    bad.CloseHandle();

    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(good.Path().c_str()));
    ASSERT_NE(0u, layer.GetStoreID());
    EXPECT_EQ(CDataLayer::csInvalidDatabase, layer.Connect(bad.Path().c_str()));
    EXPECT_EQ(0u, layer.GetStoreID()) << "the refused file's store id";
    EXPECT_STREQ(L"", layer.GetDBVersion());
    EXPECT_STREQ(L"", layer.GetDBPath());

    // A fresh copy whose new store id cannot be written (another connection holds the write
    // lock): the id made for it was never stored, and is not handed out.
    CTestDatabase fresh(L"fresh.dat");
    ASSERT_EQ(SQLITE_OK, fresh.Exec("BEGIN IMMEDIATE"));
    EXPECT_EQ(CDataLayer::csInvalidDatabase, layer.Connect(fresh.Path().c_str()));
    EXPECT_EQ(0u, layer.GetStoreID());
    EXPECT_STREQ(L"", layer.GetDBVersion());
    ASSERT_EQ(SQLITE_OK, fresh.Exec("ROLLBACK"));
    EXPECT_EQ(0, fresh.Integer("SELECT Value FROM MetaData WHERE ID=1"));
}

TEST(Connect, VersionTextIsCutToFourCharacters)
{
    CTestDatabase db;
    ASSERT_EQ(SQLITE_OK, db.Exec("UPDATE MetaData SET Value='12345678' WHERE ID=3"));
    db.CloseHandle();
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    EXPECT_STREQ(L"1234", layer.GetDBVersion());
}

TEST(Connect, PathLongerThanTheBufferIsRefused)
{
    CTestDatabase db;
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    std::wstring longPath = db.Path();
    longPath.insert(longPath.find_last_of(L'\\'), L"\\" + std::wstring(300, L'x') + L"\\..");
    ASSERT_GT(longPath.size(), 260u);
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(longPath.c_str()));
    EXPECT_EQ(CDataLayer::fcPathTooLong, layer.GetLastFailure()) << "not taken for a missing file";
    EXPECT_EQ(0, layer.IsConnected());
    EXPECT_STREQ(L"", layer.GetDBPath());
    // One character over is too long as well; a missing file of a path that fits is not.
    const std::wstring justOver = std::wstring(L"C:\\") + std::wstring(CDataLayer::MaxPath - 2, L'y');
    ASSERT_EQ(261u, justOver.size());
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(justOver.c_str()));
    EXPECT_EQ(CDataLayer::fcPathTooLong, layer.GetLastFailure());
    EXPECT_EQ(CDataLayer::csFileNotFound, layer.Connect(justOver.substr(0, 40).c_str()));
    EXPECT_EQ(CDataLayer::fcNotFound, layer.GetLastFailure());
}

TEST(Connect, PathOfExactlyTheBufferSizeIsKept)
{
    // A path of 260 characters that names an existing file through "." segments; the file name
    // is chosen so that the segments fill it exactly.
    CTestDatabase db(L"t.dat");
    std::wstring path = db.Path();
    if (path.size() % 2 != 0) {
        path.insert(path.find_last_of(L'\\') + 1, L"t");
        ASSERT_TRUE(CopyFileW(db.Path().c_str(), path.c_str(), FALSE));
    }
    const size_t slash = path.find_last_of(L'\\');
    while (path.size() < 260) path.insert(slash, L"\\.");
    ASSERT_EQ(260u, path.size());
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(path.c_str()));
    EXPECT_EQ(path, std::wstring(layer.GetDBPath()));
}

TEST(Connect, FolderWithAccentedLetters)
{
    CTestDatabase db(L"V\u00e9hicules \u00e4\u00f6.dat", L"Donn\u00e9es");
    db.CloseHandle();
    {
        CDataLayer layer;
        ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
        CVehicle v;
        v.SetName(L"Citro\u00ebn");
        ASSERT_EQ(1, layer.Save(&v, 0));
    }
    EXPECT_EQ(ToUtf8(L"Citro\u00ebn"), db.Text("SELECT Name FROM Vehicle"));
}

TEST(Connect, DisconnectKeepsWhatItKnewAndEndsEveryOperation)
{
    CTestDatabase db;
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    const unsigned long storeID = layer.GetStoreID();
    layer.Disconnect();
    EXPECT_EQ(0, layer.IsConnected());
    EXPECT_STREQ(db.Path().c_str(), layer.GetDBPath());
    EXPECT_STREQ(L"1.0", layer.GetDBVersion());
    EXPECT_EQ(storeID, layer.GetStoreID());
    layer.Disconnect();  // twice is harmless

    CVehicle v;
    EXPECT_EQ(0, layer.Save(&v, 0));
    EXPECT_EQ(0, v.GetID());
    EXPECT_EQ(0, layer.BeginTransaction());
    EXPECT_EQ(CDataLayer::crFailed, layer.Commit());
    EXPECT_EQ(0, layer.RollBack());
    EXPECT_EQ(0, layer.DeleteAllData());
    EXPECT_EQ(0, layer.Compress());
    EXPECT_EQ(0, layer.GetNumEntries());
    EXPECT_EQ(0u, layer.GetID(CBaseObject::otVehicle, 1));
    long odometer = 55;
    EXPECT_EQ(0, layer.GetMaxOdometer(1, &odometer));
    EXPECT_EQ(55, odometer);

    // A list load while not connected leaves the list as it was.
    CObjectListT<CKeyword> keywords;
    keywords.Add(new CKeyword);
    EXPECT_EQ(0, layer.Load(&keywords, CKeyword::ktAll));
    EXPECT_EQ(1, keywords.GetCount());
}

TEST(Connect, ConnectionEndsWithTheObject)
{
    CTestDatabase db;
    db.CloseHandle();
    {
        CDataLayer layer;
        ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    }
    EXPECT_TRUE(DeleteFileW(db.Path().c_str()));
}

// A helper that writes every text in capitals: shows that saves go through the factory's helper.
class CShoutingHelper : public CStringHelper {
public:
    const char* Encode(const wchar_t* text) override
    {
        m_last = ToUtf8(text ? text : L"");
        for (char& c : m_last) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        m_kept.push_back(m_last);
        return m_kept.back().c_str();
    }
    const wchar_t* Decode(const char*) override { return L""; }

private:
    std::string m_last;
    std::list<std::string> m_kept;
};

class CShoutingFactory : public CStringHelperFactory {
public:
    std::unique_ptr<CStringHelper> Create() override { return std::unique_ptr<CStringHelper>(new CShoutingHelper); }
};

TEST(Connect, SavesUseTheFactoryInTheSlot)
{
    CTestDatabase db;
    CDataLayer layer;
    ASSERT_EQ(CDataLayer::csConnected, layer.Connect(db.Path().c_str()));
    CStringHelperFactory* builtIn = layer.GetStringHelperFactory();
    ASSERT_NE(nullptr, builtIn);

    CShoutingFactory* shouting = new CShoutingFactory;
    layer.SetStringHelperFactory(std::unique_ptr<CStringHelperFactory>(shouting));
    EXPECT_EQ(shouting, layer.GetStringHelperFactory());
    CKeyword k;
    k.SetName(L"Shell");
    ASSERT_EQ(1, layer.Save(&k, 0));
    EXPECT_EQ("SHELL", db.Text("SELECT Name FROM Keyword"));

    layer.SetStringHelperFactory(std::unique_ptr<CStringHelperFactory>());
    EXPECT_EQ(builtIn, layer.GetStringHelperFactory());
    k.SetName(L"Esso");
    ASSERT_EQ(1, layer.Save(&k, 0));
    EXPECT_EQ("Esso", db.Text("SELECT Name FROM Keyword"));
}

}  // namespace
