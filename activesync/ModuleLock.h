// The module lock count of AlkSync: while it is above 0 the module must stay loaded. Every store
// counts itself from construction to destruction, and the class factory's LockServer moves it
// too; class factories themselves do not count. Changed only atomically, from any thread.
#pragma once

#include <windows.h>

class CModuleLock {
public:
    static void Lock();
    static void Unlock();
    static LONG Count();
};
