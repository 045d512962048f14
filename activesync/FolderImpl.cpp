#include "activesync/FolderImpl.h"

#include <cwchar>
#include <new>
#include <utility>

#include "activesync/DlgOptions.h"
#include "activesync/DuplicateRemoval.h"
#include "activesync/FolderHandler.h"
#include "activesync/ItemImpl.h"
#include "activesync/ObjectContent.h"
#include "activesync/ObjectEnumerator.h"
#include "activesync/ObjectHolder.h"
#include "activesync/SyncDataLayer.h"
#include "common/Assert.h"
#include "framework/Module.h"
#include "resources/activesync/resource.h"

CFolderImpl* CFolderImpl::Create(CStore* store, const char* databasePath)
{
    CComPtr<CFolderHandler> handler;
    handler.Attach(new (std::nothrow) CFolderHandler);
    if (!handler) return nullptr;
    // Should the folder not be made, the handler goes with the pointer.
    return new (std::nothrow) CFolderImpl(store, databasePath, std::move(handler));
}

CFolderImpl::CFolderImpl(CStore* store, const char* databasePath, CComPtr<CFolderHandler>&& handler)
    : m_store(store), m_databasePath(databasePath), m_handler(std::move(handler))
{
    ALK_ASSERT(m_store && m_databasePath && m_handler);
}

CFolderImpl::~CFolderImpl()
{
    FindItemClose();
}

CFolderImpl* CFolderImpl::FromHandle(HREPLOBJ handle)
{
    CReplObject* object = CReplObject::FromHandle(handle);
    if (!object || object->GetKind() != kindFolder) return nullptr;
    return static_cast<CFolderImpl*>(object);
}

CFolderHandler* CFolderImpl::GetObjHandler()
{
    // The caller's reference, handed out.
    return CComPtr<CFolderHandler>(m_handler).Detach();
}

CItemImpl* CFolderImpl::NewItem(const CBaseObject& record)
{
    return new (std::nothrow) CItemImpl(record);
}

// --- enumeration -----------------------------------------------------------------------------

HRESULT CFolderImpl::FindFirstItem(HREPLITEM* item, BOOL* exists)
{
    if (exists) *exists = FALSE;
    if (item) *item = nullptr;
    if (!item || !exists) return E_POINTER;
    FindItemClose();

    m_session.reset(new (std::nothrow) CSyncDataLayer);
    if (!m_session) return E_OUTOFMEMORY;
    if (m_session->Connect(m_databasePath) != CDataLayer::csConnected) {
        m_session.reset();
        return E_FAIL;
    }
    m_enumerator.reset(new (std::nothrow) CObjectEnumerator(m_session.get()));
    const HRESULT hr = m_enumerator ? NextItem(true, item, exists) : E_FAIL;
    // A walk that failed at once holds nothing, should the close never come.
    if (FAILED(hr)) FindItemClose();
    return hr;
}

HRESULT CFolderImpl::FindNextItem(HREPLITEM* item, BOOL* exists)
{
    if (exists) *exists = FALSE;
    if (item) *item = nullptr;
    if (!item || !exists) return E_POINTER;
    if (!m_enumerator) return E_FAIL;
    return NextItem(false, item, exists);
}

HRESULT CFolderImpl::NextItem(bool first, HREPLITEM* item, BOOL* exists)
{
    ALK_ASSERT(m_enumerator && m_session);  // a running walk
    if (!m_enumerator) return E_FAIL;
    CBaseObject* record = nullptr;
    const HRESULT hr = first ? m_enumerator->First(&record) : m_enumerator->Next(&record);
    if (hr == S_FALSE) return S_OK;  // the real end: exists stays FALSE
    if (FAILED(hr)) return E_FAIL;
    CItemImpl* made = NewItem(*record);
    if (made) {
        *item = made->Handle();
        *exists = TRUE;
    }
    return S_OK;
}

HRESULT CFolderImpl::FindItemClose()
{
    m_enumerator.reset();
    m_session.reset();
    return S_OK;
}

// --- items -----------------------------------------------------------------------------------

HRESULT CFolderImpl::IsValidObject(HREPLOBJ object)
{
    CReplObject* handle = CReplObject::FromHandle(object);
    if (!handle) return E_INVALIDARG;
    if (handle->GetKind() == kindFolder) return S_OK;
    const CItemImpl* item = static_cast<CItemImpl*>(handle);
    CSyncDataLayer session;
    if (session.Connect(m_databasePath) != CDataLayer::csConnected) return REPL_E_DATABASE_UNAVAILABLE;
    CObjectHolder record(session.LoadObject(item->GetObjectType(), item->GetRowID()));
    return record.Get() ? S_OK : REPL_E_OBJECT_GONE;
}

BOOL CFolderImpl::IsFolderChanged()
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ULONGLONG time = 0;
    if (GetFileAttributesExA(m_databasePath, GetFileExInfoStandard, &data)) {
        time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    }
    // A time that cannot be read is no proof that nothing changed.
    if (time != 0 && time == m_lastWriteTime) return FALSE;
    m_lastWriteTime = time;
    return TRUE;
}

