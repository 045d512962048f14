// The CPU that the entries of the active vehicle add to the start of Autolark.exe, beside what
// the entry list bench measures for the same rows in the same run.
//
//   start_bench [entries] [-r runs] [-p program]    (default: 10000 entries, 5 runs, the
//                                                    Autolark.exe of this build)
//
// Two databases made from Default.ENU beside this program in a scratch folder: the benches'
// vehicle (EntryListData.h) without entries, and with that many. Each run starts the program
// (this build's, or the one -p names: a build from before a change, for a figure to compare) on
// each file in turn, as the remembered database with the vehicle active; waits until its main
// window lists the rows and the program waits for input with its CPU time no longer growing;
// reads that CPU time; and closes the program, which must end with its frame's quit code. One
// start of each comes first and is not counted (the window's placement is saved at the first
// close, files are cached).
//
// Printed, in milliseconds of CPU (kernel and user): each run's figures, the median of each
// database, and what the entries add (the median of the runs' differences). Then entrylist_bench,
// beside this program, runs once on the same number of entries, and the added CPU is set
// against its load + floor insert + quick stats:
//   added / (load + floor insert + quick stats)
//
// The CPU time of the program is the sum of its threads' times (GetThreadTimes), read while they
// all still run. Not GetProcessTimes: given another process, Wine 8 answers with the figures of
// the calling process (measured: they grew with the bench's own polling, start after start).
// Wine reads another process's thread times from the system, in ticks of 10 ms: take the medians
// of several runs.
//
// The settings the program reads (DBPath, LastActiveVehicle, UnitSetupMsgShown) are set for the
// run and put back afterwards. Run it in a test session, with no other Autolark.exe running:
//   tools/wine-env --build build start
//   tools/wine-env --build build exec build/tests/bench/start_bench.exe 10000
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "desktop/AppSettings.h"
#include "resources/desktop/resource.h"
#include "tests/bench/BenchSupport.h"
#include "tests/bench/EntryListData.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

const DWORD kTimeoutMs = 120000;

double Milliseconds(const FILETIME& time)
{
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
}

// CPU time the process has used so far, kernel and user, in milliseconds: the sum over its
// threads (see the top of the file for why not GetProcessTimes).
double ProcessCpu(DWORD processId)
{
    double sum = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user)) sum += Milliseconds(kernel) + Milliseconds(user);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return sum;
}

// One start of the program on the remembered file: the CPU it used until it was idle with the
// rows shown, in milliseconds; a negative number when it did not get there in time, or did not
// end with its frame's quit code when closed.
double MeasureStart(const std::wstring& program, int entries)
{
    CProgramDriver driver;
    if (!driver.Start(program)) return -1;
    const DWORD start = GetTickCount();
    auto inTime = [&] { return GetTickCount() - start < kTimeoutMs; };
    const HWND main = driver.WaitForMainWindow(
        [&](HWND window) {
            return RowCount(FindControl(window, IDC_VEHICLE_LIST)) == 1 &&
                   RowCount(FindControl(window, IDC_QUICK_STATS)) == 10 &&
                   RowCount(FindControl(window, IDC_ENTRY_LIST)) == entries;
        },
        kTimeoutMs);
    if (!main) return -1;  // the driver ends the program
    // Idle: waiting for input, a message through its queue answered, and no CPU used over a
    // tenth of a second.
    double cpu = -1;
    WaitForInputIdle(driver.Handle(), kTimeoutMs);
    for (double before = -2; inTime(); Sleep(100)) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &answer);
        const double now = ProcessCpu(driver.Id());
        if (now == before) {
            cpu = now;
            break;
        }
        before = now;
    }
    const long code = driver.Close(main, 30000);
    if (code == -1) {
        std::fprintf(stderr, "the program did not end when its main window was closed\n");
        return -1;
    }
    if (code != CProgramDriver::kQuitCode) {
        // An exception's status (an access violation, a corrupted heap): the close went wrong.
        std::fprintf(stderr, "the program ended with status 0x%08lX\n", static_cast<unsigned long>(code));
        return -1;
    }
    return cpu;
}

