#include "activesync/DuplicateRemoval.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "activesync/ObjectContent.h"
#include "activesync/ObjectEnumerator.h"
#include "activesync/SyncDataLayer.h"

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

bool CDuplicateRemoval::Run()
{
    for (int type = CObjectEnumerator::stageVehicles; type <= CObjectEnumerator::stageKeywords; ++type) {
        std::unique_ptr<CObjectList> list(CObjectEnumerator::LoadList(&m_session, type));
        if (!list) return false;
        RemoveFrom(*list);
    }
    return true;
}

bool CDuplicateRemoval::RemoveFrom(CObjectList& list)
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
            if (AreObjectsEqual(*record, *other)) {
                match = other;
                break;
            }
        }
        if (!match) continue;
        if (record->GetObjectType() == CBaseObject::otVehicle && !MoveDependents(*record, *match)) continue;
        if (m_session.DeleteObject(record)) {
            gone[i] = true;
            deleted = true;
        }
    }
    if (deleted) m_deleted = true;
    return deleted;
}

bool CDuplicateRemoval::MoveDependents(const CBaseObject& from, const CBaseObject& to)
{
    const unsigned long fromRef = from.GetRefID(), toRef = to.GetRefID();
    // Reference id 0 selects every vehicle's records in the loads below: none can be told apart.
    if (fromRef == 0) return true;

    CEntryFilter filter;
    filter.SetVehicleID(fromRef);
    CObjectListT<CEntry> entries;
    CObjectListT<CNotification> reminders;
    if (!m_session.Load(&entries, &filter) || !m_session.Load(&reminders, fromRef)) return false;

    // An update never rewrites a record's vehicle: each is saved anew under the surviving
    // vehicle, keeping its reference id and creation date, then its old row goes.
    const double now = CUtcClock::NowAsOLEDate();
    return MoveAll(entries, toRef, now) && MoveAll(reminders, toRef, now);
}

template <class T>
bool CDuplicateRemoval::MoveAll(CObjectListT<T>& records, unsigned long toRef, double now)
{
    // A record sent to the device and moved within one step of the file's dates, or stored with
    // a clock running ahead, would otherwise keep the date the device's copy was sent with and
    // read as unchanged at the next synchronisation.
    for (int i = 0; i < records.GetCount(); ++i) {
        T* record = records.Get(i);
        const unsigned long oldRow = static_cast<unsigned long>(record->GetID());
        record->SetID(0);
        record->SetVehicleID(toRef);
        record->SetDateModified(CStoredDate::Later(record->GetDateModified(), now));
        if (!m_session.Save(record, 1) || !m_session.Delete(record->GetObjectType(), oldRow)) return false;
    }
    return true;
}
