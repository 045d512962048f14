// Whole HotSyncs against a faulty peer, through HotSyncSim.exe: records from the handheld that the
// desktop cannot keep, snapshots that do not read whole and sound, and database files the conduit
// must leave as they are (held by another program, made by a newer version). Each case reads what
// the user finds in the HotSync log, and checks that nothing of either side is lost, duplicated
// or blocked.
#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HotSyncRunFixture.h"

using namespace alk_conduit_test;

namespace {

const unsigned long kCar = 0x80000001u;  // AddEveryKind's first vehicle
const char kPrefix[] = "22\t0\tAutolark: ";

class FaultyHandheld : public CHotSyncRunFixture {
protected:
    // The desktop's records and a handheld with records of its own, settled by one clean run.
    void Settle()
    {
        ASSERT_TRUE(db.Ok());
        AddEveryKind(db.Db());
        ASSERT_EQ(0, CSimFixture::Run("handheld seed \"" + root + "\\handheld.txt\""));
        ASSERT_EQ(0, HotSync(0));
        ASSERT_TRUE(Log().empty()) << Log()[0];
        ASSERT_EQ(DesktopTexts(), HandheldTexts());
    }
    void SetRule(int rule)
    {
        std::ofstream settings(conduitFolder + "Settings.ini");
        settings << "ConflictsResolving=" << rule << "\n";
    }
    // How many records of each kind the desktop holds, as "vehicles/entries/reminders/keywords".
    std::string Counts()
    {
        return std::to_string(db.Db().GetNumVehicles()) + "/" + std::to_string(db.Db().GetNumEntries()) + "/" +
               std::to_string(db.Db().GetNumNotifications()) + "/" + std::to_string(db.Db().GetNumKeywords());
    }
    std::string RefusedLine(const char* kind, unsigned long ref, const std::string& why)
    {
        return kPrefix + std::string(kind) + " (" + std::to_string(ref) +
               "): the handheld's record was not taken: " + why;
    }
    CHandheldRecord& AddEntry(CHandheldStore& store, const char* name)
    {
        CHandheldRecord& e = store.Create(HhEntry);
        e.SetText("Name", name);
        e.SetNumber("VehicleID", kCar);
        e.SetReal("Date", 45000);
        return e;
    }
    bool OnDesktop(int type, unsigned long ref)
    {
        return db.Db().GetID(static_cast<CBaseObject::ObjectType>(type), ref);
    }
};

}  // namespace

