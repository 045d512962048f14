// The fixture of whole HotSyncs through HotSyncSim.exe on real files: a database made from the
// template through the business library and named by "DBPath", the handheld double's store,
// "Settings.ini" and "SynchInfo.dat" in the conduit folder, and what a run leaves to read back
// (both sides, the log, the progress texts, the handheld's trace, the snapshot's bytes, the
// reload broadcasts). A test program that includes it defines ALK_HOTSYNC_SIM_PATH and
// ALK_CONDUIT_PATH (SimProcess.h).
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ConduitTestDatabase.h"
#include "RunTestSupport.h"
#include "sdk/hotsync/handheld/HandheldApp.h"
#include "SimProcess.h"

namespace alk_conduit_test {

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class CHotSyncRunFixture : public CSimFixture {
protected:
    CHotSyncRunFixture()
    {
        dbPath.Set(db.AnsiPath());
        conduitFolder = root + "\\HotSync\\Ann\\Autolark\\";
    }

    // One HotSync of the type (extra options appended); HotSyncSim's exit code.
    long HotSync(int type, const std::string& extra = "", const std::function<void()>& meanwhile = nullptr)
    {
        DeleteFileA((root + "\\log.txt").c_str());
        DeleteFileA((root + "\\progress.txt").c_str());
        DeleteFileA((root + "\\trace.txt").c_str());
        return CSimFixture::Run(Sync("--type " + std::to_string(type) + " " + extra), meanwhile);
    }
    std::vector<std::string> Log() const { return ReadLines(root + "\\log.txt"); }
    std::vector<std::string> Progress() const { return ReadLines(root + "\\progress.txt"); }
    std::vector<HhTraceEntry> Trace() const { return HhReadTrace(root + "\\trace.txt"); }
    std::vector<int> Actions() const
    {
        std::vector<int> actions;
        for (const HhTraceEntry& e : Trace())
            if (e.received == 0 && e.offset == 0) actions.push_back(e.action);
        return actions;
    }
    std::string Snapshot() const { return ReadBytes(conduitFolder + "SynchInfo.dat"); }

    CHandheldStore& Handheld()
    {
        m_store = CHandheldStore();
        std::string error;
        if (FileExists(root + "\\handheld.txt")) {
            EXPECT_TRUE(m_store.Load(root + "\\handheld.txt", error)) << error;
        }
        return m_store;
    }
    void SaveHandheld(const CHandheldStore& store)
    {
        std::string error;
        ASSERT_TRUE(store.Save(root + "\\handheld.txt", error)) << error;
    }
    std::vector<std::string> HandheldTexts()
    {
        std::vector<std::string> texts;
        for (const CHandheldRecord& r : Handheld().Records()) texts.push_back(RecordText(r));
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    std::vector<std::string> DesktopTexts()
    {
        std::vector<std::string> texts;
        CObjectListT<CVehicle> vehicles;
        CObjectListT<CEntry> entries;
        CObjectListT<CNotification> reminders;
        CObjectListT<CKeyword> keywords;
        CEntryFilter all;
        all.SetDateRangeType(CEntryFilter::drAll);
        EXPECT_TRUE(db.Db().Load(&vehicles) && db.Db().Load(&entries, &all) && db.Db().Load(&reminders, 0UL) &&
                    db.Db().Load(&keywords, CKeyword::ktAll));
        CObjectList* lists[] = {&vehicles, &entries, &reminders, &keywords};
        for (CObjectList* list : lists)
            for (int i = 0; i < list->GetCount(); ++i) texts.push_back(RecordText(list->GetItem(i)));
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    // Every table's rows as stored, for "unchanged" checks.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (const char* table : {"Vehicle", "Entry", "Notification", "Keyword"}) {
            const std::vector<std::string> part = StoredRows(db.AnsiPath(), table);
            rows.insert(rows.end(), part.begin(), part.end());
        }
        rows.push_back(MetaData());
        return rows;
    }
    // The MetaData rows as stored.
    std::string MetaData()
    {
        std::string text;
        sqlite3* file = OpenFile(db.AnsiPath(), SQLITE_OPEN_READONLY);
        if (file) {
            sqlite3_stmt* rows = nullptr;
            if (sqlite3_prepare_v2(file, "SELECT * FROM MetaData ORDER BY ID", -1, &rows, nullptr) == SQLITE_OK)
                while (sqlite3_step(rows) == SQLITE_ROW)
                    for (int c = 0; c < sqlite3_column_count(rows); ++c) {
                        const unsigned char* value = sqlite3_column_text(rows, c);
                        text += std::string(value ? reinterpret_cast<const char*>(value) : "") + "|";
                    }
            sqlite3_finalize(rows);
        }
        sqlite3_close(file);
        EXPECT_FALSE(text.empty());
        return text;
    }
    // A few hundred records of every kind: apostrophes, 8-bit bytes, empty and long notes.
    void AddMany(int vehicles)
    {
        AddEveryKind(db.Db());
        for (int v = 0; v < vehicles; ++v) {
            CVehicle car;
            car.SetName(("Car '" + std::to_string(v) + "' \xe4").c_str());
            car.SetNotes(v % 2 ? "" : std::string(2000 + v, 'z').c_str());
            car.SetCurrentOdometer(-v);
            ASSERT_TRUE(db.Db().Save(&car, 0));
            for (int i = 0; i < 40; ++i) {
                CEntry e;
                e.SetVehicleID(car.GetRefID());
                e.SetType(static_cast<CEntry::Type>(1 + i % 4));
                e.SetName(("entry \xfc'" + std::to_string(i)).c_str());
                e.SetAmount(0.1f * static_cast<float>(i));
                e.SetCustom1(1.0f / 3.0f);
                e.SetOdometer(i * 1000 - 5000);
                ASSERT_TRUE(db.Db().Save(&e, 0));
            }
            CNotification n;
            n.SetVehicleID(car.GetRefID());
            n.SetName("due \xe9");
            ASSERT_TRUE(db.Db().Save(&n, 0));
        }
    }

    CConduitDatabase db;
    CDbPathScope dbPath;
    CReloadListener reload;
    std::string conduitFolder;

private:
    CHandheldStore m_store;
};

}  // namespace alk_conduit_test