BOOL CFolderImpl::IsItemChanged(CItemImpl* item, CItemImpl* comparison)
{
    if (!item) return FALSE;
    if (comparison) return item->GetDateModified() != comparison->GetDateModified();
    CSyncDataLayer session;
    if (session.Connect(m_databasePath) != CDataLayer::csConnected) return FALSE;
    CObjectHolder record(session.LoadObject(item->GetObjectType(), item->GetRowID()));
    return record.Get() && record.Get()->GetDateModified() != item->GetDateModified();
}

BOOL CFolderImpl::IsItemReplicated(CItemImpl*)
{
    return TRUE;
}

void CFolderImpl::UpdateItem(CItemImpl* destination, CItemImpl* source)
{
    if (!destination) return;
    if (source) {
        destination->SetDateModified(source->GetDateModified());
        return;
    }
    CSyncDataLayer session;
    if (session.Connect(m_databasePath) != CDataLayer::csConnected) return;
    CObjectHolder record(session.LoadObject(destination->GetObjectType(), destination->GetRowID()));
    if (record.Get()) destination->SetDateModified(record.Get()->GetDateModified());
}

// --- what the manager shows ------------------------------------------------------------------

void CFolderImpl::ToAnsi(const wchar_t* text, char* buffer, size_t capacity)
{
    if (!buffer || capacity == 0) return;
    buffer[0] = 0;
    if (!text) return;
    // The longest prefix of whole characters whose 8-bit form fits (a surrogate pair is one).
    int units = static_cast<int>(std::wcslen(text));
    while (units > 0) {
        const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
        if (bytes > 0 && static_cast<size_t>(bytes) < capacity) {
            WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, buffer, bytes, nullptr, nullptr);
            buffer[bytes] = 0;
            return;
        }
        // Each unit takes at least one byte: start the search near the capacity.
        units = static_cast<size_t>(units) >= capacity ? static_cast<int>(capacity - 1) : units - 1;
        if (units > 0 && IS_LOW_SURROGATE(text[units]) && IS_HIGH_SURROGATE(text[units - 1])) --units;
    }
}

HRESULT CFolderImpl::GetConflictInfo(CONFINFO* info)
{
    CItemImpl* local = CItemImpl::FromHandle(info->localItem);
    CItemImpl* remote = CItemImpl::FromHandle(info->remoteItem);
    if (!local || !remote) return E_INVALIDARG;
    CSyncDataLayer session;
    if (session.Connect(m_databasePath) != CDataLayer::csConnected) return REPL_E_IGNORE_CONFLICT;
    CObjectHolder localRecord(session.LoadObject(local->GetObjectType(), local->GetRowID()));
    CObjectHolder remoteRecord(session.LoadObject(remote->GetObjectType(), remote->GetRowID()));
    // An object that can no longer be loaded leaves nothing to choose between.
    if (!localRecord.Get() || !remoteRecord.Get()) return REPL_E_IGNORE_CONFLICT;
    if (AreObjectsEqual(*localRecord.Get(), *remoteRecord.Get())) return REPL_E_IGNORE_CONFLICT;

    LoadObjectTypeName(*localRecord.Get(), info->localType, sizeof info->localType);
    ToAnsi(localRecord.Get()->GetName(), info->localDescription, sizeof info->localDescription);
    LoadObjectTypeName(*remoteRecord.Get(), info->remoteType, sizeof info->remoteType);
    ToAnsi(remoteRecord.Get()->GetName(), info->remoteDescription, sizeof info->remoteDescription);
    return S_OK;
}

HRESULT CFolderImpl::GetObjTypeUIData(OBJUIDATA* data)
{
    HINSTANCE instance = AlkGetResourceInstance();
    data->largeIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ALKSYNC), IMAGE_ICON, 32, 32, 0));
    data->smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ALKSYNC), IMAGE_ICON, 16, 16, 0));
    LoadStringA(instance, IDS_PRODUCT_NAME, data->name, sizeof data->name);
    LoadStringA(instance, IDS_PRODUCT_NAME, data->syncText, sizeof data->syncText);
    LoadStringA(instance, IDS_PRODUCT_NAME, data->typeText, sizeof data->typeText);
    LoadStringA(instance, IDS_PLURAL_NAME, data->pluralTypeText, sizeof data->pluralTypeText);
    return S_OK;
}

HRESULT CFolderImpl::ActivateDialog(HWND owner)
{
    CDlgOptions dialog;
    return dialog.DoModal(owner) == IDOK ? S_OK : REPL_E_USER_CANCELLED;
}

// --- duplicates ------------------------------------------------------------------------------

HRESULT CFolderImpl::RemoveDuplicates()
{
    CSyncDataLayer session;
    if (session.Connect(m_databasePath) != CDataLayer::csConnected) return E_FAIL;
    CDuplicateRemoval removal(session);
    const bool complete = removal.Run();
    if (removal.Deleted()) return REPL_E_DUPLICATES_DELETED;
    return complete ? S_OK : E_FAIL;
}
