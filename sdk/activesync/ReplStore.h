// The desktop side of the ActiveSync service manager as a provider sees it: the store interface a
// provider implements (IReplStore), the object handler that turns objects into packets and back
// (IReplObjHandler), the manager's callback (IReplNotify), the structures they exchange and the
// codes they use. Our own declarations, written from what AlkSync needs of the platform; the
// field names and the ids not fixed by the provider's contract are ours.
//
// Every structure is ANSI (8-bit texts in fixed arrays) and laid out with the compiler's natural
// alignment. The 32-bit sizes are the platform's: a caller fills in the size field and a provider
// refuses any other value. The x86_64 test build has larger ones (8-byte pointers and handles);
// both are held by static_assert below.
#pragma once

#include <windows.h>

#include <objbase.h>

// Handles of the provider's objects, opaque to the manager: it keeps them, turns them into bytes
// (ObjectToBytes) and back (BytesToObject) between synchronisations, and frees them (FreeObject).
// A folder and an item handle are the same type.
typedef struct ReplObjectHandle__* HREPLOBJ;
typedef HREPLOBJ HREPLITEM;
typedef HREPLOBJ HREPLFLD;

// --- Codes -----------------------------------------------------------------------------------

// clang-format off
// Initialize's flags.
constexpr UINT REPL_INIT_SELECTED_DEVICE = 0x1;  // made for the device selected in the manager, not a connected one
constexpr UINT REPL_INIT_REMOTE          = 0x2;  // remote connection: no desktop user interface may be shown

// STOREINFO::flags.
constexpr UINT REPL_STORE_SINGLE_THREADED = 0x1;  // the manager calls the store from one thread
constexpr UINT REPL_STORE_SIMULATE_RTS    = 0x2;  // simulated real-time synchronisation (the timer below)

// ReportStatus's status codes the provider acts on (others exist and are ignored).
constexpr UINT REPL_STATUS_SYNC_END = 2;  // a synchronisation ended
constexpr UINT REPL_STATUS_RELEASE  = 6;  // the manager is about to release the store

// IReplNotify::QueryDevice codes, and the synchronisation-data codes of an SDREQUEST.
constexpr UINT REPL_QUERY_SYNC_DATA      = 5;   // data: an SDREQUEST*
constexpr UINT REPL_SYNCDATA_STORE_VALUE = 2;   // get: the device application's 32-bit store value
constexpr UINT REPL_SYNCDATA_MESSAGE     = 10;  // set: a UTF-16 message text for the device's user

// REPLSETUP::flags.
constexpr UINT REPL_SETUP_NEW_OBJECT = 0x2;  // the object being written is new to the desktop

// Results of this interface family (HRESULTs of facility 0x14).
constexpr HRESULT REPL_S_LAST_PACKET          = 0x00140001L;
constexpr HRESULT REPL_E_STORE_REPLACED       = static_cast<HRESULT>(0x80140002UL);
constexpr HRESULT REPL_E_USER_CANCELLED       = static_cast<HRESULT>(0x80140003UL);
constexpr HRESULT REPL_E_DUPLICATES_DELETED   = static_cast<HRESULT>(0x80140004UL);
constexpr HRESULT REPL_E_IGNORE_CONFLICT      = static_cast<HRESULT>(0x80140005UL);
constexpr HRESULT REPL_E_OBJECT_GONE          = static_cast<HRESULT>(0x80140007UL);
constexpr HRESULT REPL_E_DATABASE_UNAVAILABLE = static_cast<HRESULT>(0x80140008UL);
constexpr HRESULT REPL_E_CANNOT_STORE         = static_cast<HRESULT>(0x80140100UL);
constexpr HRESULT REPL_E_NOTHING_TO_SEND      = static_cast<HRESULT>(0x80140101UL);
// clang-format on

// --- Structures ------------------------------------------------------------------------------

// What the store tells the manager about itself (GetStoreInfo).
struct STOREINFO {
    UINT size;              // in: sizeof(STOREINFO)
    UINT flags;             // REPL_STORE_*
    char progId[256];       // the store's COM ProgID
    char description[200];  // shown to the user
    UINT timerResolution;   // milliseconds between simulated real-time checks
    UINT maxStoreIdSize;    // in: bytes available at storeId
    UINT storeIdSize;       // out: bytes the store id needs
    BYTE* storeId;          // in: the manager's buffer (may be null)
};

// An object changed on both sides: the store names both for the user (GetConflictInfo).
struct CONFINFO {
    UINT size;  // in: sizeof(CONFINFO)
    HREPLFLD folder;
    HREPLITEM localItem;
    HREPLITEM remoteItem;
    char localType[100];
    char localDescription[512];
    char remoteType[100];
    char remoteDescription[512];
};

// How the manager shows the store's object type (GetObjTypeUIData). The icons become the
// manager's.
struct OBJUIDATA {
    UINT size;  // in: sizeof(OBJUIDATA)
    HICON largeIcon;
    HICON smallIcon;
    char name[260];
    char syncText[260];
    char typeText[80];
    char pluralTypeText[80];
};

// One object being read from or written to the desktop (IReplObjHandler).
struct REPLSETUP {
    UINT size;
    BOOL read;   // TRUE: desktop to device (GetPacket); FALSE: device to desktop (SetPacket)
    UINT flags;  // REPL_SETUP_*
    HREPLFLD folder;
    HREPLITEM item;  // for a new object the handler stores the item it made here
};

