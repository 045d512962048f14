// Whole synchronisations through the manager double (a separate process, and its library in this
// process for the quicker refusals) where the other side is not what a clean run expects: a fresh
// desktop file against a device that already holds the same records, a run killed part-way, a
// desktop file of a newer version, one held by another program.
#include <windows.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "resources/activesync/resource.h"
#include "sdk/activesync/manager/SyncRun.h"
#include "tests/activesync/ManagerTestSupport.h"

using namespace alk_sync_test;

namespace {

class FaultyPeer : public CManagerFixture {
protected:
    // How many records of each kind the desktop holds, as "vehicles/entries/reminders/keywords".
    std::string Counts()
    {
        return db.Text(
            "SELECT (SELECT COUNT(*) FROM Vehicle) || '/' || (SELECT COUNT(*) FROM Entry) || '/' || "
            "(SELECT COUNT(*) FROM Notification) || '/' || (SELECT COUNT(*) FROM Keyword)");
    }
    // Every reference id that two records of one kind share, as "table|refid|count|" lines.
    std::string SharedReferenceIDs()
    {
        std::string shared;
        for (const char* table : {"Vehicle", "Entry", "Notification", "Keyword"})
            shared += db.Rows(std::string("SELECT '") + table + "', RefID, COUNT(*) FROM " + table +
                              " GROUP BY RefID HAVING COUNT(*) > 1");
        return shared;
    }
    std::string Box(UINT text) const
    {
        return "box caption=\"" + LoadAnsi(IDS_ERROR_CAPTION) + "\" text=\"" + LoadAnsi(text) + "\" owner=manager";
    }
    void ForgetState() { DeleteFileA(manager.StatePath().c_str()); }
};

}  // namespace

TEST_F(FaultyPeer, AFreshDesktopAgainstAFullDeviceKeepsOneRecordPerReferenceID)
{
    // Four vehicles with their entries and reminders, and keywords: a small file of every kind.
    for (unsigned long v = 0; v < 4; ++v) {
        const unsigned long car = 0x100 + v;
        db.AddVehicle(car, (L"Car " + std::to_wstring(v)).c_str(), 2000 + static_cast<int>(v), 1000);
        for (unsigned long e = 0; e < 3; ++e)
            db.AddEntry(0x1000 + v * 16 + e, car, static_cast<CEntry::Type>(1 + e), 40000 + e, 1000 + e, 10.0f + e);
        db.AddReminder(0x2000 + v, car, L"Due", 41000, 5000);
    }
    db.AddKeyword(0x3001, CKeyword::ktRepair, L"Oil");
    db.AddKeyword(0x3002, CKeyword::ktFuelVendor, L"Corner shop");
    db.CloseDb();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    const std::string counts = Counts();
    const std::string restored = FileBytes(db.Path());  // as a backup of this moment holds it
    ASSERT_EQ("", SharedReferenceIDs());

    // A reinstalled computer: the same records on both sides, no record of a synchronisation.
    ForgetState();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_TRUE(manager.Has("starting afresh: every object is new to the other side"));
    EXPECT_EQ("", SharedReferenceIDs()) << "a device vehicle whose reference id the desktop holds is that vehicle";
    EXPECT_EQ(counts, Counts());

    // Started afresh again and killed once the first device object was stored: each further
    // fresh start finds the same vehicles, never adds them again.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ForgetState();
        const std::string name = "AlkFaultyPeer-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(round);
        HANDLE paused = CreateEventA(nullptr, TRUE, FALSE, (name + ".paused").c_str());
        HANDLE process = manager.Start("--selected --pause-after-receiving " + name);
        ASSERT_NE(nullptr, process);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(paused, 60000)) << "the manager never paused";
        TerminateProcess(process, 1);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));
        CloseHandle(process);
        CloseHandle(paused);
        EXPECT_EQ("", SharedReferenceIDs());
        ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
        EXPECT_EQ("", SharedReferenceIDs());
        EXPECT_EQ(counts, Counts()) << "what a killed run stored twice, duplicate removal took back";
    }

    // A restored file against the device as it now stands.
    db.CloseHandle();
    {
        std::ofstream file(db.Path().c_str(), std::ios::binary | std::ios::trunc);
        file << restored;
    }
    ForgetState();
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_EQ("", SharedReferenceIDs());
    EXPECT_EQ(counts, Counts());
}

TEST_F(FaultyPeer, ADesktopFileOfANewerVersionOrInUseIsToldAndLeftAsItIs)
{
    db.AddVehicle(0x100, L"Van");
    db.CloseDb();
    ASSERT_EQ(SQLITE_OK, db.Exec("UPDATE MetaData SET Value='2.0' WHERE ID=3"));
    db.CloseHandle();
    objects.Write("D0000001.pkt", CDevicePacket(CBaseObject::otKeyword)
                                      .SetText(CDevicePacket::Name, L"From the device")
                                      .SetInteger(CDevicePacket::KeywordType, 2));
    const std::string desktop = FileBytes(db.Path()), deviceObjects = objects.Snapshot();

    EXPECT_EQ(exitStoreInfo, manager.Sync("--selected"));
    EXPECT_TRUE(manager.Has(Box(IDS_ERROR_DESKTOP_NEWER_VERSION))) << manager.Text();
    EXPECT_EQ(exitStoreInfo, manager.SyncHere({"--remote"}));
    EXPECT_EQ(0, manager.Count("box ")) << "a remote connection shows nothing on the desktop";
    EXPECT_EQ(LoadAnsi(IDS_ERROR_DESKTOP_NEWER_VERSION) + "\r\n", device.Messages());
    EXPECT_EQ(desktop, FileBytes(db.Path()));
    EXPECT_EQ(deviceObjects, objects.Snapshot());
    EXPECT_EQ(0, window.Reloads());

    // Another program holds the file at the start: said so, nothing moves, and later it runs.
    ASSERT_EQ(SQLITE_OK, db.Exec("UPDATE MetaData SET Value='1.0' WHERE ID=3"));
    ASSERT_EQ(SQLITE_OK, db.Exec("BEGIN EXCLUSIVE"));
    EXPECT_EQ(exitStoreInfo, manager.SyncHere({"--selected"}));
    EXPECT_TRUE(manager.Has(Box(IDS_ERROR_DESKTOP_IN_USE))) << manager.Text();
    ASSERT_EQ(SQLITE_OK, db.Exec("ROLLBACK"));
    EXPECT_EQ(deviceObjects, objects.Snapshot());
    ASSERT_EQ(0, manager.Sync("--selected")) << manager.Text();
    EXPECT_EQ("From the device|2|\n", db.Rows("SELECT Name, Type FROM Keyword"));
}
