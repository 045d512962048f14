// The quick statistics computed over entries stored through AlkBiz, in the stored units, and the
// unit conversions with their single-precision constants.
#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "desktop/QuickStats.h"
#include "ListsTestSupport.h"

namespace {

class QuickStatsCompute : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_file.Connected());  // the settings at their defaults: miles, US gallons, mi/gal
        m_car = CVehicleRecord(L"Car").Year(2004).Save(g_DataLayer);
        m_filter.SetVehicleID(m_car);
    }
    void Fuel(long odometer, float quantity, float cost, const wchar_t* vendor = L"")
    {
        EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                          .Odometer(odometer)
                          .Amount(cost)
                          .Custom(quantity, quantity > 0 ? cost / quantity : 0)
                          .Vendor(vendor)
                          .Save(g_DataLayer));
    }

    CSettingsScope m_settings;
    CTestDataFile m_file;
    unsigned long m_car = 0;
    CEntryFilter m_filter;
    CQuickStats m_stats;
};

TEST_F(QuickStatsCompute, ThreeFillUpsGiveTheAverageOverAllButTheOldest)
{
    Fuel(1000, 10, 30, L"First Gas");
    Fuel(1300, 12, 36, L"Second Gas");
    Fuel(1600, 10, 31, L"Third Gas");

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(600.0f / 22.0f, m_stats.GetAverageFuelEconomy());  // 27.27 mi/gal
    EXPECT_EQ(30.0f, m_stats.GetRecentFuelEconomy());
    EXPECT_STREQ(L"Second Gas", m_stats.GetPrevFillVendor());
    EXPECT_EQ(22.0f, m_stats.GetFuelConsumed());
    EXPECT_EQ(32.0f, m_stats.GetTotalFuelQuantity());
    EXPECT_EQ(97.0f, m_stats.GetFuelExpense());
    EXPECT_EQ(97.0f / 32.0f, m_stats.GetAverageFuelCost());                 // $3.03 per gal
    EXPECT_EQ(static_cast<float>(22 / 6.0), m_stats.GetConsumptionRate());  // 3.67 per 100 miles
    EXPECT_EQ(600, m_stats.GetDistance());
    EXPECT_EQ(97.0f, m_stats.GetTotalExpense());
    EXPECT_EQ(static_cast<float>(97 / 6.0), m_stats.GetCostOfOwnership());
    EXPECT_STREQ(L"All Dates", m_stats.GetDateRangeText());
}

// The consumption is the single-precision fuel divided, in double precision, by a hundredth of the
// distance, then rounded to single. 55.43f / 4.48 is 12.37276793 as a double and rounds to
// 12.37276745f; carried in the x87's 80-bit registers it would round to 12.3727684f instead, so
// this holds only where the build computes in IEEE double (both of ours do).
TEST_F(QuickStatsCompute, ConsumptionIsDividedInDoublePrecisionThenRounded)
{
    Fuel(1000, 0.25f, 1);  // the oldest: its fuel is not counted, and 0.25 leaves 55.43f exact
    Fuel(1448, 55.43f, 60);

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(55.43f, m_stats.GetFuelConsumed());
    EXPECT_EQ(12.37276745f, m_stats.GetConsumptionRate());
    EXPECT_NE(12.3727684f, m_stats.GetConsumptionRate());
}

TEST_F(QuickStatsCompute, RepairAndFuelGiveTheCostOfOwnership)
{
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etRepair)
                      .Odometer(5000)
                      .Amount(250)
                      .Vendor(L"Garage")
                      .Description(L"Brakes")
                      .Save(g_DataLayer));
    Fuel(5150, 10, 40);

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(150, m_stats.GetDistance());
    EXPECT_EQ(290.0f, m_stats.GetTotalExpense());
    EXPECT_EQ(static_cast<float>(290 / 1.5), m_stats.GetCostOfOwnership());  // $193.33
    EXPECT_NEAR(193.33, m_stats.GetCostOfOwnership(), 0.005);
    // One fill-up: no distance to divide by, for either economy.
    EXPECT_EQ(-1.0f, m_stats.GetAverageFuelEconomy());
    EXPECT_EQ(-1.0f, m_stats.GetRecentFuelEconomy());
    EXPECT_EQ(40.0f, m_stats.GetFuelExpense());
    EXPECT_EQ(0.0f, m_stats.GetConsumptionRate());
}

