#include "activesync/FolderHandler.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "activesync/FolderImpl.h"
#include "activesync/ItemImpl.h"
#include "activesync/ObjectHolder.h"
#include "activesync/Store.h"
#include "activesync/SyncDataLayer.h"
#include "business/AlkBiz.h"

namespace {

template <class T>
T Value(const BYTE* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A received text, copied out of the packet (whose values need not be aligned).
std::wstring Text(const BYTE* at)
{
    std::wstring text;
    for (;; at += 2) {
        const wchar_t unit = Value<uint16_t>(at);
        if (!unit) break;
        text += unit;
    }
    return text;
}

// The desktop knows entry and keyword types 1 to 4 only.
bool HasKnownType(const CBaseObject& record)
{
    long type = 1;
    if (record.GetObjectType() == CBaseObject::otEntry) type = static_cast<const CEntry&>(record).GetType();
    if (record.GetObjectType() == CBaseObject::otKeyword) type = static_cast<const CKeyword&>(record).GetType();
    return type >= 1 && type <= 4;
}

// The folder and item of a setup, when the setup holds a folder handle.
CFolderImpl* FolderOf(const REPLSETUP* setup)
{
    return setup ? CFolderImpl::FromHandle(setup->folder) : nullptr;
}

}  // namespace

HRESULT STDMETHODCALLTYPE CFolderHandler::Setup(REPLSETUP* setup)
{
    if (!setup) return E_INVALIDARG;
    if (setup->read) {
        m_readSetup = setup;
    } else {
        m_writeSetup = setup;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CFolderHandler::Reset(REPLSETUP* setup)
{
    if (!setup) return E_INVALIDARG;
    if (setup->read) m_packet.Release();
    if (setup == m_readSetup) m_readSetup = nullptr;
    if (setup == m_writeSetup) m_writeSetup = nullptr;
    return S_OK;
}

// --- desktop to device -----------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CFolderHandler::GetPacket(BYTE** data, DWORD* size, DWORD recommendedSize)
{
    if (!data || !size) return E_POINTER;
    *data = nullptr;
    *size = 0;
    CFolderImpl* folder = FolderOf(m_readSetup);
    CItemImpl* item = m_readSetup ? CItemImpl::FromHandle(m_readSetup->item) : nullptr;
    if (!folder || !item) return E_UNEXPECTED;

    if (!m_packet.Begin(recommendedSize)) return E_OUTOFMEMORY;
    CSyncDataLayer session;
    if (session.Connect(folder->GetStore()->GetDatabasePath()) != CDataLayer::csConnected) return E_FAIL;
    CObjectHolder record(session.LoadObject(item->GetObjectType(), item->GetRowID()));
    if (!record.Get()) return REPL_E_NOTHING_TO_SEND;
    if (FAILED(WriteRecord(*record.Get(), *item))) return E_OUTOFMEMORY;

    *data = const_cast<BYTE*>(m_packet.Data());
    *size = m_packet.Size();
    return REPL_S_LAST_PACKET;
}

HRESULT CFolderHandler::WriteRecord(const CBaseObject& record, const CItemImpl& item)
{
    CPropertyPacket& p = m_packet;
    HRESULT hr = p.AppendInteger(tagObjectType, record.GetObjectType());
    if (SUCCEEDED(hr)) hr = p.AppendText(tagName, record.GetName());
    if (SUCCEEDED(hr)) hr = p.AppendText(tagNotes, record.GetNotes());
    if (FAILED(hr)) return hr;

    switch (record.GetObjectType()) {
    case CBaseObject::otVehicle: {
        const CVehicle& v = static_cast<const CVehicle&>(record);
        hr = p.AppendInteger(tagVehicleRefID, static_cast<long>(item.GetRefID()));
        if (SUCCEEDED(hr)) hr = p.AppendText(tagLicensePlate, v.GetLicensePlate());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagVIN, v.GetVIN());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagDealerName, v.GetDealerName());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagDealerPhone, v.GetDealerPhone());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagDealerAddress, v.GetDealerAddress());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagPolicyNumber, v.GetInsurancePolicyNumber());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagAgentName, v.GetInsuranceAgentName());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagAgentPhone, v.GetInsuranceAgentPhone());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagCoverage, v.GetInsuranceCoverage());
        if (SUCCEEDED(hr)) hr = p.AppendDouble(tagExpirationDate, v.GetInsuranceExpirationDate());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagCurrentOdometer, v.GetCurrentOdometer());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagYear, v.GetYear());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagImagePath, v.GetImagePath());
        return hr;
    }
    case CBaseObject::otEntry: {
        const CEntry& e = static_cast<const CEntry&>(record);
        hr = p.AppendDouble(tagEntryDate, e.GetDate());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagEntryOdometer, e.GetOdometer());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagEntryVehicle, static_cast<long>(e.GetVehicleID()));
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagEntryType, e.GetType());
        if (SUCCEEDED(hr)) hr = p.AppendText(tagVendor, e.GetVendor());
        if (SUCCEEDED(hr)) hr = p.AppendFloat(tagAmount, e.GetAmount());
        if (SUCCEEDED(hr)) hr = p.AppendFloat(tagCustom1, e.GetCustom1());
        if (SUCCEEDED(hr)) hr = p.AppendFloat(tagCustom2, e.GetCustom2());
        return hr;
    }
    case CBaseObject::otNotification: {
        const CNotification& n = static_cast<const CNotification&>(record);
        hr = p.AppendDouble(tagReminderDate, n.GetDate());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagReminderOdometer, n.GetOdometer());
        if (SUCCEEDED(hr)) hr = p.AppendInteger(tagReminderVehicle, static_cast<long>(n.GetVehicleID()));
        return hr;
    }
    case CBaseObject::otKeyword: return p.AppendInteger(tagKeywordType, static_cast<const CKeyword&>(record).GetType());
    default: return E_UNEXPECTED;
    }
}

