// Database files with faults a user meets, made from a file the test has written: pages of one
// table overwritten (a damaged disk sector, a copy cut short), a newer version's MetaData and
// tables, a file another program holds locked, and a file's bytes to compare before and after.
// Header only; its users link sqlite3 and AlkBiz (the engine's own connection finds a table's
// pages and holds locks, as another program's would).
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <cstdlib>
#include <string>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "tests/support/TestFiles.h"

namespace alk_faulty_files {

using ::FileBytes;  // tests/support/TestFiles.h

// Runs statements on the file through a connection of the engine's own; false when one fails.
inline bool RunOnFile(const std::wstring& path, const char* sql)
{
    sqlite3* db = nullptr;
    bool ok =
        sqlite3_open16(path.c_str(), &db) == SQLITE_OK && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The first column of the first row of a query on the file, as text ("" when there is none).
inline std::string QueryFile(const std::wstring& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_open16(path.c_str(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* value = sqlite3_column_text(statement, 0);
        text = value ? reinterpret_cast<const char*>(value) : "";
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

// Overwrites the first leaf page under the table's root with bytes no page holds. The root must
// be an interior page (a table of more rows than one page takes): a full scan of the table then
// meets the damage at once, while the table's root, its last pages (where new rows go) and every
// other table stay readable. False when the table has no such page or the file cannot be written.
inline bool DamageFirstLeafOf(const std::wstring& path, const char* table)
{
    const std::string root = QueryFile(
        path, (std::string("SELECT rootpage FROM sqlite_master WHERE type='table' AND name='") + table + "'").c_str());
    const long rootPage = std::atol(root.c_str());
    const long pageSize = std::atol(QueryFile(path, "PRAGMA page_size").c_str());
    if (rootPage < 2 || pageSize < 512) return false;

    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string page(static_cast<size_t>(pageSize), '\0');
    DWORD done = 0;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(rootPage - 1) * pageSize;
    bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && ReadFile(file, &page[0], pageSize, &done, nullptr) &&
              done == static_cast<DWORD>(pageSize);
    // An interior table page: type 5, then its cell pointers after the 12-byte header; a cell
    // begins with its left child's page number (big-endian).
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(page[i]); };
    ok = ok && byte(0) == 0x05;
    long child = 0;
    if (ok) {
        const size_t cell = (static_cast<size_t>(byte(12)) << 8) | byte(13);
        ok = cell + 4 <= page.size();
        if (ok)
            child =
                static_cast<long>((byte(cell) << 24) | (byte(cell + 1) << 16) | (byte(cell + 2) << 8) | byte(cell + 3));
    }
    ok = ok && child > 1;
    if (ok) {
        const std::string garbage(static_cast<size_t>(pageSize), '\xA5');
        at.QuadPart = static_cast<LONGLONG>(child - 1) * pageSize;
        ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
             WriteFile(file, garbage.data(), pageSize, &done, nullptr) && done == static_cast<DWORD>(pageSize);
    }
    CloseHandle(file);
    return ok;
}

// A vehicle with entries enough to fill several pages, saved through db (connected to path), then
// the entries' first page damaged: MetaData and the vehicle read, a load of the entries meets the
// damage. db is disconnected on return. The vehicle's reference id; 0 when the file could not be
// made so.
inline unsigned long WriteDamagedEntries(CDataLayer& db, const std::wstring& path, int entries = 120)
{
    const unsigned long car = CVehicleRecord(ALK_T("Family Car")).Year(2002).Odometer(12000).Save(db);
    const std::wstring notes(150, L'n');
    bool saved = car != 0;
    for (int i = 0; saved && i < entries; ++i)
        saved =
            CEntryRecord(car, CEntry::etFuel).Date(45000 + i).Odometer(10000 + i).Notes(notes.c_str()).Save(db) != 0;
    db.Disconnect();
    return saved && DamageFirstLeafOf(path, "Entry") ? car : 0;
}

// A file as a later version of the program might leave it: MetaData's version "2.0" and the
// entries' table with one more column (so that an entry of this version's layout cannot be
// inserted; updates still fit).
inline bool MakeNewerVersion(const std::wstring& path)
{
    return RunOnFile(path, "UPDATE MetaData SET Value='2.0' WHERE ID=3; ALTER TABLE Entry ADD COLUMN Currency TEXT;");
}

// Another program's connection holding the file's exclusive lock, as a synchronisation holds it
// while it commits: no other connection can read the file or write it until Release.
class CExclusiveLock {
public:
    explicit CExclusiveLock(const std::wstring& path)
    {
        m_held = sqlite3_open16(path.c_str(), &m_db) == SQLITE_OK &&
                 sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~CExclusiveLock() { Release(); }
    CExclusiveLock(const CExclusiveLock&) = delete;
    CExclusiveLock& operator=(const CExclusiveLock&) = delete;
    bool Held() const { return m_held; }
    void Release()
    {
        if (m_held) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_held = false;
        sqlite3_close(m_db);
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

}  // namespace alk_faulty_files
