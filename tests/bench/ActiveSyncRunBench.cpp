// Whole synchronisations of the ActiveSync provider, run by the manager double's library in this
// process (AlkSync.dll beside the program, registered for the run), in one run:
//   - the first synchronisation of the sample database (the desktop program's sample-database
//     tool) to an empty device, beside a plain prepared-statement loop over the same rows of the
//     four tables on a connection of its own. Every packet the provider makes opens a database
//     session of its own (connect, check, load one record, close): the ratio says what that
//     costs;
//   - a second synchronisation with nothing changed;
//   - new objects made on the device (entries of the sample's first vehicle) reaching the
//     desktop, per object beside the run with nothing changed. Each record saved without a
//     reference id waits the business library's 10 ms for a new one.
//
//   activesync_run_bench [rounds] [device objects]
//
// Everything lives in a scratch folder under the temporary folder. The desktop's "DBPath", the
// device doubles' state, the manager's device-type defaults key and the server's registration
// are put back as they were at the end.
#include <windows.h>

#include <shlwapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activesync/Store.h"
#include "business/AlkBiz.h"
#include "sdk/activesync/device/DevicePacket.h"
#include "sdk/activesync/DeviceState.h"
#include "sdk/activesync/manager/Manager.h"
#include "sdk/activesync/manager/SyncRun.h"
#include "tests/bench/BenchDatabase.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

const char kDefaults[] =
    "SOFTWARE\\Microsoft\\Windows CE Services\\SpecialDefaults\\PocketPC\\Services\\Synchronization\\Objects";

long Run(const std::string& program, const std::string& arguments)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + program + "\" " + arguments;
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<long>(code);
}

// Every row of the four tables (see ReadEveryRow) on a connection of its own; the rows read.
int PlainLoop(const std::wstring& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open16(path.c_str(), &db) != SQLITE_OK) return -1;
    double checksum = 0;
    const int rows = ReadEveryRow(db, &checksum);
    sqlite3_close(db);
    return rows;
}

