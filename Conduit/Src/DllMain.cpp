// The library entry function of AutolarkPalmConduit.dll (the module object does the work).
#include <windows.h>

#include "Conduit/Src/CConduit.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    return g_Conduit.OnLibraryEntry(instance, reason);
}