// A synchronisation-data exchange with the device application (QueryDevice code 5).
struct SDREQUEST {
    char objectType[100];  // the store's object type name
    BOOL set;              // TRUE: data goes to the device; FALSE: the device fills data
    UINT code;             // REPL_SYNCDATA_*
    BYTE* data;
    UINT dataSize;  // bytes at data
};

#if defined(_WIN64)
static_assert(sizeof(STOREINFO) == 488, "STOREINFO, x86_64");
static_assert(sizeof(CONFINFO) == 1256, "CONFINFO, x86_64");
static_assert(sizeof(OBJUIDATA) == 704, "OBJUIDATA, x86_64");
static_assert(sizeof(REPLSETUP) == 32, "REPLSETUP, x86_64");
static_assert(sizeof(SDREQUEST) == 128, "SDREQUEST, x86_64");
#else
static_assert(sizeof(STOREINFO) == 480, "STOREINFO");
static_assert(sizeof(CONFINFO) == 1240, "CONFINFO");
static_assert(sizeof(OBJUIDATA) == 692, "OBJUIDATA");
static_assert(sizeof(REPLSETUP) == 20, "REPLSETUP");
static_assert(sizeof(SDREQUEST) == 116, "SDREQUEST");
#endif

// --- Interfaces ------------------------------------------------------------------------------

// {A417BC0F-7BE1-11CE-AD82-00AA006EC559}
inline constexpr IID IID_IReplStore = {0xA417BC0F, 0x7BE1, 0x11CE, {0xAD, 0x82, 0x00, 0xAA, 0x00, 0x6E, 0xC5, 0x59}};
// Ours: the manager never asks a handler or itself for these by id.
// {480746C4-CCE2-41FC-B4F6-3C6215FCE8C9}
inline constexpr IID IID_IReplObjHandler = {
    0x480746C4, 0xCCE2, 0x41FC, {0xB4, 0xF6, 0x3C, 0x62, 0x15, 0xFC, 0xE8, 0xC9}};
// {D16AD52A-B80D-4B29-8E86-6A9216E8BCC7}
inline constexpr IID IID_IReplNotify = {0xD16AD52A, 0xB80D, 0x4B29, {0x8E, 0x86, 0x6A, 0x92, 0x16, 0xE8, 0xBC, 0xC7}};

// The manager's callback, given to IReplStore::Initialize.
struct IReplNotify : public IUnknown {
    // A window to own the store's user interface (flags 0).
    virtual HWND STDMETHODCALLTYPE GetWindow(UINT flags) = 0;
    // A question to the device; code REPL_QUERY_SYNC_DATA takes an SDREQUEST*.
    virtual HRESULT STDMETHODCALLTYPE QueryDevice(UINT code, void* data) = 0;
};

// Turns one object into packets for the device and back. Per object the manager calls Setup,
// then GetPacket (reading) until REPL_S_LAST_PACKET or SetPacket (writing), then Reset.
// GetFolderInfo hands the handler out; the manager uses it without QueryInterface.
struct IReplObjHandler : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Setup(REPLSETUP* setup) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset(REPLSETUP* setup) = 0;
    // out: the packet, owned by the handler until Reset or the next GetPacket.
    virtual HRESULT STDMETHODCALLTYPE GetPacket(BYTE** data, DWORD* size, DWORD recommendedSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPacket(BYTE* data, DWORD size) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteObj(REPLSETUP* setup) = 0;
};

// The store: the one object through which the manager reaches the desktop data. Slot order is
// the contract.
struct IReplStore : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Initialize(IReplNotify* notify, UINT flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStoreInfo(STOREINFO* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportStatus(HREPLFLD folder, HREPLITEM item, UINT status, UINT param) = 0;
    // -1, 0 or 1.
    virtual int STDMETHODCALLTYPE CompareStoreIDs(BYTE* id1, UINT size1, BYTE* id2, UINT size2) = 0;
    virtual int STDMETHODCALLTYPE CompareItem(HREPLITEM item1, HREPLITEM item2) = 0;
    virtual BOOL STDMETHODCALLTYPE IsItemChanged(HREPLFLD folder, HREPLITEM item, HREPLITEM comparison) = 0;
    virtual BOOL STDMETHODCALLTYPE IsItemReplicated(HREPLFLD folder, HREPLITEM item) = 0;
    virtual void STDMETHODCALLTYPE UpdateItem(HREPLFLD folder, HREPLITEM destination, HREPLITEM source) = 0;
    // handler: out, the folder's IReplObjHandler (as its IUnknown: the same pointer).
    virtual HRESULT STDMETHODCALLTYPE GetFolderInfo(char* objectType, HREPLFLD* folder, IUnknown** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsFolderChanged(HREPLFLD folder, BOOL* changed) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindNextItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindItemClose(HREPLFLD folder) = 0;
    // The handle's bytes into buffer (when given); returns their count.
    virtual UINT STDMETHODCALLTYPE ObjectToBytes(HREPLOBJ object, BYTE* buffer) = 0;
    virtual HREPLOBJ STDMETHODCALLTYPE BytesToObject(BYTE* bytes, UINT size) = 0;
    virtual void STDMETHODCALLTYPE FreeObject(HREPLOBJ object) = 0;
    virtual BOOL STDMETHODCALLTYPE CopyObject(HREPLOBJ source, HREPLOBJ destination) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsValidObject(HREPLFLD folder, HREPLOBJ object, UINT flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE ActivateDialog(UINT dialog, HWND owner, HREPLFLD folder,
                                                     IUnknown* itemEnumerator) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjTypeUIData(HREPLFLD folder, OBJUIDATA* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConflictInfo(CONFINFO* info) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveDuplicates(char* objectType, UINT flags) = 0;
};
