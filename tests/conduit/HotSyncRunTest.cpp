// Whole HotSyncs through HotSyncSim.exe on real files: a database made from the template through
// the business library and named by "DBPath", the handheld double's store, "Settings.ini" and
// "SynchInfo.dat" in the conduit folder. After each run both sides, the log, the progress texts,
// the handheld's trace, the snapshot's bytes and the reload broadcast are read back.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConduitTestDatabase.h"
#include "HotSyncRunFixture.h"
#include "resources/desktop/resource.h"
#include "RunTestSupport.h"
#include "sdk/hotsync/handheld/HandheldApp.h"
#include "SimProcess.h"
#include "tests/support/ProgramDriver.h"

using namespace alk_conduit_test;

namespace {

class HotSyncRun : public CHotSyncRunFixture {};

const char kOpen[] = "open=0";

}  // namespace

TEST_F(HotSyncRun, OtherActionsDoNothingAtAll)
{
    ASSERT_TRUE(db.Ok());
    AddEveryKind(db.Db());
    const std::vector<std::string> rows = Rows();
    for (int type : {6, 4, 5, 7, -1}) {
        ASSERT_EQ(0, HotSync(type)) << type;
        EXPECT_TRUE(Printed(kOpen));
        EXPECT_TRUE(Log().empty()) << type;
        EXPECT_TRUE(Progress().empty()) << type;
        EXPECT_TRUE(Trace().empty()) << type;
    }
    EXPECT_FALSE(FileExists(conduitFolder + "SynchInfo.dat"));
    EXPECT_EQ(rows, Rows());
    EXPECT_EQ(0, reload.Count());
}

TEST_F(HotSyncRun, TwoWayRunsFastAndSlowAlike)
{
    ASSERT_TRUE(db.Ok());
    const int desktop = AddEveryKind(db.Db());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    const size_t handheld = Handheld().Records().size();

    ASSERT_EQ(0, HotSync(0)) << (output.empty() ? "" : output.back());
    EXPECT_TRUE(Log().empty()) << Log()[0];
    EXPECT_EQ(std::vector<std::string>{"Autolark"}, Progress());
    EXPECT_EQ(DesktopTexts(), HandheldTexts());
    EXPECT_EQ(static_cast<size_t>(desktop) + handheld, DesktopTexts().size());
    EXPECT_EQ(21 * DesktopTexts().size(), Snapshot().size());
    EXPECT_EQ(1, reload.Count());

    const std::string snapshot = Snapshot();
    ASSERT_EQ(0, HotSync(1));
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Actions()) << "settled: nothing fetched, nothing sent";
    EXPECT_EQ(snapshot, Snapshot());
    EXPECT_EQ(2, reload.Count()) << "every committed run broadcasts";
}

TEST_F(HotSyncRun, OneWayRunsReplaceTheOtherSideFieldByField)
{
    ASSERT_TRUE(db.Ok());
    AddMany(6);
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    const std::vector<std::string> desktop = DesktopTexts();
    ASSERT_GT(desktop.size(), 250u);

    // Desktop overwrites handheld: the handheld holds the desktop's records exactly.
    ASSERT_EQ(0, HotSync(3));
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(desktop, HandheldTexts());
    EXPECT_EQ(desktop, DesktopTexts());
    EXPECT_EQ((std::vector<int>{0, 5, 0}), Actions());
    EXPECT_EQ(21 * desktop.size(), Snapshot().size());

    // Handheld overwrites desktop: the handheld's records, each renamed there, and two made there
    // replace the desktop's (a vehicle added on the desktop goes), every field, the handheld's
    // dates to six decimals.
    CHandheldStore store = Handheld();
    for (CHandheldRecord& record : store.Records()) {
        record.SetText("Name", record.Text("Name") + " \xf6'h");
        CHandheldStore::Touch(record);
    }
    CHandheldRecord& car = store.Create(HhVehicle);
    car.SetText("Name", "Only on the handheld, Ann's");
    car.SetNumber("CurrentOdometer", static_cast<uint32_t>(-12));
    CHandheldRecord& fuel = store.Create(HhEntry);
    fuel.SetNumber("Type", 1);
    fuel.SetReal("Amount", 12.34);
    fuel.SetText("Notes", "");
    SaveHandheld(store);
    const std::vector<std::string> handheld = HandheldTexts();
    ASSERT_EQ(desktop.size() + 2, handheld.size());
    CVehicle extra;
    extra.SetName("Only on the desktop");
    ASSERT_TRUE(db.Db().Save(&extra, 0));
    const std::string metaBefore = MetaData();
    ASSERT_EQ(0, HotSync(2));
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(handheld, DesktopTexts());
    EXPECT_EQ(handheld, HandheldTexts());
    EXPECT_EQ(metaBefore, MetaData());

    // One side empty: an empty handheld empties the desktop; an empty desktop sends nothing.
    SaveHandheld(CHandheldStore());
    ASSERT_EQ(0, HotSync(2));
    EXPECT_TRUE(DesktopTexts().empty());
    EXPECT_EQ(metaBefore, MetaData());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    const std::vector<std::string> seeded = HandheldTexts();
    ASSERT_EQ(0, HotSync(3));
    EXPECT_EQ((std::vector<int>{0, 0}), Actions());
    EXPECT_EQ(seeded, HandheldTexts());
    EXPECT_EQ(0u, Snapshot().size());
}

