#include "activesync/Registration.h"

#include <shlwapi.h>

#include "activesync/CeKey.h"
#include "framework/Module.h"
#include "framework/RegKey.h"
#include "resources/activesync/resource.h"

namespace {

const char* const kDeviceTypes[] = {"PocketPC", "Smartphone"};
const int kDeviceTypeCount = sizeof kDeviceTypes / sizeof *kDeviceTypes;
const char kPartnershipObjects[] = "Services\\Synchronization\\Objects";
const REGSAM kAccess = KEY_READ | KEY_WRITE;

// Creates (or opens) parent\path into key and gives its default value `text`; false when the key
// cannot be made.
bool CreateKey(CRegKey& key, HKEY parent, const char* path, const char* text)
{
    if (key.Create(parent, path, nullptr, REG_OPTION_NON_VOLATILE, kAccess) != ERROR_SUCCESS) return false;
    if (text) key.SetStringValue(nullptr, text);
    return true;
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
        CCeKey partnership(&CeSvcClose);
        if (FAILED(CeSvcOpen(CESVC_PARTNERSHIP, profile, FALSE, &partnership.m_key)) || !partnership.m_key) continue;
        if (IsSupportedDevice(partnership.m_key)) work(partnership.m_key);
    }
}

// --- registration ----------------------------------------------------------------------------

HRESULT CRegistration::Register()
{
    if (!Load()) return E_FAIL;

    CRegKey clsid;
    if (CreateKey(clsid, HKEY_CLASSES_ROOT, "CLSID\\" ALK_STORE_CLSID_TEXT, m_description)) {
        CRegKey server, progID;
        const bool made = CreateKey(server, clsid, "InprocServer32", m_modulePath);
        CreateKey(progID, clsid, "ProgId", m_progID);
        if (made) server.SetStringValue("ThreadingModel", "Apartment");
    }
    CRegKey progID;
    if (CreateKey(progID, HKEY_CLASSES_ROOT, m_progID, m_description)) {
        progID.SetStringValue("Display Name", m_displayName);
        CRegKey clsidOfProgID;
        CreateKey(clsidOfProgID, progID, "CLSID", ALK_STORE_CLSID_TEXT);
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
    CRegKey type;
    {
        CRegKey objects;
        if (objects.Open(parent, path, kAccess) != ERROR_SUCCESS) return;
        if (!CreateKey(type, objects, m_objectType, m_objectDescription)) return;
    }
    type.SetStringValue("Display Name", m_displayName);
    type.SetStringValue("Plural Name", m_pluralName);
    type.SetStringValue("Store", m_progID);
    type.SetDWORDValue("Disabled", 0);

    // "<module path>,-5": the icon by its resource id.
    char icon[MAX_PATH + 16];
    DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(m_modulePath), IDI_ALKSYNC};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1,-%2!d!", 0, 0, icon, sizeof icon,
                       reinterpret_cast<va_list*>(arguments))) {
        type.SetStringValue("DefaultIcon", icon);
    }
}

// --- unregistration --------------------------------------------------------------------------

HRESULT CRegistration::Unregister()
{
    // Without the strings there is nothing to find: the names come from them.
    if (!Load()) return S_OK;
    {
        CRegKey classes;
        if (classes.Open(HKEY_CLASSES_ROOT, "CLSID", kAccess) == ERROR_SUCCESS)
            SHDeleteKeyA(classes, ALK_STORE_CLSID_TEXT);
    }
    SHDeleteKeyA(HKEY_CLASSES_ROOT, m_progID);
    UnregisterSpecialDefaults();
    ForEachPartnership([this](HCESVC partnership) {
        CRegKey objects;
        if (objects.Open(partnership, kPartnershipObjects, kAccess) == ERROR_SUCCESS)
            SHDeleteKeyA(objects, m_objectType);
    });
    return S_OK;
}

void CRegistration::UnregisterSpecialDefaults()
{
    for (int i = 0; i < kDeviceTypeCount; ++i) {
        char path[MAX_PATH];
        SpecialDefaultsPath(i, path);
        CRegKey objects;
        if (!path[0] || objects.Open(HKEY_LOCAL_MACHINE, path, kAccess) != ERROR_SUCCESS) continue;
        SHDeleteKeyA(objects, m_objectType);
    }
}
