// AlkSync.dll: the ActiveSync provider as a COM in-process server. Its entry function keeps the
// module's instance in the framework's module object (the source of its strings, icon and
// dialog); its four exports (by ordinal, AlkSync.def) hand out the store's class factory,
// answer whether the module may be unloaded, and write or remove its registration.
#include <windows.h>

#include <objbase.h>

#include "activesync/ClassFactory.h"
#include "activesync/ModuleLock.h"
#include "activesync/Registration.h"
#include "framework/Module.h"

namespace {

CAppModule g_module;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module.Init(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded by FreeLibrary (COM letting an unused server go): the module's window classes
        // go with it. At the end of the process there is nothing left to tidy.
        g_module.Term();
    }
    return TRUE;
}

// Stores and LockServer count; an existing class factory does not.
STDAPI DllCanUnloadNow()
{
    return CModuleLock::Count() == 0 ? S_OK : S_FALSE;
}

// Every class id is answered with the store's factory: the module has one class.
STDAPI DllGetClassObject(REFCLSID, REFIID iid, LPVOID* out)
{
    return CClassFactory::GetClassObject(iid, out);
}

STDAPI DllRegisterServer()
{
    return CRegistration().Register();
}

STDAPI DllUnregisterServer()
{
    return CRegistration().Unregister();
}