TEST_F(HotSyncRun, DatabasePathRefusals)
{
    ASSERT_TRUE(db.Ok());
    const std::vector<std::string> rows = Rows();
    const std::string error1 = "30\t1\tAutolark: General synch error (1)";
    struct Case {
        const char* what;
        std::function<void()> set;
    };
    const DWORD number = 5;
    const std::vector<Case> cases = {
        {"missing", [&] { dbPath.Delete(); }},
        {"not text", [&] { dbPath.SetRaw(REG_DWORD, &number, sizeof number); }},
        {"260 characters", [&] { dbPath.Set(std::string(1, root[0]) + ":\\" + std::string(257, 'x')); }},
        {"an environment reference", [&] { dbPath.Set("%TEMP%\\db.dat", REG_EXPAND_SZ); }},
        {"no file", [&] { dbPath.Set(root + "\\none.dat"); }},
    };
    for (const Case& c : cases) {
        c.set();
        ASSERT_EQ(0, HotSync(0));
        EXPECT_EQ(std::vector<std::string>{error1}, Log()) << c.what;
        EXPECT_EQ(std::vector<std::string>{"Autolark"}, Progress()) << c.what;
        EXPECT_TRUE(Trace().empty()) << c.what;
    }
    // A file that is no database.
    {
        std::ofstream text(root + "\\text.dat");
        text << "not a database";
    }
    dbPath.Set(root + "\\text.dat");
    ASSERT_EQ(0, HotSync(0));
    EXPECT_EQ(std::vector<std::string>{"30\t1\tAutolark: General synch error (2): the file named as the database is "
                                       "not an Autolark database"},
              Log());
    // Another writer holds the file: the transaction cannot begin, no remote call is made.
    dbPath.Set(db.AnsiPath());
    sqlite3* writer = OpenFile(db.AnsiPath(), SQLITE_OPEN_READWRITE);
    ASSERT_TRUE(writer);
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(writer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    ASSERT_EQ(0, HotSync(0));
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(std::vector<std::string>{"30\t1\tAutolark: General synch error (8): the database file is in use by "
                                       "another program"},
              Log());
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(rows, Rows());
    EXPECT_FALSE(FileExists(conduitFolder + "SynchInfo.dat"));
    EXPECT_EQ(0, reload.Count());
}

TEST_F(HotSyncRun, ASnapshotThatCannotBeSavedStillCommitsAndBroadcasts)
{
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    // A file where the run's folder should be.
    {
        std::ofstream blocker(root + "\\blocker");
        blocker << "x";
    }
    ASSERT_EQ(0, HotSync(0, "--sync-folder \"" + root + "\\blocker\\run\\\\\""));
    EXPECT_EQ(std::vector<std::string>{"22\t0\tAutolark: Last synchronization information wasn't saved"}, Log());
    EXPECT_EQ(HandheldTexts(), DesktopTexts());
    EXPECT_EQ(1, reload.Count());
}

// Link faults: each run fails, the desktop and the snapshot stay as they were, the handheld keeps
// what it had stored, and a clean run afterwards converges with nothing lost.
TEST_F(HotSyncRun, LinkFaultsLoseNothing)
{
    ASSERT_TRUE(db.Ok());
    AddEveryKind(db.Db());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    ASSERT_EQ(0, HotSync(0));
    ASSERT_TRUE(Log().empty());
    const std::vector<std::string> all = DesktopTexts();

    struct Case {
        const char* plan;
        int type;
        const char* line;
        const char* cause = nullptr;  // how the line goes on, where it names the fault
    };
    const char* const cutItems = "the handheld's item list of ";
    const char* const damagedObjects = "the handheld's object list of ";
    const std::vector<Case> cases = {
        {"action 1 reply-size 11", 0, "General synch error (6)"},
        {"action 1 reply-size 64001", 0, "General synch error (6)"},
        {"action 1 change-total; chunk 100", 0, "General synch error (6)"},
        {"action 1 header-length", 0, "General synch error (6)"},
        {"action 1 past-total; chunk 100", 0, "General synch error (6)"},
        {"action 1 zero-chunk", 0, "General synch error (6)"},
        {"action 3 reply-size 11", 0, "General synch error (6)"},
        {"action 3 reply-size 64001", 0, "General synch error (6)"},
        {"chunk 100; call 3 drop", 0, "General synch error (9)"},
        {"action 1 drop", 0, "General synch error (9)"},
        {"action 3 drop", 0, "General synch error (9)"},
        {"action 8 drop", 0, "General synch error (9)"},
        {"call 7 drop", 0, "General synch error (9)"},
        {"action 1 result 0x4019 3", 0, "Palm side error (3)"},
        {"action 3 leave-out", 0, "General synch error (6)"},
        {"action 4 cut-list", 2, "General synch error (6)", damagedObjects},
        {"action 4 type9", 2, "General synch error (6)", damagedObjects},
        // An item list cut short, or noise of any length, is never an emptied handheld.
        {"action 1 cut-list", 0, "General synch error (6)", cutItems},
        {"action 1 garbage 7 1", 0, "General synch error (6)", cutItems},
        {"action 1 garbage 43 2", 0, "General synch error (6)", cutItems},
        {"action 1 garbage 210 3", 0, "General synch error (6)", "the handheld's item list is damaged at record "},
    };
    for (const Case& c : cases) {
        // Changes on both sides, so the run fetches, deletes and stores.
        CHandheldStore store = Handheld();
        CHandheldRecord& added = store.Create(HhKeyword);
        added.SetText("Name", c.plan);
        const unsigned long addedRef = added.RefID();
        SaveHandheld(store);
        CKeyword k;
        k.SetName((std::string("desktop ") + c.plan).c_str());
        k.SetType(CKeyword::ktRepair);
        ASSERT_TRUE(db.Db().Save(&k, 0));
        CObjectListT<CKeyword> keywords;
        ASSERT_TRUE(db.Db().Load(&keywords, CKeyword::ktAll));
        CKeyword* victim = keywords.Get(0);
        ASSERT_TRUE(db.Db().Delete(CBaseObject::otKeyword, static_cast<unsigned long>(victim->GetID())));

        const std::vector<std::string> rows = Rows();
        const std::string snapshot = Snapshot();
        const std::vector<std::string> handheldBefore = HandheldTexts();
        ASSERT_EQ(0, HotSync(c.type, std::string("--faults \"") + c.plan + "\"")) << c.plan;
        const std::vector<std::string> log = Log();
        ASSERT_EQ(2u, log.size()) << c.plan;
        const std::string expected =
            std::string("30\t1\tAutolark: ") + c.line + (c.cause ? std::string(": ") + c.cause : "");
        if (c.cause)
            EXPECT_EQ(expected, log[0].substr(0, expected.size())) << c.plan;
        else
            EXPECT_EQ(expected, log[0]) << c.plan;
        EXPECT_EQ("22\t1\tAutolark: Changes were rolled back", log[1]) << c.plan;
        EXPECT_EQ(rows, Rows()) << c.plan;
        EXPECT_EQ(snapshot, Snapshot()) << c.plan;
        const std::string plan = c.plan;
        if (plan == "chunk 100; call 3 drop") {
            // The item list spans several calls; the link went at its second.
            const std::vector<HhTraceEntry> trace = Trace();
            ASSERT_EQ(3u, trace.size());
            EXPECT_EQ(1, trace[1].action);
            EXPECT_LT(trace[1].chunk, trace[1].total);
            EXPECT_EQ(1, trace[2].action);
            EXPECT_EQ("fault: link dropped", trace[2].note);
        }
        // Dropped after the update's deletions or before the closing mark, the handheld keeps
        // what it had already stored.
        if (plan != "call 7 drop" && plan != "action 8 drop") {
            EXPECT_EQ(handheldBefore, HandheldTexts()) << c.plan;
        }

        // A clean run converges and loses nothing of either side.
        ASSERT_EQ(0, HotSync(0));
        EXPECT_TRUE(Log().empty()) << c.plan << ": " << Log()[0];
        EXPECT_EQ(DesktopTexts(), HandheldTexts()) << c.plan;
        const CHandheldStore& after = Handheld();
        EXPECT_TRUE(const_cast<CHandheldStore&>(after).Find(HhKeyword, addedRef)) << c.plan;
        EXPECT_EQ(0, std::count_if(after.Records().begin(), after.Records().end(),
                                   [&](const CHandheldRecord& r) {
                                       return r.Type() == HhKeyword && r.RefID() == victim->GetRefID();
                                   }))
            << c.plan;
    }
    EXPECT_GE(DesktopTexts().size(), all.size());
}

// The commit waits while another program reads the file: 5000 ms between attempts, five in all.
TEST_F(HotSyncRun, ACommitBusyTwiceWaitsTenSecondsAndCommits)
{
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    sqlite3* reader = OpenFile(db.AnsiPath(), SQLITE_OPEN_READWRITE);
    ASSERT_TRUE(reader);
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM Vehicle;", nullptr, nullptr, nullptr));
    const DWORD start = GetTickCount();
    bool released = false;
    ASSERT_EQ(0, HotSync(0, "", [&] {
                  // Let go after the second busy attempt was shown.
                  for (int i = 0; i < 3000 && Progress().size() < 3; ++i) Sleep(10);
                  released = sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
              }));
    const DWORD elapsed = GetTickCount() - start;
    sqlite3_close(reader);
    EXPECT_TRUE(released);
    EXPECT_GE(elapsed, 10000u);
    EXPECT_LT(elapsed, 15000u);
    const std::vector<std::string> expected = {"Autolark", "Can't commit, the database is busy (attempt 1 of 5)",
                                               "Can't commit, the database is busy (attempt 2 of 5)"};
    EXPECT_EQ(expected, Progress());
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(HandheldTexts(), DesktopTexts());
    EXPECT_EQ(21 * DesktopTexts().size(), Snapshot().size());
    EXPECT_EQ(1, reload.Count());
}

TEST_F(HotSyncRun, ACommitBusyFiveTimesSavesNothing)
{
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
    const std::vector<std::string> rows = Rows();
    sqlite3* reader = OpenFile(db.AnsiPath(), SQLITE_OPEN_READWRITE);
    ASSERT_TRUE(reader);
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(reader, "BEGIN; SELECT COUNT(*) FROM Vehicle;", nullptr, nullptr, nullptr));
    const DWORD start = GetTickCount();
    ASSERT_EQ(0, HotSync(0));
    const DWORD elapsed = GetTickCount() - start;
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    EXPECT_GE(elapsed, 20000u);
    const std::vector<std::string> progress = Progress();
    ASSERT_EQ(6u, progress.size());
    EXPECT_EQ("Can't commit, the database is busy (attempt 5 of 5)", progress[5]);
    EXPECT_EQ(std::vector<std::string>{"30\t0\tAutolark: Commit failed. The changes on the desktop were not saved"},
              Log());
    EXPECT_EQ(rows, Rows());
    EXPECT_FALSE(FileExists(conduitFolder + "SynchInfo.dat"));
    EXPECT_EQ(0, reload.Count());
}

