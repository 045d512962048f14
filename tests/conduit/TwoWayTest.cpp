// The two-way synchronizer in this process: its decision table on its own, then whole runs of
// its steps over a real database file (the 8-bit business build) and the handheld double at the
// other end of the link, inside a transaction that the test commits. No registry and no reload
// message: those belong to the run, tested through HotSyncSim.exe.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Conduit/Src/CCustomSynchronizer.h"
#include "Conduit/Src/HandheldLink.h"
#include "ConduitTestDatabase.h"
#include "ConduitTestSupport.h"
#include "sdk/hotsync/handheld/HandheldApp.h"

using namespace alk_conduit_test;

namespace {

typedef CCustomSynchronizer S;

// The synchronizer with its data step reachable, the way the run calls it.
class CStepSynchronizer : public CCustomSynchronizer {
public:
    using CCustomSynchronizer::CCustomSynchronizer;
    using CCustomSynchronizer::Synchronize;
};

HotSyncRunInfo NoRun()
{
    HotSyncRunInfo run{};
    return run;
}

std::string Describe(const S::CActionList& list, char side)
{
    std::string out;
    for (const S::ActionItem& item : list) out += std::string(1, side) + std::to_string(item.Action) + " ";
    return out;
}

// What DecideItem queues for one cell, as "D1 H0 " (desktop first), or the fatal text.
std::string Cell(long h, long d, long rule)
{
    HotSyncRunInfo run = NoRun();
    CCustomSynchronizer sync(nullptr, &run, &rule);
    S::CActionList hh, dt;
    const std::string thrown =
        ThrownText([&] { sync.DecideItem(CDbItemInfoKey(CBaseObject::otKeyword, 7), h, d, hh, dt); });
    if (!thrown.empty()) return thrown.substr(thrown.rfind(' ') + 1);
    for (const S::ActionItem& item : dt) EXPECT_EQ(7u, item.Key.RefID);
    return Describe(dt, 'D') + Describe(hh, 'H');
}

}  // namespace

TEST(DecisionTable, EveryCellUnderEveryRule)
{
    // Rows: the handheld's state 0..3; columns: the desktop's 0..3 and absent. "301" marks a pair
    // two maps compared with one snapshot cannot give.
    // clang-format off
    const char* const common[4][5] = {
        {"D0 H0 ", "D0 H1 ", "301", "D0 H2 ", "301"},
        {"D1 H0 ", nullptr,  "301", nullptr,  "301"},
        {"301",    "301",    "",    "301",    "D1 "},
        {"D2 H0 ", nullptr,  "301", "",       "301"},
    };
    // The conflicts (1,1), (1,3), (3,1) under rules 0, 1, 2.
    const std::map<std::pair<long, long>, std::vector<std::string>> conflicts = {
        {{1, 1}, {"H1 ", "D1 ", "D4 D1 "}},
        {{1, 3}, {"H2 ", "D1 ", "D1 "}},
        {{3, 1}, {"H1 ", "D2 ", "H1 "}},
    };
    // clang-format on
    for (long rule = 0; rule <= 2; ++rule)
        for (long h = 0; h <= 3; ++h)
            for (long d = 0; d <= 4; ++d) {
                const long desktop = d == 4 ? static_cast<long>(S::StateAbsent) : d;
                const std::string expected =
                    common[h][d] ? common[h][d] : conflicts.at({h, desktop})[static_cast<size_t>(rule)];
                EXPECT_EQ(expected, Cell(h, desktop, rule)) << "h=" << h << " d=" << desktop << " rule=" << rule;
            }
    // A rule outside 0 to 2 is an internal error where a conflict needs it, and only there.
    EXPECT_EQ("349", Cell(1, 1, 3));
    EXPECT_EQ("349", Cell(3, 1, -1));
    EXPECT_EQ("D0 H0 ", Cell(0, 0, 3));
}

