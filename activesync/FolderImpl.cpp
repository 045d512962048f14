#include "activesync/FolderImpl.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "activesync/DlgOptions.h"
#include "activesync/FolderHandler.h"
#include "activesync/ItemImpl.h"
#include "activesync/ObjectEnumerator.h"
#include "activesync/ObjectHolder.h"
#include "activesync/Store.h"
#include "activesync/SyncDataLayer.h"
#include "framework/Module.h"
#include "resources/activesync/resource.h"

CFolderImpl* CFolderImpl::Create(CStore* store)
{
    CFolderHandler* handler = new (std::nothrow) CFolderHandler;
    if (!handler) return nullptr;
    CFolderImpl* folder = new (std::nothrow) CFolderImpl(store, handler);
    if (!folder) handler->Release();
    return folder;
}

CFolderImpl::CFolderImpl(CStore* store, CFolderHandler* handler) : m_store(store), m_handler(handler) {}

CFolderImpl::~CFolderImpl()
{
    FindItemClose();
    m_handler->Release();
}

CFolderImpl* CFolderImpl::FromHandle(HREPLOBJ handle)
{
    CReplObject* object = CReplObject::FromHandle(handle);
    if (!object || object->GetKind() != kindFolder) return nullptr;
    return static_cast<CFolderImpl*>(object);
}

