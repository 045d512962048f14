// HotSyncLink.dll, the double of the manager's link to the handheld: every remote-module call
// goes to the handler its host installed (the handheld double, or a test's scripted answers).
#include <windows.h>

#include "sdk/hotsync/HotSync.h"

namespace {

HsRemoteHandler g_handler = nullptr;
void* g_context = nullptr;

}  // namespace

void __cdecl HsSimSetRemoteHandler(HsRemoteHandler handler, void* context)
{
    g_handler = handler;
    g_context = context;
}

long __cdecl SyncCallRemoteModule(RemoteCallBlock* call)
{
    if (!g_handler || !call) return HsNoLink;
    return g_handler(call, g_context);
}
