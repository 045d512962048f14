#include "business/Notification.h"

CNotification::CNotification() : m_date(0), m_odometer(0), m_vehicleID(0)
{
    SetObjectType(otNotification);
}

CNotification::~CNotification() {}

double CNotification::GetDate() const
{
    return m_date;
}
void CNotification::SetDate(double date)
{
    MarkDirtyIf(date != m_date);
    m_date = date;
}
long CNotification::GetOdometer() const
{
    return m_odometer;
}
void CNotification::SetOdometer(long odometer)
{
    MarkDirtyIf(odometer != m_odometer);
    m_odometer = odometer;
}
unsigned long CNotification::GetVehicleID() const
{
    return m_vehicleID;
}
void CNotification::SetVehicleID(unsigned long vehicleRefID)
{
    MarkDirtyIf(vehicleRefID != m_vehicleID);
    m_vehicleID = vehicleRefID;
}
