#include "activesync/Store.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "activesync/CeKey.h"
#include "activesync/FolderHandler.h"
#include "activesync/FolderImpl.h"
#include "activesync/ItemImpl.h"
#include "activesync/ModuleLock.h"
#include "activesync/SyncDataLayer.h"
#include "common/Assert.h"
#include "framework/Module.h"
#include "framework/RegKey.h"
#include "resources/activesync/resource.h"
#include "sdk/activesync/CeServices.h"

namespace {

// The store's own strings: at most capacity bytes with the NUL.
void LoadText(UINT id, char* buffer, int capacity)
{
    if (LoadStringA(AlkGetResourceInstance(), id, buffer, capacity) <= 0) buffer[0] = 0;
}

// The message that tells why the desktop file cannot be used, or 0 when its cause is none the
// user can act on (the bare failure is then the answer).
UINT DescribeRefusal(CSyncDataLayer& session)
{
    if (session.RefusedAsNewer()) return IDS_ERROR_DESKTOP_NEWER_VERSION;
    switch (session.GetLastFailure()) {
    case CDataLayer::fcBusy: return IDS_ERROR_DESKTOP_IN_USE;
    case CDataLayer::fcReadOnly: return IDS_ERROR_DESKTOP_READ_ONLY;
    case CDataLayer::fcDamaged: return IDS_ERROR_DESKTOP_DAMAGED;
    default: return 0;
    }
}

}  // namespace

CStore::CStore()
{
    CModuleLock::Lock();
}

CStore::~CStore()
{
    m_notify.Release();  // before the module may be let go
    CModuleLock::Unlock();
}

// --- initialisation and the store as a whole -------------------------------------------------

bool CStore::ReadDatabasePath(char (&path)[MAX_PATH])
{
    path[0] = 0;
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, ALK_SETTINGS_KEY_A, KEY_READ | KEY_WRITE) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = MAX_PATH;
    const LONG result = key.QueryValue(ALK_DB_PATH_VALUE_A, &type, path, &size);
    const bool text = result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ);
    // A value stored without its NUL is taken when the NUL still fits.
    if (!text || (size == MAX_PATH && path[MAX_PATH - 1] != 0)) {
        path[0] = 0;
        return false;
    }
    path[size < MAX_PATH ? size : MAX_PATH - 1] = 0;
    return true;
}

