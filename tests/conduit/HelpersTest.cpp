// The conduit's errors and helpers: the exceptions' texts and numbers, CAutoPtr's sharing, the
// HotSync log lines (through the real HotSyncLog.dll) and folder making.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Conduit/Src/AtlException.h"
#include "Conduit/Src/AutoPtr.h"
#include "Conduit/Src/ConduitLog.h"
#include "Conduit/Src/Helpers.h"
#include "Conduit/Src/SynchException.h"
#include "ConduitTestSupport.h"

using namespace alk_conduit_test;

namespace {

int g_deleted = 0;
void CountingDelete(int* p)
{
    ++g_deleted;
    delete p;
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(Exceptions, TextsAndNumbers)
{
    EXPECT_STREQ("General synch error (6)", CGeneralSynchErrorException(6).what());
    EXPECT_EQ(6, CGeneralSynchErrorException(6).GetErrorCode());
    EXPECT_STREQ("Palm side error (3)", CPalmSideErrorException(3).what());
    EXPECT_EQ(5, CPalmSideErrorException(3).GetErrorCode());
    EXPECT_EQ(3, CPalmSideErrorException(3).GetErrorNumber());
    EXPECT_STREQ("Unknown synch error (16406)", CUnknownSynchErrorException(0x4016).what());
    EXPECT_EQ(14, CUnknownSynchErrorException(0x4016).GetErrorCode());
    EXPECT_STREQ(
        "Fatal exception in file \"Src\\CConduit.cpp\" on line 339: "
        "CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0",
        CFatalException("Src\\CConduit.cpp", 339, "CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0").what());
    const CFatalException lineOnly("Src\\CCustomSynchronizer.cpp", 301);
    EXPECT_STREQ("Fatal exception in file \"Src\\CCustomSynchronizer.cpp\" on line 301", lineOnly.what());
    EXPECT_EQ(7, lineOnly.GetErrorCode());
    EXPECT_EQ(301, lineOnly.GetLine());

    // Copies own copies of their texts.
    CFatalException* original = new CFatalException("Src\\CConduit.cpp", 332, "x");
    const CFatalException copy(*original);
    delete original;
    EXPECT_STREQ("Fatal exception in file \"Src\\CConduit.cpp\" on line 332: x", copy.what());

    CAtlException* atl = new CAtlException(E_INVALIDARG);
    CAtlException atlCopy(*atl);
    delete atl;
    EXPECT_STREQ("Atl exception (80070057)", atlCopy.what());
    atlCopy = CAtlException(E_OUTOFMEMORY);
    EXPECT_STREQ("Atl exception (8007000E)", atlCopy.what());
    EXPECT_THROW(ThrowGeneralSynchError(4), CGeneralSynchErrorException);
    EXPECT_EQ("General synch error (4)", ThrownText([] { ThrowGeneralSynchError(4); }));
}

TEST(AutoPtr, SharesAndDeletesOnce)
{
    g_deleted = 0;
    {
        CAutoPtr<int> a(&CountingDelete, new int(5));
        CAutoPtr<int> b = a;
        CAutoPtr<int> c;
        c = b;
        c = c;
        EXPECT_EQ(5, *c);
        a.Release();
        b.Reset(&CountingDelete, new int(6));
        EXPECT_EQ(0, g_deleted) << "c still holds the first";
        EXPECT_EQ(nullptr, a.Get());
    }
    EXPECT_EQ(2, g_deleted);

    g_deleted = 0;
    {
        // An empty holder is a value too: released, it calls no deleter.
        CAutoPtr<int> empty(&CountingDelete, nullptr);
        CAutoPtr<int> copy = empty;
        EXPECT_EQ(nullptr, copy.Get());
    }
    EXPECT_EQ(0, g_deleted);
}

TEST(HotSyncLog, LinesAreWrittenAsGivenAndCutAt255Bytes)
{
    CManager manager;
    LogError("100% sure: %s %n %d");
    LogToHotSync(HsLogNotice, 0, "%s (%u): %s", "Vehicle", 42u, "the object can't be created on the device");
    const std::string longText(400, 'x');
    LogError(longText.c_str());
    const std::vector<std::string> log = manager.Log();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ("30\t1\tAutolark: 100% sure: %s %n %d", log[0]);
    EXPECT_EQ("22\t0\tAutolark: Vehicle (42): the object can't be created on the device", log[1]);
    EXPECT_EQ("30\t1\tAutolark: " + std::string(255 - 10, 'x'), log[2]);

    char text[256];
    FormatText(text, "%s", longText.c_str());
    EXPECT_EQ(std::string(255, 'x'), text);
    FormatText(text, "Can't commit, the database is busy (attempt %d of %d)", 2, 5);
    EXPECT_STREQ("Can't commit, the database is busy (attempt 2 of 5)", text);
}

TEST(Folders, MakeFileDirectoryMakesEachMissingParent)
{
    CScratchFolder scratch(L"alkfolders");
    const std::string root = ToAnsi(scratch.Path());
    MakeFileDirectory((root + "\\outer\\inner\\SynchInfo.dat").c_str());
    EXPECT_TRUE(IsFolder(root + "\\outer"));
    EXPECT_TRUE(IsFolder(root + "\\outer\\inner"));
    EXPECT_FALSE(FileExists(root + "\\outer\\inner\\SynchInfo.dat"));

    MakeFileDirectory((root + "/a/b/c/Settings.ini").c_str());
    EXPECT_TRUE(IsFolder(root + "\\a\\b\\c"));

    // A path without a folder, or with only a leading separator, makes nothing.
    MakeFileDirectory("Settings.ini");
    MakeFileDirectory("\\Settings.ini");
    char path[MAX_PATH];
    lstrcpynA(path, (root + "\\x\\y\\z").c_str(), MAX_PATH);
    MakeDirectoryPath(path, root.size() + 4);  // "...\x\y"
    EXPECT_TRUE(IsFolder(root + "\\x\\y"));
    EXPECT_FALSE(IsFolder(root + "\\x\\y\\z"));
    EXPECT_EQ(root + "\\x\\y\\z", path) << "the cut character is put back";

    // A folder that cannot be made (a file stands in its way) is left alone without a word.
    HANDLE file = CreateFileA((root + "\\blocked").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    MakeFileDirectory((root + "\\blocked\\deeper\\file").c_str());
    EXPECT_FALSE(IsFolder(root + "\\blocked\\deeper"));
}
