// A conduit that breaks the link's rules on purpose, for the tests of HotSyncSim.exe: its run
// makes one remote call with another application's creator id, which the handheld double must
// refuse and report (HotSyncSim then ends with exit code 4). Its other entry points only answer.
#include <windows.h>

#include "sdk/hotsync/HotSync.h"

extern "C" long OpenConduit(HsProgressFn, HotSyncRunInfo*)
{
    static BYTE reply[64000];
    BYTE request[8] = {};
    RemoteCallBlock call{};
    call.creator = HsFourCC('x', 'L', 'R', 'K');
    call.type = HsFourCC('a', 'p', 'p', 'l');
    call.action = 0;
    call.paramSize = sizeof request;
    call.param = request;
    call.resultBufferSize = sizeof reply;
    call.resultBuffer = reply;
    SyncCallRemoteModule(&call);
    return 0;
}

extern "C" long GetConduitName(char* name, WORD length)
{
    if (length > 0) lstrcpynA(name, "Breach", length);
    return 0;
}

extern "C" long GetConduitVersion()
{
    return 0x0305;
}

extern "C" long ConfigureConduit(HotSyncActionPrefs*)
{
    return -1;
}

extern "C" long GetConduitInfo(long, void*, void*, DWORD*)
{
    return HsErrUnknownType;
}

extern "C" long CfgConduit(long, void*, DWORD*)
{
    return HsErrUnknownType;
}
