// rapi.dll, the double of the device connection: the manager's service profiles and the remote
// API, answered from the state described in sdk/activesync/DeviceState.h. Every call reads that
// state afresh, so a test may change it between two calls of the code under test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sdk/activesync/CeServices.h"
#include "sdk/activesync/DeviceState.h"

namespace {

DWORD ReadDword(const wchar_t* key, const wchar_t* name, DWORD fallback)
{
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, &type, &value, &size) != ERROR_SUCCESS) {
        return fallback;
    }
    return value;
}

// Counts one remote call and tells whether the device answers it.
bool RapiCall()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        DWORD calls = ReadDword(ALK_SDK_DEVICE_KEY, L"RapiCalls", 0) + 1;
        RegSetValueExW(key, L"RapiCalls", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls), sizeof calls);
        RegCloseKey(key);
    }
    if (ReadDword(ALK_SDK_DEVICE_KEY, L"Connected", 0) != 0) return true;
    SetLastError(ERROR_NOT_CONNECTED);
    return false;
}

// The desktop key standing for a device root key, or null for another handle.
const wchar_t* DeviceRoot(HKEY key)
{
    if (key == HKEY_CURRENT_USER) return ALK_SDK_DEVICE_REGISTRY L"\\HKCU";
    if (key == HKEY_LOCAL_MACHINE) return ALK_SDK_DEVICE_REGISTRY L"\\HKLM";
    if (key == HKEY_CLASSES_ROOT) return ALK_SDK_DEVICE_REGISTRY L"\\HKCR";
    return nullptr;
}

}  // namespace

// --- service profiles ------------------------------------------------------------------------

HRESULT WINAPI CeSvcEnumProfiles(DWORD index, DWORD* profile)
{
    if (!profile) return E_POINTER;
    HKEY partners = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ALK_SDK_PARTNERS_KEY, 0, KEY_READ, &partners) != ERROR_SUCCESS) {
        return HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS);
    }
    wchar_t name[32];
    DWORD chars = 32;
    const LONG result = RegEnumKeyExW(partners, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(partners);
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
    wchar_t* end = nullptr;
    const long number = std::wcstol(name, &end, 10);
    if (end == name || *end) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    *profile = static_cast<DWORD>(number);
    return S_OK;
}

HRESULT WINAPI CeSvcOpen(UINT service, DWORD profile, BOOL create, HCESVC* key)
{
    if (!key) return E_POINTER;
    *key = nullptr;
    if (service != CESVC_PARTNERSHIP) return E_INVALIDARG;
    wchar_t path[128];
    std::swprintf(path, 128, L"%ls\\%ld", ALK_SDK_PARTNERS_KEY, static_cast<long>(static_cast<LONG>(profile)));
    const LONG result =
        create ? RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key, nullptr)
               : RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ | KEY_WRITE, key);
    return HRESULT_FROM_WIN32(result);
}

HRESULT WINAPI CeSvcGetString(HCESVC key, LPCSTR name, LPSTR buffer, DWORD chars)
{
    if (!key || !buffer || chars == 0) return E_INVALIDARG;
    DWORD size = chars;
    const LONG result = RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    if (result != ERROR_SUCCESS) buffer[0] = 0;
    return HRESULT_FROM_WIN32(result);
}

HRESULT WINAPI CeSvcClose(HCESVC key)
{
    if (!key) return E_INVALIDARG;
    const LONG result = RegCloseKey(key);  // not inside the macro: it names its argument twice
    return HRESULT_FROM_WIN32(result);
}

// --- remote API ------------------------------------------------------------------------------

LONG WINAPI CeRegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result)
{
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (!RapiCall()) return ERROR_NOT_CONNECTED;
    if (const wchar_t* root = DeviceRoot(key)) {
        std::wstring path = root;
        if (subKey && *subKey) path += std::wstring(L"\\") + subKey;
        return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, result);
    }
    return RegOpenKeyExW(key, subKey, 0, access, result);
}

LONG WINAPI CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    if (!RapiCall()) return ERROR_NOT_CONNECTED;
    if (DeviceRoot(key)) return ERROR_INVALID_HANDLE;
    return RegQueryValueExW(key, name, reserved, type, data, size);
}

LONG WINAPI CeRegCloseKey(HKEY key)
{
    // The handle is the desktop's: it is closed even when the device no longer answers.
    const bool connected = RapiCall();
    if (DeviceRoot(key)) return ERROR_INVALID_HANDLE;
    const LONG result = RegCloseKey(key);
    return connected ? result : ERROR_NOT_CONNECTED;
}

DWORD WINAPI CeGetFileAttributes(LPCWSTR path)
{
    if (!RapiCall()) return INVALID_FILE_ATTRIBUTES;
    if (!path || path[0] != L'\\') {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_FILE_ATTRIBUTES;
    }
    wchar_t root[MAX_PATH];
    DWORD size = sizeof root;
    if (RegGetValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, L"Root", RRF_RT_REG_SZ, nullptr, root, &size) !=
        ERROR_SUCCESS) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::wstring local = root;
    while (!local.empty() && local.back() == L'\\') local.pop_back();
    return GetFileAttributesW((local + path).c_str());
}
