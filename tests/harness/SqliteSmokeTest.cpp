// The SQLite we build works under Wine: files with non-ASCII names, transactions and locking
// between two connections, and the compile-time version we pinned.
#include <windows.h>

#include <sqlite3.h>

#include <string>

#include <gtest/gtest.h>

namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

struct Db {
    sqlite3* h = nullptr;
    explicit Db(const std::wstring& path) { sqlite3_open16(path.c_str(), &h); }
    ~Db() { sqlite3_close(h); }
    int Exec(const char* sql) { return sqlite3_exec(h, sql, nullptr, nullptr, nullptr); }
};

TEST(SqliteSmoke, PinnedVersion)
{
    EXPECT_STREQ("3.53.2", sqlite3_libversion());
    EXPECT_EQ(1, sqlite3_threadsafe());
}

TEST(SqliteSmoke, WritesAndReadsBackAFileWithANonAsciiName)
{
    const std::wstring path = TempPath(L"r\u00e9sum\u00e9 \u00e4\u00f6.dat");
    DeleteFileW(path.c_str());
    {
        Db db(path);
        ASSERT_NE(nullptr, db.h);
        ASSERT_EQ(SQLITE_OK, db.Exec("CREATE TABLE t(a INTEGER, b TEXT);"
                                     "INSERT INTO t VALUES(42, 'it''s');"));
    }
    // The file exists under exactly the wide name we asked for.
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
    {
        Db db(path);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(db.h, "SELECT a, b FROM t", -1, &st, nullptr));
        ASSERT_EQ(SQLITE_ROW, sqlite3_step(st));
        EXPECT_EQ(42, sqlite3_column_int(st, 0));
        EXPECT_STREQ("it's", reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        EXPECT_EQ(SQLITE_DONE, sqlite3_step(st));
        sqlite3_finalize(st);
    }
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(SqliteSmoke, ImmediateTransactionMakesASecondWriterBusy)
{
    const std::wstring path = TempPath(L"busy.dat");
    DeleteFileW(path.c_str());
    {
        Db a(path), b(path);
        ASSERT_EQ(SQLITE_OK, a.Exec("CREATE TABLE t(a)"));
        ASSERT_EQ(SQLITE_OK, a.Exec("BEGIN IMMEDIATE"));
        EXPECT_EQ(SQLITE_BUSY, b.Exec("BEGIN IMMEDIATE"));
        EXPECT_EQ(SQLITE_BUSY, b.Exec("INSERT INTO t VALUES(1)"));
        ASSERT_EQ(SQLITE_OK, a.Exec("COMMIT"));
        EXPECT_EQ(SQLITE_OK, b.Exec("INSERT INTO t VALUES(1)"));
    }
    DeleteFileW(path.c_str());
}

}  // namespace
