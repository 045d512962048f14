// Database files for the tests: fresh copies of the template Default.ENU (copied beside the test
// program by the build) in a folder of the test program's own, and a second connection, opened
// with the engine directly, to look at what the library wrote or to hold locks against it.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <string>

#include "tests/support/TestFiles.h"

// A folder of the test under the temporary folder (alkbiz-...), removed with what it holds.
class CTestFolder : public CScratchFolder {
public:
    explicit CTestFolder(const std::wstring& leaf = L"") : CScratchFolder(L"alkbiz", leaf) {}
};

// A copy of the template in a test folder.
class CTestDatabase {
public:
    explicit CTestDatabase(const std::wstring& name = L"test.dat", const std::wstring& folder = L"");
    ~CTestDatabase();
    const std::wstring& Path() const { return m_path; }
    // The path in the ANSI code page, for the 8-bit build.
    std::string AnsiPath() const;

    // The second connection, opened on first use.
    sqlite3* Handle();
    void CloseHandle();
    int Exec(const std::string& sql);
    // First column of the first row of a query (a failed query fails the current test).
    std::string Text(const std::string& sql);
    long long Integer(const std::string& sql);
    double Real(const std::string& sql);
    int ColumnType(const std::string& sql);

private:
    CTestFolder m_folder;
    std::wstring m_path;
    sqlite3* m_db = nullptr;
};

std::string ToAnsi(const std::wstring& text);
std::string ToUtf8(const std::wstring& text);