bool MakeDatabase(const std::wstring& path, int entries)
{
    if (!CopyTemplate(path)) return false;
    CDataLayer db;
    if (db.Connect(path.c_str()) != CDataLayer::csConnected) return false;
    const bool filled = FillBenchVehicle(db, entries);
    db.Disconnect();
    return filled;
}

// The figure of one line of entrylist_bench's table ("name", then one column per size); -1
// when the line is missing.
double BenchFigure(const std::string& output, const char* name)
{
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 22) continue;
        std::string label = line.substr(0, 22);
        label.erase(label.find_last_not_of(' ') + 1);
        if (label == name) return std::atof(line.c_str() + 22);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int entries = 10000, runs = 5;
    std::wstring program = WinePathW(ALK_PROGRAM_PATH);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-r") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "-p") == 0 && i + 1 < argc)
            program = WinePathW(argv[++i]);  // another build of the program, by its Unix path
        else if (std::atoi(argv[i]) > 0)
            entries = std::atoi(argv[i]);
    }

    CScratchFolder folder(L"alk-start-bench");
    const std::wstring emptyFile = folder.File(L"none.dat"), fullFile = folder.File(L"entries.dat");
    if (!MakeDatabase(emptyFile, 0) || !MakeDatabase(fullFile, entries)) {
        std::fprintf(stderr, "cannot make the databases (Default.ENU beside the program?)\n");
        return 1;
    }

    SavedValue dbPath(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, "DBPath");
    SavedValue active(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, "LastActiveVehicle");
    SavedValue notice(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, "UnitSetupMsgShown");
    active.SetNumber(kBenchVehicle);
    notice.SetNumber(1);
    auto start = [&](const std::wstring& file, int rows) {
        dbPath.SetText(Ansi(file));
        const double cpu = MeasureStart(program, rows);
        if (cpu < 0) std::fprintf(stderr, "the program did not show %d entries and settle in time\n", rows);
        return cpu;
    };

    if (start(emptyFile, 0) < 0 || start(fullFile, entries) < 0) return 1;
    std::vector<double> none, full;
    for (int run = 0; run < runs; ++run) {
        none.push_back(start(emptyFile, 0));
        full.push_back(start(fullFile, entries));
        if (none.back() < 0 || full.back() < 0) return 1;
        std::fprintf(stderr, "run %d: %.0f ms without entries, %.0f ms with %d\n", run + 1, none.back(), full.back(),
                     entries);
    }
    // Each run's two starts follow each other: their difference is less exposed to a load on
    // the machine that comes and goes than the difference of the two medians.
    std::vector<double> differences;
    for (size_t i = 0; i < full.size(); ++i) differences.push_back(full[i] - none[i]);
    const double added = Median(differences);
    std::printf("CPU of the program's start, ms (median of %d runs)\n", runs);
    std::printf("%-34s%10.0f\n", "no entries", Median(none));
    std::printf("%-34s%10.0f\n", (std::to_string(entries) + " entries").c_str(), Median(full));
    std::printf("%-34s%10.0f\n", "added by the entries (of a run)", added);

    const std::string bench = Ansi(ProgramFolder() + L"entrylist_bench.exe");
    const std::string output = Ansi(folder.File(L"entrylist.txt"));
    if (RunProgram(bench, std::to_string(entries), output, 600000) != 0) {
        std::fprintf(stderr, "entrylist_bench did not run (%s)\n", bench.c_str());
        return 1;
    }
    std::string text;
    {
        std::ifstream file(output);
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    // The bench's console may hold its output a moment after it ended: the scratch folder goes
    // only with nothing left in it.
    for (int tries = 0; tries < 100 && !DeleteFileA(output.c_str()); ++tries) Sleep(20);
    const double load = BenchFigure(text, "load"), insert = BenchFigure(text, "floor insert"),
                 stats = BenchFigure(text, "quick stats");
    if (load < 0 || insert < 0 || stats < 0) {
        std::fprintf(stderr, "entrylist_bench printed no load, floor insert or quick stats:\n%s", text.c_str());
        return 1;
    }
    std::printf("entry list bench, best of its rounds: load %.1f + floor insert %.1f + quick stats %.1f = %.1f\n", load,
                insert, stats, load + insert + stats);
    std::printf("added / (load + floor insert + quick stats) %.2f\n", added / (load + insert + stats));
    return 0;
}
