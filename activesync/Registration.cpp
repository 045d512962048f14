#include "activesync/Registration.h"

#include <shlwapi.h>

#include <cstring>

#include "framework/Module.h"
#include "resources/activesync/resource.h"

namespace {

const char* const kDeviceTypes[] = {"PocketPC", "Smartphone"};
const int kDeviceTypeCount = sizeof kDeviceTypes / sizeof *kDeviceTypes;
const char kPartnershipObjects[] = "Services\\Synchronization\\Objects";
const REGSAM kAccess = KEY_READ | KEY_WRITE;

void SetText(HKEY key, const char* name, const char* text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
}

// Creates (or opens) parent\path and gives its default value `text`; the key, or null.
HKEY CreateKey(HKEY parent, const char* path, const char* text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, path, 0, nullptr, 0, kAccess, nullptr, &key, nullptr) != ERROR_SUCCESS) return nullptr;
    if (text) SetText(key, nullptr, text);
    return key;
}

void CloseKey(HKEY key)
{
    if (key) RegCloseKey(key);
}

bool LoadText(UINT id, char (&buffer)[256])
{
    return LoadStringA(AlkGetResourceInstance(), id, buffer, sizeof buffer) > 0;
}

}  // namespace

bool CRegistration::Load()
{
    const DWORD length = GetModuleFileNameA(AlkGetModuleInstance(), m_modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    return LoadText(IDS_STORE_DESCRIPTION, m_description) && LoadText(IDS_PRODUCT_NAME, m_displayName) &&
           LoadText(IDS_PLURAL_NAME, m_pluralName) && LoadText(IDS_OBJECT_TYPE, m_objectType) &&
           LoadText(IDS_OBJECT_DESCRIPTION, m_objectDescription) && LoadText(IDS_PROGID, m_progID);
}

void CRegistration::SpecialDefaultsPath(int index, char (&path)[MAX_PATH])
{
    const char* format =
        "SOFTWARE\\Microsoft\\Windows CE Services\\SpecialDefaults\\%1\\Services\\Synchronization\\Objects";
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(kDeviceTypes[index])};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0, path, MAX_PATH,
                        reinterpret_cast<va_list*>(arguments))) {
        path[0] = 0;
    }
}

bool CRegistration::IsSupportedDevice(HCESVC partnership)
{
    char type[260];
    if (FAILED(CeSvcGetString(partnership, "DeviceType", type, sizeof type))) return false;
    for (const char* supported : kDeviceTypes) {
        if (lstrcmpiA(type, supported) == 0) return true;
    }
    return false;
}

template <class Work>
void CRegistration::ForEachPartnership(Work work)
{
    DWORD profile = 0;
    for (DWORD index = 0; SUCCEEDED(CeSvcEnumProfiles(index, &profile)); ++index) {
        if (profile == static_cast<DWORD>(-1)) continue;
        HCESVC partnership = nullptr;
        if (FAILED(CeSvcOpen(CESVC_PARTNERSHIP, profile, FALSE, &partnership)) || !partnership) continue;
        if (IsSupportedDevice(partnership)) work(partnership);
        CeSvcClose(partnership);
    }
}

// --- registration ----------------------------------------------------------------------------

HRESULT CRegistration::Register()
{
    if (!Load()) return E_FAIL;

    HKEY clsid = CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" ALK_STORE_CLSID_TEXT, m_description);
    if (clsid) {
        HKEY server = CreateKey(clsid, "InprocServer32", m_modulePath);
        CloseKey(CreateKey(clsid, "ProgId", m_progID));
        if (server) SetText(server, "ThreadingModel", "Apartment");
        CloseKey(server);
        CloseKey(clsid);
    }
    HKEY progID = CreateKey(HKEY_CLASSES_ROOT, m_progID, m_description);
    if (progID) {
        SetText(progID, "Display Name", m_displayName);
        CloseKey(CreateKey(progID, "CLSID", ALK_STORE_CLSID_TEXT));
        CloseKey(progID);
    }

    RegisterSpecialDefaults();
    ForEachPartnership([this](HCESVC partnership) { RegisterObjectType(partnership, kPartnershipObjects); });
    return S_OK;
}

void CRegistration::RegisterSpecialDefaults()
{
    for (int i = 0; i < kDeviceTypeCount; ++i) {
        char path[MAX_PATH];
        SpecialDefaultsPath(i, path);
        if (path[0]) RegisterObjectType(HKEY_LOCAL_MACHINE, path);
    }
}

void CRegistration::RegisterObjectType(HKEY parent, const char* path)
{
    HKEY objects = nullptr;
    if (RegOpenKeyExA(parent, path, 0, kAccess, &objects) != ERROR_SUCCESS) return;
    HKEY type = CreateKey(objects, m_objectType, m_objectDescription);
    RegCloseKey(objects);
    if (!type) return;
    SetText(type, "Display Name", m_displayName);
    SetText(type, "Plural Name", m_pluralName);
    SetText(type, "Store", m_progID);
    const DWORD disabled = 0;
    RegSetValueExA(type, "Disabled", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disabled), sizeof disabled);

    // "<module path>,-5": the icon by its resource id.
    char icon[MAX_PATH + 16];
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(m_modulePath), IDI_ALKSYNC};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1,-%2!d!", 0, 0, icon, sizeof icon,
                       reinterpret_cast<va_list*>(arguments))) {
        SetText(type, "DefaultIcon", icon);
    }
    RegCloseKey(type);
}

// --- unregistration --------------------------------------------------------------------------

HRESULT CRegistration::Unregister()
{
    // Without the strings there is nothing to find: the names come from them.
    if (!Load()) return S_OK;
    HKEY classes = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, kAccess, &classes) == ERROR_SUCCESS) {
        SHDeleteKeyA(classes, ALK_STORE_CLSID_TEXT);
        RegCloseKey(classes);
    }
    SHDeleteKeyA(HKEY_CLASSES_ROOT, m_progID);
    UnregisterSpecialDefaults();
    ForEachPartnership([this](HCESVC partnership) {
        HKEY objects = nullptr;
        if (RegOpenKeyExA(partnership, kPartnershipObjects, 0, kAccess, &objects) != ERROR_SUCCESS) return;
        SHDeleteKeyA(objects, m_objectType);
        RegCloseKey(objects);
    });
    return S_OK;
}

void CRegistration::UnregisterSpecialDefaults()
{
    for (int i = 0; i < kDeviceTypeCount; ++i) {
        char path[MAX_PATH];
        SpecialDefaultsPath(i, path);
        HKEY objects = nullptr;
        if (!path[0] || RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, kAccess, &objects) != ERROR_SUCCESS) continue;
        SHDeleteKeyA(objects, m_objectType);
        RegCloseKey(objects);
    }
}
