#include "business/EntryFilter.h"

#include <cstring>

#include "business/UtcClock.h"

namespace {

// 100-nanosecond units in one day.
const long long kFileTimeDay = 864000000000LL;

void SetTimeOfDay(SYSTEMTIME* t, WORD hour, WORD minute, WORD second)
{
    t->wHour = hour;
    t->wMinute = minute;
    t->wSecond = second;
    t->wMilliseconds = 0;
}

// Last week, last two weeks, month to date and year to date are computed from "now"; every other
// value but 0 is a custom range.
bool IsPreset(CEntryFilter::DateRangeType type)
{
    return static_cast<unsigned>(type) - 1u < 4u;
}

}  // namespace

CEntryFilter::CEntryFilter() : m_entryType(CEntry::etNone), m_vehicleID(0), m_dateRangeType(drAll)
{
    std::memset(&m_startDate, 0, sizeof m_startDate);
    std::memset(&m_endDate, 0, sizeof m_endDate);
}

CEntryFilter::~CEntryFilter() {}

CEntryFilter::DateRangeType CEntryFilter::GetDateRangeType() const
{
    return m_dateRangeType;
}
void CEntryFilter::SetDateRangeType(DateRangeType type)
{
    m_dateRangeType = type;
}
CEntry::Type CEntryFilter::GetEntryType() const
{
    return m_entryType;
}
void CEntryFilter::SetEntryType(CEntry::Type type)
{
    m_entryType = type;
}
unsigned long CEntryFilter::GetVehicleID() const
{
    return m_vehicleID;
}
void CEntryFilter::SetVehicleID(unsigned long vehicleRefID)
{
    m_vehicleID = vehicleRefID;
}

SYSTEMTIME* CEntryFilter::GetStartDate()
{
    if (m_dateRangeType == drAll) return nullptr;
    if (!IsPreset(m_dateRangeType)) return &m_startDate;

    SYSTEMTIME today;
    CUtcClock::Now(&today);
    SetTimeOfDay(&today, 0, 0, 0);
    switch (m_dateRangeType) {
    case drLastWeek: m_startDate = DateAddDiff(-7, &today); break;
    case drLastTwoWeeks: m_startDate = DateAddDiff(-14, &today); break;
    case drMonthToDate:
        m_startDate = today;
        m_startDate.wDay = 1;
        break;
    default:  // year to date
        m_startDate = today;
        m_startDate.wMonth = 1;
        m_startDate.wDay = 1;
        break;
    }
    // The day of week of an adjusted date is stale; FileTime round trips recompute it.
    m_startDate = DateAddDiff(0, &m_startDate);
    return &m_startDate;
}

SYSTEMTIME* CEntryFilter::GetEndDate()
{
    if (m_dateRangeType == drAll) return nullptr;
    if (!IsPreset(m_dateRangeType)) return &m_endDate;

    CUtcClock::Now(&m_endDate);
    SetTimeOfDay(&m_endDate, 23, 59, 59);
    return &m_endDate;
}

void CEntryFilter::SetStartDate(SYSTEMTIME date, int dateOnly)
{
    m_startDate = date;
    if (dateOnly) SetTimeOfDay(&m_startDate, 0, 0, 0);
}

void CEntryFilter::SetEndDate(SYSTEMTIME date, int dateOnly)
{
    m_endDate = date;
    if (dateOnly) SetTimeOfDay(&m_endDate, 23, 59, 59);
}

int CEntryFilter::HaveDateRange()
{
    if (m_dateRangeType == drAll) return 0;
    const SYSTEMTIME* start = GetStartDate();
    const SYSTEMTIME* end = GetEndDate();
    return start && end && start->wYear != 0 && end->wYear != 0;
}

int CEntryFilter::EntryMatchesFilter(CEntry* entry)
{
    if (m_vehicleID != 0 && m_vehicleID != entry->GetVehicleID()) return 0;
    if (m_entryType != CEntry::etNone && m_entryType != entry->GetType()) return 0;
    if (!HaveDateRange()) return 1;
    const double start = CUtcClock::ToOLEDate(m_startDate);
    const double end = CUtcClock::ToOLEDate(m_endDate);
    const double date = entry->GetDate();
    return start <= date && date <= end;
}

SYSTEMTIME CEntryFilter::DateAddDiff(int days, const SYSTEMTIME* base)
{
    FILETIME fileTime;
    SYSTEMTIME result = *base;
    if (!SystemTimeToFileTime(base, &fileTime)) return result;
    ULARGE_INTEGER units;
    units.LowPart = fileTime.dwLowDateTime;
    units.HighPart = fileTime.dwHighDateTime;
    units.QuadPart += static_cast<long long>(days) * kFileTimeDay;
    fileTime.dwLowDateTime = units.LowPart;
    fileTime.dwHighDateTime = units.HighPart;
    FileTimeToSystemTime(&fileTime, &result);
    return result;
}
