// A vehicle and its particulars. Defaults: insurance expiring on 31 December of the current UTC
// year at 00:00:00, current odometer 20000, model year 2002, every text unset.
#pragma once

#include "business/BaseObject.h"

class ALKBIZ_API CVehicle : public CBaseObject {
public:
    CVehicle();
    ~CVehicle() override;

    const AlkChar* GetLicensePlate() const;
    void SetLicensePlate(const AlkChar* value);
    const AlkChar* GetVIN() const;
    void SetVIN(const AlkChar* value);
    const AlkChar* GetDealerName() const;
    void SetDealerName(const AlkChar* value);
    const AlkChar* GetDealerPhone() const;
    void SetDealerPhone(const AlkChar* value);
    const AlkChar* GetDealerAddress() const;
    void SetDealerAddress(const AlkChar* value);
    const AlkChar* GetInsurancePolicyNumber() const;
    void SetInsurancePolicyNumber(const AlkChar* value);
    const AlkChar* GetInsuranceAgentName() const;
    void SetInsuranceAgentName(const AlkChar* value);
    const AlkChar* GetInsuranceAgentPhone() const;
    void SetInsuranceAgentPhone(const AlkChar* value);
    const AlkChar* GetInsuranceCoverage() const;
    void SetInsuranceCoverage(const AlkChar* value);
    double GetInsuranceExpirationDate() const;
    void SetInsuranceExpirationDate(double date);
    long GetCurrentOdometer() const;
    void SetCurrentOdometer(long odometer);
    int GetYear() const;
    void SetYear(int year);
    const AlkChar* GetImagePath() const;
    void SetImagePath(const AlkChar* value);

private:
    AlkChar* m_licensePlate;
    AlkChar* m_vin;
    AlkChar* m_dealerName;
    AlkChar* m_dealerPhone;
    AlkChar* m_dealerAddress;
    AlkChar* m_insurancePolicyNumber;
    AlkChar* m_insuranceAgentName;
    AlkChar* m_insuranceAgentPhone;
    AlkChar* m_insuranceCoverage;
    double m_insuranceExpirationDate;
    long m_currentOdometer;
    int m_year;
    AlkChar* m_imagePath;
};
