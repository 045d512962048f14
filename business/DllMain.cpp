// AlkBiz does nothing when it is loaded or unloaded: no thread, window or registry value.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
