// AlkSync.dll as COM and the manager find it: its exports by ordinal, the registration it writes
// and removes (in process and through the manager double's register command; the double's usage
// on a command line it cannot take), the module lock count through the class factory, the store
// and LockServer, and the store made by COM from the class id read back from the registry.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sdk/activesync/DeviceState.h"
#include "tests/activesync/ManagerTestSupport.h"

using namespace alk_sync_test;

namespace {

const char kClassID[] = "{4C015E55-F854-4fb2-9AD1-4642EF39C762}";

// A key with its values (in name order) and sub-keys, every name as the registry spells it: a
// snapshot.
std::string Dump(HKEY root, const std::string& path, const std::string& indent = "")
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return indent + "<none>\n";
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[256], data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        std::string line = indent + (name[0] ? name : "(default)") + "=";
        if (type == REG_SZ) {
            line += std::string("\"") + data + "\"\n";
        } else if (type == REG_DWORD) {
            line += "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data)) + "\n";
        } else {
            line += "type " + std::to_string(type) + "\n";
        }
        values.push_back(line);
    }
    std::sort(values.begin(), values.end());
    std::string out;
    for (const std::string& line : values) out += line;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out += indent + "[" + name + "]\n" + Dump(key, name, indent + "  ");
    }
    RegCloseKey(key);
    return out;
}

// The name of HKCR\CLSID's sub-key that is the class id, as the registry spells it.
std::string ClassKeyName()
{
    HKEY classes = nullptr;
    RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, &classes);
    std::string found;
    for (DWORD i = 0; classes; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(classes, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (lstrcmpiA(name, kClassID) == 0) found = name;
    }
    if (classes) RegCloseKey(classes);
    return found;
}

// Everything the registration may touch.
std::string Registration()
{
    return "CLSID " + ClassKeyName() + "\n" + Dump(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClassID) + "ProgID\n" +
           Dump(HKEY_CLASSES_ROOT, "Quorrin.ALK.Store") + "Defaults\n" +
           Dump(HKEY_LOCAL_MACHINE, ALK_TEST_DEFAULTS_KEY) + "Partners\n" +
           Dump(HKEY_CURRENT_USER, ToAnsi(ALK_SDK_PARTNERS_KEY));
}

