// The rule by which the file keeps dates (CStoredDate), at its edges: dates half a step apart,
// whole seconds that lie exactly half-way between two steps, the ends of the date range; checked
// against what the file itself gives back for each.
#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "tests/support/TestDatabase.h"

namespace {

const double kDay = 46000.0;  // 9 December 2025
const double kSecond = 1.0 / 86400.0;

// Dates at the edges of the rule: around the middle of a step, and whole seconds of the day whose
// date ends exactly half-way between two steps (odd multiples of 1/128 of a day: 00:11:15,
// 00:33:45, 12:11:15, 23:48:45), and the first and last days an OLE date names in the program.
const double kEdges[] = {kDay,
                         kDay + 0.0000004,
                         kDay + 0.0000005,
                         kDay + 0.0000006,
                         kDay + 0.0000014999,
                         kDay + 675 * kSecond,
                         kDay + 3 * 675 * kSecond,
                         kDay + 65 * 675 * kSecond,
                         kDay + 127 * 675 * kSecond,
                         kDay + 37 * kSecond,
                         -657434.0 + 0.5,
                         2958465.0 + 86399 * kSecond};

// The date as the file gives it back: saved as an entry's date, loaded again.
double ThroughTheFile(CDataLayer& db, double date)
{
    CEntryRecord record(7, CEntry::etFuel);
    record.Date(date);
    if (!record.Save(db)) return -1e300;
    CEntry loaded;
    loaded.SetID(record.Get().GetID());
    return db.Load(&loaded) ? loaded.GetDate() : -1e300;
}

}  // namespace

TEST(StoredDateTest, DatesAreTheSameExactlyWhenTheyPrintAlike)
{
    EXPECT_TRUE(CStoredDate::Same(kDay + 37 * kSecond, 46000.000428)) << "a whole second and its six decimals";
    EXPECT_TRUE(CStoredDate::Same(kDay, kDay + 0.0000004)) << "less than half a step";
    EXPECT_TRUE(CStoredDate::Same(kDay + 0.0000006, kDay + 0.000001));
    EXPECT_FALSE(CStoredDate::Same(kDay + 0.0000004, kDay + 0.0000006)) << "either side of the middle";
    EXPECT_FALSE(CStoredDate::Same(kDay, kDay + CStoredDate::Step));
    EXPECT_FALSE(CStoredDate::Same(kDay, kDay + kSecond));
    EXPECT_TRUE(CStoredDate::Same(-1.5, -1.5));
    EXPECT_FALSE(CStoredDate::Same(-1.5, 1.5));
}

TEST(StoredDateTest, EveryDateIsTheSameAsWhatTheFileGivesBack)
{
    CTestDatabase file;
    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(file.Path().c_str()));
    for (double date : kEdges) {
        const double back = ThroughTheFile(db, date);
        EXPECT_TRUE(CStoredDate::Same(date, back)) << std::fixed << date << " came back as " << back;
        EXPECT_TRUE(CStoredDate::Same(back, date)) << std::fixed << date;
        EXPECT_EQ(back, ThroughTheFile(db, back)) << std::fixed << date << ": what came back stays";
        // A step away is another date, of the file as of the rule.
        const double next = ThroughTheFile(db, back + CStoredDate::Step);
        EXPECT_NE(back, next) << std::fixed << date;
        EXPECT_FALSE(CStoredDate::Same(back, next)) << std::fixed << date;
    }
}

TEST(StoredDateTest, LaterIsNowOrOneStepAfterAndAlwaysAnotherDate)
{
    EXPECT_EQ(kDay + 1, CStoredDate::Later(kDay, kDay + 1)) << "a clock well after: now";
    for (double stored : kEdges) {
        for (double now : {stored - 1.0, stored, stored + CStoredDate::Step / 2}) {
            const double later = CStoredDate::Later(stored, now);
            EXPECT_EQ(stored + CStoredDate::Step, later) << std::fixed << stored << " at " << now;
            EXPECT_FALSE(CStoredDate::Same(stored, later)) << std::fixed << stored << " at " << now;
            EXPECT_GT(later, stored);
        }
    }
}