TEST_F(FaultyHandheld, RecordsTheDesktopCannotKeepAreRefusedByNameAndTheRestSynchronise)
{
    Settle();
    CHandheldStore store = Handheld();
    struct Refused {
        const char* kind;
        unsigned long ref;
        std::string why;
    };
    std::vector<Refused> refused;
    CHandheldRecord& good = store.Create(HhKeyword);
    good.SetText("Name", "good");
    const unsigned long goodRef = good.RefID();
    CHandheldRecord& nanDate = store.Create(HhKeyword);  // its item information is not sound either
    nanDate.SetReal("DateModified", std::nan(""));
    refused.push_back({"Keyword", nanDate.RefID(), "its modification date is not a finite number"});
    CHandheldRecord& tooMuch = AddEntry(store, "too much");
    tooMuch.SetReal("Amount", 1e300);  // a double beyond every float
    refused.push_back({"Entry", tooMuch.RefID(), "its amount is not a finite number"});
    CHandheldRecord& quantity = AddEntry(store, "nan quantity");
    quantity.SetReal("Custom1", -std::nan(""));
    refused.push_back({"Entry", quantity.RefID(), "its quantity is not a finite number"});
    CHandheldRecord& trip = AddEntry(store, "endless trip");
    trip.SetNumber("Type", CEntry::etTrip);
    trip.SetReal("Custom2", HUGE_VAL);
    refused.push_back({"Entry", trip.RefID(), "its end odometer is not a finite number"});
    CHandheldRecord& seven = AddEntry(store, "type 7");
    seven.SetNumber("Type", 7);
    refused.push_back({"Entry", seven.RefID(), "its entry type 7 is not one of 1 to 4"});
    CHandheldRecord& keyword9 = store.Create(HhKeyword);
    keyword9.SetNumber("Type", 9);
    refused.push_back({"Keyword", keyword9.RefID(), "its keyword type 9 is not one of 1 to 4"});
    CHandheldRecord& car = store.Create(HhVehicle);
    car.SetReal("InsuranceExpirationDate", -HUGE_VAL);
    refused.push_back({"Vehicle", car.RefID(), "its insurance expiration date is not a finite number"});
    // A record both sides changed, the handheld's copy unsound: under "handheld wins" the
    // desktop's edit would go for the handheld's, which cannot be taken. It stays.
    CHandheldRecord* fuel = store.Find(HhEntry, 0x101);
    ASSERT_TRUE(fuel);
    fuel->SetReal("Amount", std::nan(""));
    // Edited later than the desktop's edit, which stamps the same whole second otherwise.
    fuel->SetReal("DateModified", fuel->Real("DateModified") + 0.25);
    refused.push_back({"Entry", 0x101, "its amount is not a finite number"});
    SaveHandheld(store);
    CEntry desktopFuel;
    desktopFuel.SetID(static_cast<long>(db.Db().GetID(CBaseObject::otEntry, 0x101)));
    ASSERT_TRUE(db.Db().Load(&desktopFuel, 0));
    desktopFuel.SetName("edited on the desktop");
    ASSERT_TRUE(db.Db().Save(&desktopFuel, 0));
    SetRule(1);

    auto desktopFuelName = [&] {
        CEntry e;
        e.SetID(static_cast<long>(db.Db().GetID(CBaseObject::otEntry, 0x101)));
        return db.Db().Load(&e, 0) ? std::string(e.GetName()) : std::string("(gone)");
    };
    std::vector<std::string> expected;
    for (const Refused& r : refused) expected.push_back(RefusedLine(r.kind, r.ref, r.why));
    std::sort(expected.begin(), expected.end());
    const int reloads = reload.Count(0);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(0, HotSync(0));
        std::vector<std::string> log = Log();
        std::sort(log.begin(), log.end());
        EXPECT_EQ(expected, log) << "one line per refused record, and the run goes on";
        EXPECT_TRUE(OnDesktop(HhKeyword, goodRef)) << "the good keyword arrives";
        for (const Refused& r : refused) {
            if (r.ref == 0x101) continue;
            EXPECT_FALSE(OnDesktop(HhTypeFromName(r.kind), r.ref)) << r.why;
        }
        EXPECT_EQ("edited on the desktop", desktopFuelName());
        EXPECT_EQ(reloads + run + 1, reload.Count()) << "committed";
    }

    // Handheld overwrites desktop: the refused records' desktop copies stay, the rest is replaced.
    const std::string counts = Counts();
    ASSERT_EQ(0, HotSync(2));
    std::vector<std::string> log = Log();
    std::sort(log.begin(), log.end());
    EXPECT_EQ(expected, log);
    EXPECT_EQ("edited on the desktop", desktopFuelName());
    EXPECT_TRUE(OnDesktop(HhKeyword, goodRef));
    EXPECT_EQ(counts, Counts()) << "nothing lost, nothing doubled";
}

