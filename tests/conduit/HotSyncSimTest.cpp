// HotSyncSim.exe as a separate process, the way a person or a script runs a HotSync: the queries
// and the run it makes on the real conduit, the files it writes, the configuration forms, the
// handheld store commands and its exit codes.
#include <windows.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConduitTestSupport.h"
#include "sdk/hotsync/handheld/HandheldApp.h"
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

// The handheld double refuses a call that breaks the link's rules and HotSyncSim reports it with
// exit code 4 (a conduit built to do so: the real one keeps the rules).
TEST_F(Sim, ABreachOfTheLinksRulesEndsWithCodeFour)
{
    const std::string breach = WinePath(ALK_BREACH_CONDUIT_PATH);
    // The later --conduit replaces the one Sync() names.
    ASSERT_EQ(4, Run(Sync("--type 0 --conduit \"" + breach + "\"")));
    EXPECT_TRUE(Printed("open=0"));
    EXPECT_TRUE(Printed("HotSyncSim: the handheld saw a breach of the link's rules: call 1: creator or type id"));
    const std::vector<HhTraceEntry> trace = HhReadTrace(root + "\\trace.txt");
    ASSERT_EQ(1u, trace.size());
    EXPECT_EQ(HsRemoteFailed, trace[0].result);
    EXPECT_EQ(static_cast<uint32_t>(HhBreachIds), trace[0].handheld);
    EXPECT_FALSE(FileExists(root + "\\handheld.txt")) << "nothing was stored";
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

namespace {

// What the HotSync-action dialog of another process shows: its title, the texts of the controls
// that change, and the checked state of each button, in a fixed order.
struct CDialogView {
    std::string title, group, defaultAction, nextAction, user;
    std::string checks;  // "1000 0 010": the four actions, set as default, the three rules
};

std::string RemoteText(HWND window)
{
    char text[256] = {};
    DWORD_PTR unused = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &unused);
    return text;
}

CDialogView ReadDialog(HWND dialog)
{
    CDialogView view;
    view.title = RemoteText(dialog);
    view.group = RemoteText(GetDlgItem(dialog, 403));
    view.defaultAction = RemoteText(GetDlgItem(dialog, 1004));
    view.nextAction = RemoteText(GetDlgItem(dialog, 1005));
    view.user = RemoteText(GetDlgItem(dialog, 1006));
    for (int id : {404, 405, 406, 407, 0, 411, 0, 1010, 1011, 1012}) {
        DWORD_PTR state = 0;
        if (id == 0)
            view.checks += ' ';
        else if (SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state))
            view.checks += state == BST_CHECKED ? '1' : '0';
        else
            view.checks += '?';
    }
    return view;
}

// Clicks a button of the dialog as the user does (the automatic buttons check themselves and
// uncheck the rest of their group).
void Click(HWND dialog, int id)
{
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &unused);
}

}  // namespace

TEST_F(Sim, ConfigureShowsTheRequestAndWritesTheChoice)
{
    const std::string folder = root + "\\HotSync\\Ann\\Autolark\\";
    const std::string common = "configure --conduit \"" + kConduit + "\" --core \"" + root + "\\HotSync\" --user Ann ";
    ASSERT_TRUE(CreateDirectoryA((root + "\\HotSync").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\HotSync\\Ann").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    {
        std::ofstream settings(folder + "Settings.ini");
        settings << "ConflictsResolving=1\n";
    }

    // The manager's request with the user's settings: the slow next action shows as
    // "Synchronize", the default action and whose settings they are; the user picks "Do nothing"
    // for every HotSync and "Desktop overwrites handheld" on conflicts, and confirms.
    CDialogView shown, picked;
    ASSERT_EQ(0, Run(common + "--form request --type 1 --default-type 2 --show-user-settings 1", [&] {
                  HWND dialog = WaitForActionDialog();
                  ASSERT_TRUE(dialog);
                  shown = ReadDialog(dialog);
                  Click(dialog, 407);
                  Click(dialog, 411);
                  Click(dialog, 1010);
                  picked = ReadDialog(dialog);
                  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_EQ("Autolark", shown.title);
    EXPECT_EQ("HotSync Action for Autolark", shown.group);
    EXPECT_EQ("Palm organizer overwrites Desktop.", shown.defaultAction);
    EXPECT_EQ("Synchronize the files.", shown.nextAction);
    EXPECT_EQ("Ann's Current Settings:", shown.user);
    EXPECT_EQ("1000 0 010", shown.checks);
    EXPECT_EQ("0001 1 100", picked.checks);
    EXPECT_EQ("Synchronize the files.", picked.nextAction) << "the texts show the request, not the choice";
    EXPECT_TRUE(Printed("result=0"));
    EXPECT_TRUE(Printed("chosenSyncType=6"));
    EXPECT_TRUE(Printed("nextSyncType=1"));
    EXPECT_TRUE(Printed("preference=1"));
    EXPECT_EQ(std::vector<std::string>{"ConflictsResolving = 0"}, ReadLines(folder + "Settings.ini"));

    // Without the user's settings the default action and the user's box stay empty; the next
    // action 4 is no action of this conduit: "Do nothing". The close box changes nothing.
    ASSERT_EQ(0, Run(common + "--form request --type 4 --default-type 3 --preference 1", [&] {
                  HWND dialog = WaitForActionDialog();
                  ASSERT_TRUE(dialog);
                  shown = ReadDialog(dialog);
                  Click(dialog, 405);
                  Click(dialog, 1012);
                  PostMessageW(dialog, WM_CLOSE, 0, 0);
              }));
    EXPECT_EQ("", shown.defaultAction);
    EXPECT_EQ("", shown.user);
    EXPECT_EQ("Do Nothing.", shown.nextAction);
    EXPECT_EQ("0001 0 100", shown.checks);
    EXPECT_TRUE(Printed("chosenSyncType=4"));
    EXPECT_TRUE(Printed("preference=1"));
    EXPECT_EQ(std::vector<std::string>{"ConflictsResolving = 0"}, ReadLines(folder + "Settings.ini"));

    // The conduit's own form: OK with the desktop's action unchanged writes it for the next
    // HotSync only; Cancel leaves the block as it was.
    ASSERT_EQ(0, Run(common + "--form prefs --type 3 --preference 1", [&] {
                  HWND dialog = WaitForActionDialog();
                  ASSERT_TRUE(dialog);
                  shown = ReadDialog(dialog);
                  Click(dialog, 1011);
                  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_EQ("Desktop overwrites Palm organizer.", shown.nextAction);
    EXPECT_EQ("", shown.defaultAction);
    EXPECT_EQ("0100 0 100", shown.checks);
    EXPECT_TRUE(Printed("result=0"));
    EXPECT_TRUE(Printed("syncType=3"));
    EXPECT_TRUE(Printed("preference=2"));
    EXPECT_EQ(std::vector<std::string>{"ConflictsResolving = 1"}, ReadLines(folder + "Settings.ini"));
    ASSERT_EQ(0, Run(common + "--form prefs --type 2 --preference 1", [&] {
                  HWND dialog = WaitForActionDialog();
                  ASSERT_TRUE(dialog);
                  shown = ReadDialog(dialog);
                  Click(dialog, 404);
                  Click(dialog, 1012);
                  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
              }));
    EXPECT_EQ("0010 0 010", shown.checks);
    EXPECT_TRUE(Printed("result=-1"));
    EXPECT_TRUE(Printed("syncType=2"));
    EXPECT_TRUE(Printed("preference=1"));
    EXPECT_EQ(std::vector<std::string>{"ConflictsResolving = 1"}, ReadLines(folder + "Settings.ini"));
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
