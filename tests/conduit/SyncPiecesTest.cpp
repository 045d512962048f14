// The pieces of a run that stand on their own: "Settings.ini" as read and written, the snapshot
// file "SynchInfo.dat" as written after a commit and read before a two-way run, and the object
// stores that the gatherers fill.
#include <windows.h>

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "Conduit/Src/CCustomSynchronizer.h"
#include "Conduit/Src/ConduitSettings.h"
#include "Conduit/Src/ObjectStores.h"
#include "ConduitTestDatabase.h"
#include "ConduitTestSupport.h"

using namespace alk_conduit_test;

namespace {

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class Settings : public ::testing::Test {
protected:
    Settings() : m_folder(L"alksettings"), path(ToAnsi(m_folder.Path()) + "\\Settings.ini") {}
    long Load(const std::string& content)
    {
        WriteFile(path, content);
        long value = -7;
        LoadConduitSettings(path.c_str(), &value);
        return value;
    }
    CScratchFolder m_folder;
    const std::string path;
};

}  // namespace

TEST_F(Settings, TheFileCases)
{
    long value = -7;
    LoadConduitSettings(path.c_str(), &value);
    EXPECT_EQ(2, value) << "no file";
    EXPECT_EQ(1, Load("ConflictsResolving=1\r\n"));
    EXPECT_EQ(0, Load("  conflictsresolving \t=\t 0  \r\n"));
    EXPECT_EQ(2, Load("ConflictsResolving=7\n"));
    EXPECT_EQ(2, Load("ConflictsResolving=-1\n"));
    EXPECT_EQ(0, Load("ConflictsResolving=\n"));
    EXPECT_EQ(1, Load("ConflictsResolving=1x\n"));
    EXPECT_EQ(0, Load("ConflictsResolving=abc"));
    EXPECT_EQ(1, Load("ConflictsResolving=0\nOther=5\nCONFLICTSRESOLVING = 1"));
    EXPECT_EQ(2, Load("no equals sign\nOther=1\n"));
    EXPECT_EQ(2, Load(""));
    EXPECT_EQ(1, Load("ConflictsResolving=1=2\n")) << "the value runs from the first '='";
    // A line of more than 255 characters ends the reading.
    EXPECT_EQ(2, Load(std::string(300, 'x') + "\nConflictsResolving=1\n"));
    EXPECT_EQ(1, Load(std::string(254, 'x') + "\nConflictsResolving=1\n")) << "254 characters are a line";
    // The long line itself is taken as its first 255 characters.
    EXPECT_EQ(0, Load("ConflictsResolving=0" + std::string(235, ' ') + "999\nConflictsResolving=1\n"));
}

TEST_F(Settings, SavingWritesTheOneLine)
{
    WriteFile(path, "Other=3\nConflictsResolving=1\n");
    SaveConduitSettings(path.c_str(), 0);
    EXPECT_EQ("ConflictsResolving = 0\r\n", ReadFile(path));
    long value = -1;
    LoadConduitSettings(path.c_str(), &value);
    EXPECT_EQ(0, value);
    // Missing folders are made.
    const std::string deeper = path.substr(0, path.size() - 12) + "a\\b\\Settings.ini";
    SaveConduitSettings(deeper.c_str(), 2);
    EXPECT_EQ("ConflictsResolving = 2\r\n", ReadFile(deeper));
}

TEST_F(Settings, AFileThatCannotBeWrittenIsReported)
{
    // The path names a folder: nothing can be written there.
    const std::string folder = path.substr(0, path.size() - 13);
    EXPECT_EQ("Can't save conduit settings", ThrownText([&] { SaveConduitSettings(folder.c_str(), 1); }));
    // Even with nothing to write, a file that did not open is no success.
    EXPECT_EQ("Can't save conduit settings", ThrownText([&] { WriteSettingsFile(SettingsMap(), folder.c_str()); }));
    try {
        SaveConduitSettings(folder.c_str(), 1);
    } catch (const std::runtime_error&) {
    } catch (...) {
        ADD_FAILURE() << "a standard exception";
    }
}