TEST(DecisionTable, FatalLinesNameTheUnitAndLine)
{
    long rule = 2;
    HotSyncRunInfo run = NoRun();
    CCustomSynchronizer sync(nullptr, &run, &rule);
    S::CActionList hh, dt;
    EXPECT_EQ("Fatal exception in file \"Src\\CCustomSynchronizer.cpp\" on line 373",
              ThrownText([] { S::StateToAction(4); }));
    EXPECT_EQ("Fatal exception in file \"Src\\CCustomSynchronizer.cpp\" on line 301",
              ThrownText([&] { sync.DecideItem(CDbItemInfoKey(CBaseObject::otVehicle, 1), 5, 0, hh, dt); }));
    // A desktop-only key that is not added.
    S::CChangeMap handheld, desktop = {{CDbItemInfoKey(CBaseObject::otEntry, 9), S::StateModified}};
    EXPECT_EQ("Fatal exception in file \"Src\\CCustomSynchronizer.cpp\" on line 301",
              ThrownText([&] { sync.Decide(handheld, desktop, hh, dt); }));
    try {
        S::StateToAction(-1);
        ADD_FAILURE() << "no exception";
    } catch (const CFatalException& e) {
        EXPECT_EQ(7, e.GetErrorCode());
        EXPECT_EQ(373, e.GetLine());
    }
}

TEST(DecisionTable, DecideWalksKeysKindByKindThenDesktopOnlyKeys)
{
    long rule = 0;
    HotSyncRunInfo run = NoRun();
    CCustomSynchronizer sync(nullptr, &run, &rule);
    const CDbItemInfoKey k4(CBaseObject::otKeyword, 1), v9(CBaseObject::otVehicle, 0xFFFFFFF0u),
        v1(CBaseObject::otVehicle, 1), e2(CBaseObject::otEntry, 2), added(CBaseObject::otVehicle, 5);
    S::CChangeMap handheld = {
        {k4, S::StateUnchanged}, {v9, S::StateModified}, {v1, S::StateDeleted}, {e2, S::StateUnchanged}};
    S::CChangeMap desktop = {{k4, S::StateModified},
                             {v9, S::StateUnchanged},
                             {v1, S::StateUnchanged},
                             {e2, S::StateDeleted},
                             {added, S::StateAdded}};
    S::CActionList hh, dt;
    sync.Decide(handheld, desktop, hh, dt);
    EXPECT_TRUE(desktop.empty());
    std::vector<std::string> order;
    for (const S::ActionItem& i : hh)
        order.push_back(std::to_string(i.Key.ObjectType) + ":" + std::to_string(i.Key.RefID) + "=" +
                        std::to_string(i.Action));
    // RefIDs order unsigned: 1 before 0xFFFFFFF0; the desktop-only key comes last.
    const std::vector<std::string> expected = {"1:1=0", "1:4294967280=0", "2:2=2", "4:1=1", "1:5=1"};
    EXPECT_EQ(expected, order);
    EXPECT_EQ("D2 D1 D0 D0 ", Describe(dt, 'D'));
}

TEST(ComputeChanges, StatesAgainstTheSnapshot)
{
    const CDbItemInfoKey a(CBaseObject::otEntry, 1), b(CBaseObject::otEntry, 2), c(CBaseObject::otEntry, 3),
        d(CBaseObject::otEntry, 4), e(CBaseObject::otKeyword, 1);
    const CDbItemInfoMap snapshot = {{a, {1, 45000.5}}, {b, {1, 45000.5}}, {c, {1, 45000.5}}, {e, {1, 45000.5}}};
    const CDbItemInfoMap current = {{a, {99, 45000.5}}, {b, {1, 45000.25}}, {d, {1, 1}}, {e, {1, 45000.75}}};
    S::CChangeMap out = {{CDbItemInfoKey(CBaseObject::otVehicle, 77), 0}};
    S::ComputeChanges(current, snapshot, out);
    const S::CChangeMap expected = {{a, S::StateUnchanged},  // only the creation date differs
                                    {b, S::StateModified},   // a date that went backwards
                                    {c, S::StateDeleted},
                                    {d, S::StateAdded},
                                    {e, S::StateModified}};
    EXPECT_EQ(expected, out);
}

TEST(ComputeChanges, DatesAgreeingToSixDecimalsAreEqual)
{
    // A handheld stamp in whole seconds and the same date as the database file keeps it.
    const double stamp = 46000.0 + 37.0 / 86400.0;
    char stored[64];
    std::snprintf(stored, sizeof stored, "%f", stamp);
    const double asStored = std::atof(stored);
    ASSERT_NE(stamp, asStored);
    EXPECT_TRUE(CStoredDate::Same(stamp, asStored));
    EXPECT_TRUE(CStoredDate::Same(asStored, stamp));
    // One second later, or one millionth of a day, is another date.
    EXPECT_FALSE(CStoredDate::Same(stamp, stamp + 1.0 / 86400.0));
    EXPECT_FALSE(CStoredDate::Same(46000.000001, 46000.000002));
    EXPECT_TRUE(CStoredDate::Same(-1.5, -1.5));

    const CDbItemInfoKey k(CBaseObject::otVehicle, 1);
    S::CChangeMap out;
    S::ComputeChanges({{k, {0, stamp}}}, {{k, {0, asStored}}}, out);
    EXPECT_EQ(S::StateUnchanged, out[k]);
}

