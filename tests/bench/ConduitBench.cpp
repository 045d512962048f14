// A first two-way HotSync of 10,000 handheld records into an empty database, through the
// handheld double and the link's library in this process, against two plain loops that store
// the same rows in one transaction:
//   (a) one prepared INSERT per table, values bound, reused for every row;
//   (b) per record the statements the conduit runs: the row-id look-up by RefID, then the
//       INSERT built as text (quoted, dates and floats printed with "%f") and executed.
//
//   conduit_bench [records] [rounds]
//
// Each round times the three on fresh copies of Default.ENU (beside the program) in the
// temporary folder; the best round of each and the ratios sync / (a) and sync / (b) are printed.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Conduit/Src/CCustomSynchronizer.h"
#include "Conduit/Src/HandheldLink.h"
#include "sdk/hotsync/handheld/HandheldApp.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

class CStepSynchronizer : public CCustomSynchronizer {
public:
    using CCustomSynchronizer::CCustomSynchronizer;
    using CCustomSynchronizer::Synchronize;
};

// 1 % vehicles, 90 % entries, 5 % reminders, the rest keywords.
void FillHandheld(CHandheldStore& store, int records)
{
    std::vector<uint32_t> cars;
    for (int i = 0; i < records; ++i) {
        const int slot = i % 100;
        if (slot == 0 || cars.empty()) {
            CHandheldRecord& car = store.Create(HhVehicle);
            car.SetText("Name", "Car " + std::to_string(i));
            car.SetText("LicensePlate", "AB 'C' " + std::to_string(i));
            car.SetNumber("Year", 2004);
            cars.push_back(car.RefID());
        } else if (slot <= 90) {
            CHandheldRecord& e = store.Create(HhEntry);
            e.SetNumber("Type", 1 + i % 4);
            e.SetNumber("VehicleID", cars.back());
            e.SetText("Name", "Entry " + std::to_string(i));
            e.SetText("Vendor", "Corner garage");
            e.SetText("Notes", i % 7 ? "" : "a note with an apostrophe's worth of text");
            e.SetReal("Date", 45000 + i / 10.0);
            e.SetNumber("Odometer", static_cast<uint32_t>(i * 10));
            e.SetReal("Amount", 12.5 + i % 50);
            e.SetReal("Custom1", 10.25);
            e.SetReal("Custom2", 1.25);
        } else if (slot <= 95) {
            CHandheldRecord& n = store.Create(HhNotification);
            n.SetText("Name", "Reminder " + std::to_string(i));
            n.SetNumber("VehicleID", cars.back());
            n.SetReal("Date", 46000);
        } else {
            CHandheldRecord& k = store.Create(HhKeyword);
            k.SetText("Name", "Keyword " + std::to_string(i));
            k.SetNumber("Type", 1 + i % 4);
        }
    }
}

// Every record of a database, loaded through the business build.
struct CDesktopRecords {
    CObjectListT<CVehicle> vehicles;
    CObjectListT<CEntry> entries;
    CObjectListT<CNotification> reminders;
    CObjectListT<CKeyword> keywords;
    bool Load(CDataLayer& db)
    {
        CEntryFilter all;
        all.SetDateRangeType(CEntryFilter::drAll);
        return db.Load(&vehicles) && db.Load(&entries, &all) && db.Load(&reminders, 0UL) &&
               db.Load(&keywords, CKeyword::ktAll);
    }
    int Count() { return vehicles.GetCount() + entries.GetCount() + reminders.GetCount() + keywords.GetCount(); }
};

std::string Utf8Path(const std::string& ansi)
{
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH);
    char utf8[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

void Exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
        std::exit(1);
    }
}

