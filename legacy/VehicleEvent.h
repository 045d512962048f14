// One row of the old "events" table: the base id is its EventId, the base description its
// Description. EventType says what the event was: 1 fuel, 2 and 3 repair or maintenance, 4 trip
// (Custom3 "B" business, "P" personal), 5 other expense.
#pragma once

#include "business/AlkBiz.h"
#include "framework/OleDateTime.h"
#include "legacy/ADORecordset.h"
#include "legacy/BaseObject.h"

class __CVehicleEvent : public __CBaseObject {
    DECLARE_DYNAMIC(__CVehicleEvent)

public:
    __CVehicleEvent();

    void Reset() override;
    // Reads the current row (EventId, VehicleId, EventType, EventDate, Vendor, Amount, Odometer,
    // Description, Notes, Custom1, Custom2, Custom3, TriggerId, in that order).
    void Read(CADORecordset& rows);
    // A new entry with this row's values, its vehicle reference id the old VehicleId; row id and
    // reference id 0. Null when it could not be allocated.
    CEntry* CreateEntry() const;

    int m_EventType = 0;
    long m_VehicleId = -1;
    COleDateTime m_EventDate;
    std::wstring m_Vendor;
    float m_Amount = 0;
    long m_Odometer = 0;
    std::wstring m_Notes;
    float m_Custom1 = 0;
    float m_Custom2 = 0;
    std::wstring m_Custom3;
    long m_TriggerId = -1;

private:
    COleDateTime m_constructed;
};
