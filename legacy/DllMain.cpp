// Entry point of Legacy.dll. The application object (a global) is constructed before this is
// called and destroyed after the last call.
#include <windows.h>

#include "legacy/LegacyApp.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH: DisableThreadLibraryCalls(instance); return theApp.AttachModule(instance);
    case DLL_PROCESS_DETACH: theApp.DetachModule(); return TRUE;
    default: return TRUE;
    }
}
