#include "business/Vehicle.h"

#include "business/StringHelper.h"
#include "business/UtcClock.h"

CVehicle::CVehicle()
    : m_licensePlate(nullptr),
      m_vin(nullptr),
      m_dealerName(nullptr),
      m_dealerPhone(nullptr),
      m_dealerAddress(nullptr),
      m_insurancePolicyNumber(nullptr),
      m_insuranceAgentName(nullptr),
      m_insuranceAgentPhone(nullptr),
      m_insuranceCoverage(nullptr),
      m_insuranceExpirationDate(0),
      m_currentOdometer(20000),
      m_year(2002),
      m_imagePath(nullptr)
{
    SetObjectType(otVehicle);
    SYSTEMTIME endOfYear;
    CUtcClock::Now(&endOfYear);
    endOfYear.wMonth = 12;
    endOfYear.wDay = 31;
    endOfYear.wHour = 0;
    endOfYear.wMinute = 0;
    endOfYear.wSecond = 0;
    endOfYear.wMilliseconds = 0;
    m_insuranceExpirationDate = CUtcClock::ToOLEDate(endOfYear);
}

CVehicle::~CVehicle()
{
    AlkChar** texts[] = {&m_licensePlate,       &m_vin,
                         &m_dealerName,         &m_dealerPhone,
                         &m_dealerAddress,      &m_insurancePolicyNumber,
                         &m_insuranceAgentName, &m_insuranceAgentPhone,
                         &m_insuranceCoverage,  &m_imagePath};
    for (AlkChar** text : texts) CStringHelper::FreeStringValue(text);
}

const AlkChar* CVehicle::GetLicensePlate() const
{
    return TextOf(m_licensePlate);
}
void CVehicle::SetLicensePlate(const AlkChar* value)
{
    SetText(&m_licensePlate, value);
}
const AlkChar* CVehicle::GetVIN() const
{
    return TextOf(m_vin);
}
void CVehicle::SetVIN(const AlkChar* value)
{
    SetText(&m_vin, value);
}
const AlkChar* CVehicle::GetDealerName() const
{
    return TextOf(m_dealerName);
}
void CVehicle::SetDealerName(const AlkChar* value)
{
    SetText(&m_dealerName, value);
}
const AlkChar* CVehicle::GetDealerPhone() const
{
    return TextOf(m_dealerPhone);
}
void CVehicle::SetDealerPhone(const AlkChar* value)
{
    SetText(&m_dealerPhone, value);
}
const AlkChar* CVehicle::GetDealerAddress() const
{
    return TextOf(m_dealerAddress);
}
void CVehicle::SetDealerAddress(const AlkChar* value)
{
    SetText(&m_dealerAddress, value);
}
const AlkChar* CVehicle::GetInsurancePolicyNumber() const
{
    return TextOf(m_insurancePolicyNumber);
}
void CVehicle::SetInsurancePolicyNumber(const AlkChar* value)
{
    SetText(&m_insurancePolicyNumber, value);
}
const AlkChar* CVehicle::GetInsuranceAgentName() const
{
    return TextOf(m_insuranceAgentName);
}
void CVehicle::SetInsuranceAgentName(const AlkChar* value)
{
    SetText(&m_insuranceAgentName, value);
}
const AlkChar* CVehicle::GetInsuranceAgentPhone() const
{
    return TextOf(m_insuranceAgentPhone);
}
void CVehicle::SetInsuranceAgentPhone(const AlkChar* value)
{
    SetText(&m_insuranceAgentPhone, value);
}
const AlkChar* CVehicle::GetInsuranceCoverage() const
{
    return TextOf(m_insuranceCoverage);
}
void CVehicle::SetInsuranceCoverage(const AlkChar* value)
{
    SetText(&m_insuranceCoverage, value);
}
const AlkChar* CVehicle::GetImagePath() const
{
    return TextOf(m_imagePath);
}
void CVehicle::SetImagePath(const AlkChar* value)
{
    SetText(&m_imagePath, value);
}

double CVehicle::GetInsuranceExpirationDate() const
{
    return m_insuranceExpirationDate;
}
void CVehicle::SetInsuranceExpirationDate(double date)
{
    MarkDirtyIf(date != m_insuranceExpirationDate);
    m_insuranceExpirationDate = date;
}
long CVehicle::GetCurrentOdometer() const
{
    return m_currentOdometer;
}
void CVehicle::SetCurrentOdometer(long odometer)
{
    MarkDirtyIf(odometer != m_currentOdometer);
    m_currentOdometer = odometer;
}
int CVehicle::GetYear() const
{
    return m_year;
}
void CVehicle::SetYear(int year)
{
    MarkDirtyIf(year != m_year);
    m_year = year;
}
