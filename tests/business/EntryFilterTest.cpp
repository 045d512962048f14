// Entry filter: the preset date ranges counted from the UTC date, custom ranges, and matching.
#include <memory>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "tests/support/TestClock.h"

namespace {

void ExpectTime(const SYSTEMTIME* t, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(year, t->wYear);
    EXPECT_EQ(month, t->wMonth);
    EXPECT_EQ(day, t->wDay);
    EXPECT_EQ(hour, t->wHour);
    EXPECT_EQ(minute, t->wMinute);
    EXPECT_EQ(second, t->wSecond);
    EXPECT_EQ(0, t->wMilliseconds);
}

CEntry* MakeEntry(double date, unsigned long vehicle = 7, CEntry::Type type = CEntry::etFuel)
{
    return CEntryRecord(vehicle, type).Date(date).Take();
}

TEST(EntryFilterRanges, AllDatesHasNoRange)
{
    CEntryFilter f;
    EXPECT_EQ(CEntryFilter::drAll, f.GetDateRangeType());
    EXPECT_EQ(nullptr, f.GetStartDate());
    EXPECT_EQ(nullptr, f.GetEndDate());
    EXPECT_EQ(0, f.HaveDateRange());
}

TEST(EntryFilterRanges, PresetsCountFromTheUtcDate)
{
    CFixedClock clock(Utc(2008, 3, 15, 14, 30, 5, 250));
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drLastWeek);
    ExpectTime(f.GetStartDate(), 2008, 3, 8, 0, 0, 0);
    ExpectTime(f.GetEndDate(), 2008, 3, 15, 23, 59, 59);
    f.SetDateRangeType(CEntryFilter::drLastTwoWeeks);
    ExpectTime(f.GetStartDate(), 2008, 3, 1, 0, 0, 0);
    f.SetDateRangeType(CEntryFilter::drMonthToDate);
    ExpectTime(f.GetStartDate(), 2008, 3, 1, 0, 0, 0);
    ExpectTime(f.GetEndDate(), 2008, 3, 15, 23, 59, 59);
    f.SetDateRangeType(CEntryFilter::drYearToDate);
    ExpectTime(f.GetStartDate(), 2008, 1, 1, 0, 0, 0);
    EXPECT_EQ(1, f.HaveDateRange());
}

TEST(EntryFilterRanges, LastWeekCrossesTheYear)
{
    CFixedClock clock(Utc(2008, 1, 3, 0, 0, 1));
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drLastWeek);
    ExpectTime(f.GetStartDate(), 2007, 12, 27, 0, 0, 0);
    f.SetDateRangeType(CEntryFilter::drLastTwoWeeks);
    ExpectTime(f.GetStartDate(), 2007, 12, 20, 0, 0, 0);
}

TEST(EntryFilterRanges, LeapDayIsCounted)
{
    CFixedClock clock(Utc(2008, 3, 6, 12, 0, 0));
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drLastWeek);
    ExpectTime(f.GetStartDate(), 2008, 2, 28, 0, 0, 0);
}

TEST(EntryFilterRanges, PresetsFollowTheClock)
{
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drMonthToDate);
    {
        CFixedClock clock(Utc(2008, 3, 15));
        ExpectTime(f.GetStartDate(), 2008, 3, 1, 0, 0, 0);
    }
    CFixedClock clock(Utc(2009, 7, 2));
    ExpectTime(f.GetStartDate(), 2009, 7, 1, 0, 0, 0);
    ExpectTime(f.GetEndDate(), 2009, 7, 2, 23, 59, 59);
}

TEST(EntryFilterRanges, CustomRangeKeepsTheLastComputedPreset)
{
    CFixedClock clock(Utc(2008, 3, 15));
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drYearToDate);
    f.HaveDateRange();
    f.SetDateRangeType(CEntryFilter::drCustom);
    ExpectTime(f.GetStartDate(), 2008, 1, 1, 0, 0, 0);
    ExpectTime(f.GetEndDate(), 2008, 3, 15, 23, 59, 59);
}