namespace {

void Progress(const char*) {}

// Keys of the records of one side, with their names and modification dates as the file keeps them.
typedef std::map<std::pair<int, unsigned long>, std::string> CSide;

std::string SixDecimals(double date)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", date);
    return text;
}

// Whole runs of the synchronizer's steps between a database file and the handheld double.
class TwoWay : public ::testing::Test {
protected:
    TwoWay() : m_runFolder(L"alktwoway")
    {
        app.Install();
        run.syncType = HsSyncFast;
        std::strcpy(run.path, (ToAnsi(m_runFolder.Path()) + "\\").c_str());
    }
    ~TwoWay() override { CHandheldApp::Uninstall(); }

    // One committed two-way run with the rule; the handheld's calls of this run in trace.
    void Sync(long rule)
    {
        const size_t before = app.Trace().size();
        CStepSynchronizer sync(&Progress, &run, &rule);
        ASSERT_EQ(CDataLayer::csConnected, sync.Database().Connect(db.AnsiPath().c_str()));
        ASSERT_TRUE(sync.Database().BeginTransaction());
        const std::string thrown = ThrownText([&] {
            CallRemoteEmpty();
            sync.Synchronize();
            CallRemoteEmpty();
        });
        ASSERT_EQ("", thrown);
        ASSERT_EQ(CDataLayer::crCommitted, sync.Database().Commit());
        ASSERT_TRUE(sync.SaveSyncInfo());
        trace.assign(app.Trace().begin() + static_cast<long>(before), app.Trace().end());
        ASSERT_EQ("", app.Breach());
    }
    // The actions the handheld was called with in the last run.
    std::vector<int> Actions() const
    {
        std::vector<int> actions;
        for (const HhTraceEntry& e : trace)
            if (e.received == 0 && e.offset == 0) actions.push_back(e.action);  // a transfer starts
        return actions;
    }

    CSide Desktop()
    {
        CSide side;
        CObjectListT<CVehicle> vehicles;
        CObjectListT<CEntry> entries;
        CObjectListT<CNotification> reminders;
        CObjectListT<CKeyword> keywords;
        CEntryFilter all;
        all.SetVehicleID(0);
        all.SetEntryType(CEntry::etNone);
        all.SetDateRangeType(CEntryFilter::drAll);
        EXPECT_TRUE(db.Db().Load(&vehicles) && db.Db().Load(&entries, &all) && db.Db().Load(&reminders, 0UL) &&
                    db.Db().Load(&keywords, CKeyword::ktAll));
        CObjectList* lists[] = {&vehicles, &entries, &reminders, &keywords};
        for (CObjectList* list : lists)
            for (int i = 0; i < list->GetCount(); ++i) {
                CBaseObject* r = list->GetItem(i);
                side[{r->GetObjectType(), r->GetRefID()}] =
                    std::string(r->GetName()) + "|" + SixDecimals(r->GetDateModified());
            }
        return side;
    }
    CSide Handheld() const
    {
        CSide side;
        for (const CHandheldRecord& r : store.Records())
            side[{r.Type(), r.RefID()}] = r.Text("Name") + "|" + SixDecimals(r.Real("DateModified"));
        return side;
    }
    // Both sides hold the same records and a further run calls nothing but the item list.
    void ExpectSettled(long rule)
    {
        EXPECT_EQ(Desktop(), Handheld());
        Sync(rule);
        EXPECT_EQ((std::vector<int>{0, 1, 0}), Actions()) << "a settled run fetches and sends nothing";
        EXPECT_EQ(Desktop(), Handheld());
    }

