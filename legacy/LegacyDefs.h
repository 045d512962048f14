// Build switches of the Legacy library. Its one exported class is CLegacyImport: exported while
// building Legacy.dll (LEGACY_BUILD_DLL), imported by the desktop program, and neither in the
// static library alk_legacy that the tests link (LEGACY_STATIC).
#pragma once

#if defined(LEGACY_BUILD_DLL)
#define LEGACY_API __declspec(dllexport)
#elif defined(LEGACY_STATIC)
#define LEGACY_API
#else
#define LEGACY_API __declspec(dllimport)
#endif