TEST(EntryFilterRanges, SettersWithDateOnlyCoverWholeDays)
{
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drCustom);
    f.SetStartDate(Utc(2008, 3, 1, 8, 15, 0, 500), 1);
    f.SetEndDate(Utc(2008, 3, 31, 8, 15, 0, 500), 1);
    ExpectTime(f.GetStartDate(), 2008, 3, 1, 0, 0, 0);
    ExpectTime(f.GetEndDate(), 2008, 3, 31, 23, 59, 59);
    f.SetEndDate(Utc(2008, 4, 2, 8, 15, 0), 0);
    ExpectTime(f.GetEndDate(), 2008, 4, 2, 8, 15, 0);
    EXPECT_EQ(CEntryFilter::drCustom, f.GetDateRangeType());
}

TEST(EntryFilterRanges, UnsetCustomRangeAndUnknownTypesMatchEveryDate)
{
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drCustom);
    EXPECT_EQ(0, f.HaveDateRange());
    std::unique_ptr<CEntry> e(MakeEntry(1.0));
    EXPECT_EQ(1, f.EntryMatchesFilter(e.get()));

    // Values beyond the known ones behave as a custom range.
    f.SetDateRangeType(static_cast<CEntryFilter::DateRangeType>(9));
    f.SetStartDate(Utc(2008, 3, 1), 1);
    f.SetEndDate(Utc(2008, 3, 2), 1);
    ExpectTime(f.GetStartDate(), 2008, 3, 1, 0, 0, 0);
    EXPECT_EQ(0, f.EntryMatchesFilter(e.get()));
}

TEST(EntryFilterMatch, EmptyFilterMatchesAnything)
{
    CEntryFilter f;
    std::unique_ptr<CEntry> e(MakeEntry(0.0, 0, CEntry::etNone));
    EXPECT_EQ(1, f.EntryMatchesFilter(e.get()));
    std::unique_ptr<CEntry> other(MakeEntry(99999.5, 3000000000u, CEntry::etExpense));
    EXPECT_EQ(1, f.EntryMatchesFilter(other.get()));
}

TEST(EntryFilterMatch, VehicleAndTypeMustAgree)
{
    CEntryFilter f;
    f.SetVehicleID(7);
    f.SetEntryType(CEntry::etTrip);
    std::unique_ptr<CEntry> match(MakeEntry(39500, 7, CEntry::etTrip));
    std::unique_ptr<CEntry> otherVehicle(MakeEntry(39500, 8, CEntry::etTrip));
    std::unique_ptr<CEntry> otherType(MakeEntry(39500, 7, CEntry::etFuel));
    EXPECT_EQ(1, f.EntryMatchesFilter(match.get()));
    EXPECT_EQ(0, f.EntryMatchesFilter(otherVehicle.get()));
    EXPECT_EQ(0, f.EntryMatchesFilter(otherType.get()));
}

TEST(EntryFilterMatch, BothEndsOfTheRangeAreIncluded)
{
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drCustom);
    f.SetStartDate(Utc(2008, 3, 1), 1);
    f.SetEndDate(Utc(2008, 3, 31), 1);
    const double cases[][2] = {
        {OleDate(Utc(2008, 3, 1, 0, 0, 0)), 1},     {OleDate(Utc(2008, 3, 31, 23, 59, 59)), 1},
        {OleDate(Utc(2008, 2, 29, 23, 59, 59)), 0}, {OleDate(Utc(2008, 4, 1, 0, 0, 0)), 0},
        {OleDate(Utc(2008, 3, 15, 12, 0, 0)), 1},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CEntry> e(MakeEntry(c[0]));
        EXPECT_EQ(static_cast<int>(c[1]), f.EntryMatchesFilter(e.get())) << "date " << c[0];
    }
}

TEST(EntryFilterMatch, LastWeekSpansEightCalendarDays)
{
    CFixedClock clock(Utc(2008, 3, 15, 9, 0, 0));
    CEntryFilter f;
    f.SetDateRangeType(CEntryFilter::drLastWeek);
    std::unique_ptr<CEntry> first(MakeEntry(OleDate(Utc(2008, 3, 8, 0, 0, 0))));
    std::unique_ptr<CEntry> before(MakeEntry(OleDate(Utc(2008, 3, 7, 23, 59, 59))));
    std::unique_ptr<CEntry> laterToday(MakeEntry(OleDate(Utc(2008, 3, 15, 22, 0, 0))));
    EXPECT_EQ(1, f.EntryMatchesFilter(first.get()));
    EXPECT_EQ(0, f.EntryMatchesFilter(before.get()));
    EXPECT_EQ(1, f.EntryMatchesFilter(laterToday.get()));
}

}  // namespace
