// The ActiveSync provider's enumeration and duplicate removal on a database of 10,000 entries of
// 100 vehicles (with 200 reminders and 40 keywords), in one run:
//   - a whole enumeration through the store (FindFirstItem, FindNextItem until the end, each item
//     freed, FindItemClose) beside a plain prepared-statement loop over the same rows of the four
//     tables, reading every column. The provider opens a connection for each operation, so the
//     loop opens its own too: most of either's time is the engine reading the file's pages into a
//     fresh cache (under Wine each page read is a file call of its own). The loop on a connection
//     that stays open, its cache warm, is printed beside them;
//   - duplicate removal (RemoveDuplicates) beside that enumeration, on the database without
//     duplicates, and on copies where 1% of the vehicles and of the entries are duplicates.
//
//   activesync_bench [rounds]
//
// The database is made from Default.ENU beside the program in the temporary folder and removed
// at the end. The store finds it through the desktop's "DBPath", which the program sets for the
// run and puts back afterwards. Best and median rounds are printed with their ratios.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activesync/Store.h"
#include "business/AlkBiz.h"
#include "sdk/activesync/device/ReplNotifyDouble.h"
#include "tests/bench/BenchDatabase.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

const int kVehicles = 100, kEntriesPerVehicle = 100, kReminders = 200, kKeywords = 40;

// The database: reference ids given, so no save waits for a new one. With duplicates, 1% of the
// vehicles get a twin (the twin first, so the original survives) with one entry of its own, and
// 1% of the entries are saved twice under another reference id.
bool Fill(const std::wstring& path, bool duplicates)
{
    if (!CopyTemplate(path)) return false;
    CDataLayer db;
    if (db.Connect(path.c_str()) != CDataLayer::csConnected || !db.BeginTransaction()) return false;
    unsigned long ref = 1;
    bool ok = true;
    for (int v = 0; v < kVehicles; ++v) {
        const unsigned long vehicleRef = 1000000 + v;
        wchar_t name[32];
        std::swprintf(name, 32, L"Car %d", v);
        for (int twin = duplicates && v % 100 == 7 ? 1 : 0; twin >= 0; --twin) {
            CVehicle vehicle;
            vehicle.SetRefID(twin ? 2000000 + v : vehicleRef);
            vehicle.SetName(name);
            vehicle.SetYear(1995 + v % 20);
            vehicle.SetCurrentOdometer(10000 + v);
            vehicle.SetLicensePlate(L"AB-123");
            ok = ok && db.Save(&vehicle, 0);
            if (twin) {
                CEntry own;
                own.SetRefID(ref++);
                own.SetVehicleID(2000000 + v);
                own.SetType(CEntry::etExpense);
                own.SetName(L"Entered on the device");
                ok = ok && db.Save(&own, 0);
            }
        }
        for (int i = 0; i < kEntriesPerVehicle; ++i) {
            const int n = v * kEntriesPerVehicle + i;
            for (int copy = duplicates && n % 100 == 42 ? 1 : 0; copy >= 0; --copy) {
                CEntry e;
                e.SetRefID(ref++);
                e.SetVehicleID(vehicleRef);
                SetEntryFields(e, i, 3.5, 150);
                ok = ok && db.Save(&e, 0);
            }
        }
    }
    for (int i = 0; i < kReminders; ++i) {
        CNotification n;
        n.SetRefID(ref++);
        n.SetVehicleID(1000000 + i % kVehicles);
        n.SetName(i % 2 ? L"Oil change" : L"Inspection");
        n.SetDate(40000.0 + i);
        n.SetOdometer(50000 + 1000 * (i / kVehicles));
        ok = ok && db.Save(&n, 0);
    }
    for (int i = 0; i < kKeywords; ++i) {
        CKeyword k;
        k.SetRefID(ref++);
        k.SetType(static_cast<CKeyword::Type>(1 + i % 4));
        wchar_t name[32];
        std::swprintf(name, 32, L"Keyword %d", i);
        k.SetName(name);
        ok = ok && db.Save(&k, 0);
    }
    return ok && db.Commit() == CDataLayer::crCommitted;
}

// Every row of the four tables (see ReadEveryRow); on a connection of its own when db is null.
int PlainLoop(const std::wstring& path, sqlite3* db, double* checksum)
{
    sqlite3* own = nullptr;
    if (!db) {
        if (sqlite3_open16(path.c_str(), &own) != SQLITE_OK) return -1;
        db = own;
    }
    const int rows = ReadEveryRow(db, checksum);
    sqlite3_close(own);
    return rows;
}

