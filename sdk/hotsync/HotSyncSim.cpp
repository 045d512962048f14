// HotSyncSim.exe: the HotSync manager's double, a console program that loads a conduit and calls
// its entry points the way the manager does, with the handheld double on the other end of the
// link and the manager's libraries (the DLLs beside this program) set up from its options.
//
//   HotSyncSim sync --conduit DLL [--user NAME] [--type N] [--core DIR] [--sync-folder DIR]
//                   [--handheld FILE] [--faults PLAN|@FILE] [--log F] [--progress F | --no-progress]
//                   [--trace F] [--unknown-user] [--no-user-folder] [--no-creator]
//       Sets the doubles up, loads the conduit (LoadLibrary), calls GetConduitName (256 bytes),
//       GetConduitVersion, GetConduitInfo (type 0 with the (1, 80) query, then 2, 4, 5, 6) and
//       OpenConduit, and unloads it. The run's folder is --sync-folder, or the conduit folder
//       CORE\USER\Autolark\. Prints what each call gave, one "key=value" line each.
//   HotSyncSim configure --conduit DLL --form prefs|request [options]
//       Calls ConfigureConduit (prefs) or CfgConduit (request) on the block the options describe
//       and prints the block afterwards. prefs: --folder DIR --type N --preference N. request:
//       --user NAME --type N (next) --default-type N --chosen N --preference N
//       --show-user-settings N --version N --size N (the size passed) --config-type N, and
//       --no-block, --no-size; --core and the user options as for sync.
//   HotSyncSim handheld seed FILE      writes a small store: a vehicle with an entry of every
//                                      type and a reminder, and a keyword of every type
//   HotSyncSim handheld dump FILE      prints a store
//
// Each option that is left out leaves its double unset, so every failure can be provoked: no
// --core, no core folder; no --user, no user; --unknown-user, a user name the user library does
// not know; --no-user-folder, a user without a folder; --no-creator, no folder for the conduit's
// creator id aLRK (otherwise "Autolark"); no --handheld, no handler on the link (calls answer
// 0x400A); no --log, log entries dropped. The user NAME gets id 1 and the folder NAME.
//
// Exit codes: 0 the calls were made (whatever the conduit answered); 2 a bad command line or
// fault plan; 3 the conduit did not load or lacks an entry point; 4 the handheld double saw a
// breach of the link's rules (the first is printed on stderr); 5 the handheld store could not be
// read or written.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sdk/hotsync/handheld/HandheldApp.h"
#include "sdk/hotsync/HotSync.h"