void Partnership(const char* profile, const char* deviceType, bool objectsKey, DWORD typeAsNumber = 0)
{
    const std::string path = ToAnsi(ALK_SDK_PARTNERS_KEY) + "\\" + profile;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    if (deviceType) {
        RegSetValueExA(key, "DeviceType", 0, REG_SZ, reinterpret_cast<const BYTE*>(deviceType),
                       static_cast<DWORD>(strlen(deviceType) + 1));
    } else {
        RegSetValueExA(key, "DeviceType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&typeAsNumber), 4);
    }
    HKEY objects = nullptr;
    if (objectsKey && RegCreateKeyExA(key, "Services\\Synchronization\\Objects", 0, nullptr, 0, KEY_WRITE, nullptr,
                                      &objects, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(objects);
    }
    RegCloseKey(key);
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest()
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, ALK_TEST_POCKETPC_OBJECTS, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr);
        RegCloseKey(key);
        Partnership("1", "pocketpc", true);
        Partnership("2", "Windows Phone", true);
        Partnership("3", nullptr, true, 7);  // a DeviceType that is no text
        Partnership("-1", "PocketPC", true);
        Partnership("4", "Smartphone", false);  // nothing to register under
        module = LoadLibraryA(ServerPath().c_str());
        char path[MAX_PATH] = {};
        GetModuleFileNameA(module, path, MAX_PATH);
        modulePath = path;
    }
    ~ServerTest() override
    {
        RegisteredServer::Call("DllUnregisterServer");
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, ALK_TEST_DEFAULTS_KEY);
        FreeLibrary(module);
    }
    template <class F>
    F Export(const char* name)
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    HRESULT CanUnloadNow() { return Export<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow")(); }
    IClassFactory* Factory()
    {
        auto get = Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
        void* factory = nullptr;
        EXPECT_EQ(S_OK, get(CLSID_NULL, IID_IClassFactory, &factory)) << "any class id is answered";
        return static_cast<IClassFactory*>(factory);
    }
    // What a registration of this module leaves.
    std::string Expected() const
    {
        const std::string type =
            "  (default)=\"Autolark Object\"\n"
            "  DefaultIcon=\"" +
            modulePath +
            ",-5\"\n"
            "  Disabled=dword:0\n"
            "  Display Name=\"Autolark\"\n"
            "  Plural Name=\"Vehicles\"\n"
            "  Store=\"Quorrin.ALK.Store\"\n";
        auto indented = [](const std::string& text, const std::string& by) {
            std::string out;
            size_t at = 0;
            while (at < text.size()) {
                const size_t end = text.find('\n', at);
                out += by + text.substr(at, end - at + 1);
                at = end + 1;
            }
            return out;
        };
        return std::string("CLSID ") + kClassID + "\n" +
               "(default)=\"Autolark Store\"\n"
               "[InprocServer32]\n"
               "  (default)=\"" +
               modulePath +
               "\"\n"
               "  ThreadingModel=\"Apartment\"\n"
               "[ProgId]\n"
               "  (default)=\"Quorrin.ALK.Store\"\n"
               "ProgID\n"
               "(default)=\"Autolark Store\"\n"
               "Display Name=\"Autolark\"\n"
               "[CLSID]\n"
               "  (default)=\"" +
               kClassID +
               "\"\n"
               "Defaults\n"
               "[SpecialDefaults]\n"
               "  [PocketPC]\n"
               "    [Services]\n"
               "      [Synchronization]\n"
               "        [Objects]\n"
               "          [ALK]\n" +
               indented(type, "          ") +
               "Partners\n"
               "[-1]\n"
               "  DeviceType=\"PocketPC\"\n"
               "  [Services]\n"
               "    [Synchronization]\n"
               "      [Objects]\n"
               "[1]\n"
               "  DeviceType=\"pocketpc\"\n"
               "  [Services]\n"
               "    [Synchronization]\n"
               "      [Objects]\n"
               "        [ALK]\n" +
               indented(type, "        ") +
               "[2]\n"
               "  DeviceType=\"Windows Phone\"\n"
               "  [Services]\n"
               "    [Synchronization]\n"
               "      [Objects]\n"
               "[3]\n"
               "  DeviceType=dword:7\n"
               "  [Services]\n"
               "    [Synchronization]\n"
               "      [Objects]\n"
               "[4]\n"
               "  DeviceType=\"Smartphone\"\n";
    }

    DeviceState device;
    HMODULE module = nullptr;
    std::string modulePath;
};

}  // namespace

TEST_F(ServerTest, TheFourExportsByOrdinal)
{
    ASSERT_NE(nullptr, module);
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
        ASSERT_NE(nullptr, byOrdinal) << ordinal;
        EXPECT_EQ(GetProcAddress(module, names[ordinal - 1]), byOrdinal) << names[ordinal - 1];
    }
    EXPECT_EQ(nullptr, GetProcAddress(module, MAKEINTRESOURCEA(5)));
}

TEST_F(ServerTest, RegistrationWritesEveryKeyAndValueAndUnregistrationRemovesThem)
{
    const std::string before = Registration();
    auto reg = Export<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer");
    auto unreg = Export<HRESULT(STDAPICALLTYPE*)()>("DllUnregisterServer");
    ASSERT_EQ(S_OK, reg());
    EXPECT_EQ(Expected(), Registration());
    ASSERT_EQ(S_OK, reg());
    EXPECT_EQ(Expected(), Registration()) << "twice gives the same";

    EXPECT_EQ(S_OK, unreg());
    EXPECT_EQ(before, Registration()) << "everything written is gone, the manager's own keys stay";
    EXPECT_EQ(S_OK, unreg()) << "nothing left to remove";
    EXPECT_EQ(before, Registration());
}

TEST_F(ServerTest, TheManagerRegistersThroughTheExport)
{
    Manager manager;
    const std::string before = Registration();
    ASSERT_EQ(0, manager.Run("register \"" + ServerPath() + "\""));
    EXPECT_TRUE(manager.Has("DllRegisterServer() = 0x00000000")) << manager.Text();
    EXPECT_EQ(Expected(), Registration());
    ASSERT_EQ(0, manager.Run("unregister \"" + ServerPath() + "\""));
    EXPECT_TRUE(manager.Has("DllUnregisterServer() = 0x00000000")) << manager.Text();
    EXPECT_EQ(before, Registration());

    EXPECT_EQ(3, manager.Run("register \"" + ToAnsi(ProgramFolder()) + "Missing.dll\""));
    EXPECT_EQ(2, manager.Run("register"));
}

