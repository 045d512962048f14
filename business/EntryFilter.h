// Which entries a view shows: one vehicle (0 any), one type (0 any) and a date range. The preset
// ranges count from the UTC date of "now" and are recomputed on every read of the start or end
// date. A plain value: copy it freely.
#pragma once

#include "business/Entry.h"

class ALKBIZ_API CEntryFilter {
public:
    enum DateRangeType {
        drAll = 0,
        drLastWeek = 1,
        drLastTwoWeeks = 2,
        drMonthToDate = 3,
        drYearToDate = 4,
        drCustom = 5  // so is every value above 4
    };

    CEntryFilter();
    ~CEntryFilter();

    DateRangeType GetDateRangeType() const;
    void SetDateRangeType(DateRangeType type);
    CEntry::Type GetEntryType() const;
    void SetEntryType(CEntry::Type type);
    unsigned long GetVehicleID() const;
    void SetVehicleID(unsigned long vehicleRefID);

    // Null for drAll; the preset ranges are computed, stored and returned; otherwise the stored
    // date. Start: the first day at 00:00:00.000; end: the last day at 23:59:59.000 (UTC).
    SYSTEMTIME* GetStartDate();
    SYSTEMTIME* GetEndDate();
    // dateOnly: start at 00:00:00.000, end at 23:59:59.000 of the given day.
    void SetStartDate(SYSTEMTIME date, int dateOnly);
    void SetEndDate(SYSTEMTIME date, int dateOnly);

    // True when a range applies and both ends have a year.
    int HaveDateRange();
    int EntryMatchesFilter(CEntry* entry);

private:
    SYSTEMTIME DateAddDiff(int days, const SYSTEMTIME* base);

    SYSTEMTIME m_startDate;
    SYSTEMTIME m_endDate;
    CEntry::Type m_entryType;
    unsigned long m_vehicleID;
    DateRangeType m_dateRangeType;
};