namespace {

enum ExitCode { ExitDone = 0, ExitUsage = 2, ExitLoad = 3, ExitBreach = 4, ExitStore = 5 };

struct Options {
    std::map<std::string, std::string> values;
    std::vector<std::string> flags;
    bool Has(const char* name) const { return values.count(name) != 0; }
    bool Flag(const char* name) const
    {
        for (const std::string& f : flags)
            if (f == name) return true;
        return false;
    }
    std::string Get(const char* name, const std::string& otherwise = "") const
    {
        auto it = values.find(name);
        return it == values.end() ? otherwise : it->second;
    }
    long Number(const char* name, long otherwise) const
    {
        auto it = values.find(name);
        return it == values.end() ? otherwise : std::strtol(it->second.c_str(), nullptr, 0);
    }
};

// clang-format off
const char* const kFlagOptions[] = {
    "--unknown-user", "--no-user-folder", "--no-creator", "--no-progress", "--no-block", "--no-size",
};
// clang-format on

bool ParseOptions(int argc, char** argv, int first, Options& options)
{
    for (int i = first; i < argc; ++i) {
        const std::string name = argv[i];
        bool isFlag = false;
        for (const char* f : kFlagOptions) isFlag = isFlag || name == f;
        if (isFlag) {
            options.flags.push_back(name);
        } else if (name.compare(0, 2, "--") == 0 && i + 1 < argc) {
            options.values[name] = argv[++i];
        } else {
            std::fprintf(stderr, "HotSyncSim: unexpected argument %s\n", name.c_str());
            return false;
        }
    }
    return true;
}

int Usage()
{
    std::fprintf(
        stderr,
        "usage: HotSyncSim sync --conduit DLL [--user NAME] [--type N] [--core DIR] [--sync-folder DIR]\n"
        "                       [--handheld FILE] [--faults PLAN|@FILE] [--log F] [--progress F]\n"
        "                       [--trace F] [--no-progress] [--unknown-user] [--no-user-folder] [--no-creator]\n"
        "       HotSyncSim configure --conduit DLL --form prefs|request [options]\n"
        "       HotSyncSim handheld seed|dump FILE\n");
    return ExitUsage;
}

// The manager's libraries as the options describe them.
void SetUpManager(const Options& options)
{
    HsSimSetLogFile(options.Has("--log") ? options.Get("--log").c_str() : nullptr);
    HsSimSetCorePath(options.Has("--core") ? options.Get("--core").c_str() : nullptr);
    HsSimClearUsers();
    if (options.Has("--user") && !options.Flag("--unknown-user")) {
        const std::string user = options.Get("--user");
        HsSimAddUser(user.c_str(), 1, options.Flag("--no-user-folder") ? nullptr : user.c_str());
    }
    HsSimSetCreatorDirectory("aLRK", options.Flag("--no-creator") ? nullptr : "Autolark");
}

// CORE\USER\Autolark\, as the conduit builds it from the same libraries.
std::string ConduitFolder(const Options& options)
{
    return options.Get("--core") + "\\" + options.Get("--user") + "\\Autolark\\";
}

void CopyText(char* to, size_t size, const std::string& text)
{
    std::memset(to, 0, size);
    std::strncpy(to, text.c_str(), size - 1);
}

struct Conduit {
    HMODULE module = nullptr;
    OpenConduitFn open = nullptr;
    GetConduitNameFn name = nullptr;
    GetConduitVersionFn version = nullptr;
    ConfigureConduitFn configure = nullptr;
    GetConduitInfoFn info = nullptr;
    CfgConduitFn cfg = nullptr;

