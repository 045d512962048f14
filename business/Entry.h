// One entry of a vehicle's log. What Vendor, Amount, Custom1 and Custom2 mean depends on the type:
//   fuel:    Vendor = fuel vendor, Amount = total cost, Custom1 = quantity, Custom2 = unit price
//   repair:  Name = description, Vendor = vendor, Amount = cost
//   trip:    Name = description, Vendor = category, Amount = mileage expense,
//            Custom1 = start odometer, Custom2 = end odometer (Odometer is the end odometer too)
//   expense: Name = description, Vendor = vendor, Amount = cost
// The date defaults to the UTC time of construction in whole seconds.
#pragma once

#include "business/BaseObject.h"

class ALKBIZ_API CEntry : public CBaseObject {
public:
    enum Type {
        etNone = 0,  // any type, in a filter
        etFuel = 1,
        etRepair = 2,
        etTrip = 3,
        etExpense = 4
    };

    CEntry();
    ~CEntry() override;

    double GetDate() const;
    void SetDate(double date);
    long GetOdometer() const;
    void SetOdometer(long odometer);
    // RefID of the owning vehicle.
    unsigned long GetVehicleID() const;
    void SetVehicleID(unsigned long vehicleRefID);
    Type GetType() const;
    void SetType(Type type);
    const AlkChar* GetVendor() const;
    void SetVendor(const AlkChar* value);
    float GetAmount() const;
    void SetAmount(float value);
    float GetCustom1() const;
    void SetCustom1(float value);
    float GetCustom2() const;
    void SetCustom2(float value);

private:
    double m_date;
    long m_odometer;
    unsigned long m_vehicleID;
    Type m_type;
    AlkChar* m_vendor;
    float m_amount;
    float m_custom1;
    float m_custom2;
};