// One synchronisation through the manager's library; its time, or -1 when it did not finish.
double Synchronise(const std::string& state, SyncCounts* counts)
{
    SyncOptions options;
    options.statePath = state;
    options.initializeFlags = REPL_INIT_SELECTED_DEVICE;
    CManagerLog log;  // nowhere
    const double start = Seconds();
    CSyncRun run(options, log);
    const int exit = run.Run();
    const double time = Seconds() - start;
    if (counts) *counts = run.Counts();
    return exit == exitDone && run.Counts().failed == 0 ? time : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int deviceObjects = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;

    CScratchFolder folder(L"activesync-run-bench");
    const std::wstring sample = folder.File(L"sample.dat"), database = folder.File(L"desktop.dat");
    const std::string device = Ansi(folder.File(L"device")), state = Ansi(folder.File(L"state.txt"));
    if (Run(WinePath(ALK_SAMPLE_DB_PATH), "\"" + Ansi(sample) + "\"") != 0) {
        std::fprintf(stderr, "the sample-database tool failed\n");
        return 1;
    }
    CreateDirectoryA(device.c_str(), nullptr);

    // The registry for the run.
    const std::string deviceKey = Ansi(ALK_SDK_DEVICE_KEY);
    SavedValue dbPath(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, "DBPath");
    SavedValue root(HKEY_CURRENT_USER, deviceKey.c_str(), "Root"),
        connected(HKEY_CURRENT_USER, deviceKey.c_str(), "Connected"),
        syncValue(HKEY_CURRENT_USER, deviceKey.c_str(), "SyncValue");
    dbPath.SetText(Ansi(database));
    root.SetText(device);
    connected.SetNumber(1);
    syncValue.SetNumber(0x5EED0002);
    HKEY defaults = nullptr;
    const bool hadDefaults = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDefaults, 0, KEY_READ, &defaults) == ERROR_SUCCESS;
    if (hadDefaults) RegCloseKey(defaults);
    HKEY made = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDefaults, 0, nullptr, 0, KEY_WRITE, nullptr, &made, nullptr);
    if (made) RegCloseKey(made);
    HKEY progID = nullptr;
    const bool wasRegistered =
        RegOpenKeyExA(HKEY_CLASSES_ROOT, "Quorrin.ALK.Store", 0, KEY_READ, &progID) == ERROR_SUCCESS;
    if (progID) RegCloseKey(progID);
    CManagerLog quiet;
    const std::string server = Ansi(ProgramFolder()) + "AlkSync.dll";
    if (CallServerExport(server, "DllRegisterServer", quiet) != exitDone) {
        std::fprintf(stderr, "AlkSync.dll beside the program could not be registered\n");
        return 1;
    }

    std::vector<double> firsts, loops, seconds, inserts;
    int rows = 0, objects = 0;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        // A fresh desktop file, an empty device, no state.
        CopyFileW(sample.c_str(), database.c_str(), FALSE);
        DeleteFileA(state.c_str());
        RemoveTree(folder.File(L"device\\Objects"));

        double start = Seconds();
        rows = PlainLoop(database);
        loops.push_back(Seconds() - start);

        SyncCounts counts;
        const double first = Synchronise(state, &counts);
        objects = counts.sent;
        const double second = Synchronise(state, nullptr);

        // New entries of the first vehicle made on the device.
        CDataLayer db;
        CObjectListT<CVehicle> vehicles;
        if (db.Connect(database.c_str()) != CDataLayer::csConnected || !db.Load(&vehicles) || !vehicles.GetCount()) {
            ok = false;
            break;
        }
        const unsigned long vehicle = vehicles.Get(0)->GetRefID();
        db.Disconnect();
        for (int i = 0; i < deviceObjects; ++i) {
            CDevicePacket entry(CBaseObject::otEntry);
            entry.SetText(CDevicePacket::Name, L"Made on the device").SetText(CDevicePacket::Notes, L"");
            entry.SetDouble(CDevicePacket::EntryDate, 40000 + i).SetInteger(CDevicePacket::EntryOdometer, 1000 + i);
            entry.SetInteger(CDevicePacket::EntryVehicle, static_cast<int32_t>(vehicle));
            entry.SetInteger(CDevicePacket::EntryType, CEntry::etExpense).SetFloat(CDevicePacket::Amount, 4.5f);
            const std::vector<uint8_t> bytes = entry.Write();
            char name[32];
            std::snprintf(name, sizeof name, "\\Objects\\F%07X.pkt", i);
            HANDLE file = CreateFileA((device + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(file);
        }
        const double insert = Synchronise(state, &counts);
        ok = first > 0 && second > 0 && insert > 0 && counts.received == deviceObjects && rows == objects;
        if (!ok) {
            std::fprintf(stderr, "round %d: first %.3f s (%d objects, %d rows), second %.3f s, inserts %.3f s (%d)\n",
                         round, first, objects, rows, second, insert, counts.received);
            break;
        }
        firsts.push_back(first);
        seconds.push_back(second);
        inserts.push_back(insert);
    }

    CallServerExport(server, wasRegistered ? "DllRegisterServer" : "DllUnregisterServer", quiet);
    if (!hadDefaults) SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows CE Services");
    if (!ok) return 1;

    std::printf("sample database: %d records; %d rounds\n", rows, rounds);
    std::printf("         first sync   plain loop  ratio   second sync   %d device objects   per object\n",
                deviceObjects);
    auto line = [&](const char* label, double (*pick)(std::vector<double>)) {
        const double first = pick(firsts), loop = pick(loops), second = pick(seconds), insert = pick(inserts);
        std::printf("%-7s %8.1f ms  %8.1f ms  %5.0f   %8.1f ms   %11.1f ms   %7.2f ms\n", label, first * 1000,
                    loop * 1000, first / loop, second * 1000, insert * 1000, (insert - second) * 1000 / deviceObjects);
    };
    line("best", [](std::vector<double> v) { return Best(v); });
    line("median", [](std::vector<double> v) { return Median(v); });
    std::printf(
        "(per object: the run with the device's objects less the run with nothing changed, divided by\n"
        " their number; each new entry waits the business library's 10 ms for its reference id)\n");
    return 0;
}