TEST_F(Settings, AWriteThatFailsAfterTheOpenIsReported)
{
    // A full disk: Wine's drive Z: shows the host's /dev/full, which opens (and truncates) for
    // writing and answers every write ERROR_DISK_FULL. The line is buffered, so it fails at the close.
    const char full[] = "Z:\\dev\\full";
    const HANDLE device =
        CreateFileA(full, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, device) << "the test needs Wine's view of /dev/full";
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(device, "x", 1, &written, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    CloseHandle(device);
    EXPECT_EQ("Can't save conduit settings", ThrownText([&] { SaveConduitSettings(full, 1); }));
}

TEST(ObjectStores, ListSharesAndMapReplaces)
{
    std::list<CAutoPtr<CBaseObject>> list;
    CListObjectStore<CAutoPtr<CBaseObject>> listStore(list);
    CAutoPtr<CBaseObject> record(&DeleteRecord, new CKeyword);
    listStore.Add(record);
    listStore.Add(record);
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(record.Get(), list.back().Get());

    CDbItemInfoMap map;
    CMapObjectStore<CDbItemInfo> mapStore(map);
    mapStore.Add(CDbItemInfo(CDbItemInfoKey(CBaseObject::otEntry, 5), CDbItemInfoValue(1, 2)));
    mapStore.Add(CDbItemInfo(CDbItemInfoKey(CBaseObject::otEntry, 5), CDbItemInfoValue(3, 4)));
    mapStore.Add(CDbItemInfo(CDbItemInfoKey(CBaseObject::otVehicle, 0xFFFFFFFFu), CDbItemInfoValue(5, 6)));
    ASSERT_EQ(2u, map.size());
    EXPECT_EQ(CBaseObject::otVehicle, map.begin()->first.ObjectType);
    EXPECT_EQ(3, map.rbegin()->second.DateCreated);
    EXPECT_EQ(4, map.rbegin()->second.DateModified);
}

namespace {

class Snapshot : public ::testing::Test {
protected:
    Snapshot() : m_folder(L"alksnapshot"), root(ToAnsi(m_folder.Path()))
    {
        std::strcpy(run.path, (root + "\\run\\").c_str());
    }
    CScratchFolder m_folder;
    const std::string root;
    HotSyncRunInfo run{};
    long rule = 2;
};

}  // namespace

TEST_F(Snapshot, WrittenAsLittleEndianRecordsInMapOrder)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    CKeyword k;
    k.SetRefID(0x01020304);
    k.SetDateCreated(1.5);
    k.SetDateModified(-2.0);
    ASSERT_TRUE(db.Db().Save(&k, 1));
    CVehicle v;
    v.SetRefID(0xA0B0C0D0);
    v.SetDateCreated(0.0);
    v.SetDateModified(0.0);
    ASSERT_TRUE(db.Db().Save(&v, 1));

    CCustomSynchronizer sync(nullptr, &run, &rule);
    EXPECT_EQ(root + "\\run\\SynchInfo.dat", std::string(sync.GetSyncInfoPath()));
    ASSERT_EQ(CDataLayer::csConnected, sync.Database().Connect(db.AnsiPath().c_str()));
    ASSERT_TRUE(sync.SaveSyncInfo()) << "the missing folder is made";
    const std::string bytes = ReadFile(root + "\\run\\SynchInfo.dat");
    const std::string expected = std::string("\x01\xD0\xC0\xB0\xA0", 5) + std::string(16, '\0') +
                                 std::string("\x04\x04\x03\x02\x01", 5) +
                                 std::string("\0\0\0\0\0\0\xF8\x3F\0\0\0\0\0\0\0\xC0", 16);
    EXPECT_EQ(expected, bytes);
    EXPECT_FALSE(FileExists(root + "\\run\\SynchInfo.dat.tmp"));

    CDbItemInfoMap loaded;
    sync.LoadSyncInfo(loaded);
    ASSERT_EQ(2u, loaded.size());
    EXPECT_EQ(-2.0, loaded[CDbItemInfoKey(CBaseObject::otKeyword, 0x01020304)].DateModified);

    // A later save replaces the file whole; a left-over temporary file is truncated.
    WriteFile(root + "\\run\\SynchInfo.dat.tmp", std::string(100, 'x'));
    ASSERT_TRUE(db.Db().Delete(CBaseObject::otVehicle, static_cast<unsigned long>(v.GetID())));
    ASSERT_TRUE(sync.SaveSyncInfo());
    EXPECT_EQ(expected.substr(21), ReadFile(root + "\\run\\SynchInfo.dat"));
}

