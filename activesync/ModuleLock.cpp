#include "activesync/ModuleLock.h"

#include "common/Assert.h"

namespace {

volatile LONG g_lockCount = 0;

}  // namespace

void CModuleLock::Lock()
{
    InterlockedIncrement(&g_lockCount);
}

void CModuleLock::Unlock()
{
    const LONG count = InterlockedDecrement(&g_lockCount);
    // An unlock without its lock: a store destroyed twice, or LockServer(FALSE) unmatched.
    ALK_ASSERT(count >= 0);
}

LONG CModuleLock::Count()
{
    return InterlockedCompareExchange(&g_lockCount, 0, 0);
}
