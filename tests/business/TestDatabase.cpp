#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

std::string Narrow(const std::wstring& text, UINT codePage)
{
    const int bytes = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(bytes - 1);
    return result;
}

}  // namespace

std::string ToAnsi(const std::wstring& text)
{
    return Narrow(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text)
{
    return Narrow(text, CP_UTF8);
}

CTestDatabase::CTestDatabase(const std::wstring& name, const std::wstring& folder)
    : m_folder(folder), m_path(m_folder.File(name))
{
    EXPECT_TRUE(CopyTemplate(m_path)) << "no template beside the tests";
}

CTestDatabase::~CTestDatabase()
{
    CloseHandle();
}

std::string CTestDatabase::AnsiPath() const
{
    return ToAnsi(m_path);
}

sqlite3* CTestDatabase::Handle()
{
    if (!m_db) {
        EXPECT_EQ(SQLITE_OK, sqlite3_open16(m_path.c_str(), &m_db));
    }
    return m_db;
}

void CTestDatabase::CloseHandle()
{
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
}

int CTestDatabase::Exec(const std::string& sql)
{
    return sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, nullptr);
}

namespace {

template <class Read>
auto QueryFirst(sqlite3* db, const std::string& sql, Read read) -> decltype(read(nullptr))
{
    sqlite3_stmt* statement = nullptr;
    decltype(read(nullptr)) value{};
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot prepare " << sql << ": " << sqlite3_errmsg(db);
        return value;
    }
    if (sqlite3_step(statement) == SQLITE_ROW)
        value = read(statement);
    else
        ADD_FAILURE() << "no row from " << sql;
    sqlite3_finalize(statement);
    return value;
}

}  // namespace

std::string CTestDatabase::Text(const std::string& sql)
{
    return QueryFirst(Handle(), sql, [](sqlite3_stmt* s) {
        const unsigned char* text = s ? sqlite3_column_text(s, 0) : nullptr;
        return std::string(text ? reinterpret_cast<const char*>(text) : "");
    });
}

long long CTestDatabase::Integer(const std::string& sql)
{
    return QueryFirst(Handle(), sql, [](sqlite3_stmt* s) { return s ? sqlite3_column_int64(s, 0) : 0LL; });
}

double CTestDatabase::Real(const std::string& sql)
{
    return QueryFirst(Handle(), sql, [](sqlite3_stmt* s) { return s ? sqlite3_column_double(s, 0) : 0.0; });
}

int CTestDatabase::ColumnType(const std::string& sql)
{
    return QueryFirst(Handle(), sql, [](sqlite3_stmt* s) { return s ? sqlite3_column_type(s, 0) : 0; });
}