bool CStore::DeviceHasDatabase()
{
    CCeKey key(&CeRegCloseKey);
    if (CeRegOpenKeyEx(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, KEY_ALL_ACCESS, &key.m_key) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t path[260 + 1] = {};  // 520 bytes read, and room for a NUL the value may lack
    DWORD type = 0, size = 520;
    return CeRegQueryValueEx(key.m_key, ALK_DB_PATH_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) ==
               ERROR_SUCCESS &&
           (type == REG_SZ || type == REG_EXPAND_SZ) && CeGetFileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

HRESULT STDMETHODCALLTYPE CStore::Initialize(IReplNotify* notify, UINT flags)
{
    if (!notify) return E_INVALIDARG;
    // The manager may initialise a store again: the callback held from before is let go.
    m_notify = notify;
    m_flags = flags & ~flagInitialized;

    if (!(flags & REPL_INIT_SELECTED_DEVICE) && !DeviceHasDatabase()) {
        return ReportError(IDS_ERROR_NO_DEVICE_DATABASE, E_FAIL);
    }
    char path[MAX_PATH];
    if (!ReadDatabasePath(path) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        return ReportError(IDS_ERROR_NO_DESKTOP_DATABASE, E_FAIL);
    }
    std::memcpy(m_databasePath, path, sizeof path);
    m_flags |= flagInitialized;
    m_reloadMessage = RegisterWindowMessageA(ALK_RELOAD_DATA_MESSAGE_A);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CStore::GetStoreInfo(STOREINFO* info)
{
    if (!info || info->size != sizeof(STOREINFO)) return E_INVALIDARG;
    info->flags = REPL_STORE_SINGLE_THREADED | REPL_STORE_SIMULATE_RTS;
    info->timerResolution = TimerResolution;
    LoadText(IDS_PROGID, info->progId, sizeof info->progId);
    LoadText(IDS_STORE_DESCRIPTION, info->description, sizeof info->description);
    if (!(m_flags & flagInitialized)) return S_OK;
    ALK_ASSERT(m_databasePath[0] != 0);  // set with the flag

    info->storeIdSize = StoreIDSize;
    if (info->maxStoreIdSize < StoreIDSize) return E_OUTOFMEMORY;
    if (!info->storeId) return E_POINTER;

    DWORD deviceValue = 0;
    HRESULT query = E_FAIL;
    bool connected = false;
    UINT refusal = 0;  // why the desktop file cannot be used, when the user can act on it
    {
        CSyncDataLayer session;
        connected = session.Connect(m_databasePath) == CDataLayer::csConnected;
        if (!connected) {
            refusal = DescribeRefusal(session);
        } else {
            const DWORD desktopID = session.GetStoreID();
            std::memcpy(info->storeId, &desktopID, 4);

            deviceValue = desktopID;  // the device application replaces it with its own
            SDREQUEST request = {};
            LoadText(IDS_OBJECT_TYPE, request.objectType, sizeof request.objectType);
            request.set = FALSE;
            request.code = REPL_SYNCDATA_STORE_VALUE;
            request.data = reinterpret_cast<BYTE*>(&deviceValue);
            request.dataSize = sizeof deviceValue;
            if (m_notify) query = m_notify->QueryDevice(REPL_QUERY_SYNC_DATA, &request);
        }
    }
    // The session (and the database mutex) ends before a message box can wait for the user.
    if (!connected) return refusal ? ReportError(refusal, E_FAIL) : E_FAIL;
    if (FAILED(query)) return ReportError(IDS_ERROR_DEVICE_QUERY, E_FAIL);
    if (deviceValue == 0) return ReportError(IDS_ERROR_INVALID_DEVICE_DATABASE, E_FAIL);
    std::memcpy(info->storeId + 4, &deviceValue, 4);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CStore::ReportStatus(HREPLFLD, HREPLITEM, UINT status, UINT)
{
    if (status == REPL_STATUS_SYNC_END) {
        if (m_dataChanged) {
            if (!m_reloadMessage) m_reloadMessage = RegisterWindowMessageA(ALK_RELOAD_DATA_MESSAGE_A);
            SendNotifyMessageA(HWND_BROADCAST, m_reloadMessage, 0, 0);
        }
        m_dataChanged = false;
    } else if (status == REPL_STATUS_RELEASE) {
        m_notify.Release();
    }
    return S_OK;
}

int STDMETHODCALLTYPE CStore::CompareStoreIDs(BYTE* id1, UINT size1, BYTE* id2, UINT size2)
{
    if (size1 != size2) return size1 < size2 ? -1 : 1;
    if (size1 == 0) return 0;
    if (!id1 || !id2) return id1 ? 1 : (id2 ? -1 : 0);
    const int order = std::memcmp(id1, id2, size1);  // unsigned bytes
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

HRESULT STDMETHODCALLTYPE CStore::IsFolderChanged(HREPLFLD folder, BOOL* changed)
{
    char path[MAX_PATH];
    ReadDatabasePath(path);  // unreadable: the empty path
    if (std::strcmp(path, m_databasePath) != 0) return REPL_E_STORE_REPLACED;
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (!impl) return E_INVALIDARG;
    if (changed) *changed = impl->IsFolderChanged();
    return S_OK;
}

// --- folders and items -----------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CStore::GetFolderInfo(char*, HREPLFLD* folder, IUnknown** handler)
{
    if (!folder || !handler) return E_POINTER;
    *handler = nullptr;
    // One folder holds every object type: the name is not looked at.
    CFolderImpl* impl = CFolderImpl::FromHandle(*folder);
    if (!*folder) {
        impl = CFolderImpl::Create(this, m_databasePath);
        if (!impl) return E_OUTOFMEMORY;
    }
    if (!impl) return E_INVALIDARG;
    *folder = impl->Handle();
    *handler = static_cast<IReplObjHandler*>(impl->GetObjHandler());
    return S_OK;
}

int STDMETHODCALLTYPE CStore::CompareItem(HREPLITEM item1, HREPLITEM item2)
{
    CItemImpl* a = CItemImpl::FromHandle(item1);
    CItemImpl* b = CItemImpl::FromHandle(item2);
    if (!a || !b) return a ? 1 : (b ? -1 : 0);
    return a->Compare(*b);
}

BOOL STDMETHODCALLTYPE CStore::IsItemChanged(HREPLFLD folder, HREPLITEM item, HREPLITEM comparison)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    return impl ? impl->IsItemChanged(CItemImpl::FromHandle(item), CItemImpl::FromHandle(comparison)) : FALSE;
}

BOOL STDMETHODCALLTYPE CStore::IsItemReplicated(HREPLFLD folder, HREPLITEM item)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    return impl ? impl->IsItemReplicated(CItemImpl::FromHandle(item)) : FALSE;
}

void STDMETHODCALLTYPE CStore::UpdateItem(HREPLFLD folder, HREPLITEM destination, HREPLITEM source)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (impl) impl->UpdateItem(CItemImpl::FromHandle(destination), CItemImpl::FromHandle(source));
}

HRESULT STDMETHODCALLTYPE CStore::FindFirstItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (!impl) {
        if (exists) *exists = FALSE;
        return E_INVALIDARG;
    }
    return impl->FindFirstItem(item, exists);
}

HRESULT STDMETHODCALLTYPE CStore::FindNextItem(HREPLFLD folder, HREPLITEM* item, BOOL* exists)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (!impl) {
        if (exists) *exists = FALSE;
        return E_INVALIDARG;
    }
    return impl->FindNextItem(item, exists);
}

