#include "tests/activesync/ManagerTestSupport.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "sdk/activesync/manager/Manager.h"

namespace alk_sync_test {

std::string ServerPath()
{
    return ToAnsi(ProgramFolder()) + "AlkSync.dll";
}

std::string PocketPCTypeKey()
{
    return ALK_TEST_POCKETPC_OBJECTS "\\ALK";
}

void CopySampleDatabase(const std::wstring& path)
{
    static CScratchFolder folder(L"alksample");
    static const std::wstring sample = folder.File(L"sample.dat");
    static const long made =
        RunProgram(WinePath(ALK_SAMPLE_DB_PATH), "\"" + ToAnsi(sample) + "\"", ToAnsi(folder.File(L"out.txt")));
    ASSERT_EQ(0, made) << "the sample-database tool failed";
    ASSERT_TRUE(CopyFileW(sample.c_str(), path.c_str(), FALSE));
}

// --- the registered server -------------------------------------------------------------------

HRESULT RegisteredServer::Call(const char* exportName)
{
    HMODULE module = LoadLibraryA(ServerPath().c_str());
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    typedef HRESULT(STDAPICALLTYPE * Export)();
    Export call = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, exportName)));
    const HRESULT hr = call ? call() : E_NOTIMPL;
    FreeLibrary(module);
    return hr;
}

RegisteredServer::RegisteredServer()
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, ALK_TEST_POCKETPC_OBJECTS, 0, nullptr, 0, KEY_WRITE,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(S_OK, Call("DllRegisterServer"));
}

RegisteredServer::~RegisteredServer()
{
    EXPECT_EQ(S_OK, Call("DllUnregisterServer"));
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, ALK_TEST_DEFAULTS_KEY);
}

// --- the manager -----------------------------------------------------------------------------

Manager::Manager() : m_folder(L"alkmanager") {}

std::string Manager::NextLog()
{
    // A log of its own for each run: Wine may close a finished child's files a moment late.
    return ToAnsi(m_folder.File(L"log" + std::to_wstring(++m_runs) + L".txt"));
}

std::string Manager::LogPath() const
{
    return ToAnsi(m_folder.File(L"log" + std::to_wstring(m_runs) + L".txt"));
}

void Manager::ReadLog(const std::string& path)
{
    log.clear();
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        log.push_back(line);
    }
}

long Manager::Run(const std::string& arguments)
{
    const std::string logPath = NextLog();
    const long code =
        RunProgram(WinePath(ALK_MANAGER_PATH), arguments + " --log \"" + logPath + "\"", logPath + ".out");
    ReadLog(logPath);
    return code;
}

long Manager::RunAsTyped(const std::string& arguments)
{
    const std::string output = NextLog();
    const long code = RunProgram(WinePath(ALK_MANAGER_PATH), arguments, output);
    ReadLog(output);
    return code;
}

long Manager::SyncHere(const std::vector<std::string>& extra)
{
    const std::string logPath = NextLog();
    std::vector<std::string> arguments = {"sync", "--state", StatePath(), "--log", logPath};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    const long code = AlkManagerMain(static_cast<int>(argv.size()), argv.data());
    ReadLog(logPath);
    return code;
}

HANDLE Manager::Start(const std::string& extra)
{
    const std::string logPath = NextLog();
    return StartProgram(WinePath(ALK_MANAGER_PATH),
                        "sync --state \"" + StatePath() + "\" " + extra + " --log \"" + logPath + "\"",
                        logPath + ".out");
}

long Manager::Sync(const std::string& extra)
{
    const long code = Run("sync --state \"" + StatePath() + "\" " + extra);
    // Every run that made a store ends with the server free to go.
    if (Count("CoCreateInstance(") == 1) {
        EXPECT_TRUE(Has("DllCanUnloadNow() = 0x00000000")) << Text();
    }
    return code;
}

CSyncState Manager::State() const
{
    CSyncState state;
    std::string error;
    EXPECT_TRUE(state.Load(StatePath(), &error)) << error;
    return state;
}

int Manager::Count(const std::string& prefix) const
{
    return static_cast<int>(std::count_if(
        log.begin(), log.end(), [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; }));
}

bool Manager::Has(const std::string& line) const
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

std::string Manager::Text() const
{
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    return text;
}

// --- the device ------------------------------------------------------------------------------

DeviceObjects::DeviceObjects(const DeviceState& device) : m_path(device.Root() + L"\\Objects")
{
    CreateDirectoryW(m_path.c_str(), nullptr);
}

std::vector<std::string> DeviceObjects::Files() const
{
    std::vector<std::string> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((m_path + L"\\*.pkt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        files.push_back(ToAnsi(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> DeviceObjects::Bytes(const std::string& file) const
{
    std::ifstream in(ToAnsi(m_path) + "\\" + file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CDevicePacket DeviceObjects::Read(const std::string& file) const
{
    CDevicePacket packet;
    std::string error;
    EXPECT_TRUE(packet.Parse(Bytes(file), &error)) << file << ": " << error;
    return packet;
}

void DeviceObjects::Write(const std::string& file, const std::vector<uint8_t>& bytes) const
{
    std::ofstream out(ToAnsi(m_path) + "\\" + file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << file;
}

void DeviceObjects::Remove(const std::string& file) const
{
    EXPECT_TRUE(DeleteFileA((ToAnsi(m_path) + "\\" + file).c_str())) << file;
}

std::string DeviceObjects::Snapshot() const
{
    std::string text;
    for (const std::string& file : Files()) text += file + " " + CSyncState::ToHex(Bytes(file)) + "\n";
    return text;
}

ItemFields HandleFields(const CSyncObject& object)
{
    if (object.handle.size() != 24) {
        ADD_FAILURE() << object.file << ": a handle of " << object.handle.size() << " bytes";
        return ItemFields();
    }
    return ParseItem(object.handle.data());
}

const CSyncObject* FindObject(const CSyncState& state, int type, unsigned long ref)
{
    for (const CSyncObject& object : state.objects) {
        const ItemFields fields = HandleFields(object);
        if (fields.type == type && fields.ref == static_cast<uint32_t>(ref)) return &object;
    }
    return nullptr;
}

}  // namespace alk_sync_test