// A conflict rule chosen in the dialog (ConfigureConduit, the conduit folder's settings) decides
// the next two-way run.
TEST_F(HotSyncRun, TheRuleChosenInTheDialogDecidesTheNextRun)
{
    ASSERT_TRUE(db.Ok());
    CKeyword k;
    k.SetName("both");
    k.SetType(CKeyword::ktExpense);
    ASSERT_TRUE(db.Db().Save(&k, 0));
    ASSERT_EQ(0, HotSync(0));
    CHandheldStore store = Handheld();
    ASSERT_EQ(1u, store.Records().size());
    store.Records()[0].SetText("Name", "handheld's");
    store.Records()[0].SetReal("DateModified", store.Records()[0].Real("DateModified") + 0.5);
    SaveHandheld(store);
    k.SetName("desktop's");
    k.SetDateModified(k.GetDateModified() + 0.25);
    ASSERT_TRUE(db.Db().Save(&k, 1));

    const std::string configure = "configure --conduit \"" + kConduit + "\" --form prefs --type 0 --folder \"" +
                                  conduitFolder + "\\\"";  // a backslash before a quote is doubled
    ASSERT_EQ(0, CSimFixture::Run(configure, [] {
                  HWND dialog = WaitForActionDialog();
                  ASSERT_TRUE(dialog);
                  DWORD_PTR unused = 0;
                  for (int id : {1010, 1011, 1012})
                      SendMessageTimeoutW(GetDlgItem(dialog, id), BM_SETCHECK, id == 1011 ? BST_CHECKED : BST_UNCHECKED,
                                          0, SMTO_NORMAL, 5000, &unused);
                  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_TRUE(Printed("result=0"));
    EXPECT_EQ(std::vector<std::string>{"ConflictsResolving = 1"}, ReadLines(conduitFolder + "Settings.ini"));
    ASSERT_EQ(0, HotSync(0));
    EXPECT_EQ((std::vector<std::string>{"handheld's"}), std::vector<std::string>{Handheld().Records()[0].Text("Name")});
    EXPECT_EQ(HandheldTexts(), DesktopTexts());
}

// Autolark.exe on the same database: a committed HotSync shows the handheld's vehicle at once (the
// program reloads on the broadcast); a failed HotSync sends nothing, so the program shows what it
// showed, even a row written meanwhile by another program.
namespace {

const std::wstring kProgram = WinePathW(ALK_PROGRAM_PATH);

// The first column of one of the program's list views, sorted.
std::vector<std::wstring> SortedRows(const CProgramDriver& program, HWND list)
{
    std::vector<std::wstring> rows = program.ColumnTexts(list, 0);
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

TEST_F(HotSyncRun, TheProgramShowsTheHandheldsVehicleAfterAHotSyncOnly)
{
    ASSERT_TRUE(db.Ok());
    CVehicle car;
    car.SetName("Desk Car");
    car.SetYear(1999);
    ASSERT_TRUE(db.Db().Save(&car, 0));
    CHandheldStore store;
    CHandheldRecord& van = store.Create(HhVehicle);
    van.SetText("Name", "Handheld Van");
    van.SetNumber("Year", 2001);
    SaveHandheld(store);
    // Settings of a program that has run on this file before (no first-run notice).
    WriteSetting(L"UnitSetupMsgShown", 1);

    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND main = nullptr, vehicles = nullptr;
    std::vector<std::wstring> rows;
    auto shown = [&](const std::vector<std::wstring>& expected) {
        return WaitFor([&] {
            if (!main) main = program.Find(L"Alk.MainFrame");
            if (main && !vehicles) vehicles = FindControl(main, IDC_VEHICLE_LIST);
            return vehicles && (rows = SortedRows(program, vehicles)) == expected;
        });
    };
    EXPECT_TRUE(shown({L"Desk Car (1999)"})) << rows.size();

    // Another program adds a vehicle; a HotSync that fails on the link sends no reload.
    CVehicle other;
    other.SetName("Written Meanwhile");
    other.SetYear(2010);
    ASSERT_TRUE(db.Db().Save(&other, 0));
    ASSERT_EQ(0, HotSync(0, "--faults \"action 1 drop\""));
    ASSERT_EQ(2u, Log().size());
    Sleep(1500);
    EXPECT_EQ(std::vector<std::wstring>{L"Desk Car (1999)"}, SortedRows(program, vehicles));

    // A committed HotSync: the handheld's vehicle shows, with the other program's row.
    ASSERT_EQ(0, HotSync(0));
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(shown({L"Desk Car (1999)", L"Handheld Van (2001)", L"Written Meanwhile (2010)"})) << rows.size();

    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";
}

// Each conflict rule, read from "Settings.ini" before the run, decides the three conflicts of a
// whole two-way HotSync: modified on both sides, modified on the handheld and deleted on the
// desktop, deleted on the handheld and modified on the desktop. A further run settles.
TEST_F(HotSyncRun, EachConflictRuleDecidesAWholeRun)
{
    ASSERT_TRUE(db.Ok());
    // clang-format off
    const std::vector<std::vector<std::string>> expected = {
        /* desktop wins */  {"11 desktop", "31 desktop"},
        /* handheld wins */ {"11 handheld", "13 handheld"},
        /* duplicate */     {"11 desktop", "11 handheld", "13 handheld", "31 desktop"},
    };
    // clang-format on
    for (int rule = 0; rule <= 2; ++rule) {
        const std::string prefix = "rule " + std::to_string(rule) + ": ";
        std::map<std::string, unsigned long> refs;
        for (const char* cell : {"11", "13", "31"}) {
            CKeyword k;
            k.SetName((prefix + cell).c_str());
            k.SetType(CKeyword::ktFuelVendor);
            ASSERT_TRUE(db.Db().Save(&k, 0));
            refs[cell] = k.GetRefID();
        }
        ASSERT_EQ(0, HotSync(0)) << rule;
        ASSERT_TRUE(Log().empty()) << Log()[0];
        {
            std::ofstream settings(conduitFolder + "Settings.ini");
            settings << "ConflictsResolving=" << rule << "\n";
        }

        auto editDesktop = [&](const char* cell, const std::string& name) {
            CKeyword k;
            k.SetID(static_cast<long>(db.Db().GetID(CBaseObject::otKeyword, refs[cell])));
            ASSERT_TRUE(db.Db().Load(&k));
            k.SetName(name.c_str());
            k.SetDateModified(k.GetDateModified() + 0.25);
            ASSERT_TRUE(db.Db().Save(&k, 1));
        };
        CHandheldStore store = Handheld();
        auto editHandheld = [&](const char* cell, const std::string& name) {
            CHandheldRecord* r = store.Find(HhKeyword, refs[cell]);
            ASSERT_TRUE(r);
            r->SetText("Name", name);
            r->SetReal("DateModified", r->Real("DateModified") + 0.5);
        };
        editDesktop("11", prefix + "11 desktop");
        editHandheld("11", prefix + "11 handheld");
        editHandheld("13", prefix + "13 handheld");
        ASSERT_TRUE(db.Db().Delete(CBaseObject::otKeyword, db.Db().GetID(CBaseObject::otKeyword, refs["13"])));
        store.Remove(HhKeyword, refs["31"]);
        editDesktop("31", prefix + "31 desktop");
        SaveHandheld(store);

        ASSERT_EQ(0, HotSync(0)) << rule;
        EXPECT_TRUE(Log().empty()) << rule << ": " << Log()[0];
        std::vector<std::string> desktop, handheld;
        CObjectListT<CKeyword> keywords;
        ASSERT_TRUE(db.Db().Load(&keywords, CKeyword::ktAll));
        for (int i = 0; i < keywords.GetCount(); ++i) {
            const std::string name = keywords.Get(i)->GetName();
            if (name.compare(0, prefix.size(), prefix) == 0) desktop.push_back(name.substr(prefix.size()));
        }
        for (const CHandheldRecord& r : Handheld().Records()) {
            const std::string name = r.Text("Name");
            if (r.Type() == HhKeyword && name.compare(0, prefix.size(), prefix) == 0)
                handheld.push_back(name.substr(prefix.size()));
        }
        std::sort(desktop.begin(), desktop.end());
        std::sort(handheld.begin(), handheld.end());
        EXPECT_EQ(expected[static_cast<size_t>(rule)], desktop) << rule;
        EXPECT_EQ(expected[static_cast<size_t>(rule)], handheld) << rule;

        ASSERT_EQ(0, HotSync(0));
        EXPECT_EQ((std::vector<int>{0, 1, 0}), Actions()) << rule << ": settled, nothing fetched or sent";
        EXPECT_EQ(DesktopTexts(), HandheldTexts()) << rule;
    }
}