HRESULT STDMETHODCALLTYPE CStore::FindItemClose(HREPLFLD folder)
{
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    return impl ? impl->FindItemClose() : E_INVALIDARG;
}

UINT STDMETHODCALLTYPE CStore::ObjectToBytes(HREPLOBJ object, BYTE* buffer)
{
    CReplObject* handle = CReplObject::FromHandle(object);
    return handle ? handle->ToBytes(buffer) : 0;
}

HREPLOBJ STDMETHODCALLTYPE CStore::BytesToObject(BYTE* bytes, UINT size)
{
    if (!bytes || size < CReplObject::KindSize) return nullptr;
    DWORD kind = 0;
    std::memcpy(&kind, bytes, sizeof kind);
    if (kind == CReplObject::kindFolder) {
        CFolderImpl* folder = CFolderImpl::Create(this, m_databasePath);
        return folder ? folder->Handle() : nullptr;
    }
    if (size < CItemImpl::ByteSize) return nullptr;
    CItemImpl* item = new (std::nothrow) CItemImpl;
    if (!item) return nullptr;
    item->FromBytes(bytes + CReplObject::KindSize, size - CReplObject::KindSize);
    return item->Handle();
}

void STDMETHODCALLTYPE CStore::FreeObject(HREPLOBJ object)
{
    CReplObject* handle = CReplObject::FromHandle(object);
    if (handle) handle->Free();
}

BOOL STDMETHODCALLTYPE CStore::CopyObject(HREPLOBJ source, HREPLOBJ destination)
{
    CReplObject* from = CReplObject::FromHandle(source);
    CReplObject* to = CReplObject::FromHandle(destination);
    if (!from || !to || from->GetKind() != to->GetKind()) return FALSE;
    return to->CopyFrom(*from);
}

HRESULT STDMETHODCALLTYPE CStore::IsValidObject(HREPLFLD folder, HREPLOBJ object, UINT)
{
    if (!folder) return S_OK;
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    return impl ? impl->IsValidObject(object) : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CStore::ActivateDialog(UINT dialog, HWND owner, HREPLFLD folder, IUnknown*)
{
    if (dialog != 0) return E_NOTIMPL;
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (impl) return impl->ActivateDialog(owner);
    // The manager may ask for the dialog before it has a folder of this store.
    std::unique_ptr<CFolderImpl> temporary(CFolderImpl::Create(this, m_databasePath));
    return temporary ? temporary->ActivateDialog(owner) : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CStore::GetObjTypeUIData(HREPLFLD folder, OBJUIDATA* data)
{
    if (!data || data->size != sizeof(OBJUIDATA)) return E_INVALIDARG;
    CFolderImpl* impl = CFolderImpl::FromHandle(folder);
    if (impl) return impl->GetObjTypeUIData(data);
    std::unique_ptr<CFolderImpl> temporary(CFolderImpl::Create(this, m_databasePath));
    return temporary ? temporary->GetObjTypeUIData(data) : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CStore::GetConflictInfo(CONFINFO* info)
{
    if (!info || info->size != sizeof(CONFINFO)) return E_INVALIDARG;
    CFolderImpl* impl = CFolderImpl::FromHandle(info->folder);
    return impl ? impl->GetConflictInfo(info) : E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE CStore::RemoveDuplicates(char*, UINT)
{
    std::unique_ptr<CFolderImpl> folder(CFolderImpl::Create(this, m_databasePath));
    if (!folder) return S_OK;
    return folder->RemoveDuplicates() == REPL_E_DUPLICATES_DELETED ? REPL_E_DUPLICATES_DELETED : S_OK;
}

// --- messages ----------------------------------------------------------------------------------

HRESULT CStore::ReportError(UINT stringID, HRESULT result)
{
    char text[1024];
    LoadText(stringID, text, sizeof text);
    if (m_flags & REPL_INIT_REMOTE) {
        SendErrorToDevice(text);
        return result;
    }
    char caption[256];
    LoadText(IDS_ERROR_CAPTION, caption, sizeof caption);
    MessageBoxA(m_notify ? m_notify->GetWindow(0) : nullptr, text, caption, MB_OK | MB_ICONERROR);
    return result;
}

void CStore::SendErrorToDevice(const char* text)
{
    if (!m_notify || !text) return;
    const int units = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return;
    std::wstring message(static_cast<size_t>(units), L'\0');  // the NUL included
    MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, &message[0], units);

    SDREQUEST request = {};
    LoadText(IDS_OBJECT_TYPE, request.objectType, sizeof request.objectType);
    request.set = TRUE;
    request.code = REPL_SYNCDATA_MESSAGE;
    request.data = reinterpret_cast<BYTE*>(&message[0]);
    request.dataSize = static_cast<UINT>(units * sizeof(wchar_t));
    m_notify->QueryDevice(REPL_QUERY_SYNC_DATA, &request);  // nothing more can be done when it fails
}
