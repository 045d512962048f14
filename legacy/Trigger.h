// One row of the old "Triggers" table, a reminder: the base description is its Description.
#pragma once

#include "business/AlkBiz.h"
#include "framework/OleDateTime.h"
#include "legacy/ADORecordset.h"
#include "legacy/BaseObject.h"

class __CTrigger : public __CBaseObject {
    DECLARE_DYNAMIC(__CTrigger)

public:
    __CTrigger();

    void Reset() override;
    // Reads the current row (VehicleId, TargetDate, Description, TargetOdometer, in that order).
    void Read(CADORecordset& rows);
    // A new reminder with this row's values, its vehicle reference id the old VehicleId; row id
    // and reference id 0. Null when it could not be allocated.
    CNotification* CreateNotification() const;

    long m_VehicleId = -1;
    long m_TargetOdometer = 0;
    COleDateTime m_TargetDate;

private:
    COleDateTime m_constructed;
};