    unsigned long AddKeyword(const char* name, double modified = 45000.5)
    {
        CKeyword k;
        k.SetName(name);
        k.SetType(CKeyword::ktCategory);
        k.SetDateCreated(45000);
        k.SetDateModified(modified);
        EXPECT_TRUE(db.Db().Save(&k, 1));
        return k.GetRefID();
    }
    void EditDesktop(unsigned long refID, const char* name)
    {
        CKeyword k;
        k.SetID(static_cast<long>(db.Db().GetID(CBaseObject::otKeyword, refID)));
        ASSERT_TRUE(db.Db().Load(&k));
        k.SetName(name);
        ASSERT_TRUE(db.Db().Save(&k, 0));
    }
    void DeleteDesktop(int type, unsigned long refID)
    {
        ASSERT_TRUE(db.Db().Delete(static_cast<CBaseObject::ObjectType>(type),
                                   db.Db().GetID(static_cast<CBaseObject::ObjectType>(type), refID)));
    }
    void EditHandheld(int type, unsigned long refID, const char* name)
    {
        CHandheldRecord* r = store.Find(type, refID);
        ASSERT_TRUE(r);
        r->SetText("Name", name);
        r->SetReal("DateModified", r->Real("DateModified") + 60.0 / 86400.0);
    }
    std::string DesktopName(int type, unsigned long refID)
    {
        const CSide side = Desktop();
        const auto found = side.find({type, refID});
        return found == side.end() ? "<none>" : found->second.substr(0, found->second.find('|'));
    }
    std::string HandheldName(int type, unsigned long refID)
    {
        const CHandheldRecord* r = store.Find(type, refID);
        return r ? r->Text("Name") : "<none>";
    }

    CManager manager;
    CConduitDatabase db;
    CHandheldStore store;
    CHandheldApp app{store};
    HotSyncRunInfo run{};
    std::vector<HhTraceEntry> trace;

private:
    CScratchFolder m_runFolder;
};

}  // namespace

TEST_F(TwoWay, FirstRunCopiesEachSideAndLeavesTheSameKeyAlone)
{
    ASSERT_TRUE(db.Ok());
    const int records = AddEveryKind(db.Db());
    CHandheldRecord& own = store.Create(HhVehicle);
    own.SetText("Name", "Handheld car");
    const unsigned long ownRef = own.RefID();
    // The same key on both sides, each made on its own.
    CHandheldRecord same(HhKeyword);
    same.SetNumber("RefID", 0x201);
    same.SetNumber("Type", 1);
    same.SetText("Name", "Handheld keyword");
    same.SetReal("DateModified", 45999);
    store.Put(same);

    Sync(2);
    EXPECT_EQ(records + 1, static_cast<int>(store.Records().size())) << "every desktop record but the same key";
    EXPECT_EQ("Handheld car", DesktopName(HhVehicle, ownRef));
    EXPECT_EQ("Keyword", DesktopName(HhKeyword, 0x201));
    EXPECT_EQ("Handheld keyword", HandheldName(HhKeyword, 0x201));
    const std::vector<std::string> log = manager.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(
        "22\t0\tAutolark: 1 record was on both the handheld and the desktop with no record of an earlier "
        "synchronization: each side kept its own",
        log[0]);
    // Every field of every kind reached the handheld as stored.
    for (const CHandheldRecord& r : store.Records()) {
        if (r.RefID() == 0x80000001u) {
            EXPECT_EQ("Bob's \xe9t\xe9 car", r.Text("Name"));
            EXPECT_EQ(std::string(3000, 'n') + "\r\nend", r.Text("Notes"));
            EXPECT_EQ(123456u, r.Number("CurrentOdometer"));
        }
        if (r.RefID() == 0x80000002u) {
            EXPECT_EQ(static_cast<uint32_t>(-5), r.Number("CurrentOdometer"));
        }
        if (r.Type() == HhEntry && r.RefID() == 0x103) {
            EXPECT_EQ(0xFFFFFFFFu, r.Number("Odometer"));
        }
    }

    // The same key settles one run later: the snapshot now holds the desktop's dates, the
    // handheld's copy reads as modified there, and its record comes over.
    Sync(2);
    EXPECT_EQ("Handheld keyword", DesktopName(HhKeyword, 0x201));
    ExpectSettled(2);
}

// Every reachable cell of the table at once, one keyword per cell, under each rule.
class Cells : public TwoWay, public ::testing::WithParamInterface<long> {};