TEST_F(FaultyHandheld, ASnapshotThatDoesNotReadWholeAndSoundIsNotUsedAndDoublesNothing)
{
    Settle();
    // Duplicate, the default rule: misdated records on both sides would each be kept twice.
    const std::string counts = Counts();
    const size_t handheld = Handheld().Records().size();
    const std::string sound = Snapshot();
    ASSERT_EQ(0u, sound.size() % 21);
    const size_t records = sound.size() / 21;

    std::string nanDates = sound, alien = sound, otherUser = sound;
    const double nan = std::nan("");
    for (size_t at = 0; at < sound.size(); at += 21) {
        nanDates.replace(at + 13, 8, reinterpret_cast<const char*>(&nan), 8);
        otherUser[at + 1] = static_cast<char>(otherUser[at + 1] ^ 0x5A);  // keys of someone else's records
    }
    alien[21 * (records / 2)] = 9;
    std::mt19937 random(20261210);
    std::string noise(21 * 7, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    noise[0] = 7;  // no record has this type, whatever the rest holds

    struct Case {
        const char* what;
        std::string bytes;
        const char* problem;  // the reason logged, or null for a sound snapshot that knows no record
    };
    const Case cases[] = {
        {"cut", sound.substr(0, sound.size() - 5), "bytes are not a whole number of 21-byte records"},
        {"dates that are not numbers", nanDates, "record 1: its modification date is not a finite number"},
        {"an unknown type", alien, "its record type 9 is not one of 1 to 4"},
        {"noise", noise, "record 1: its record type 7 is not one of 1 to 4"},
        {"empty", "", nullptr},
        {"another user's", otherUser, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::ofstream file(conduitFolder + "SynchInfo.dat", std::ios::binary | std::ios::trunc);
            file << c.bytes;
        }
        ASSERT_EQ(0, HotSync(0));
        const std::vector<std::string> log = Log();
        ASSERT_EQ(c.problem ? 2u : 1u, log.size());
        if (c.problem) {
            EXPECT_EQ(0u, log[0].find(std::string(kPrefix) +
                                      "The last synchronization information is damaged and was not used ("));
            EXPECT_NE(std::string::npos, log[0].find(c.problem)) << log[0];
        }
        EXPECT_EQ(std::string(kPrefix) + std::to_string(records) +
                      " records were on both the handheld and the desktop with no record of an earlier "
                      "synchronization: each side kept its own",
                  log.back());
        EXPECT_EQ(counts, Counts());
        EXPECT_EQ(handheld, Handheld().Records().size());
        EXPECT_EQ(sound.size(), Snapshot().size()) << "written anew, whole";
    }
    ASSERT_EQ(0, HotSync(0));
    EXPECT_TRUE(Log().empty()) << "settled again";
}

TEST_F(FaultyHandheld, AFileInUseOrOfANewerVersionIsNamedAndLeftAsItIs)
{
    Settle();
    const std::vector<std::string> rows = Rows();
    const std::vector<std::string> handheld = HandheldTexts();
    const std::string snapshot = Snapshot();
    const int reloads = reload.Count(0);

    // Another program holds the whole file: even MetaData cannot be read.
    sqlite3* other = OpenFile(db.AnsiPath(), SQLITE_OPEN_READWRITE);
    ASSERT_TRUE(other);
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    ASSERT_EQ(0, HotSync(0));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    EXPECT_EQ(std::vector<std::string>{"30\t1\tAutolark: General synch error (2): the database file is in use by "
                                       "another program"},
              Log());
    EXPECT_TRUE(Trace().empty());
    EXPECT_EQ(rows, Rows());

    // A newer version's file: every action leaves it, the handheld and the snapshot as they are.
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "UPDATE MetaData SET Value='2.0' WHERE ID=3", nullptr, nullptr, nullptr));
    sqlite3_close(other);
    db.CloseDb();
    const std::string file = ReadBytes(db.AnsiPath());
    for (int type : {0, 2, 3}) {
        SCOPED_TRACE(type);
        ASSERT_EQ(0, HotSync(type));
        EXPECT_EQ(std::vector<std::string>{"30\t1\tAutolark: General synch error (2): the database file was made by a "
                                           "newer version of Autolark (data file version 2.0) and was left as it is"},
                  Log());
        EXPECT_TRUE(Trace().empty());
        EXPECT_EQ(file, ReadBytes(db.AnsiPath()));
    }
    EXPECT_EQ(handheld, HandheldTexts());
    EXPECT_EQ(snapshot, Snapshot());
    EXPECT_EQ(reloads, reload.Count());
}
