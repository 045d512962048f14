#include "legacy/VehicleObject.h"

IMPLEMENT_DYNAMIC(__CVehicleObject, __CBaseObject)

__CVehicleObject::__CVehicleObject() : m_constructed(COleDateTime::Now())
{
    Reset();
}

void __CVehicleObject::Reset()
{
    __CBaseObject::Reset();
    m_VIN.clear();
    m_LicensePlate.clear();
    m_DealerLocation.clear();
    m_DealerPhone.clear();
    m_InsurancePolicyNum.clear();
    m_InsuranceAgentName.clear();
    m_InsuranceAgentPhone.clear();
    m_InsuranceCoverageNotes.clear();
    m_Notes.clear();
    m_Year = 2002;
    m_Odometer = 25000;
    m_RegistrationDate = m_constructed;
    m_InsuranceExpirationDate = m_constructed;
}

void __CVehicleObject::Read(CADORecordset& rows)
{
    // A date that the row leaves unset is seen as null.
    m_RegistrationDate.SetStatus(COleDateTime::null);
    m_InsuranceExpirationDate.SetStatus(COleDateTime::null);
    rows.GetFieldValue(L"VehicleId", m_id);
    rows.GetFieldValue(L"Name", m_description);
    rows.GetFieldValue(L"VIN", m_VIN);
    rows.GetFieldValue(L"LicensePlate", m_LicensePlate);
    rows.GetFieldValue(L"Year", m_Year);
    rows.GetFieldValue(L"DealerLocation", m_DealerLocation);
    rows.GetFieldValue(L"DealerPhone", m_DealerPhone);
    rows.GetFieldValue(L"Odometer", m_Odometer);
    rows.GetFieldValue(L"RegistrationDate", m_RegistrationDate);
    rows.GetFieldValue(L"Notes", m_Notes);
    rows.GetFieldValue(L"InsurancePolicyNum", m_InsurancePolicyNum);
    rows.GetFieldValue(L"InsuranceAgentName", m_InsuranceAgentName);
    rows.GetFieldValue(L"InsuranceAgentPhone", m_InsuranceAgentPhone);
    rows.GetFieldValue(L"InsuranceCoverageNotes", m_InsuranceCoverageNotes);
    rows.GetFieldValue(L"InsuranceExpirationDate", m_InsuranceExpirationDate);
}

CVehicle* __CVehicleObject::CreateVehicle() const
{
    CVehicle* vehicle = new CVehicle;
    if (!vehicle) return nullptr;
    vehicle->SetID(m_id);
    vehicle->SetName(m_description.c_str());
    vehicle->SetVIN(m_VIN.c_str());
    vehicle->SetLicensePlate(m_LicensePlate.c_str());
    vehicle->SetDealerPhone(m_DealerPhone.c_str());
    vehicle->SetInsuranceAgentName(m_InsuranceAgentName.c_str());
    vehicle->SetInsuranceAgentPhone(m_InsuranceAgentPhone.c_str());
    vehicle->SetInsuranceCoverage(m_InsuranceCoverageNotes.c_str());
    vehicle->SetInsurancePolicyNumber(m_InsurancePolicyNum.c_str());
    vehicle->SetYear(static_cast<int>(m_Year));
    vehicle->SetCurrentOdometer(m_Odometer);
    vehicle->SetNotes(m_Notes.c_str());
    vehicle->SetDealerName(m_DealerLocation.c_str());
    if (m_InsuranceExpirationDate.GetStatus() == COleDateTime::valid)
        vehicle->SetInsuranceExpirationDate(m_InsuranceExpirationDate.m_dt);
    return vehicle;
}