// --- device to desktop -----------------------------------------------------------------------

unsigned long CFolderHandler::FindVehicleRefID(CPropertyPacket& packet, BYTE* data, DWORD size)
{
    unsigned long refID = 0;
    packet.Attach(data, size);
    DWORD tag = 0;
    for (DWORD i = 0, count = packet.Count(); i < count; ++i) {
        const BYTE* value = packet.ReadNext(&tag);
        if (value && tag == tagVehicleRefID) refID = Value<uint32_t>(value);  // the last one counts
    }
    return refID;
}

bool CFolderHandler::CheckPacket(CPropertyPacket& packet, long* objectType)
{
    const DWORD count = packet.Count();
    if (count == 0) return false;
    DWORD tag = 0;
    const BYTE* first = packet.ReadNext(&tag);
    if (!first || tag != tagObjectType) return false;
    *objectType = Value<int32_t>(first);
    for (DWORD i = 1; i < count; ++i) {
        if (!packet.ReadNext(&tag)) return false;
    }
    return true;
}

HRESULT STDMETHODCALLTYPE CFolderHandler::SetPacket(BYTE* data, DWORD size)
{
    REPLSETUP* setup = m_writeSetup;
    CFolderImpl* folder = FolderOf(setup);
    if (!folder) return E_UNEXPECTED;

    CSyncDataLayer session;
    if (session.Connect(folder->GetStore()->GetDatabasePath()) != CDataLayer::csConnected) return E_FAIL;

    // The whole packet is read before anything changes: one that cannot be read to the count it
    // promises is refused, nothing saved and no item made.
    CPropertyPacket packet;
    packet.Attach(data, size);
    long objectType = 0;
    if (!CheckPacket(packet, &objectType)) return E_FAIL;

    const bool newObject = (setup->flags & REPL_SETUP_NEW_OBJECT) != 0;
    // A reference id is a record's identity on every device: a device vehicle new to the
    // manager whose reference id the desktop already holds (a fresh start against a full device)
    // is that vehicle, changed, never a second one beside it.
    bool matched = false;
    CObjectHolder record;
    CItemImpl* item = nullptr;
    if (newObject) {
        const unsigned long refID = objectType == CBaseObject::otVehicle ? FindVehicleRefID(packet, data, size) : 0;
        const long row = refID ? static_cast<long>(session.GetID(CBaseObject::otVehicle, refID)) : 0;
        if (row != 0) {
            record.Hold(session.LoadObject(CBaseObject::otVehicle, row));
            if (!record.Get()) {
                setup->item = nullptr;
                return REPL_E_CANNOT_STORE;
            }
            matched = true;
        } else {
            switch (objectType) {
            case CBaseObject::otVehicle: record.Hold(new CVehicle); break;
            case CBaseObject::otEntry: record.Hold(new CEntry); break;
            case CBaseObject::otNotification: record.Hold(new CNotification); break;
            case CBaseObject::otKeyword: record.Hold(new CKeyword); break;
            default: setup->item = nullptr; return E_FAIL;
            }
            if (!record.Get()) return E_OUTOFMEMORY;
        }
    } else {
        item = CItemImpl::FromHandle(setup->item);
        if (!item) return E_UNEXPECTED;
        record.Hold(session.LoadObject(item->GetObjectType(), item->GetRowID()));
        if (!record.Get()) return REPL_E_CANNOT_STORE;
    }

    packet.Attach(data, size);
    DWORD tag = 0;
    packet.ReadNext(&tag);  // the object type, read above
    for (DWORD i = 1, count = packet.Count(); i < count; ++i) {
        const BYTE* value = packet.ReadNext(&tag);
        ApplyProperty(record.Get(), tag, value, newObject && !matched);
    }

    // A type the desktop cannot show is refused like a value the file cannot keep (which the
    // data layer refuses in the save).
    if (!HasKnownType(*record.Get()) || !session.SaveObject(record.Get())) {
        if (newObject) setup->item = nullptr;
        return REPL_E_CANNOT_STORE;
    }
    folder->GetStore()->SetDataChanged();

    // A date read back from the file is the value of its six-decimal text (CStoredDate), not the
    // date saved: the item takes the one read back, which the next change check compares, or the
    // record would read as changed at the next synchronisation and go back to the device.
    double stored = record.Get()->GetDateModified();
    CObjectHolder reloaded(session.LoadObject(record.Get()->GetObjectType(), record.Get()->GetID()));
    if (reloaded.Get()) stored = reloaded.Get()->GetDateModified();
    if (newObject) {
        item = CFolderImpl::NewItem(*record.Get());
        setup->item = item ? item->Handle() : nullptr;
        if (!item) return E_OUTOFMEMORY;
    }
    item->SetDateModified(stored);
    return S_OK;
}

