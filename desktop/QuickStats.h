// The figures of the "Quick Stats" pane, computed from the entries that an entry filter selects.
//
// Quantities and distances are taken as stored, in the units the settings name (UnitDistance,
// UnitVolume); the two economy figures are converted into the unit UnitFuelEconomy names.
// Every sum is kept in single precision and rounded after each addition, in the order the
// entries are walked (newest date first), so the figures come out the same on every machine.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "framework/String.h"

class CQuickStats {
public:
    CQuickStats();
    ~CQuickStats();

    CQuickStats(const CQuickStats&) = delete;
    CQuickStats& operator=(const CQuickStats&) = delete;

    // Recomputes every figure from the entries the filter selects, loaded through the program's
    // data layer and walked in the order of their dates (entries of the same date in the order
    // they were stored): an older receipt typed in late counts where its date puts it. FALSE for
    // a null filter or a failed load (the figures are then zero); TRUE otherwise, also when no
    // entry matches.
    BOOL Compute(CEntryFilter* filter);

    // Distance per volume in the economy unit of the settings; -1 when either is not positive
    // or the units are outside the known ones.
    static float FuelEconomy(long distance, float volume);

    // Conversions from the stored units of the settings. Where no conversion applies the value
    // comes back unchanged; a volume unit outside the known ones gives 0.
    static float ToMiles(float distance);
    static float ToKilometres(float distance);
    static float ToUSGallons(float volume);
    static float ToUKGallons(float volume);
    static float ToLitres(float volume);

    // The filter's date range as the pane shows it ("All Dates" or "start - end").
    CString GetDateRangeText() const { return m_dateRangeText; }
    // Vendor of the fill-up before the newest; set only when the most recent economy was
    // computed from two fill-ups.
    CString GetPrevFillVendor() const { return m_prevFillVendor; }
    // -1 when it cannot be computed.
    float GetAverageFuelEconomy() const { return m_averageFuelEconomy; }
    // -1 when it cannot be computed; 0 when it was not (the newest fill-up has no quantity).
    float GetRecentFuelEconomy() const { return m_recentFuelEconomy; }
    // Quantity of every fill-up but the oldest: the fuel burnt over the fuel distance.
    float GetFuelConsumed() const { return m_fuelConsumed; }
    // FuelConsumed per 100 distance units; 0 below 100 units.
    float GetConsumptionRate() const { return m_consumptionRate; }
    float GetTotalFuelQuantity() const { return m_totalFuelQuantity; }
    // TotalExpense per 100 distance units; 0 below 100 units.
    float GetCostOfOwnership() const { return m_costOfOwnership; }
    float GetTotalExpense() const { return m_totalExpense; }
    float GetFuelExpense() const { return m_fuelExpense; }
    long GetDistance() const { return m_distance; }
    // FuelExpense per unit of volume; 0 without any quantity.
    float GetAverageFuelCost() const;

private:
    // Empties the date range text and zeroes every number (not the vendor).
    void Reset();

    CString m_dateRangeText;
    CString m_prevFillVendor;
    float m_averageFuelEconomy;
    float m_recentFuelEconomy;
    float m_fuelConsumed;
    float m_consumptionRate;
    float m_totalFuelQuantity;
    float m_costOfOwnership;
    float m_totalExpense;
    float m_fuelExpense;
    long m_distance;
};