TEST_F(ServerTest, TheManagerAnswersNoCommandOrABadOneWithItsUsage)
{
    Manager manager;
    for (const char* arguments : {"", "register", "sync --selected", "synchronise", "info --profile one"}) {
        SCOPED_TRACE(std::string("arguments: ") + arguments);
        EXPECT_EQ(2, manager.RunAsTyped(arguments));
        ASSERT_FALSE(manager.log.empty());
        EXPECT_EQ(0u, manager.log[0].rfind("usage: alk_activesync_manager register|unregister DLL", 0))
            << manager.Text();
        EXPECT_TRUE(
            manager.Has("       alk_activesync_manager sync --state FILE [--profile N] [--selected] [--remote]"))
            << manager.Text();
    }
}

TEST_F(ServerTest, TheModuleStaysWhileAStoreOrALockLives)
{
    EXPECT_EQ(S_OK, CanUnloadNow());
    IClassFactory* factory = Factory();
    ASSERT_NE(nullptr, factory);
    EXPECT_EQ(S_OK, CanUnloadNow()) << "a factory alone does not keep the module";

    void* store = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IReplStore, &store));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    EXPECT_EQ(0u, static_cast<IReplStore*>(store)->Release());
    EXPECT_EQ(S_OK, CanUnloadNow());

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, CanUnloadNow());

    void* unknown = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IReplStore, &unknown));
    EXPECT_EQ(nullptr, unknown);
    EXPECT_EQ(E_INVALIDARG, factory->QueryInterface(IID_IUnknown, nullptr));
    ASSERT_EQ(S_OK, factory->QueryInterface(IID_IUnknown, &unknown));
    EXPECT_EQ(static_cast<IUnknown*>(factory), unknown);
    EXPECT_EQ(1u, factory->Release());
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_OK, CanUnloadNow());
}

TEST_F(ServerTest, AggregationAndARefusedInterfaceLeaveNoStore)
{
    IClassFactory* factory = Factory();
    ASSERT_NE(nullptr, factory);
    IUnknown* outer = factory;  // any object
    void* store = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IReplStore, &store));
    EXPECT_EQ(nullptr, store);
    store = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IReplObjHandler, &store));
    EXPECT_EQ(nullptr, store);
    EXPECT_EQ(E_INVALIDARG, factory->CreateInstance(nullptr, IID_IReplStore, nullptr));
    EXPECT_EQ(S_OK, CanUnloadNow()) << "no store was left alive";
    factory->Release();

    auto get = Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, get(CLSID_NULL, IID_IReplStore, &none));
    EXPECT_EQ(nullptr, none);
}

TEST_F(ServerTest, COMMakesTheStoreFromTheRegisteredClassID)
{
    ASSERT_EQ(S_OK, RegisteredServer::Call("DllRegisterServer"));
    char text[64] = {};
    DWORD size = sizeof text;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CLASSES_ROOT, "Quorrin.ALK.Store\\CLSID", nullptr, RRF_RT_REG_SZ,
                                          nullptr, text, &size));
    wchar_t wide[64];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
    CLSID classID;
    ASSERT_EQ(S_OK, CLSIDFromString(wide, &classID));

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        void* made = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(classID, nullptr, CLSCTX_INPROC_SERVER, IID_IReplStore, &made));
        IReplStore* store = static_cast<IReplStore*>(made);
        // The object's code is the registered DLL's.
        HMODULE owner = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           *reinterpret_cast<LPCSTR*>(store), &owner);
        EXPECT_EQ(module, owner);
        STOREINFO info = {};
        info.size = sizeof info;
        EXPECT_EQ(S_OK, store->GetStoreInfo(&info));
        EXPECT_STREQ("Quorrin.ALK.Store", info.progId);
        EXPECT_EQ(S_FALSE, CanUnloadNow());
        EXPECT_EQ(0u, store->Release());
        EXPECT_EQ(S_OK, CanUnloadNow());
    }
    CoUninitialize();
}