TEST_F(QuickStatsCompute, OneFillUpCountsInTotalsButNotInConsumption)
{
    Fuel(2000, 12.5f, 40.625f);  // 3.25 a gallon

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(-1.0f, m_stats.GetAverageFuelEconomy());
    EXPECT_EQ(-1.0f, m_stats.GetRecentFuelEconomy());
    EXPECT_EQ(0.0f, m_stats.GetFuelConsumed());
    EXPECT_EQ(12.5f, m_stats.GetTotalFuelQuantity());
    EXPECT_EQ(40.625f, m_stats.GetFuelExpense());
    EXPECT_EQ(3.25f, m_stats.GetAverageFuelCost());
    EXPECT_EQ(0, m_stats.GetDistance());
    EXPECT_EQ(0.0f, m_stats.GetCostOfOwnership());
    EXPECT_STREQ(L"", m_stats.GetPrevFillVendor());
}

TEST_F(QuickStatsCompute, NoEntriesLeaveEveryNumberZero)
{
    Fuel(1000, 10, 30);
    EXPECT_NE(0u, CEntryRecord(CVehicleRecord(L"Other").Year(2004).Save(g_DataLayer), CEntry::etFuel)
                      .Odometer(3000)
                      .Amount(20)
                      .Custom(5, 4)
                      .Save(g_DataLayer));
    m_filter.SetEntryType(CEntry::etTrip);  // nothing of this type

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_STREQ(L"All Dates", m_stats.GetDateRangeText());
    for (float figure : {m_stats.GetAverageFuelEconomy(), m_stats.GetRecentFuelEconomy(), m_stats.GetFuelConsumed(),
                         m_stats.GetConsumptionRate(), m_stats.GetTotalFuelQuantity(), m_stats.GetCostOfOwnership(),
                         m_stats.GetTotalExpense(), m_stats.GetFuelExpense(), m_stats.GetAverageFuelCost()})
        EXPECT_EQ(0.0f, figure);
    EXPECT_EQ(0, m_stats.GetDistance());
}

TEST_F(QuickStatsCompute, OnlyTheFilteredEntriesCount)
{
    Fuel(1000, 10, 30);
    EXPECT_NE(0u,
              CEntryRecord(m_car, CEntry::etExpense).Odometer(1100).Amount(15).Description(L"Wash").Save(g_DataLayer));
    Fuel(1400, 10, 35);
    // Another vehicle's entries never count.
    const unsigned long other = CVehicleRecord(L"Other").Year(2004).Save(g_DataLayer);
    EXPECT_NE(0u, CEntryRecord(other, CEntry::etFuel).Odometer(90000).Amount(500).Custom(50, 10).Save(g_DataLayer));

    m_filter.SetEntryType(CEntry::etFuel);
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(65.0f, m_stats.GetTotalExpense());
    EXPECT_EQ(400, m_stats.GetDistance());
    EXPECT_EQ(40.0f, m_stats.GetAverageFuelEconomy());

    m_filter.SetEntryType(CEntry::etNone);
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(80.0f, m_stats.GetTotalExpense());
}

TEST_F(QuickStatsCompute, EmptyLastFillUpIsNotAnEconomyButEndsTheFuelDistance)
{
    Fuel(1000, 10, 30, L"A");
    Fuel(1300, 12, 36, L"B");
    Fuel(1600, 0, 0, L"C");

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(0.0f, m_stats.GetRecentFuelEconomy());  // not computed
    EXPECT_EQ(12.0f, m_stats.GetFuelConsumed());
    EXPECT_EQ(22.0f, m_stats.GetTotalFuelQuantity());
    EXPECT_EQ(50.0f, m_stats.GetAverageFuelEconomy());  // 600 miles on 12 gallons
    EXPECT_EQ(2.0f, m_stats.GetConsumptionRate());
}