void CFolderHandler::ApplyProperty(CBaseObject* record, DWORD tag, const BYTE* value, bool newObject)
{
    switch (tag) {
    case tagName: record->SetName(Text(value).c_str()); return;
    case tagNotes: record->SetNotes(Text(value).c_str()); return;
    default: break;
    }
    switch (record->GetObjectType()) {
    case CBaseObject::otVehicle: {
        CVehicle* v = static_cast<CVehicle*>(record);
        switch (tag) {
        case tagVehicleRefID:
            if (newObject) v->SetRefID(Value<uint32_t>(value));
            break;
        case tagLicensePlate: v->SetLicensePlate(Text(value).c_str()); break;
        case tagVIN: v->SetVIN(Text(value).c_str()); break;
        case tagDealerName: v->SetDealerName(Text(value).c_str()); break;
        case tagDealerPhone: v->SetDealerPhone(Text(value).c_str()); break;
        case tagDealerAddress: v->SetDealerAddress(Text(value).c_str()); break;
        case tagPolicyNumber: v->SetInsurancePolicyNumber(Text(value).c_str()); break;
        case tagAgentName: v->SetInsuranceAgentName(Text(value).c_str()); break;
        case tagAgentPhone: v->SetInsuranceAgentPhone(Text(value).c_str()); break;
        case tagCoverage: v->SetInsuranceCoverage(Text(value).c_str()); break;
        case tagExpirationDate: v->SetInsuranceExpirationDate(Value<double>(value)); break;
        case tagCurrentOdometer: v->SetCurrentOdometer(Value<int32_t>(value)); break;
        case tagYear: v->SetYear(Value<int32_t>(value)); break;
        case tagImagePath: v->SetImagePath(Text(value).c_str()); break;
        default: break;
        }
        return;
    }
    case CBaseObject::otEntry: {
        CEntry* e = static_cast<CEntry*>(record);
        switch (tag) {
        case tagEntryDate: e->SetDate(Value<double>(value)); break;
        case tagEntryOdometer: e->SetOdometer(Value<int32_t>(value)); break;
        case tagEntryVehicle: e->SetVehicleID(Value<uint32_t>(value)); break;
        case tagEntryType: e->SetType(static_cast<CEntry::Type>(Value<int32_t>(value))); break;
        case tagVendor: e->SetVendor(Text(value).c_str()); break;
        case tagAmount: e->SetAmount(Value<float>(value)); break;
        case tagCustom1: e->SetCustom1(Value<float>(value)); break;
        case tagCustom2: e->SetCustom2(Value<float>(value)); break;
        default: break;
        }
        return;
    }
    case CBaseObject::otNotification: {
        CNotification* n = static_cast<CNotification*>(record);
        switch (tag) {
        case tagReminderDate: n->SetDate(Value<double>(value)); break;
        case tagReminderOdometer: n->SetOdometer(Value<int32_t>(value)); break;
        case tagReminderVehicle: n->SetVehicleID(Value<uint32_t>(value)); break;
        default: break;
        }
        return;
    }
    case CBaseObject::otKeyword:
        if (tag == tagKeywordType) {
            static_cast<CKeyword*>(record)->SetType(static_cast<CKeyword::Type>(Value<int32_t>(value)));
        }
        return;
    default: return;
    }
}

HRESULT STDMETHODCALLTYPE CFolderHandler::DeleteObj(REPLSETUP* setup)
{
    CFolderImpl* folder = FolderOf(setup);
    CItemImpl* item = setup ? CItemImpl::FromHandle(setup->item) : nullptr;
    if (!folder || !item) return E_FAIL;
    CSyncDataLayer session;
    if (session.Connect(folder->GetStore()->GetDatabasePath()) != CDataLayer::csConnected) return E_FAIL;
    CObjectHolder record(session.LoadObject(item->GetObjectType(), item->GetRowID()));
    if (!record.Get() || !session.DeleteObject(record.Get())) return E_FAIL;
    folder->GetStore()->SetDataChanged();
    return S_OK;
}
