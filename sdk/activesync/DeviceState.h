// Where the doubles of the device side keep their state: the Wine prefix's own registry, under
// HKEY_CURRENT_USER "Software\AlkSdk\ActiveSync". Tests and the manager double write it; rapi.dll
// and CReplNotifyDouble read it on every call.
//
//   Partners\<profile>          one key per partnership, named by its profile number in decimal
//                               ("-1" allowed); CeSvcOpen(CESVC_PARTNERSHIP) opens it read/write
//   Device  "Root"        SZ    a desktop folder standing for the device's file system: the
//                               device path "\x\y" is <Root>\x\y
//           "Connected"   DWORD non-zero: the device answers the remote API; 0 or missing: every
//                               Ce registry and file call fails (ERROR_NOT_CONNECTED)
//           "SyncValue"   DWORD the device application's answer to synchronisation-data code 2;
//                               missing: the query fails
//           "QueryFails"  DWORD non-zero: every QueryDevice fails
//           "RapiCalls"   DWORD counts the remote API calls (registry and file), failed ones too
//   Device\Registry\HKCU  the device's HKEY_CURRENT_USER (HKLM, HKCR beside it)
//
// Messages sent to the device's user (synchronisation-data code 10) are appended to
// <Root>\Messages.txt, one UTF-8 line each, ending in CR LF.
#pragma once

#define ALK_SDK_ACTIVESYNC_KEY  L"Software\\AlkSdk\\ActiveSync"
#define ALK_SDK_PARTNERS_KEY    ALK_SDK_ACTIVESYNC_KEY L"\\Partners"
#define ALK_SDK_DEVICE_KEY      ALK_SDK_ACTIVESYNC_KEY L"\\Device"
#define ALK_SDK_DEVICE_REGISTRY ALK_SDK_DEVICE_KEY L"\\Registry"
#define ALK_SDK_MESSAGES_FILE   L"Messages.txt"