    ~Conduit()
    {
        if (module) FreeLibrary(module);
    }
    template <class F>
    bool Find(F& function, const char* name)
    {
        function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        if (!function) std::fprintf(stderr, "HotSyncSim: the conduit exports no %s\n", name);
        return function != nullptr;
    }
    bool Load(const std::string& path)
    {
        module = LoadLibraryA(path.c_str());
        if (!module) {
            std::fprintf(stderr, "HotSyncSim: cannot load %s (error %lu)\n", path.c_str(), GetLastError());
            return false;
        }
        return Find(open, "OpenConduit") && Find(name, "GetConduitName") && Find(version, "GetConduitVersion") &&
               Find(configure, "ConfigureConduit") && Find(info, "GetConduitInfo") && Find(cfg, "CfgConduit");
    }
};

std::ofstream g_progress;

void Progress(const char* text)
{
    g_progress << (text ? text : "(null)") << '\n';
    g_progress.flush();
}

int Sync(const Options& options)
{
    if (!options.Has("--conduit")) return Usage();
    CFaultPlan plan;
    std::string faults = options.Get("--faults");
    if (!faults.empty() && faults[0] == '@') {
        std::ifstream file(faults.substr(1));
        std::ostringstream text;
        text << file.rdbuf();
        if (!file) {
            std::fprintf(stderr, "HotSyncSim: cannot read the fault plan %s\n", faults.c_str() + 1);
            return ExitUsage;
        }
        faults = text.str();
    }
    std::string error;
    if (!plan.Parse(faults, error)) {
        std::fprintf(stderr, "HotSyncSim: %s\n", error.c_str());
        return ExitUsage;
    }

    SetUpManager(options);
    CHandheldStore store;
    CHandheldApp handheld(store);
    const std::string storePath = options.Get("--handheld");
    if (!storePath.empty()) {
        if (GetFileAttributesA(storePath.c_str()) != INVALID_FILE_ATTRIBUTES && !store.Load(storePath, error)) {
            std::fprintf(stderr, "HotSyncSim: %s\n", error.c_str());
            return ExitStore;
        }
        handheld.SetStorePath(storePath);
        handheld.SetFaultPlan(plan);
        handheld.SetTraceFile(options.Get("--trace"));
        handheld.Install();
    } else {
        CHandheldApp::Uninstall();
    }
    if (options.Has("--progress")) g_progress.open(options.Get("--progress"), std::ios::app | std::ios::binary);

    Conduit conduit;
    if (!conduit.Load(options.Get("--conduit"))) return ExitLoad;

    char name[256];
    std::memset(name, 0x55, sizeof name);
    long result = conduit.name(name, sizeof name);
    name[sizeof name - 1] = '\0';  // printed whatever the conduit left there
    std::printf("name=%ld %s\n", result, name);
    std::printf("version=0x%04lX\n", static_cast<unsigned long>(conduit.version()));

    ConduitInfoQuery query{};
    query.version = ConduitInfoQueryVersion;
    query.size = sizeof query;
    char text[256] = {};
    DWORD size = sizeof text;
    result = conduit.info(HsInfoName, &query, text, &size);
    text[sizeof text - 1] = '\0';
    std::printf("info0=%ld size=%lu text=%s\n", result, static_cast<unsigned long>(size), text);
    for (long type : {2L, 4L, 5L, 6L}) {
        unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        size = sizeof out;
        result = conduit.info(type, &query, out, &size);
        std::printf("info%ld=%ld size=%lu bytes=%02X %02X %02X %02X\n", type, result, static_cast<unsigned long>(size),
                    out[0], out[1], out[2], out[3]);
    }

    HotSyncRunInfo run{};
    run.syncType = options.Number("--type", HsSyncFast);
    CopyText(run.path, sizeof run.path,
             options.Has("--sync-folder") ? options.Get("--sync-folder") : ConduitFolder(options));
    CopyText(run.userName, sizeof run.userName, options.Get("--user"));
    result = conduit.open(options.Flag("--no-progress") ? nullptr : &Progress, &run);
    std::printf("open=%ld\n", result);
    std::fflush(stdout);

    CHandheldApp::Uninstall();
    if (!handheld.Breach().empty()) {
        std::fprintf(stderr, "HotSyncSim: the handheld saw a breach of the link's rules: %s\n",
                     handheld.Breach().c_str());
        return ExitBreach;
    }
    if (handheld.SaveFailed()) {
        std::fprintf(stderr, "HotSyncSim: the handheld store could not be saved to %s\n", storePath.c_str());
        return ExitStore;
    }
    return ExitDone;
}

int Configure(const Options& options)
{
    const std::string form = options.Get("--form");
    if (!options.Has("--conduit") || (form != "prefs" && form != "request")) return Usage();
    SetUpManager(options);
    Conduit conduit;
    if (!conduit.Load(options.Get("--conduit"))) return ExitLoad;

    if (form == "prefs") {
        HotSyncActionPrefs prefs{};
        CopyText(prefs.path, sizeof prefs.path,
                 options.Has("--folder") ? options.Get("--folder") : ConduitFolder(options));
        prefs.preference = options.Number("--preference", 0);
        prefs.syncType = options.Number("--type", HsSyncFast);
        const long result = conduit.configure(&prefs);
        std::printf("result=%ld\npath=%s\npreference=%ld\nsyncType=%ld\n", result, prefs.path, prefs.preference,
                    prefs.syncType);
        return ExitDone;
    }

    ConduitConfigRequest request{};
    request.version = static_cast<DWORD>(options.Number("--version", ConduitConfigRequestVersion));
    request.size = sizeof request;
    request.showUserSettings = static_cast<DWORD>(options.Number("--show-user-settings", 0));
    CopyText(request.userName, sizeof request.userName, options.Get("--user"));
    request.defaultSyncType = options.Number("--default-type", HsSyncFast);
    request.nextSyncType = options.Number("--type", HsSyncFast);
    request.chosenSyncType = options.Number("--chosen", request.nextSyncType);
    request.preference = options.Number("--preference", HsPreferenceNextRun);
    DWORD size = static_cast<DWORD>(options.Number("--size", sizeof request));
    const long result = conduit.cfg(options.Number("--config-type", 0), options.Flag("--no-block") ? nullptr : &request,
                                    options.Flag("--no-size") ? nullptr : &size);
    std::printf(
        "result=%ld\nversion=%lu\nsize=%lu\nshowUserSettings=%lu\nuserName=%s\ndefaultSyncType=%ld\n"
        "nextSyncType=%ld\nchosenSyncType=%ld\npreference=%ld\n",
        result, static_cast<unsigned long>(request.version), static_cast<unsigned long>(request.size),
        static_cast<unsigned long>(request.showUserSettings), request.userName, request.defaultSyncType,
        request.nextSyncType, request.chosenSyncType, request.preference);
    return ExitDone;
}

void Seed(CHandheldStore& store)
{
    CHandheldRecord& car = store.Create(HhVehicle);
    car.SetText("Name", "Handheld car");
    car.SetText("LicensePlate", "HH 1234");
    car.SetNumber("Year", 2004);
    car.SetNumber("CurrentOdometer", 41000);
    car.SetReal("InsuranceExpirationDate", car.Real("DateCreated") + 200);
    const uint32_t carRef = car.RefID();
    const char* const descriptions[] = {"", "Oil change", "To the coast", "Parking"};
    for (uint32_t type = 1; type <= 4; ++type) {
        CHandheldRecord& entry = store.Create(HhEntry);
        entry.SetNumber("Type", type);
        entry.SetNumber("VehicleID", carRef);
        entry.SetText("Name", descriptions[type - 1]);
        entry.SetText("Vendor", type == 3 ? "Business" : "Corner garage");
        entry.SetReal("Date", entry.Real("DateCreated") - 10 + type);
        entry.SetNumber("Odometer", 40000 + 100 * type);
        entry.SetReal("Amount", 12.5 * type);
        if (type == 1) {
            entry.SetReal("Custom1", 10);
            entry.SetReal("Custom2", 1.25);
        }
    }
    CHandheldRecord& reminder = store.Create(HhNotification);
    reminder.SetText("Name", "Rotate the tyres");
    reminder.SetNumber("VehicleID", carRef);
    reminder.SetNumber("Odometer", 45000);
    reminder.SetReal("Date", reminder.Real("DateCreated") + 90);
    const char* const keywords[] = {"Commute", "Brakes", "Tolls", "Corner garage"};
    for (uint32_t type = 1; type <= 4; ++type) {
        CHandheldRecord& keyword = store.Create(HhKeyword);
        keyword.SetNumber("Type", type);
        keyword.SetText("Name", keywords[type - 1]);
    }
}

int Handheld(int argc, char** argv)
{
    if (argc != 4) return Usage();
    const std::string command = argv[2], path = argv[3];
    CHandheldStore store;
    std::string error;
    if (command == "seed") {
        Seed(store);
        if (!store.Save(path, error)) {
            std::fprintf(stderr, "HotSyncSim: %s\n", error.c_str());
            return ExitStore;
        }
        return ExitDone;
    }
    if (command == "dump") {
        if (!store.Load(path, error)) {
            std::fprintf(stderr, "HotSyncSim: %s\n", error.c_str());
            return ExitStore;
        }
        std::fputs(store.ToText().c_str(), stdout);
        return ExitDone;
    }
    return Usage();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "handheld") return Handheld(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, 2, options)) return Usage();
    if (command == "sync") return Sync(options);
    if (command == "configure") return Configure(options);
    return Usage();
}