TEST_P(Cells, EveryReachableCell)
{
    ASSERT_TRUE(db.Ok());
    const long rule = GetParam();
    std::map<std::string, unsigned long> k;
    for (const char* cell : {"00", "01", "03", "10", "11", "13", "30", "31", "33"}) k[cell] = AddKeyword(cell);
    Sync(rule);
    ASSERT_EQ(9u, store.Records().size());

    EditDesktop(k["01"], "01 desktop");
    DeleteDesktop(HhKeyword, k["03"]);
    EditHandheld(HhKeyword, k["10"], "10 handheld");
    EditDesktop(k["11"], "11 desktop");
    EditHandheld(HhKeyword, k["11"], "11 handheld");
    EditHandheld(HhKeyword, k["13"], "13 handheld");
    DeleteDesktop(HhKeyword, k["13"]);
    store.Remove(HhKeyword, k["30"]);
    store.Remove(HhKeyword, k["31"]);
    EditDesktop(k["31"], "31 desktop");
    store.Remove(HhKeyword, k["33"]);
    DeleteDesktop(HhKeyword, k["33"]);
    const unsigned long desktopAdded = AddKeyword("x2 desktop");
    CHandheldRecord& added = store.Create(HhKeyword);
    added.SetText("Name", "2x handheld");
    const unsigned long handheldAdded = added.RefID();
    const size_t desktopBefore = Desktop().size();

    Sync(rule);
    EXPECT_EQ("00", DesktopName(HhKeyword, k["00"]));
    EXPECT_EQ("01 desktop", HandheldName(HhKeyword, k["01"]));
    EXPECT_EQ("<none>", HandheldName(HhKeyword, k["03"]));
    EXPECT_EQ("10 handheld", DesktopName(HhKeyword, k["10"]));
    EXPECT_EQ("<none>", DesktopName(HhKeyword, k["30"]));
    EXPECT_EQ("<none>", DesktopName(HhKeyword, k["33"]));
    EXPECT_EQ("<none>", HandheldName(HhKeyword, k["33"]));
    EXPECT_EQ("x2 desktop", HandheldName(HhKeyword, desktopAdded));
    EXPECT_EQ("2x handheld", DesktopName(HhKeyword, handheldAdded));
    const CSide desktop = Desktop();
    switch (rule) {
    case 0:
        EXPECT_EQ("11 desktop", HandheldName(HhKeyword, k["11"]));
        EXPECT_EQ("11 desktop", DesktopName(HhKeyword, k["11"]));
        EXPECT_EQ("<none>", HandheldName(HhKeyword, k["13"]));
        EXPECT_EQ("31 desktop", HandheldName(HhKeyword, k["31"]));
        EXPECT_EQ(desktopBefore - 1 + 1, desktop.size()) << "30 deleted, 2x added";
        break;
    case 1: {
        EXPECT_EQ("11 handheld", DesktopName(HhKeyword, k["11"]));
        EXPECT_EQ("13 handheld", DesktopName(HhKeyword, k["13"]));
        EXPECT_EQ("<none>", DesktopName(HhKeyword, k["31"]));
        // The handheld's record comes with the handheld's dates (as the file keeps them).
        EXPECT_EQ(SixDecimals(store.Find(HhKeyword, k["11"])->Real("DateModified")),
                  desktop.at({HhKeyword, k["11"]}).substr(12));
        break;
    }
    case 2: {
        EXPECT_EQ("11 handheld", DesktopName(HhKeyword, k["11"]));
        EXPECT_EQ("13 handheld", DesktopName(HhKeyword, k["13"]));
        EXPECT_EQ("31 desktop", HandheldName(HhKeyword, k["31"]));
        // The desktop's version of 11 lives on as a new record on both sides.
        int copies = 0;
        for (const auto& item : desktop)
            if (item.second.compare(0, 11, "11 desktop|") == 0) {
                ++copies;
                EXPECT_NE(k["11"], item.first.second);
                EXPECT_EQ("11 desktop", HandheldName(HhKeyword, item.first.second));
            }
        EXPECT_EQ(1, copies);
        break;
    }
    }
    ExpectSettled(rule);
}

INSTANTIATE_TEST_SUITE_P(Rules, Cells, ::testing::Values(0L, 1L, 2L));