// (a): prepared statements, bound values, one transaction.
double PreparedLoop(const std::string& path, CDesktopRecords& r)
{
    sqlite3* db = nullptr;
    sqlite3_open(Utf8Path(path).c_str(), &db);
    const double start = Seconds();
    Exec(db, "BEGIN IMMEDIATE");
    sqlite3_stmt *v = nullptr, *e = nullptr, *n = nullptr, *k = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Vehicle VALUES(NULL,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &v, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO Entry VALUES(NULL,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &e, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO Notification VALUES(NULL,?,?,?,?,?,?,?)", -1, &n, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO Keyword VALUES(NULL,?,?,?,?,?)", -1, &k, nullptr);
    for (int i = 0; i < r.vehicles.GetCount(); ++i) {
        CVehicle* x = r.vehicles.Get(i);
        int c = 1;
        sqlite3_bind_int64(v, c++, x->GetRefID());
        for (const char* t : {x->GetName(), x->GetNotes()}) sqlite3_bind_text(v, c++, t, -1, SQLITE_STATIC);
        sqlite3_bind_double(v, c++, x->GetDateCreated());
        sqlite3_bind_double(v, c++, x->GetDateModified());
        for (const char* t : {x->GetLicensePlate(), x->GetVIN(), x->GetDealerName(), x->GetDealerPhone(),
                              x->GetDealerAddress(), x->GetInsurancePolicyNumber(), x->GetInsuranceAgentName(),
                              x->GetInsuranceAgentPhone(), x->GetInsuranceCoverage()})
            sqlite3_bind_text(v, c++, t, -1, SQLITE_STATIC);
        sqlite3_bind_double(v, c++, x->GetInsuranceExpirationDate());
        sqlite3_bind_int64(v, c++, static_cast<unsigned long>(x->GetCurrentOdometer()));
        sqlite3_bind_int(v, c++, x->GetYear());
        sqlite3_bind_text(v, c++, x->GetImagePath(), -1, SQLITE_STATIC);
        sqlite3_step(v);
        sqlite3_reset(v);
    }
    for (int i = 0; i < r.entries.GetCount(); ++i) {
        CEntry* x = r.entries.Get(i);
        sqlite3_bind_int64(e, 1, x->GetRefID());
        sqlite3_bind_text(e, 2, x->GetName(), -1, SQLITE_STATIC);
        sqlite3_bind_text(e, 3, x->GetNotes(), -1, SQLITE_STATIC);
        sqlite3_bind_double(e, 4, x->GetDateCreated());
        sqlite3_bind_double(e, 5, x->GetDateModified());
        sqlite3_bind_double(e, 6, x->GetDate());
        sqlite3_bind_int64(e, 7, static_cast<unsigned long>(x->GetOdometer()));
        sqlite3_bind_int64(e, 8, x->GetVehicleID());
        sqlite3_bind_int(e, 9, x->GetType());
        sqlite3_bind_text(e, 10, x->GetVendor(), -1, SQLITE_STATIC);
        sqlite3_bind_double(e, 11, x->GetAmount());
        sqlite3_bind_double(e, 12, x->GetCustom1());
        sqlite3_bind_double(e, 13, x->GetCustom2());
        sqlite3_step(e);
        sqlite3_reset(e);
    }
    for (int i = 0; i < r.reminders.GetCount(); ++i) {
        CNotification* x = r.reminders.Get(i);
        sqlite3_bind_int64(n, 1, x->GetRefID());
        sqlite3_bind_text(n, 2, x->GetName(), -1, SQLITE_STATIC);
        sqlite3_bind_double(n, 3, x->GetDateCreated());
        sqlite3_bind_double(n, 4, x->GetDateModified());
        sqlite3_bind_double(n, 5, x->GetDate());
        sqlite3_bind_int(n, 6, static_cast<int>(x->GetOdometer()));
        sqlite3_bind_int64(n, 7, x->GetVehicleID());
        sqlite3_step(n);
        sqlite3_reset(n);
    }
    for (int i = 0; i < r.keywords.GetCount(); ++i) {
        CKeyword* x = r.keywords.Get(i);
        sqlite3_bind_int64(k, 1, x->GetRefID());
        sqlite3_bind_text(k, 2, x->GetName(), -1, SQLITE_STATIC);
        sqlite3_bind_int(k, 3, x->GetType());
        sqlite3_bind_double(k, 4, x->GetDateCreated());
        sqlite3_bind_double(k, 5, x->GetDateModified());
        sqlite3_step(k);
        sqlite3_reset(k);
    }
    for (sqlite3_stmt* s : {v, e, n, k}) sqlite3_finalize(s);
    Exec(db, "COMMIT");
    const double elapsed = Seconds() - start;
    sqlite3_close(db);
    return elapsed;
}

// The row id of a RefID, prepared and run once per record, as the conduit looks it up.
void LookUp(sqlite3* db, const char* table, unsigned long refID)
{
    char* sql = sqlite3_mprintf("SELECT ID FROM %s WHERE RefID=%lu", table, refID);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare(db, sql, -1, &s, nullptr);
    sqlite3_step(s);
    sqlite3_finalize(s);
    sqlite3_free(sql);
}

void Run(sqlite3* db, char* sql)
{
    Exec(db, sql);
    sqlite3_free(sql);
}

// (b): per record the look-up, then the INSERT as text.
double StatementLoop(const std::string& path, CDesktopRecords& r)
{
    sqlite3* db = nullptr;
    sqlite3_open(Utf8Path(path).c_str(), &db);
    const double start = Seconds();
    Exec(db, "BEGIN IMMEDIATE");
    for (int i = 0; i < r.vehicles.GetCount(); ++i) {
        CVehicle* v = r.vehicles.Get(i);
        LookUp(db, "Vehicle", v->GetRefID());
        Run(db,
            sqlite3_mprintf("INSERT INTO Vehicle VALUES(NULL,%lu,'%q','%q',%f,\t\t\t%f,'%q','%q','%q','%q','%q','%q',"
                            "'%q','%q','%q',%f,%lu,%d,'%q')",
                            v->GetRefID(), v->GetName(), v->GetNotes(), v->GetDateCreated(), v->GetDateModified(),
                            v->GetLicensePlate(), v->GetVIN(), v->GetDealerName(), v->GetDealerPhone(),
                            v->GetDealerAddress(), v->GetInsurancePolicyNumber(), v->GetInsuranceAgentName(),
                            v->GetInsuranceAgentPhone(), v->GetInsuranceCoverage(), v->GetInsuranceExpirationDate(),
                            static_cast<unsigned long>(v->GetCurrentOdometer()), v->GetYear(), v->GetImagePath()));
    }
    for (int i = 0; i < r.entries.GetCount(); ++i) {
        CEntry* e = r.entries.Get(i);
        LookUp(db, "Entry", e->GetRefID());
        Run(db, sqlite3_mprintf("INSERT INTO Entry VALUES (NULL,%lu,'%q','%q',%f,%f,%f,%lu,%lu,%d,'%q',%f,%f,%f)",
                                e->GetRefID(), e->GetName(), e->GetNotes(), e->GetDateCreated(), e->GetDateModified(),
                                e->GetDate(), static_cast<unsigned long>(e->GetOdometer()), e->GetVehicleID(),
                                static_cast<int>(e->GetType()), e->GetVendor(), static_cast<double>(e->GetAmount()),
                                static_cast<double>(e->GetCustom1()), static_cast<double>(e->GetCustom2())));
    }
    for (int i = 0; i < r.reminders.GetCount(); ++i) {
        CNotification* n = r.reminders.Get(i);
        LookUp(db, "Notification", n->GetRefID());
        Run(db, sqlite3_mprintf("INSERT INTO Notification VALUES(NULL,%lu,'%q',%f,%f,%f,%d,%lu)", n->GetRefID(),
                                n->GetName(), n->GetDateCreated(), n->GetDateModified(), n->GetDate(),
                                static_cast<int>(n->GetOdometer()), n->GetVehicleID()));
    }
    for (int i = 0; i < r.keywords.GetCount(); ++i) {
        CKeyword* k = r.keywords.Get(i);
        LookUp(db, "Keyword", k->GetRefID());
        Run(db, sqlite3_mprintf("INSERT INTO Keyword VALUES(NULL,%lu,'%q',%d,%f,%f)", k->GetRefID(), k->GetName(),
                                static_cast<int>(k->GetType()), k->GetDateCreated(), k->GetDateModified()));
    }
    Exec(db, "COMMIT");
    const double elapsed = Seconds() - start;
    sqlite3_close(db);
    return elapsed;
}

void Progress(const char*) {}

// The synchronizer's run as the conduit makes it, minus the registry: connect, begin, the two
// marks around the two-way exchange, commit, the snapshot.
double SyncRun(const std::string& path, const std::string& folder, CHandheldStore& store)
{
    CHandheldApp app(store);
    app.Install();
    HotSyncRunInfo run{};
    std::strncpy(run.path, (folder + "\\").c_str(), sizeof run.path - 1);
    long rule = 2;
    const double start = Seconds();
    {
        CStepSynchronizer sync(&Progress, &run, &rule);
        if (sync.Database().Connect(path.c_str()) != CDataLayer::csConnected || !sync.Database().BeginTransaction()) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            std::exit(1);
        }
        CallRemoteEmpty();
        sync.Synchronize();
        CallRemoteEmpty();
        if (sync.Database().Commit() != CDataLayer::crCommitted || !sync.SaveSyncInfo()) {
            std::fprintf(stderr, "the run did not commit\n");
            std::exit(1);
        }
    }
    const double elapsed = Seconds() - start;
    CHandheldApp::Uninstall();
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    CHandheldStore store;
    FillHandheld(store, records);
    CScratchFolder folder(L"alkconduitbench");
    const std::string root = Ansi(folder.Path());

    std::vector<double> sync, prepared, statements;
    for (int round = 0; round < rounds; ++round) {
        const std::string a = root + "\\sync" + std::to_string(round) + ".dat";
        const std::string b = root + "\\prepared" + std::to_string(round) + ".dat";
        const std::string c = root + "\\statements" + std::to_string(round) + ".dat";
        for (const std::string& p : {a, b, c})
            if (!CopyTemplate(std::wstring(p.begin(), p.end()))) {
                std::fprintf(stderr, "cannot copy the template to %s\n", p.c_str());
                return 1;
            }
        CHandheldStore copy = store;
        sync.push_back(SyncRun(a, root + "\\run" + std::to_string(round), copy));

        CDataLayer layer;
        CDesktopRecords rows;
        if (layer.Connect(a.c_str()) != CDataLayer::csConnected || !rows.Load(layer) || rows.Count() != records) {
            std::fprintf(stderr, "the run stored %d records of %d\n", rows.Count(), records);
            return 1;
        }
        layer.Disconnect();
        prepared.push_back(PreparedLoop(b, rows));
        statements.push_back(StatementLoop(c, rows));
    }
    const double bestSync = Best(sync), bestA = Best(prepared), bestB = Best(statements);
    std::printf("records %d, best of %d rounds\n", records, rounds);
    std::printf("two-way HotSync        %8.3f s\n", bestSync);
    std::printf("(a) prepared inserts   %8.3f s   ratio %.2f\n", bestA, bestSync / bestA);
    std::printf("(b) look-up + insert   %8.3f s   ratio %.2f\n", bestB, bestSync / bestB);
    return 0;
}
