#include "legacy/Trigger.h"

IMPLEMENT_DYNAMIC(__CTrigger, __CBaseObject)

__CTrigger::__CTrigger() : m_constructed(COleDateTime::Now())
{
    Reset();
}

void __CTrigger::Reset()
{
    __CBaseObject::Reset();
    m_VehicleId = -1;
    m_TargetOdometer = 0;
    m_TargetDate = m_constructed;
}

void __CTrigger::Read(CADORecordset& rows)
{
    m_TargetDate.SetStatus(COleDateTime::null);
    rows.GetFieldValue(L"VehicleId", m_VehicleId);
    rows.GetFieldValue(L"TargetDate", m_TargetDate);
    rows.GetFieldValue(L"Description", m_description);
    rows.GetFieldValue(L"TargetOdometer", m_TargetOdometer);
}

CNotification* __CTrigger::CreateNotification() const
{
    CNotification* reminder = new CNotification;
    if (!reminder) return nullptr;
    reminder->SetName(m_description.c_str());
    reminder->SetOdometer(m_TargetOdometer);
    if (m_TargetDate.GetStatus() == COleDateTime::valid) reminder->SetDate(m_TargetDate.m_dt);
    reminder->SetVehicleID(static_cast<unsigned long>(m_VehicleId));
    return reminder;
}