TEST_F(QuickStatsCompute, DatesDecideNewestAndOldestAndTheStoredOrderBreaksTies)
{
    // The later odometer reading is stored first, with the later date.
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40010)
                      .Odometer(1300)
                      .Amount(36)
                      .Custom(12, 3)
                      .Vendor(L"Later")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40000)
                      .Odometer(1000)
                      .Amount(30)
                      .Custom(10, 3)
                      .Vendor(L"Earlier")
                      .Save(g_DataLayer));

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(300, m_stats.GetDistance());
    EXPECT_EQ(25.0f, m_stats.GetRecentFuelEconomy());  // 300 miles on the later 12 gallons
    EXPECT_STREQ(L"Earlier", m_stats.GetPrevFillVendor());
    EXPECT_EQ(12.0f, m_stats.GetFuelConsumed());  // all but the one dated first (10)
    EXPECT_EQ(25.0f, m_stats.GetAverageFuelEconomy());
    EXPECT_EQ(static_cast<float>(66 / 3.0), m_stats.GetCostOfOwnership());

    // Two fill-ups of the same day and time: the one stored first is the older.
    const unsigned long van = CVehicleRecord(L"Van").Year(2004).Save(g_DataLayer);
    EXPECT_NE(0u, CEntryRecord(van, CEntry::etFuel)
                      .Date(40000.5)
                      .Odometer(2000)
                      .Amount(30)
                      .Custom(10, 3)
                      .Vendor(L"First")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(van, CEntry::etFuel)
                      .Date(40000.5)
                      .Odometer(2300)
                      .Amount(36)
                      .Custom(12, 3)
                      .Vendor(L"Second")
                      .Save(g_DataLayer));
    CEntryFilter vanFilter;
    vanFilter.SetVehicleID(van);
    ASSERT_TRUE(m_stats.Compute(&vanFilter));
    EXPECT_EQ(300, m_stats.GetDistance());
    EXPECT_EQ(25.0f, m_stats.GetRecentFuelEconomy());
    EXPECT_STREQ(L"First", m_stats.GetPrevFillVendor());
}

// A log kept as people keep one: after each fill-up the receipts of the days before it, and at
// last an old fill-up found in a drawer and typed in after all the others.
TEST_F(QuickStatsCompute, AReceiptTypedInLateCountsWhereItsDatePutsIt)
{
    const double day = 45449;  // 5 June 2024
    auto entry = [&](CEntry::Type type, double date, long odometer, float amount, float quantity,
                     const wchar_t* vendor) {
        EXPECT_NE(0u, CEntryRecord(m_car, type)
                          .Date(date)
                          .Odometer(odometer)
                          .Amount(amount)
                          .Custom(quantity, quantity > 0 ? amount / quantity : 0)
                          .Vendor(vendor)
                          .Description(type == CEntry::etFuel ? L"" : L"Receipt")
                          .Save(g_DataLayer));
    };
    entry(CEntry::etFuel, day + 10, 31360, 36, 12, L"Shell");
    entry(CEntry::etFuel, day + 20, 31700, 33, 11, L"Arco");
    entry(CEntry::etRepair, day + 19, 31680, 120, 0, L"Garage");
    entry(CEntry::etFuel, day + 30, 32020, 30, 10, L"Costco");
    entry(CEntry::etExpense, day + 27, 31990, 12, 0, L"Car wash");  // stored last, not the newest

    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(32020 - 31360, m_stats.GetDistance());   // the newest fill-up less the oldest
    EXPECT_EQ(32.0f, m_stats.GetRecentFuelEconomy());  // 320 miles on 10 gallons
    EXPECT_STREQ(L"Arco", m_stats.GetPrevFillVendor());
    EXPECT_EQ(21.0f, m_stats.GetFuelConsumed());
    EXPECT_EQ(660.0f / 21.0f, m_stats.GetAverageFuelEconomy());
    EXPECT_EQ(static_cast<float>(231 / 6.6), m_stats.GetCostOfOwnership());

    // The old fill-up: 10 gallons at 31,000 miles on 9 June 2024, dated before all the others.
    entry(CEntry::etFuel, day + 3, 31000, 28, 10, L"Valero");
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(32020 - 31000, m_stats.GetDistance());
    EXPECT_EQ(32.0f, m_stats.GetRecentFuelEconomy());
    EXPECT_STREQ(L"Arco", m_stats.GetPrevFillVendor());
    EXPECT_EQ(33.0f, m_stats.GetFuelConsumed());  // its 10 gallons were burnt before the range
    EXPECT_EQ(43.0f, m_stats.GetTotalFuelQuantity());
    EXPECT_EQ(1020.0f / 33.0f, m_stats.GetAverageFuelEconomy());
    EXPECT_EQ(static_cast<float>(33 / 10.2), m_stats.GetConsumptionRate());
    EXPECT_EQ(static_cast<float>(259 / 10.2), m_stats.GetCostOfOwnership());
}

