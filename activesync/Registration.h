// What DllRegisterServer writes and DllUnregisterServer removes, in this order:
//
//   HKCR\CLSID\{4C015E55-F854-4fb2-9AD1-4642EF39C762}   (default) "Autolark Store"
//       InprocServer32                                  (default) the module's path
//                                                       "ThreadingModel" "Apartment"
//       ProgId                                          (default) "Quorrin.ALK.Store"
//   HKCR\Quorrin.ALK.Store                              (default) "Autolark Store"
//                                                       "Display Name" "Autolark"
//       CLSID                                           (default) the class id
//   the object type "ALK" under each existing Objects key of the manager's device-type defaults
//   (HKLM "SOFTWARE\Microsoft\Windows CE Services\SpecialDefaults\<type>\Services
//   \Synchronization\Objects", types "PocketPC" then "Smartphone"), and under
//   "Services\Synchronization\Objects" of each partnership whose "DeviceType" is one of them
//   (compared without regard to case; the profile number -1 is no partnership):
//       ALK   (default) "Autolark Object"   "Display Name" "Autolark"   "Plural Name" "Vehicles"
//             "Store" "Quorrin.ALK.Store"   "Disabled" DWORD 0   "DefaultIcon" "<module path>,-5"
//
// Keys are opened or created with read and write access; an Objects key that does not exist is
// not made, and no single write is checked: registration answers S_OK once the module's strings
// could be loaded (E_FAIL when one cannot). Unregistration deletes the class id and ProgID keys
// with all below them and every "ALK" key of the places above, and answers S_OK whatever it found.
// The class id's text is written exactly as given above (the manager's own keys spell it so).
#pragma once

#include <windows.h>

#include "sdk/activesync/CeServices.h"

#define ALK_STORE_CLSID_TEXT "{4C015E55-F854-4fb2-9AD1-4642EF39C762}"

class CRegistration {
public:
    CRegistration() = default;
    CRegistration(const CRegistration&) = delete;
    CRegistration& operator=(const CRegistration&) = delete;

    HRESULT Register();
    HRESULT Unregister();

private:
    // The module's path and the strings the registration writes; false when a string is missing.
    bool Load();
    void RegisterSpecialDefaults();
    // Creates "ALK" with its values under the existing key at path below parent.
    void RegisterObjectType(HKEY parent, const char* path);
    void UnregisterSpecialDefaults();
    // Whether the partnership's "DeviceType" names a supported device type.
    static bool IsSupportedDevice(HCESVC partnership);
    // Runs work on each partnership that IsSupportedDevice accepts.
    template <class Work>
    static void ForEachPartnership(Work work);
    // The device-type defaults' Objects path of device type `index`.
    static void SpecialDefaultsPath(int index, char (&path)[MAX_PATH]);

    char m_modulePath[MAX_PATH] = {};
    char m_description[256] = {};        // "Autolark Store"
    char m_displayName[256] = {};        // "Autolark"
    char m_pluralName[256] = {};         // "Vehicles"
    char m_objectType[256] = {};         // "ALK"
    char m_objectDescription[256] = {};  // "Autolark Object"
    char m_progID[256] = {};             // "Quorrin.ALK.Store"
};