TEST_F(Snapshot, ReadingTakesTheLastOfAKeyAndOnlyAWholeSoundFile)
{
    CCustomSynchronizer sync(nullptr, &run, &rule);
    CDbItemInfoMap map = {{CDbItemInfoKey(CBaseObject::otEntry, 1), CDbItemInfoValue(1, 1)}};
    sync.LoadSyncInfo(map);
    EXPECT_TRUE(map.empty()) << "a missing file is an empty snapshot";

    CreateDirectoryA((root + "\\run").c_str(), nullptr);
    const std::string path = root + "\\run\\SynchInfo.dat";
    auto record = [](char type, double modified) {
        const double dates[2] = {0, modified};
        return std::string(1, type) + std::string("\x05\0\0\0", 4) +
               std::string(reinterpret_cast<const char*>(dates), 16);
    };
    std::string bytes;
    for (int i = 0; i < 3; ++i) bytes += record(2, i);  // the same key three times
    WriteFile(path, bytes);
    std::string problem;
    EXPECT_TRUE(LoadSyncInfo(path.c_str(), map, &problem));
    ASSERT_EQ(1u, map.size());
    EXPECT_EQ(2.0, map[CDbItemInfoKey(CBaseObject::otEntry, 5)].DateModified);

    // Read in part, a damaged file would make what it lacks or misdates a change on both sides.
    const std::pair<std::string, std::string> damaged[] = {
        {bytes + std::string("\x03\x01\0\0\0\0\0", 7), "its 70 bytes are not a whole number of 21-byte records"},
        {record(2, 1) + record(4, std::nan("")), "record 2: its modification date is not a finite number"},
        {record(9, 1), "record 1: its record type 9 is not one of 1 to 4"},
    };
    for (const auto& file : damaged) {
        WriteFile(path, file.first);
        map = {{CDbItemInfoKey(CBaseObject::otEntry, 1), CDbItemInfoValue(1, 1)}};
        EXPECT_FALSE(LoadSyncInfo(path.c_str(), map, &problem)) << file.second;
        EXPECT_EQ(file.second, problem);
        EXPECT_TRUE(map.empty()) << file.second;
    }
    WriteFile(path, "");
    EXPECT_TRUE(LoadSyncInfo(path.c_str(), map, &problem)) << "an empty file is an empty snapshot";
}

TEST_F(Snapshot, AFolderThatCannotBeMadeSavesNothing)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    // A file stands where the run's folder should be.
    WriteFile(root + "\\blocked", "x");
    std::strcpy(run.path, (root + "\\blocked\\inner\\").c_str());
    CCustomSynchronizer sync(nullptr, &run, &rule);
    ASSERT_EQ(CDataLayer::csConnected, sync.Database().Connect(db.AnsiPath().c_str()));
    EXPECT_FALSE(sync.SaveSyncInfo());
    // Not connected: the gathering fails and nothing is written.
    CCustomSynchronizer unconnected(nullptr, &run, &rule);
    std::strcpy(run.path, (root + "\\").c_str());
    EXPECT_FALSE(unconnected.SaveSyncInfo());
    EXPECT_FALSE(FileExists(root + "\\SynchInfo.dat"));
}
