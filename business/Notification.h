// A reminder: due when the vehicle's odometer reaches Odometer or when Date has passed. Its Name
// is the description; its Notes are never stored.
#pragma once

#include "business/BaseObject.h"

class ALKBIZ_API CNotification : public CBaseObject {
public:
    CNotification();
    ~CNotification() override;

    double GetDate() const;
    void SetDate(double date);
    long GetOdometer() const;
    void SetOdometer(long odometer);
    // RefID of the owning vehicle.
    unsigned long GetVehicleID() const;
    void SetVehicleID(unsigned long vehicleRefID);

private:
    double m_date;
    long m_odometer;
    unsigned long m_vehicleID;
};
