// Build switches shared by every AlkBiz header.
//
// One source base is compiled two ways:
//  - the shared library AlkBiz.dll (the wide build): texts at the interface are UTF-16
//    (`wchar_t`), classes are exported (ALKBIZ_BUILD_DLL while building the DLL, imported by
//    clients), records are allocated through CBaseObject's class-level operator new/delete;
//  - the static library AlkBiz8 (the 8-bit build, ALKBIZ_8BIT defined for it and its clients):
//    texts are `char` and stored byte for byte, nothing is exported or imported, records use the
//    global allocator.
#pragma once

#include <windows.h>

#if defined(ALKBIZ_8BIT)
#define ALKBIZ_API
#define ALKBIZ_WIDE 0
typedef char AlkChar;
#define ALK_T(s) s
#else
#if defined(ALKBIZ_BUILD_DLL)
#define ALKBIZ_API __declspec(dllexport)
#else
#define ALKBIZ_API __declspec(dllimport)
#endif
#define ALKBIZ_WIDE 1
typedef wchar_t AlkChar;
#define ALK_T(s)    L##s
#endif

// The database engine's types appear only as pointers in the interface; clients need no
// engine header.
struct sqlite3;
struct sqlite3_stmt;
