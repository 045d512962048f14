// The provider's one folder: every record of the database, enumerated in the order vehicles,
// entries, reminders, keywords. It answers the store's folder and item questions: enumeration
// (whose session, and with it the database mutex, is held from the first item to the close),
// changes of items by modification date and of the folder by the file's last-write time,
// validity, conflict information, the object type's user-interface data and duplicate removal.
// It owns its object handler (one reference) and, during an enumeration, the session and the
// walk. The store it belongs to is borrowed and outlives it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "activesync/Folder.h"
#include "activesync/FolderHandler.h"
#include "framework/ComPtr.h"

class CBaseObject;
class CItemImpl;
class CObjectEnumerator;
class CStore;
class CSyncDataLayer;

class CFolderImpl : public CFolder {
public:
    // A folder of the store with its object handler; null when either cannot be allocated.
    // databasePath is the store's own buffer (CStore::GetDatabasePath), read at each use, so a
    // store initialised again is followed; the folder needs no more of the store than that.
    static CFolderImpl* Create(CStore* store, const char* databasePath);
    ~CFolderImpl() override;

    // The folder behind a handle, or null for null or an item handle.
    static CFolderImpl* FromHandle(HREPLOBJ handle);
    CStore* GetStore() const { return m_store; }

    CFolderHandler* GetObjHandler() override;
    // Opens the enumeration's session and walk (ending one still open) and gives the first item.
    // S_OK with exists FALSE for an empty database; E_FAIL when the database cannot be opened or
    // a list cannot be loaded (nothing is then held).
    HRESULT FindFirstItem(HREPLITEM* item, BOOL* exists) override;
    // The next item: S_OK with exists TRUE; S_OK with exists FALSE at the real end; E_FAIL without
    // a running enumeration or when a list cannot be loaded (the manager must then not take the
    // items it did not see for deleted ones).
    HRESULT FindNextItem(HREPLITEM* item, BOOL* exists) override;
    // Ends the walk and the session (releasing the mutex). S_OK.
    HRESULT FindItemClose() override;
    // S_OK when the item's record exists and for a folder handle; REPL_E_OBJECT_GONE when the
    // record does not; REPL_E_DATABASE_UNAVAILABLE without a database.
    HRESULT IsValidObject(HREPLOBJ object) override;
    // Whether the file's last-write time differs from the one seen last (so the first check after
    // the folder is made reports a change, and so does a time that cannot be read).
    BOOL IsFolderChanged() override;
    // With a comparison item: whether the two dates differ. Without: whether the record's stored
    // date differs from the item's (FALSE when it cannot be read).
    BOOL IsItemChanged(CItemImpl* item, CItemImpl* comparison) override;
    BOOL IsItemReplicated(CItemImpl* item) override;
    // The destination takes the source's date, or without a source its record's stored date.
    void UpdateItem(CItemImpl* destination, CItemImpl* source) override;
    // Names both objects of a conflict: S_OK; REPL_E_IGNORE_CONFLICT when they are equal, either
    // cannot be loaded, or there is no database.
    HRESULT GetConflictInfo(CONFINFO* info) override;
    HRESULT GetObjTypeUIData(OBJUIDATA* data) override;
    // Runs the information dialog modally, owned by owner: S_OK when it ended with IDOK,
    // REPL_E_USER_CANCELLED otherwise.
    HRESULT ActivateDialog(HWND owner) override;
    // Deletes records equal to another record of their kind with another reference id
    // (CDuplicateRemoval): of a group of equal records the last in database order survives.
    // REPL_E_DUPLICATES_DELETED when it deleted any; S_OK; E_FAIL without a database or when a
    // list cannot be loaded.
    HRESULT RemoveDuplicates() override;

    // A new item for the record; null when it cannot be allocated.
    static CItemImpl* NewItem(const CBaseObject& record);
    // The wide text in the thread's ANSI code page, cut at a character boundary to fit capacity
    // bytes with its NUL.
    static void ToAnsi(const wchar_t* text, char* buffer, size_t capacity);

private:
    CFolderImpl(CStore* store, const char* databasePath, CComPtr<CFolderHandler>&& handler);
    // Hands out the walk's next record as an item.
    HRESULT NextItem(bool first, HREPLITEM* item, BOOL* exists);

    CStore* m_store;                                  // borrowed; outlives the folder
    const char* m_databasePath;                       // the store's buffer; outlives the folder
    CComPtr<CFolderHandler> m_handler;                // one reference, from the folder's making to its end
    std::unique_ptr<CSyncDataLayer> m_session;        // of a running enumeration
    std::unique_ptr<CObjectEnumerator> m_enumerator;  // goes before the session
    ULONGLONG m_lastWriteTime = 0;
};
