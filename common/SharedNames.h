// The names by which the deliverables find each other, written once. The desktop program, the
// Palm conduit (built with 8-bit strings, linking no other deliverable) and the ActiveSync
// provider include this header as it is: macros only, no code, no dependency.
// Each name comes in two forms, NAME a UTF-16 literal (L"...") and NAME_A the same text in 8 bits,
// so that both forms are always the same text.
//
//   ALK_SETTINGS_KEY         The settings key under HKEY_CURRENT_USER. The desktop program keeps
//                            its settings there and writes ALK_DB_PATH_VALUE each time it has
//                            connected a database file; the conduit and the ActiveSync provider
//                            read it from there. The device application keeps a value of that
//                            name under the same key name in the device's registry (its own
//                            database's path on the device).
//   ALK_DB_PATH_VALUE        "DBPath": the value of the settings key that names the database file
//                            (a text, the full path). The old version's settings key used the same
//                            name for its own database.
//   ALK_RELOAD_DATA_MESSAGE  The registered window message (WM_RELOAD_DATA) that a plug-in
//                            broadcasts, wParam 0 and lParam 0, without waiting, after a
//                            synchronisation that may have changed the desktop's data; a running
//                            desktop program reloads its views.
#pragma once

#define ALK_WIDE_TEXT_(text) L##text
#define ALK_WIDE_TEXT(text)  ALK_WIDE_TEXT_(text)

#define ALK_SETTINGS_KEY_A "Software\\Brellox Software\\Autolark"
#define ALK_SETTINGS_KEY   ALK_WIDE_TEXT(ALK_SETTINGS_KEY_A)

#define ALK_DB_PATH_VALUE_A "DBPath"
#define ALK_DB_PATH_VALUE   ALK_WIDE_TEXT(ALK_DB_PATH_VALUE_A)

#define ALK_RELOAD_DATA_MESSAGE_A "{5E75CC96-F6A3-4ebd-BB10-3F30C53EAC89}"
#define ALK_RELOAD_DATA_MESSAGE   ALK_WIDE_TEXT(ALK_RELOAD_DATA_MESSAGE_A)
