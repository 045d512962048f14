#include "legacy/VehicleEvent.h"

IMPLEMENT_DYNAMIC(__CVehicleEvent, __CBaseObject)

__CVehicleEvent::__CVehicleEvent() : m_constructed(COleDateTime::Now())
{
    Reset();
}

void __CVehicleEvent::Reset()
{
    __CBaseObject::Reset();
    m_EventType = 0;
    m_VehicleId = -1;
    m_EventDate = m_constructed;
    m_Vendor.clear();
    m_Amount = 0;
    m_Odometer = 0;
    m_Notes.clear();
    m_Custom1 = 0;
    m_Custom2 = 0;
    m_Custom3.clear();
    m_TriggerId = -1;
}

void __CVehicleEvent::Read(CADORecordset& rows)
{
    m_EventDate.SetStatus(COleDateTime::null);
    rows.GetFieldValue(L"EventId", m_id);
    rows.GetFieldValue(L"VehicleId", m_VehicleId);
    rows.GetFieldValue(L"EventType", m_EventType);
    rows.GetFieldValue(L"EventDate", m_EventDate);
    rows.GetFieldValue(L"Vendor", m_Vendor);
    rows.GetFieldValue(L"Amount", m_Amount);
    rows.GetFieldValue(L"Odometer", m_Odometer);
    rows.GetFieldValue(L"Description", m_description);
    rows.GetFieldValue(L"Notes", m_Notes);
    rows.GetFieldValue(L"Custom1", m_Custom1);
    rows.GetFieldValue(L"Custom2", m_Custom2);
    rows.GetFieldValue(L"Custom3", m_Custom3);
    rows.GetFieldValue(L"TriggerId", m_TriggerId);
}

CEntry* __CVehicleEvent::CreateEntry() const
{
    CEntry* entry = new CEntry;
    if (!entry) return nullptr;
    entry->SetVehicleID(static_cast<unsigned long>(m_VehicleId));
    if (m_EventDate.GetStatus() == COleDateTime::valid) entry->SetDate(m_EventDate.m_dt);
    entry->SetAmount(m_Amount);
    entry->SetOdometer(m_Odometer);
    entry->SetNotes(m_Notes.c_str());
    switch (m_EventType) {
    case 1:
        entry->SetType(CEntry::etFuel);
        entry->SetCustom1(m_Custom1);
        entry->SetCustom2(m_Custom2);
        entry->SetVendor(m_Vendor.c_str());
        break;
    case 2:
    case 3:
        entry->SetType(CEntry::etRepair);
        entry->SetName(m_description.c_str());
        entry->SetVendor(m_Vendor.c_str());
        break;
    case 4:
        entry->SetType(CEntry::etTrip);
        entry->SetName(m_description.c_str());
        // The trip's category: the old version kept its first letter.
        if (m_Custom3 == L"B")
            entry->SetVendor(L"Business");
        else if (m_Custom3 == L"P")
            entry->SetVendor(L"Personal");
        entry->SetCustom1(m_Custom1);
        entry->SetCustom2(m_Custom2);
        break;
    case 5:
        entry->SetType(CEntry::etExpense);
        entry->SetName(m_description.c_str());
        break;
    default: break;  // an unknown kind keeps type 0
    }
    return entry;
}