// A store on the desktop's "DBPath", as the manager makes one.
class Session {
public:
    Session() : m_notify(nullptr)
    {
        m_store = new CStore;
        m_ok = m_store->Initialize(&m_notify, REPL_INIT_SELECTED_DEVICE) == S_OK;
        IUnknown* handler = nullptr;
        m_ok = m_ok && m_store->GetFolderInfo(const_cast<char*>("ALK"), &m_folder, &handler) == S_OK;
        if (handler) handler->Release();
    }
    ~Session()
    {
        if (m_folder) m_store->FreeObject(m_folder);
        m_store->Release();
    }
    bool Ok() const { return m_ok; }
    // The number of items of a whole enumeration, or -1 when it failed.
    int Enumerate()
    {
        int items = 0;
        HREPLITEM item = nullptr;
        BOOL exists = FALSE;
        HRESULT hr = m_store->FindFirstItem(m_folder, &item, &exists);
        while (hr == S_OK && exists) {
            ++items;
            m_store->FreeObject(item);
            hr = m_store->FindNextItem(m_folder, &item, &exists);
        }
        m_store->FindItemClose(m_folder);
        return hr == S_OK ? items : -1;
    }
    HRESULT RemoveDuplicates() { return m_store->RemoveDuplicates(const_cast<char*>("ALK"), 0); }

private:
    CReplNotifyDouble m_notify;
    CStore* m_store;
    HREPLFLD m_folder = nullptr;
    bool m_ok = false;
};

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"activesync-bench.dat";
    const std::wstring copy = std::wstring(temp) + L"activesync-bench-dup.dat";

    double start = Seconds();
    if (!Fill(path, false)) {
        std::fprintf(stderr, "cannot make the database (no Default.ENU beside the program?)\n");
        return 1;
    }
    std::printf("filled %d vehicles, %d entries, %d reminders, %d keywords in %.2f s\n", kVehicles,
                kVehicles * kEntriesPerVehicle, kReminders, kKeywords, Seconds() - start);

    SavedValue dbPath(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, "DBPath");
    dbPath.SetText(Ansi(path));
    sqlite3* plain = nullptr;
    if (sqlite3_open16(path.c_str(), &plain) != SQLITE_OK) return 1;

    std::vector<double> enumerations, loops, warmLoops, removals;
    {
        Session session;
        if (!session.Ok()) {
            std::fprintf(stderr, "the store could not be initialised\n");
            return 1;
        }
        for (int round = 0; round < rounds; ++round) {
            double checksum = 0;
            start = Seconds();
            const int rows = PlainLoop(path, nullptr, &checksum);
            loops.push_back(Seconds() - start);
            start = Seconds();
            PlainLoop(path, plain, &checksum);
            warmLoops.push_back(Seconds() - start);

            start = Seconds();
            const int items = session.Enumerate();
            enumerations.push_back(Seconds() - start);

            start = Seconds();
            const HRESULT removed = session.RemoveDuplicates();
            removals.push_back(Seconds() - start);

            if (items != rows || removed != S_OK) {
                std::fprintf(stderr, "round %d: %d items, %d rows, duplicate removal 0x%08lX\n", round, items, rows,
                             static_cast<unsigned long>(removed));
                return 1;
            }
        }
    }
    sqlite3_close(plain);

    // With duplicates: a fresh copy for each round (the removal changes it).
    std::vector<double> dupEnumerations, dupRemovals;
    int remaining = 0;
    for (int round = 0; round < std::min(rounds, 3); ++round) {
        if (!Fill(copy, true)) return 1;
        dbPath.SetText(Ansi(copy));
        Session session;
        start = Seconds();
        const int before = session.Enumerate();
        dupEnumerations.push_back(Seconds() - start);
        start = Seconds();
        const HRESULT removed = session.RemoveDuplicates();
        dupRemovals.push_back(Seconds() - start);
        remaining = session.Enumerate();
        if (removed != REPL_E_DUPLICATES_DELETED || before - remaining != 101) {
            std::fprintf(stderr, "with duplicates: 0x%08lX, %d items before, %d after\n",
                         static_cast<unsigned long>(removed), before, remaining);
            return 1;
        }
    }
    DeleteFileW(path.c_str());
    DeleteFileW(copy.c_str());

    std::printf("%d rows (items), %d rounds\n", kVehicles * (kEntriesPerVehicle + 1) + kReminders + kKeywords, rounds);
    std::printf("         enumeration   plain loop  ratio   duplicate removal  ratio   (plain loop, warm cache)\n");
    std::printf("best     %8.1f ms  %8.1f ms  %5.2f         %8.1f ms  %5.2f   (%.1f ms)\n", Best(enumerations) * 1000,
                Best(loops) * 1000, Best(enumerations) / Best(loops), Best(removals) * 1000,
                Best(removals) / Best(enumerations), Best(warmLoops) * 1000);
    std::printf("median   %8.1f ms  %8.1f ms  %5.2f         %8.1f ms  %5.2f   (%.1f ms)\n", Median(enumerations) * 1000,
                Median(loops) * 1000, Median(enumerations) / Median(loops), Median(removals) * 1000,
                Median(removals) / Median(enumerations), Median(warmLoops) * 1000);
    std::printf("with 1%% duplicates (1 vehicle with an entry of its own, 100 entries), median of %d:\n",
                static_cast<int>(dupRemovals.size()));
    std::printf("         %8.1f ms                            %8.1f ms  %5.2f\n", Median(dupEnumerations) * 1000,
                Median(dupRemovals) * 1000, Median(dupRemovals) / Median(dupEnumerations));
    return 0;
}
