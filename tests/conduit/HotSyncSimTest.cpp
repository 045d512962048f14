// HotSyncSim.exe as a separate process, the way a person or a script runs a HotSync: the queries
// and the run it makes on the real conduit, the files it writes, the configuration forms, the
// handheld store commands and its exit codes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConduitTestSupport.h"
#include "sdk/hotsync/handheld/HandheldStore.h"
#include "SimProcess.h"

using namespace alk_conduit_test;

namespace {

class Sim : public CSimFixture {};

}  // namespace

TEST_F(Sim, SyncAsksEveryQueryAndOpensTheConduitOnce)
{
    ASSERT_EQ(0, Run(Sync())) << (output.empty() ? "" : output[0]);
    EXPECT_TRUE(Printed("name=0 Autolark"));
    EXPECT_TRUE(Printed("version=0x0305"));
    EXPECT_TRUE(Printed("info0=0 size=9 text=Autolark"));
    EXPECT_TRUE(Printed("info2=0 size=4 bytes=00 00 00 00"));
    EXPECT_TRUE(Printed("info4=0 size=4 bytes=00 EE EE EE"));
    EXPECT_TRUE(Printed("info5=0 size=4 bytes=01 EE EE EE"));
    EXPECT_TRUE(Printed("info6=0 size=4 bytes=00 EE EE EE"));
    EXPECT_TRUE(Printed("open=0"));
    EXPECT_TRUE(ReadLines(root + "\\log.txt").empty());
    EXPECT_TRUE(ReadLines(root + "\\trace.txt").empty()) << "no remote call yet";
}

TEST_F(Sim, AnUnsetLibraryGivesItsFatalLine)
{
    ASSERT_EQ(0, Run(Sync("--no-creator")));
    EXPECT_TRUE(Printed("open=0"));
    const std::vector<std::string> log = ReadLines(root + "\\log.txt");
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(
        "30\t1\tAutolark: Fatal exception in file \"Src\\CConduit.cpp\" on line 339: "
        "CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0",
        log[0]);
    ASSERT_EQ(0, Run(Sync("--unknown-user")));
    EXPECT_EQ(2u, ReadLines(root + "\\log.txt").size());
    ASSERT_EQ(0, Run(Sync("--no-progress")));
    EXPECT_EQ(2u, ReadLines(root + "\\log.txt").size()) << "no callback, no run";
}

TEST_F(Sim, ExitCodes)
{
    EXPECT_EQ(2, Run(""));
    EXPECT_EQ(2, Run("sync --user Ann"));
    EXPECT_EQ(2, Run(Sync("--faults \"call 1 explode\"")));
    EXPECT_EQ(2, Run(Sync("--faults @" + root + "\\missing-plan.txt")));
    EXPECT_EQ(3, Run("sync --conduit \"" + root + "\\none.dll\""));
    EXPECT_EQ(3, Run("sync --conduit HotSyncLog.dll")) << "a library without the entry points";
    {
        HANDLE file =
            CreateFileA((root + "\\handheld.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, "[Truck]\n", 8, &written, nullptr);
        CloseHandle(file);
    }
    EXPECT_EQ(5, Run(Sync()));
    EXPECT_EQ(5, Run("handheld dump \"" + root + "\\handheld.txt\""));
}

TEST_F(Sim, ConfigureForms)
{
    const std::string common = "configure --conduit \"" + kConduit + "\" --core \"" + root + "\\HotSync\" --user Ann ";
    ASSERT_EQ(0, Run(common + "--form prefs --type 3 --preference 7", CancelActionDialog));
    EXPECT_TRUE(Printed("result=-1"));
    EXPECT_TRUE(Printed("syncType=3"));
    EXPECT_TRUE(Printed("preference=7"));
    EXPECT_TRUE(Printed("path=" + root + "\\HotSync\\Ann\\Autolark\\"));

    ASSERT_EQ(0, Run(common + "--form request --type 1 --default-type 2 --preference 1", CancelActionDialog));
    EXPECT_TRUE(Printed("result=0"));
    EXPECT_TRUE(Printed("nextSyncType=1"));
    EXPECT_TRUE(Printed("chosenSyncType=1"));
    EXPECT_TRUE(Printed("defaultSyncType=2"));
    EXPECT_TRUE(Printed("preference=1"));
    EXPECT_TRUE(Printed("userName=Ann"));
    ASSERT_EQ(0, Run(common + "--form request --size 351"));
    EXPECT_TRUE(Printed("result=4218"));
    ASSERT_EQ(0, Run(common + "--form request --no-block --no-size"));
    EXPECT_TRUE(Printed("result=4212"));
    ASSERT_EQ(0, Run(common + "--form request --config-type 1"));
    EXPECT_TRUE(Printed("result=4217"));
    ASSERT_EQ(0, Run(common + "--form request --version 2"));
    EXPECT_TRUE(Printed("result=4219"));
    EXPECT_EQ(2, Run(common + "--form dialog"));
}

TEST_F(Sim, HandheldSeedAndDump)
{
    const std::string store = root + "\\seeded.txt";
    ASSERT_EQ(0, Run("handheld seed \"" + store + "\""));
    CHandheldStore seeded;
    std::string error;
    ASSERT_TRUE(seeded.Load(store, error)) << error;
    int kinds[5] = {};
    for (const CHandheldRecord& r : seeded.Records()) {
        ++kinds[r.Type()];
        // The handheld clock stamps whole seconds.
        const double seconds = r.Real("DateModified") * 86400.0;
        EXPECT_NEAR(seconds, static_cast<double>(static_cast<long long>(seconds + 0.5)), 1e-3);
        if (r.Type() == HhEntry || r.Type() == HhNotification) {
            EXPECT_EQ(seeded.Records()[0].RefID(), r.Number("VehicleID"));
        }
    }
    EXPECT_EQ(1, kinds[HhVehicle]);
    EXPECT_EQ(4, kinds[HhEntry]);
    EXPECT_EQ(1, kinds[HhNotification]);
    EXPECT_EQ(4, kinds[HhKeyword]);

    ASSERT_EQ(0, Run("handheld dump \"" + store + "\""));
    CHandheldStore dumped;
    std::string text;
    for (const std::string& l : output) text += l + "\n";
    ASSERT_TRUE(dumped.FromText(text, error)) << error;
    ASSERT_EQ(seeded.Records().size(), dumped.Records().size());
    for (size_t i = 0; i < dumped.Records().size(); ++i) EXPECT_TRUE(seeded.Records()[i] == dumped.Records()[i]) << i;
}
