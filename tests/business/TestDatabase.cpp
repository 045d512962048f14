#include "TestDatabase.h"
#include <gtest/gtest.h>

namespace {

int g_folderCount = 0;

// Deletes a folder tree (files made read-only by a test included).
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string ToAnsi(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(bytes - 1);
    return result;
}

std::string ToUtf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(bytes - 1);
    return result;
}

CTestFolder::CTestFolder(const std::wstring& leaf) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"alkbiz-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++g_folderCount);
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
    if (!leaf.empty()) {
        m_path += L"\\" + leaf;
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
}

CTestFolder::~CTestFolder() {
    std::wstring top = m_path;
    // Remove from the unique top folder down.
    const size_t mark = top.find(L"alkbiz-");
    const size_t end = top.find(L'\\', mark);
    if (end != std::wstring::npos) top = top.substr(0, end);
    RemoveTree(top);
}

CTestDatabase::CTestDatabase(const std::wstring& name, const std::wstring& folder)
    : m_folder(folder), m_path(m_folder.File(name)) {
    const std::wstring source = ProgramFolder() + L"Default.ENU";
    EXPECT_TRUE(CopyFileW(source.c_str(), m_path.c_str(), FALSE)) << "no template beside the tests";
}

CTestDatabase::~CTestDatabase() { CloseHandle(); }

std::string CTestDatabase::AnsiPath() const { return ToAnsi(m_path); }

sqlite3* CTestDatabase::Handle() {
    if (!m_db) {
        EXPECT_EQ(SQLITE_OK, sqlite3_open16(m_path.c_str(), &m_db));
    }
    return m_db;
}

void CTestDatabase::CloseHandle() {
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
}

int CTestDatabase::Exec(const std::string& sql) {
    return sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, nullptr);
}

namespace {

template <class Read>
auto QueryFirst(sqlite3* db, const std::string& sql, Read read) -> decltype(read(nullptr)) {
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

std::string CTestDatabase::Text(const std::string& sql) {
    return QueryFirst(Handle(), sql, [](sqlite3_stmt* s) {
        const unsigned char* text = s ? sqlite3_column_text(s, 0) : nullptr;
        return std::string(text ? reinterpret_cast<const char*>(text) : "");
    });
}

long long CTestDatabase::Integer(const std::string& sql) {
    return QueryFirst(Handle(), sql,
                      [](sqlite3_stmt* s) { return s ? sqlite3_column_int64(s, 0) : 0LL; });
}

double CTestDatabase::Real(const std::string& sql) {
    return QueryFirst(Handle(), sql,
                      [](sqlite3_stmt* s) { return s ? sqlite3_column_double(s, 0) : 0.0; });
}

int CTestDatabase::ColumnType(const std::string& sql) {
    return QueryFirst(Handle(), sql,
                      [](sqlite3_stmt* s) { return s ? sqlite3_column_type(s, 0) : 0; });
}
