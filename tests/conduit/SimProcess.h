// HotSyncSim.exe started as a process by the conduit's tests: the paths of the program and the
// conduit in the build tree, a fixture that runs it and reads what it printed, and the wait for
// its HotSync-action dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConduitTestSupport.h"
#include "tests/support/ChildProcess.h"

namespace alk_conduit_test {

const std::string kSim = WinePath(ALK_HOTSYNC_SIM_PATH);
const std::string kConduit = WinePath(ALK_CONDUIT_PATH);

class CSimFixture : public ::testing::Test {
protected:
    CSimFixture() : m_folder(L"alkhotsync"), root(ToAnsi(m_folder.Path())) {}

    // Runs HotSyncSim with the arguments; its exit code, its output in lines. meanwhile runs
    // while the program does (it drives the program's dialog).
    long Run(const std::string& arguments, const std::function<void()>& meanwhile = nullptr)
    {
        // A file of its own for each run: Wine may close a finished child's handles a moment
        // after its exit is reported.
        const std::string outFile = root + "\\out" + std::to_string(++m_runs) + ".txt";
        HANDLE process = StartProgram(kSim, arguments, outFile);
        if (!process) {
            ADD_FAILURE() << "HotSyncSim could not be started (system error " << GetLastError() << ")";
            return -1;
        }
        if (meanwhile) meanwhile();
        DWORD code = 99;
        if (WaitForSingleObject(process, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
        CloseHandle(process);
        output = ReadLines(outFile);
        return static_cast<long>(code);
    }
    ::testing::AssertionResult Printed(const std::string& line) const
    {
        std::string all;
        for (const std::string& l : output) {
            if (l == line) return ::testing::AssertionSuccess();
            all += "\n  " + l;
        }
        return ::testing::AssertionFailure() << "no line \"" << line << "\" in the output:" << all;
    }
    std::string Sync(const std::string& extra = "")
    {
        return "sync --conduit \"" + kConduit + "\" --user Ann --type 6 --core \"" + root +
               "\\HotSync\" --handheld \"" + root + "\\handheld.txt\" --log \"" + root + "\\log.txt\" --progress \"" +
               root + "\\progress.txt\" --trace \"" + root + "\\trace.txt\" " + extra;
    }

    CScratchFolder m_folder;
    int m_runs = 0;
    const std::string root;
    std::vector<std::string> output;
};

// The HotSync-action dialog of another process (captioned "Autolark", with its action buttons),
// waited for up to 20 s; null when it did not come.
inline HWND WaitForActionDialog()
{
    for (int i = 0; i < 2000; ++i) {
        HWND dialog = nullptr;
        while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", L"Autolark")) != nullptr)
            if (GetDlgItem(dialog, 404)) return dialog;
        Sleep(10);
    }
    return nullptr;
}

inline void CancelActionDialog()
{
    HWND dialog = WaitForActionDialog();
    ASSERT_TRUE(dialog) << "no dialog";
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace alk_conduit_test
