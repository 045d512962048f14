// A database file for a test: a fresh copy of the template Default.ENU (copied beside the test
// program by the build) in a scratch folder of its own, with the business library's connection
// to it, for the record builders of business/RecordBuilder.h and to read records back, and a
// second connection of the engine's own, to look at what the library wrote or to hold locks
// against it. The folder goes with the object, after both connections have closed.
//
// Either AlkBiz build: the wide DLL, or the 8-bit library of the Palm conduit (ALKBIZ_8BIT),
// which is given the path in the ANSI code page. Header only, for that reason: its users link
// the build they test, sqlite3 and the test framework. A template that could not be copied, a
// connection that would not open and a query that failed fail the running test.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <string>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "tests/support/TestFiles.h"

class CTestDatabase {
public:
    // When the test's own connection (Db()) opens first.
    enum class Opening { onFirstUse, atOnce };

    // The file name within the folder; leaf, a subfolder to hold it; prefix, the scratch
    // folder's (see CScratchFolder).
    explicit CTestDatabase(const std::wstring& name = L"test.dat", const std::wstring& leaf = L"",
                           const std::wstring& prefix = L"alkbiz", Opening opening = Opening::onFirstUse)
        : m_folder(prefix, leaf), m_path(m_folder.File(name)), m_copied(CopyTemplate(m_path))
    {
        EXPECT_TRUE(m_copied) << "no template beside the tests";
        m_ok = m_copied && (opening == Opening::onFirstUse || Db().IsConnected());
    }
    ~CTestDatabase()
    {
        CloseHandle();
        m_db.Disconnect();
    }
    CTestDatabase(const CTestDatabase&) = delete;
    CTestDatabase& operator=(const CTestDatabase&) = delete;

    // Whether the template was copied and, for a database opened at once, connected.
    bool Ok() const { return m_ok; }
    const std::wstring& Path() const { return m_path; }
    // The path in the ANSI code page, for the 8-bit build.
    std::string AnsiPath() const { return ToAnsi(m_path); }
    // The folder that holds the file, for other files of the test.
    const std::wstring& Folder() const { return m_folder.Path(); }

    // Connects a connection of the test's choosing (the program's g_DataLayer ...) to the file:
    // the status of CDataLayer::Connect.
    CDataLayer::ConnectStatus Connect(CDataLayer& layer) const
    {
#ifdef ALKBIZ_8BIT
        return layer.Connect(AnsiPath().c_str());
#else
        return layer.Connect(m_path.c_str());
#endif
    }
    // The test's own connection through the library, opened on first use and again after
    // CloseDb(); one the test disconnected itself is handed back as it left it.
    CDataLayer& Db()
    {
        if (!m_opened) {
            m_opened = true;
            EXPECT_EQ(CDataLayer::csConnected, Connect(m_db));
        }
        return m_db;
    }
    void CloseDb()
    {
        m_db.Disconnect();
        m_opened = false;
    }

    // The engine's own connection, opened on first use.
    sqlite3* Handle()
    {
        if (!m_raw) {
            EXPECT_EQ(SQLITE_OK, sqlite3_open16(m_path.c_str(), &m_raw));
        }
        return m_raw;
    }
    void CloseHandle()
    {
        if (m_raw) sqlite3_close(m_raw);
        m_raw = nullptr;
    }
    // A statement run on the engine's connection: its result code.
    int Exec(const std::string& sql)
    {
        return sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, nullptr);
    }
    // The first column of the first row of a query.
    std::string Text(const std::string& sql)
    {
        return First(sql, [](sqlite3_stmt* s) {
            const unsigned char* text = sqlite3_column_text(s, 0);
            return std::string(text ? reinterpret_cast<const char*>(text) : "");
        });
    }
    long long Integer(const std::string& sql)
    {
        return First(sql, [](sqlite3_stmt* s) { return static_cast<long long>(sqlite3_column_int64(s, 0)); });
    }
    double Real(const std::string& sql)
    {
        return First(sql, [](sqlite3_stmt* s) { return sqlite3_column_double(s, 0); });
    }
    int ColumnType(const std::string& sql)
    {
        return First(sql, [](sqlite3_stmt* s) { return sqlite3_column_type(s, 0); });
    }
    // Every column of every row of a query as text, each followed by '|' (NULL as "NULL"), a
    // row a line: a snapshot to compare.
    std::string Rows(const std::string& sql)
    {
        std::string rows;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(Handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot prepare " << sql;
            return rows;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const unsigned char* text = sqlite3_column_text(statement, i);
                rows += text ? reinterpret_cast<const char*>(text) : "NULL";
                rows += '|';
            }
            rows += '\n';
        }
        sqlite3_finalize(statement);
        return rows;
    }

private:
    // What read makes of the first row of the query; a value-initialised one, and a failure of
    // the running test, when the query fails or gives no row.
    template <class Read>
    auto First(const std::string& sql, Read read) -> decltype(read(nullptr))
    {
        decltype(read(nullptr)) value{};
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(Handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot prepare " << sql << ": " << sqlite3_errmsg(Handle());
            return value;
        }
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = read(statement);
        else
            ADD_FAILURE() << "no row from " << sql;
        sqlite3_finalize(statement);
        return value;
    }

    CScratchFolder m_folder;
    std::wstring m_path;
    bool m_copied;
    bool m_ok = false;
    CDataLayer m_db;
    bool m_opened = false;  // m_db connected by Db() since the last CloseDb()
    sqlite3* m_raw = nullptr;
};
