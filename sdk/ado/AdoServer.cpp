// The ADO double's server: an in-process automation server (as ADO is one), threading model
// Apartment, whose three classes stand in for ADO's Connection, Recordset and Command.
//
// DllRegisterServer writes, under HKEY_CLASSES_ROOT, the class id of each class with this DLL as
// its InprocServer32, and points the ProgIDs "ADODB.Connection", "ADODB.Recordset" and
// "ADODB.Command" at them, so that a client creating ADO by ProgID gets the double. It replaces
// whatever ADO the machine had registered there: run it only in a Wine prefix of tests.
// DllUnregisterServer removes the class ids and those ProgID entries that name them.
#include <windows.h>

#include <objbase.h>
#include <olectl.h>
#include <shlwapi.h>

#include <cwchar>

#include "framework/ClassFactory.h"
#include "sdk/ado/AdoCommand.h"
#include "sdk/ado/AdoConnection.h"
#include "sdk/ado/AdoIds.h"
#include "sdk/ado/AdoRecordset.h"

namespace {

HINSTANCE g_instance = nullptr;

// The factories are static objects: counting their references keeps nothing alive.
template <class T>
class CFactory : public CClassFactoryImpl<CFactory<T>, T, comOwned> {
public:
    static void LockModule(bool lock) { CDispatchObject::Lock(lock); }
};

CFactory<CAdoConnection> g_connectionFactory;
CFactory<CAdoRecordset> g_recordsetFactory;
CFactory<CAdoCommand> g_commandFactory;

struct ClassEntry {
    const GUID* clsid;
    const wchar_t* progId;
    const wchar_t* description;
};
const ClassEntry kClasses[] = {
    {&CLSID_AdoDoubleConnection, L"ADODB.Connection", L"ADO double: Connection"},
    {&CLSID_AdoDoubleRecordset, L"ADODB.Recordset", L"ADO double: Recordset"},
    {&CLSID_AdoDoubleCommand, L"ADODB.Command", L"ADO double: Command"},
};

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::wstring GetValue(const std::wstring& key)
{
    wchar_t value[64] = {};
    LONG size = sizeof value;
    if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return std::wstring();
    return value;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    if (IsEqualCLSID(clsid, CLSID_AdoDoubleConnection)) factory = &g_connectionFactory;
    if (IsEqualCLSID(clsid, CLSID_AdoDoubleRecordset)) factory = &g_recordsetFactory;
    if (IsEqualCLSID(clsid, CLSID_AdoDoubleCommand)) factory = &g_commandFactory;
    if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CDispatchObject::Outstanding() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(g_instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
    for (const ClassEntry& entry : kClasses) {
        const std::wstring clsid = GuidText(*entry.clsid);
        const std::wstring key = L"CLSID\\" + clsid;
        if (!SetValue(key, nullptr, entry.description) || !SetValue(key + L"\\InprocServer32", nullptr, path) ||
            !SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") ||
            !SetValue(key + L"\\ProgID", nullptr, entry.progId) || !SetValue(entry.progId, nullptr, entry.progId) ||
            !SetValue(std::wstring(entry.progId) + L"\\CLSID", nullptr, clsid))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    for (const ClassEntry& entry : kClasses) {
        const std::wstring clsid = GuidText(*entry.clsid);
        SHDeleteKeyW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str());
        if (_wcsicmp(GetValue(std::wstring(entry.progId) + L"\\CLSID").c_str(), clsid.c_str()) == 0)
            RegDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(entry.progId) + L"\\CLSID").c_str());
    }
    return S_OK;
}
