// The HotSync manager as a conduit sees it: the blocks the manager hands to a conduit's entry
// points, the remote-module call that reaches the handheld application, the manager's libraries
// (log, conduit manager, user data, link) and their result codes.
//
// These are our own declarations, written from what our conduit expects of its host; the four
// libraries behind them are our test doubles (HotSyncLog.dll, HotSyncConduits.dll,
// HotSyncUsers.dll, HotSyncLink.dll in this folder). Every function uses the C calling convention
// and only C types, so a library with its own C++ runtime can call another.
//
// Blocks keep the byte offsets the manager fixes; the static_asserts below hold them in both
// builds. Texts are 8-bit, in the ANSI code page, NUL-terminated within their arrays.
#pragma once

#include <windows.h>

#include <cstddef>

// --- entry-point blocks ----------------------------------------------------------------------

// What the manager knows about one synchronisation, given to OpenConduit.
struct HotSyncRunInfo {
    long syncType;      // HsSyncType
    char path[512];     // the folder that keeps the conduit's files of this run (ends with '\')
    char userName[64];  // the HotSync user
};
static_assert(offsetof(HotSyncRunInfo, path) == 4, "run info: path at 4");
static_assert(offsetof(HotSyncRunInfo, userName) == 516, "run info: user name at 516");

// The HotSync action of a user, given to ConfigureConduit.
struct HotSyncActionPrefs {
    char path[516];   // a folder of the conduit's (ends with '\')
    long preference;  // HsPreference, written by the conduit
    long syncType;    // the action of the next run; written with the action chosen
};
static_assert(offsetof(HotSyncActionPrefs, preference) == 516, "action prefs: preference at 516");
static_assert(offsetof(HotSyncActionPrefs, syncType) == 520, "action prefs: sync type at 520");

// The configuration request, given to CfgConduit (and built by ConfigureConduit).
struct ConduitConfigRequest {
    DWORD version;           // ConduitConfigRequestVersion
    DWORD size;              // sizeof(ConduitConfigRequest)
    DWORD showUserSettings;  // non-zero: show the default action and the user's settings too
    DWORD reserved;
    char userName[64];
    char text[256];
    long defaultSyncType;  // shown as the default action
    long nextSyncType;     // the action of the next run (the starting choice)
    long chosenSyncType;   // the action chosen (the result)
    long preference;       // HsPreference (the result)
};
enum { ConduitConfigRequestVersion = 1 };
static_assert(sizeof(ConduitConfigRequest) == 352, "config request: 352 bytes");
static_assert(offsetof(ConduitConfigRequest, userName) == 16, "config request: user name at 16");
static_assert(offsetof(ConduitConfigRequest, text) == 80, "config request: text at 80");
static_assert(offsetof(ConduitConfigRequest, defaultSyncType) == 336, "config request: default type at 336");
static_assert(offsetof(ConduitConfigRequest, nextSyncType) == 340, "config request: next type at 340");
static_assert(offsetof(ConduitConfigRequest, chosenSyncType) == 344, "config request: chosen type at 344");
static_assert(offsetof(ConduitConfigRequest, preference) == 348, "config request: preference at 348");

// The input block of the name query (GetConduitInfo with HsInfoName): a version and a size the
// conduit checks; the rest is the manager's.
struct ConduitInfoQuery {
    DWORD version;  // ConduitInfoQueryVersion
    DWORD size;     // sizeof(ConduitInfoQuery)
    BYTE rest[72];
};
enum { ConduitInfoQueryVersion = 1 };
static_assert(sizeof(ConduitInfoQuery) == 80, "info query: 80 bytes");

enum HsSyncType {
    HsSyncFast = 0,
    HsSyncSlow = 1,
    HsSyncHandheldToDesktop = 2,
    HsSyncDesktopToHandheld = 3,
    HsSyncDoNothing = 6
};

enum HsPreference {
    HsPreferenceEveryRun = 1,  // the action holds for every later HotSync
    HsPreferenceNextRun = 2    // for the next HotSync only
};

enum HsInfoType { HsInfoName = 0 };

// The conduit's results that the manager tells apart (besides 0, success).
enum HsConduitError {
    HsErrUnknownType = 4208,  // information or configuration type not known
    HsErrNoOutput = 4209,
    HsErrOutputTooSmall = 4211,
    HsErrNoInput = 4212,
    HsErrBadInput = 4213,  // input block with a wrong version or size
    HsErrNameFailed = 4214,
    HsErrNoOutputSize = 4215,
    HsErrNoBlockSize = 4216,
    HsErrBadConfigType = 4217,
    HsErrBadBlockSize = 4218,
    HsErrBadBlockVersion = 4219
};

// Progress display: one text a call.
typedef void (*HsProgressFn)(const char* text);

