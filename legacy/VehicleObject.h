// One row of the old "Vehicles" table: the base description is the vehicle's name, the base id
// its VehicleId.
#pragma once

#include "business/AlkBiz.h"
#include "framework/OleDateTime.h"
#include "legacy/ADORecordset.h"
#include "legacy/BaseObject.h"

class __CVehicleObject : public __CBaseObject {
    DECLARE_DYNAMIC(__CVehicleObject)

public:
    __CVehicleObject();

    void Reset() override;
    // Reads the current row (VehicleId, Name, VIN, LicensePlate, Year, DealerLocation,
    // DealerPhone, Odometer, RegistrationDate, Notes, InsurancePolicyNum, InsuranceAgentName,
    // InsuranceAgentPhone, InsuranceCoverageNotes, InsuranceExpirationDate, in that order); the
    // getters' results are not examined.
    void Read(CADORecordset& rows);
    // A new vehicle with this row's values: the old id as its row id, reference id 0. Null when
    // it could not be allocated.
    CVehicle* CreateVehicle() const;

    std::wstring m_VIN;
    std::wstring m_LicensePlate;
    std::wstring m_DealerLocation;
    std::wstring m_DealerPhone;
    std::wstring m_InsurancePolicyNum;
    std::wstring m_InsuranceAgentName;
    std::wstring m_InsuranceAgentPhone;
    std::wstring m_InsuranceCoverageNotes;
    std::wstring m_Notes;
    long m_Year = 2002;
    long m_Odometer = 25000;
    COleDateTime m_RegistrationDate;
    COleDateTime m_InsuranceExpirationDate;

private:
    COleDateTime m_constructed;  // local time of construction: the dates' default
};
