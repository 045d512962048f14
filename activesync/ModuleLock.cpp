#include "activesync/ModuleLock.h"

namespace {

volatile LONG g_lockCount = 0;

}  // namespace

void CModuleLock::Lock()
{
    InterlockedIncrement(&g_lockCount);
}

void CModuleLock::Unlock()
{
    InterlockedDecrement(&g_lockCount);
}

LONG CModuleLock::Count()
{
    return InterlockedCompareExchange(&g_lockCount, 0, 0);
}