CFolderHandler* CFolderImpl::GetObjHandler()
{
    m_handler->AddRef();
    return m_handler;
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
    if (m_session->Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) {
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
    if (session.Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) return REPL_E_DATABASE_UNAVAILABLE;
    CObjectHolder record(session.LoadObject(item->GetObjectType(), item->GetRowID()));
    return record.Get() ? S_OK : REPL_E_OBJECT_GONE;
}

BOOL CFolderImpl::IsFolderChanged()
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    ULONGLONG time = 0;
    if (GetFileAttributesExA(m_store->GetDatabasePath(), GetFileExInfoStandard, &data)) {
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
    if (session.Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) return FALSE;
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
    if (session.Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) return;
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
    if (session.Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) return REPL_E_IGNORE_CONFLICT;
    CObjectHolder localRecord(session.LoadObject(local->GetObjectType(), local->GetRowID()));
    CObjectHolder remoteRecord(session.LoadObject(remote->GetObjectType(), remote->GetRowID()));
    // An object that can no longer be loaded leaves nothing to choose between.
    if (!localRecord.Get() || !remoteRecord.Get()) return REPL_E_IGNORE_CONFLICT;
    if (CStore::AreObjectsEqual(*localRecord.Get(), *remoteRecord.Get())) return REPL_E_IGNORE_CONFLICT;

    CStore::LoadObjectTypeName(*localRecord.Get(), info->localType, sizeof info->localType);
    ToAnsi(localRecord.Get()->GetName(), info->localDescription, sizeof info->localDescription);
    CStore::LoadObjectTypeName(*remoteRecord.Get(), info->remoteType, sizeof info->remoteType);
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
//
// A record is a duplicate when another record of its kind with another reference id still in the
// database holds the same data (CStore::AreObjectsEqual). Walking every record in database order
// and deleting each duplicate as it comes, every group of equal records keeps its last one, and a
// record found equal to an earlier survivor goes too. Within a kind the database at a record's
// turn is that kind's list less the records deleted before it, so each kind's list is loaded
// once: a vehicle's deletion changes entries and reminders, which are loaded after the vehicles
// are done. Only records with equal numbers, dates and kinds can be equal, so the search for a
// record's match runs over the records that share those fields (its bucket) in list order.

namespace {

// The bits of a number for the bucket key; equal numbers give equal bits (0.0 and -0.0 alike).
void AddKey(std::string& key, double value)
{
    if (value == 0) value = 0;
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void AddKey(std::string& key, float value)
{
    if (value == 0) value = 0;
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void AddKey(std::string& key, int64_t value)
{
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The fields besides texts that AreObjectsEqual compares.
std::string BucketKey(const CBaseObject& record)
{
    std::string key;
    AddKey(key, static_cast<int64_t>(record.GetObjectType()));
    switch (record.GetObjectType()) {
    case CBaseObject::otVehicle: {
        const CVehicle& v = static_cast<const CVehicle&>(record);
        AddKey(key, v.GetInsuranceExpirationDate());
        AddKey(key, static_cast<int64_t>(v.GetCurrentOdometer()));
        AddKey(key, static_cast<int64_t>(v.GetYear()));
        break;
    }
    case CBaseObject::otEntry: {
        const CEntry& e = static_cast<const CEntry&>(record);
        AddKey(key, e.GetAmount());
        AddKey(key, e.GetDate());
        AddKey(key, static_cast<int64_t>(e.GetType()));
        AddKey(key, static_cast<int64_t>(e.GetOdometer()));
        AddKey(key, e.GetCustom1());
        AddKey(key, e.GetCustom2());
        AddKey(key, static_cast<int64_t>(e.GetVehicleID()));
        break;
    }
    case CBaseObject::otNotification: {
        const CNotification& n = static_cast<const CNotification&>(record);
        AddKey(key, n.GetDate());
        AddKey(key, static_cast<int64_t>(n.GetOdometer()));
        AddKey(key, static_cast<int64_t>(n.GetVehicleID()));
        break;
    }
    case CBaseObject::otKeyword:
        AddKey(key, static_cast<int64_t>(static_cast<const CKeyword&>(record).GetType()));
        break;
    default: break;
    }
    return key;
}

}  // namespace

HRESULT CFolderImpl::RemoveDuplicates()
{
    CSyncDataLayer session;
    if (session.Connect(m_store->GetDatabasePath()) != CDataLayer::csConnected) return E_FAIL;
    bool deleted = false;
    for (int type = CObjectEnumerator::stageVehicles; type <= CObjectEnumerator::stageKeywords; ++type) {
        std::unique_ptr<CObjectList> list(CObjectEnumerator::LoadList(&session, type));
        if (!list) return deleted ? REPL_E_DUPLICATES_DELETED : E_FAIL;
        if (RemoveDuplicatesOf(session, *list)) deleted = true;
    }
    return deleted ? REPL_E_DUPLICATES_DELETED : S_OK;
}

bool CFolderImpl::RemoveDuplicatesOf(CSyncDataLayer& session, CObjectList& list)
{
    const int count = list.GetCount();
    std::vector<std::string> keys(count);
    std::unordered_map<std::string, std::vector<int>> buckets;
    for (int i = 0; i < count; ++i) {
        keys[i] = BucketKey(*list.GetItem(i));
        buckets[keys[i]].push_back(i);
    }
    // The map's nodes stay where they are: pointers to its buckets hold.
    std::vector<const std::vector<int>*> bucketOf(count);
    for (int i = 0; i < count; ++i) bucketOf[i] = &buckets[keys[i]];

    std::vector<bool> gone(count, false);
    bool deleted = false;
    for (int i = 0; i < count; ++i) {
        const std::vector<int>& bucket = *bucketOf[i];
        if (bucket.size() < 2) continue;
        CBaseObject* record = list.GetItem(i);
        CBaseObject* match = nullptr;
        for (int j : bucket) {
            CBaseObject* other = list.GetItem(j);
            if (j == i || gone[j] || other->GetRefID() == record->GetRefID()) continue;
            if (CStore::AreObjectsEqual(*record, *other)) {
                match = other;
                break;
            }
        }
        if (!match) continue;
        // A vehicle made on both sides before their first synchronisation may have entries and
        // reminders on each: they go to the vehicle that stays, not down with the duplicate.
        if (record->GetObjectType() == CBaseObject::otVehicle && !MoveDependents(session, *record, *match)) continue;
        if (session.DeleteObject(record)) {
            gone[i] = true;
            deleted = true;
        }
    }
    return deleted;
}

bool CFolderImpl::MoveDependents(CSyncDataLayer& session, const CBaseObject& from, const CBaseObject& to)
{
    const unsigned long fromRef = from.GetRefID(), toRef = to.GetRefID();
    // Reference id 0 selects every vehicle's records in the loads below: none can be told apart.
    if (fromRef == 0) return true;

    CEntryFilter filter;
    filter.SetVehicleID(fromRef);
    CObjectListT<CEntry> entries;
    CObjectListT<CNotification> reminders;
    if (!session.Load(&entries, &filter) || !session.Load(&reminders, fromRef)) return false;

    // An update never rewrites a record's vehicle: each is saved anew under the surviving
    // vehicle, keeping its reference id and creation date, then its old row goes. A record sent
    // to the device and moved within one step of the file's dates, or stored with a clock
    // running ahead, would otherwise keep the date the device's copy was sent with and read as
    // unchanged at the next synchronisation.
    const double now = CUtcClock::NowAsOLEDate();
    for (int i = 0; i < entries.GetCount(); ++i) {
        CEntry* entry = entries.Get(i);
        const unsigned long oldRow = static_cast<unsigned long>(entry->GetID());
        entry->SetID(0);
        entry->SetVehicleID(toRef);
        entry->SetDateModified(CStoredDate::Later(entry->GetDateModified(), now));
        if (!session.Save(entry, 1) || !session.Delete(CBaseObject::otEntry, oldRow)) return false;
    }
    for (int i = 0; i < reminders.GetCount(); ++i) {
        CNotification* reminder = reminders.Get(i);
        const unsigned long oldRow = static_cast<unsigned long>(reminder->GetID());
        reminder->SetID(0);
        reminder->SetVehicleID(toRef);
        reminder->SetDateModified(CStoredDate::Later(reminder->GetDateModified(), now));
        if (!session.Save(reminder, 1) || !session.Delete(CBaseObject::otNotification, oldRow)) return false;
    }
    return true;
}
