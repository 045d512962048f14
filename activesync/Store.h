// The store (IReplStore): the one object through which the ActiveSync manager reaches the
// desktop database. It checks at Initialize that the device application and the desktop program
// both have a database, names the store by its 8-byte id, answers for the store as a whole,
// shows or forwards error messages, broadcasts the reload message after a synchronisation that
// changed desktop data, and hands every folder and item question to its folder (CFolderImpl).
//
// Store id (8 bytes, kept by the manager): bytes 0-3 the desktop database's store id, bytes 4-7
// the value the device application returns for synchronisation-data code 2 (never 0), both
// unsigned 32-bit little-endian.
//
// The manager calls a store from one thread; every database access goes through a session of
// its own (CSyncDataLayer). A store counts in the module lock count from construction to
// destruction.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "common/SharedNames.h"  // the settings key and its database path value (desktop and device), the reload message
#include "framework/ComObject.h"
#include "framework/ComPtr.h"
#include "sdk/activesync/ReplStore.h"

class CStore : public CComObjectImpl<CStore, IReplStore> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IReplStore)

    enum : UINT {
        flagInitialized = 0x80000000,  // set once Initialize succeeded
        StoreIDSize = 8,
        TimerResolution = 2000,  // milliseconds
    };

    CStore();
    ~CStore() override;

    // Keeps the callback (releasing one held from before) and the flags; unless the call is for
    // the selected device, checks through the remote API that the device has its database; then
    // reads the desktop's "DBPath". A missing database on either side is reported to the user.
    HRESULT STDMETHODCALLTYPE Initialize(IReplNotify* notify, UINT flags) override;
    // The store's information and, once initialised, its id. A desktop file that cannot be used
    // fails it (E_FAIL) with its cause told where the user can act on it: in use by another
    // program, read-only, damaged, or made by a newer version (which no session keeps open, so
    // nothing is ever written into it).
    HRESULT STDMETHODCALLTYPE GetStoreInfo(STOREINFO* info) override;
    HRESULT STDMETHODCALLTYPE ReportStatus(HREPLFLD folder, HREPLITEM item, UINT status, UINT param) override;
    int STDMETHODCALLTYPE CompareStoreIDs(BYTE* id1, UINT size1, BYTE* id2, UINT size2) override;
    int STDMETHODCALLTYPE CompareItem(HREPLITEM item1, HREPLITEM item2) override;
    BOOL STDMETHODCALLTYPE IsItemChanged(HREPLFLD folder, HREPLITEM item, HREPLITEM comparison) override;
    BOOL STDMETHODCALLTYPE IsItemReplicated(HREPLFLD folder, HREPLITEM item) override;
    void STDMETHODCALLTYPE UpdateItem(HREPLFLD folder, HREPLITEM destination, HREPLITEM source) override;
    HRESULT STDMETHODCALLTYPE GetFolderInfo(char* objectType, HREPLFLD* folder, IUnknown** handler) override;
    HRESULT STDMETHODCALLTYPE IsFolderChanged(HREPLFLD folder, BOOL* changed) override;
    HRESULT STDMETHODCALLTYPE FindFirstItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists) override;
    HRESULT STDMETHODCALLTYPE FindNextItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists) override;
    HRESULT STDMETHODCALLTYPE FindItemClose(HREPLFLD folder) override;
    UINT STDMETHODCALLTYPE ObjectToBytes(HREPLOBJ object, BYTE* buffer) override;
    // A kind word of 0 makes a folder of this store (nothing more is read), any other an item
    // from the 20 bytes after it; null for fewer than 4 bytes or an item's fewer than 24.
    HREPLOBJ STDMETHODCALLTYPE BytesToObject(BYTE* bytes, UINT size) override;
    void STDMETHODCALLTYPE FreeObject(HREPLOBJ object) override;
    BOOL STDMETHODCALLTYPE CopyObject(HREPLOBJ source, HREPLOBJ destination) override;
    HRESULT STDMETHODCALLTYPE IsValidObject(HREPLFLD folder, HREPLOBJ object, UINT flags) override;
    HRESULT STDMETHODCALLTYPE ActivateDialog(UINT dialog, HWND owner, HREPLFLD folder,
                                             IUnknown* itemEnumerator) override;
    HRESULT STDMETHODCALLTYPE GetObjTypeUIData(HREPLFLD folder, OBJUIDATA* data) override;
    HRESULT STDMETHODCALLTYPE GetConflictInfo(CONFINFO* info) override;
    HRESULT STDMETHODCALLTYPE RemoveDuplicates(char* objectType, UINT flags) override;

    // The desktop database's path ("" until Initialize succeeds).
    const char* GetDatabasePath() const { return m_databasePath; }
    UINT GetFlags() const { return m_flags; }
    // A desktop record was written or deleted: the end of this synchronisation broadcasts the
    // reload message.
    void SetDataChanged() { m_dataChanged = true; }

    // Shows the string (id) to the user, or sends it to the device on a remote connection;
    // returns result.
    HRESULT ReportError(UINT stringID, HRESULT result);
    // Sends an ANSI text (thread code page) to the device application as a UTF-16 message.
    void SendErrorToDevice(const char* text);
    // The desktop's "DBPath" (REG_SZ or REG_EXPAND_SZ, not expanded, NUL-terminated within 260
    // bytes); false when it cannot be read.
    static bool ReadDatabasePath(char (&path)[MAX_PATH]);

private:
    // Whether the device's registry names a database file that exists on the device.
    static bool DeviceHasDatabase();

    UINT m_flags = 0;
    char m_databasePath[MAX_PATH] = {};
    CComPtr<IReplNotify> m_notify;  // from Initialize to the release status
    bool m_dataChanged = false;
    UINT m_reloadMessage = 0;
};
