// The desktop's view of a connected device as AlkSync uses it: the manager's service-profile
// functions (partnerships and their keys) and the remote API calls that read the device's
// registry and files. Our own declarations; the double in sdk/activesync/rapi/ implements them
// (rapi.dll, exports by name, WINAPI).
//
// The Ce registry calls take and return what their Win32 namesakes do (wide texts, LONG error
// codes); a key they open is closed with CeRegCloseKey. CeGetFileAttributes answers
// INVALID_FILE_ATTRIBUTES (0xFFFFFFFF) for a missing file or a failed call. The service-profile
// functions return HRESULTs.
#pragma once

#include <windows.h>

#if defined(ALK_RAPI_BUILD)
#define ALK_RAPI_API extern "C" __declspec(dllexport)
#else
#define ALK_RAPI_API extern "C" __declspec(dllimport)
#endif

// An open service profile: a registry key of the manager's.
typedef HKEY HCESVC;

// CeSvcOpen's service code for a partnership's own key (read and write).
constexpr UINT CESVC_PARTNERSHIP = 3;

// The profile number of partnership `index` (0, 1, 2, ...); fails past the last one. A profile
// number may be 0xFFFFFFFF (the manager's "no partnership"); callers skip it.
ALK_RAPI_API HRESULT WINAPI CeSvcEnumProfiles(DWORD index, DWORD* profile);
ALK_RAPI_API HRESULT WINAPI CeSvcOpen(UINT service, DWORD profile, BOOL create, HCESVC* key);
// A REG_SZ value of the profile's key into buffer (chars: its size in characters, terminator
// included); fails for a missing value, another type, or one that does not fit.
ALK_RAPI_API HRESULT WINAPI CeSvcGetString(HCESVC key, LPCSTR name, LPSTR buffer, DWORD chars);
ALK_RAPI_API HRESULT WINAPI CeSvcClose(HCESVC key);

// The device's registry; key is HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT or a key
// these calls opened.
ALK_RAPI_API LONG WINAPI CeRegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
ALK_RAPI_API LONG WINAPI CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                           LPDWORD size);
ALK_RAPI_API LONG WINAPI CeRegCloseKey(HKEY key);
// Attributes of a file on the device (a device path: "\My Documents\x.dat").
ALK_RAPI_API DWORD WINAPI CeGetFileAttributes(LPCWSTR path);