TEST_F(QuickStatsCompute, SumsAreSinglePrecisionFromTheNewestEntry)
{
    // 2^24 + 1 is not a float: adding 1 to 2^24 rounds back to 2^24, while 1 + 1 first is exact.
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etExpense).Odometer(100).Amount(16777216.0f).Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etExpense).Odometer(100).Amount(1).Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etExpense).Odometer(100).Amount(1).Save(g_DataLayer));
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    EXPECT_EQ(16777218.0f, m_stats.GetTotalExpense());

    // The same amounts dated so that the big one lies between the two small ones in the stored
    // order: from the newest date the two 1s still come first.
    const unsigned long bike = CVehicleRecord(L"Bike").Year(2004).Save(g_DataLayer);
    for (auto dated :
         {std::make_pair(40003.0, 1.0f), std::make_pair(40001.0, 16777216.0f), std::make_pair(40002.0, 1.0f)})
        EXPECT_NE(0u, CEntryRecord(bike, CEntry::etExpense).Date(dated.first).Amount(dated.second).Save(g_DataLayer));
    CEntryFilter bikeFilter;
    bikeFilter.SetVehicleID(bike);
    ASSERT_TRUE(m_stats.Compute(&bikeFilter));
    EXPECT_EQ(16777218.0f, m_stats.GetTotalExpense());

    CTestDataFile file;
    const unsigned long van = CVehicleRecord(L"Van").Year(2004).Save(g_DataLayer);
    EXPECT_NE(0u, CEntryRecord(van, CEntry::etFuel).Odometer(100).Amount(1).Custom(1, 1).Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(van, CEntry::etFuel).Odometer(200).Amount(1).Custom(1, 1).Save(g_DataLayer));
    EXPECT_NE(
        0u,
        CEntryRecord(van, CEntry::etFuel).Odometer(300).Amount(16777216.0f).Custom(16777216.0f, 1).Save(g_DataLayer));
    CEntryFilter vanFilter;
    vanFilter.SetVehicleID(van);
    ASSERT_TRUE(m_stats.Compute(&vanFilter));
    EXPECT_EQ(16777216.0f, m_stats.GetTotalExpense());
    EXPECT_EQ(16777216.0f, m_stats.GetFuelExpense());
    EXPECT_EQ(16777216.0f, m_stats.GetTotalFuelQuantity());
}

TEST_F(QuickStatsCompute, FailsWithoutFilterOrDatabase)
{
    Fuel(1000, 10, 30);
    Fuel(1300, 10, 30);
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    ASSERT_NE(0.0f, m_stats.GetTotalExpense());

    EXPECT_FALSE(m_stats.Compute(nullptr));
    EXPECT_STREQ(L"", m_stats.GetDateRangeText());
    EXPECT_EQ(0.0f, m_stats.GetTotalExpense());
    EXPECT_EQ(0.0f, m_stats.GetAverageFuelEconomy());

    g_DataLayer.Disconnect();
    EXPECT_FALSE(m_stats.Compute(&m_filter));
    EXPECT_STREQ(L"All Dates", m_stats.GetDateRangeText());
    EXPECT_EQ(0, m_stats.GetDistance());
    EXPECT_EQ(0.0f, m_stats.GetTotalFuelQuantity());
}

// --- unit conversions --------------------------------------------------------------------------

struct Conversion {
    float (*convert)(float);
    int unitDistance;
    int unitVolume;
    float factor;  // exact single-precision constant; 1 = unchanged; 0 = no known unit
};

class QuickStatsUnits : public ::testing::Test {
protected:
    CSettingsScope m_settings;
};