TEST_F(TwoWay, DuplicateKeepsTheDesktopVehicleWithItsEntriesAndReminder)
{
    ASSERT_TRUE(db.Ok());
    CVehicle car;
    car.SetName("Desktop car");
    ASSERT_TRUE(db.Db().Save(&car, 0));
    for (int i = 1; i <= 3; ++i) {
        CEntry e;
        e.SetVehicleID(car.GetRefID());
        e.SetType(static_cast<CEntry::Type>(i));
        e.SetName(("entry " + std::to_string(i)).c_str());
        ASSERT_TRUE(db.Db().Save(&e, 0));
    }
    CNotification n;
    n.SetVehicleID(car.GetRefID());
    n.SetName("reminder");
    ASSERT_TRUE(db.Db().Save(&n, 0));
    const unsigned long other = AddKeyword("unrelated");
    Sync(2);
    ASSERT_EQ(6u, store.Records().size());

    // An edit a minute later (two saves within the same millionth of a day read as one date).
    car.SetName("Desktop car, edited");
    car.SetDateModified(car.GetDateModified() + 60.0 / 86400.0);
    ASSERT_TRUE(db.Db().Save(&car, 1));
    EditHandheld(HhVehicle, car.GetRefID(), "Handheld car");
    EditHandheld(HhKeyword, other, "unrelated, edited");
    Sync(2);

    EXPECT_EQ("Handheld car", DesktopName(HhVehicle, car.GetRefID()));
    EXPECT_EQ("unrelated, edited", DesktopName(HhKeyword, other));
    // The copy: a vehicle with a new RefID, its 3 entries and its reminder linked to it.
    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(db.Db().Load(&vehicles));
    ASSERT_EQ(2, vehicles.GetCount());
    CVehicle* copy = vehicles.Get(0)->GetRefID() == car.GetRefID() ? vehicles.Get(1) : vehicles.Get(0);
    EXPECT_STREQ("Desktop car, edited", copy->GetName());
    CEntryFilter mine;
    mine.SetDateRangeType(CEntryFilter::drAll);
    mine.SetVehicleID(copy->GetRefID());
    CObjectListT<CEntry> entries;
    ASSERT_TRUE(db.Db().Load(&entries, &mine));
    EXPECT_EQ(3, entries.GetCount());
    CObjectListT<CNotification> reminders;
    ASSERT_TRUE(db.Db().Load(&reminders, copy->GetRefID()));
    EXPECT_EQ(1, reminders.GetCount());
    CEntryFilter source;
    source.SetDateRangeType(CEntryFilter::drAll);
    source.SetVehicleID(car.GetRefID());
    ASSERT_TRUE(db.Db().Load(&entries, &source));
    EXPECT_EQ(3, entries.GetCount()) << "the source keeps its entries";

    // All five reached the handheld, after the other actions: the vehicle, then the entries by
    // RefID, then the reminder, appended in that order.
    ASSERT_EQ(11u, store.Records().size());
    const std::vector<CHandheldRecord>& r = store.Records();
    EXPECT_EQ(copy->GetRefID(), r[6].RefID());
    EXPECT_EQ(HhVehicle, r[6].Type());
    for (int i = 7; i <= 9; ++i) {
        EXPECT_EQ(HhEntry, r[static_cast<size_t>(i)].Type());
        EXPECT_EQ(copy->GetRefID(), r[static_cast<size_t>(i)].Number("VehicleID"));
    }
    EXPECT_LT(r[7].RefID(), r[8].RefID());
    EXPECT_EQ(HhNotification, r[10].Type());
    EXPECT_EQ(copy->GetRefID(), r[10].Number("VehicleID"));
    ExpectSettled(2);
}

TEST_F(TwoWay, AVehicleDeletedOnTheHandheldTakesOnlyItsOwnRow)
{
    ASSERT_TRUE(db.Ok());
    AddEveryKind(db.Db());
    Sync(0);
    const size_t before = Desktop().size();
    store.Remove(HhVehicle, 0x80000001u);
    Sync(0);
    EXPECT_EQ("<none>", DesktopName(HhVehicle, 0x80000001u));
    EXPECT_EQ(before - 1, Desktop().size()) << "its entries and reminder stay on the desktop";
    EXPECT_NE("<none>", DesktopName(HhEntry, 0x101));
    ExpectSettled(0);
}

TEST_F(TwoWay, HandheldActionsComeInOneUpdate)
{
    ASSERT_TRUE(db.Ok());
    const unsigned long a = AddKeyword("a"), b = AddKeyword("b");
    Sync(0);
    EditDesktop(a, "a2");
    DeleteDesktop(HhKeyword, b);
    Sync(0);
    // mark, item list, begin, deletions, records, end, mark.
    EXPECT_EQ((std::vector<int>{0, 1, 6, 7, 8, 9, 0}), Actions());
    EXPECT_EQ("a2", HandheldName(HhKeyword, a));
    EXPECT_EQ("<none>", HandheldName(HhKeyword, b));
}
