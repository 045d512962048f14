// Loading a vehicle's filtered entry list through CDataLayer against a plain prepared-statement
// loop over the same rows, in the same run, on a database of 100,000 entries of one vehicle; and
// what the whole-file damage check that the desktop program runs at start costs on that file.
//
//   alkbiz_bench [entries] [rounds]
//
// The database is made from Default.ENU beside the program, in the temporary folder, and
// removed at the end. Each round times both, alternating, then CDataLayer::CheckForDamage; the
// best and the median round are printed, with the ratio of the first two (CDataLayer / plain
// loop). The check runs on a new connection, as at the program's start: the engine's page cache
// is empty, the file in the system's cache (a file just written or read is).
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "tests/bench/BenchDatabase.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

// Reads every column of every row the way the library does, and nothing more.
int PlainLoop(sqlite3* db, const char* sql, double* checksum)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare(db, sql, -1, &statement, nullptr) != SQLITE_OK) return -1;
    int rows = 0;
    double sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        sum += sqlite3_column_int(statement, 0);
        sum += static_cast<double>(sqlite3_column_int64(statement, 1) & 0xFFFFFFFF);
        for (int text : {2, 3, 10}) {
            const wchar_t* t = static_cast<const wchar_t*>(sqlite3_column_text16(statement, text));
            sum += t ? t[0] : 0;
        }
        for (int real : {4, 5, 6, 11, 12, 13}) sum += sqlite3_column_double(statement, real);
        sum += sqlite3_column_int(statement, 7);
        sum += static_cast<double>(sqlite3_column_int64(statement, 8) & 0xFFFFFFFF);
        sum += sqlite3_column_int(statement, 9);
        ++rows;
    }
    sqlite3_finalize(statement);
    *checksum = sum;
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    const unsigned long vehicleRefID = 1;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"alkbiz-bench.dat";
    if (!CopyTemplate(path)) {
        std::fprintf(stderr, "no Default.ENU beside the program\n");
        return 1;
    }

    CDataLayer layer;
    if (layer.Connect(path.c_str()) != CDataLayer::csConnected) {
        std::fprintf(stderr, "cannot connect the database\n");
        return 1;
    }

    // Filling: one transaction, reference ids given so that no save waits for a new one.
    double start = Seconds();
    CVehicle vehicle;
    vehicle.SetRefID(vehicleRefID);
    vehicle.SetName(L"Benchmark car");
    layer.Save(&vehicle, 0);
    layer.BeginTransaction();
    for (int i = 0; i < entries; ++i) {
        CEntry e;
        e.SetRefID(1000 + i);
        e.SetVehicleID(vehicleRefID);
        SetEntryFields(e, i, 0.1, 15);
        if (!layer.Save(&e, 0)) {
            std::fprintf(stderr, "save %d failed\n", i);
            return 1;
        }
    }
    if (layer.Commit() != CDataLayer::crCommitted) {
        std::fprintf(stderr, "commit failed\n");
        return 1;
    }
    std::printf("filled %d entries in %.2f s\n", layer.GetNumEntries(), Seconds() - start);

    CEntryFilter filter;
    filter.SetVehicleID(vehicleRefID);
    // The statement CDataLayer builds for this filter.
    char sql[100];
    std::snprintf(sql, sizeof sql, "SELECT * FROM Entry  WHERE  VehicleID=%lu ", vehicleRefID);

    sqlite3* plain = nullptr;
    if (sqlite3_open16(path.c_str(), &plain) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open the database for the plain loop\n");
        return 1;
    }

    std::vector<double> loadTimes, plainTimes, checkTimes;
    for (int round = 0; round < rounds; ++round) {
        double checksum = 0;
        start = Seconds();
        const int rows = PlainLoop(plain, sql, &checksum);
        plainTimes.push_back(Seconds() - start);

        CObjectListT<CEntry>* list = new CObjectListT<CEntry>;
        start = Seconds();
        const int loaded = layer.Load(list, &filter);
        loadTimes.push_back(Seconds() - start);
        const int count = list->GetCount();
        delete list;

        if (!loaded || count != rows || rows != entries) {
            std::fprintf(stderr, "row counts differ: load %d (%d), plain %d\n", count, loaded, rows);
            return 1;
        }

        // On a connection of its own, as the program checks the file it has just connected:
        // nothing of the file in the engine's page cache yet.
        CDataLayer fresh;
        if (fresh.Connect(path.c_str()) != CDataLayer::csConnected) {
            std::fprintf(stderr, "cannot connect the database for the check\n");
            return 1;
        }
        start = Seconds();
        const int damaged = fresh.CheckForDamage();
        checkTimes.push_back(Seconds() - start);
        if (damaged || fresh.FoundDamage()) {
            std::fprintf(stderr, "the check found damage in a sound file\n");
            return 1;
        }
    }
    sqlite3_close(plain);
    layer.Disconnect();
    DeleteFileW(path.c_str());

    const double bestLoad = Best(loadTimes), bestPlain = Best(plainTimes);
    const double medianLoad = Median(loadTimes), medianPlain = Median(plainTimes);
    std::printf("%d rows, %d rounds\n", entries, rounds);
    std::printf("          CDataLayer::Load   plain statement loop   ratio\n");
    std::printf("best      %10.1f ms      %10.1f ms          %5.2f\n", bestLoad * 1000, bestPlain * 1000,
                bestLoad / bestPlain);
    std::printf("median    %10.1f ms      %10.1f ms          %5.2f\n", medianLoad * 1000, medianPlain * 1000,
                medianLoad / medianPlain);
    std::printf("damage check (PRAGMA quick_check) of the whole file: best %.1f ms, median %.1f ms\n",
                Best(checkTimes) * 1000, Median(checkTimes) * 1000);
    return 0;
}