TEST_F(QuickStatsUnits, ConversionsUseTheSinglePrecisionConstants)
{
    const Conversion table[] = {
        {&CQuickStats::ToMiles, 0, 0, 1},
        {&CQuickStats::ToMiles, 1, 0, 0.621370971202850341796875f},
        {&CQuickStats::ToKilometres, 0, 0, 1.6089999675750732421875f},
        {&CQuickStats::ToKilometres, 1, 0, 1},
        {&CQuickStats::ToUSGallons, 0, 0, 1},
        {&CQuickStats::ToUSGallons, 0, 1, 1.20095002651214599609375f},
        {&CQuickStats::ToUSGallons, 0, 2, 0.2642000019550323486328125f},
        {&CQuickStats::ToUSGallons, 0, 3, 0},
        {&CQuickStats::ToUKGallons, 0, 0, 0.8327000141143798828125f},
        {&CQuickStats::ToUKGallons, 0, 1, 1},
        {&CQuickStats::ToUKGallons, 0, 2, 0.2199999988079071044921875f},
        {&CQuickStats::ToUKGallons, 0, -1, 0},
        {&CQuickStats::ToLitres, 0, 0, 3.7850000858306884765625f},
        {&CQuickStats::ToLitres, 0, 1, 4.54609012603759765625f},
        {&CQuickStats::ToLitres, 0, 2, 1},
        {&CQuickStats::ToLitres, 0, 7, 0},
    };
    int row = 0;
    for (const Conversion& c : table) {
        g_AppSettings.UnitDistance = c.unitDistance;
        g_AppSettings.UnitVolume = c.unitVolume;
        SCOPED_TRACE(row++);
        EXPECT_EQ(c.factor, c.convert(1.0f));
        // 3 has two bits: the product of the constant's 24 bits fits a double exactly, and the
        // one rounding to single precision is the result's.
        EXPECT_EQ(static_cast<float>(3.0 * static_cast<double>(c.factor)), c.convert(3.0f));
        EXPECT_EQ(static_cast<float>(-0.5 * static_cast<double>(c.factor)), c.convert(-0.5f));
    }
}

TEST_F(QuickStatsUnits, FuelEconomyInEveryUnit)
{
    struct Case {
        int distanceUnit, volumeUnit, economyUnit;
        long distance;
        float volume;
        double expected;  // to two decimals
    };
    const Case cases[] = {
        {0, 0, 0, 300, 10, 30.00},  // mi/gal (US)
        {1, 2, 0, 100, 10, 23.52},  // km and litres as mi/gal (US): 62.1371 / 2.642
        {0, 0, 2, 300, 10, 12.75},  // miles and US gallons as km/ltr: 482.7 / 37.85
        {0, 0, 1, 300, 10, 36.03},  // mi/gal (UK): 300 / 8.327
        {1, 1, 1, 100, 10, 6.21},   // km per UK gallon as mi/gal (UK)
        {0, 2, 3, 300, 10, 30.00},  // mi/ltr from litres
        {1, 0, 3, 100, 10, 1.64},   // km and US gallons as mi/ltr: 62.1371 / 37.85
        {1, 2, 2, 100, 10, 10.00},  // km/ltr from km and litres
    };
    for (const Case& c : cases) {
        g_AppSettings.UnitDistance = c.distanceUnit;
        g_AppSettings.UnitVolume = c.volumeUnit;
        g_AppSettings.UnitFuelEconomy = c.economyUnit;
        SCOPED_TRACE(testing::Message() << c.distanceUnit << c.volumeUnit << c.economyUnit);
        EXPECT_NEAR(c.expected, CQuickStats::FuelEconomy(c.distance, c.volume), 0.005);
    }
}

TEST_F(QuickStatsUnits, FuelEconomyThatCannotBeComputedIsMinusOne)
{
    for (int unit : {-1, 4, 100}) {
        g_AppSettings.UnitFuelEconomy = unit;
        EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(300, 10)) << unit;
    }
    g_AppSettings.UnitFuelEconomy = 0;
    EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(0, 10));
    EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(-50, 10));
    EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(300, 0));
    EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(300, -2));
    EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(300, std::nanf("")));
    // A volume unit outside the known ones converts to nothing.
    for (int economy = 0; economy < 4; ++economy) {
        g_AppSettings.UnitFuelEconomy = economy;
        g_AppSettings.UnitVolume = 3;
        EXPECT_EQ(-1.0f, CQuickStats::FuelEconomy(300, 10)) << economy;
    }
}

}  // namespace
