#include "business/Entry.h"

#include "business/StringHelper.h"
#include "business/UtcClock.h"

CEntry::CEntry()
    : m_date(0),
      m_odometer(0),
      m_vehicleID(0),
      m_type(etNone),
      m_vendor(nullptr),
      m_amount(0),
      m_custom1(0),
      m_custom2(0)
{
    SetObjectType(otEntry);
    m_date = CUtcClock::NowAsOLEDate();
}

CEntry::~CEntry()
{
    CStringHelper::FreeStringValue(&m_vendor);
}

double CEntry::GetDate() const
{
    return m_date;
}
void CEntry::SetDate(double date)
{
    MarkDirtyIf(date != m_date);
    m_date = date;
}
long CEntry::GetOdometer() const
{
    return m_odometer;
}
void CEntry::SetOdometer(long odometer)
{
    MarkDirtyIf(odometer != m_odometer);
    m_odometer = odometer;
}
unsigned long CEntry::GetVehicleID() const
{
    return m_vehicleID;
}
void CEntry::SetVehicleID(unsigned long vehicleRefID)
{
    MarkDirtyIf(vehicleRefID != m_vehicleID);
    m_vehicleID = vehicleRefID;
}
CEntry::Type CEntry::GetType() const
{
    return m_type;
}
void CEntry::SetType(Type type)
{
    MarkDirtyIf(type != m_type);
    m_type = type;
}
const AlkChar* CEntry::GetVendor() const
{
    return TextOf(m_vendor);
}
void CEntry::SetVendor(const AlkChar* value)
{
    SetText(&m_vendor, value);
}
float CEntry::GetAmount() const
{
    return m_amount;
}
void CEntry::SetAmount(float value)
{
    MarkDirtyIf(value != m_amount);
    m_amount = value;
}
float CEntry::GetCustom1() const
{
    return m_custom1;
}
void CEntry::SetCustom1(float value)
{
    MarkDirtyIf(value != m_custom1);
    m_custom1 = value;
}
float CEntry::GetCustom2() const
{
    return m_custom2;
}
void CEntry::SetCustom2(float value)
{
    MarkDirtyIf(value != m_custom2);
    m_custom2 = value;
}