// The six entry points of a conduit, as the manager finds them by name.
typedef long (*OpenConduitFn)(HsProgressFn progress, HotSyncRunInfo* runInfo);
typedef long (*GetConduitNameFn)(char* name, WORD length);
typedef long (*GetConduitVersionFn)();
typedef long (*ConfigureConduitFn)(HotSyncActionPrefs* prefs);
typedef long (*GetConduitInfoFn)(long infoType, void* input, void* output, DWORD* size);
typedef long (*CfgConduitFn)(long configType, void* request, DWORD* size);

// --- the remote-module call --------------------------------------------------------------------

// Four characters packed with the first in the most significant byte.
constexpr DWORD HsFourCC(char a, char b, char c, char d)
{
    return (static_cast<DWORD>(static_cast<BYTE>(a)) << 24) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 16) |
           (static_cast<DWORD>(static_cast<BYTE>(c)) << 8) | static_cast<DWORD>(static_cast<BYTE>(d));
}

// One call of a handheld application's action. Laid out without padding: 38 bytes in the 32-bit
// build (pointers are 8 bytes in the x86_64 test build).
#pragma pack(push, 1)
struct RemoteCallBlock {
    DWORD creator;    // the application's creator id, HsFourCC
    DWORD type;       // its type id, HsFourCC
    WORD action;      // the application's action code
    DWORD paramSize;  // bytes at param
    void* param;
    DWORD resultBufferSize;  // bytes at resultBuffer (0 when the call expects no reply)
    void* resultBuffer;
    DWORD handheldResult;  // out: the application's own result code (0 before the call)
    DWORD resultSize;      // out: bytes the application put into resultBuffer (0 before)
    DWORD reserved;        // 0
};
#pragma pack(pop)
static_assert(sizeof(RemoteCallBlock) == 30 + 2 * sizeof(void*), "call block: no padding");
static_assert(offsetof(RemoteCallBlock, paramSize) == 10, "call block: parameter size at 10");

// Results of the manager's calls. Besides success the conduit tells six apart.
enum HsResult : long {
    HsOk = 0,
    HsOkToo = 0x4012,   // also a success
    HsNoLink = 0x400A,  // no handheld application answers (the link is gone)
    HsResult4013 = 0x4013,
    HsResult4015 = 0x4015,
    HsRemoteFailed = 0x4019,  // the application failed: its own code is in handheldResult
    HsResult10006410 = 0x10006410
};

// Log activities: 30 a run that failed or lost its changes, 22 one that went on or was undone.
enum HsLogActivity { HsLogNotice = 22, HsLogFailure = 30 };

// A handler that answers remote calls in place of a handheld (installed with
// HsSimSetRemoteHandler); its result is the call's result.
typedef long (*HsRemoteHandler)(RemoteCallBlock* call, void* context);

extern "C" {

// --- HotSyncLog.dll --------------------------------------------------------------------------
// Adds an entry to the log; exported as ordinal 52 only, without a name. The double writes each
// entry as a line "activity TAB timeStamp TAB text" to the log file its host set.
void __cdecl HsLogWrite(const char* line, long activity, long timeStamp);
// Host set-up: the log file (appended to; null: entries are dropped).
void __cdecl HsSimSetLogFile(const char* path);

// --- HotSyncConduits.dll ---------------------------------------------------------------------
// Sizes go in as the buffer's bytes and come out as the text's length. 0 is success; a short
// buffer, an unset core folder or an unknown creator fail (non-zero, the buffer untouched).
long __cdecl CmGetCorePath(char* path, long* size);
long __cdecl CmGetCreatorDirectory(const char* creator, char* folder, long* size);
// Host set-up: the core folder (null: unset); the folder of a creator id (null: none).
void __cdecl HsSimSetCorePath(const char* path);
void __cdecl HsSimSetCreatorDirectory(const char* creator, const char* folder);

// --- HotSyncUsers.dll ------------------------------------------------------------------------
// 0 is success; an unknown user fails (non-zero).
long __cdecl UmGetIDFromName(const char* userName, DWORD* userId);
// The user's folder: a result above 0 (the bytes written, NUL included) is success; an unknown
// id, a user without a folder or a short buffer give a result of 0 or less.
long __cdecl UmGetUserDirectory(DWORD userId, char* folder, long* size);
// Host set-up: a user with an id and a folder (null: the user has none); all users gone.
void __cdecl HsSimAddUser(const char* userName, DWORD userId, const char* folder);
void __cdecl HsSimClearUsers();

// --- HotSyncLink.dll -------------------------------------------------------------------------
// Hands the call to the host's handler; HsNoLink without one.
long __cdecl SyncCallRemoteModule(RemoteCallBlock* call);
// Host set-up: the handler (null: none) and the context it is given.
void __cdecl HsSimSetRemoteHandler(HsRemoteHandler handler, void* context);

}  // extern "C"
