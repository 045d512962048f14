#include "desktop/QuickStats.h"

#include <algorithm>
#include <vector>

#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"

namespace {

// The 32-bit float nearest to value. The x87 unit keeps intermediate results in extended
// precision and the compiler may carry them across statements; the store through a volatile
// float makes every figure round exactly where its definition says it does.
float Single(double value)
{
    volatile float rounded = static_cast<float>(value);
    return rounded;
}

// The product in double precision of a value and a single-precision constant, rounded.
float Scale(float value, float factor)
{
    return Single(static_cast<double>(value) * static_cast<double>(factor));
}

float Sum(float total, float value)
{
    return Single(static_cast<double>(total) + static_cast<double>(value));
}

}  // namespace

CQuickStats::CQuickStats()
{
    Reset();
}

CQuickStats::~CQuickStats() = default;

void CQuickStats::Reset()
{
    m_dateRangeText.Empty();
    m_averageFuelEconomy = 0;
    m_recentFuelEconomy = 0;
    m_fuelConsumed = 0;
    m_consumptionRate = 0;
    m_totalFuelQuantity = 0;
    m_costOfOwnership = 0;
    m_totalExpense = 0;
    m_fuelExpense = 0;
    m_distance = 0;
}

float CQuickStats::GetAverageFuelCost() const
{
    if (m_totalFuelQuantity == 0) return 0;
    return Single(static_cast<double>(m_fuelExpense) / static_cast<double>(m_totalFuelQuantity));
}

BOOL CQuickStats::Compute(CEntryFilter* filter)
{
    // The vendor of an earlier computation is kept: it is only shown next to a most recent
    // economy, and that is computed from two fill-ups, which set it anew, or not shown at all.
    Reset();
    if (!filter) return FALSE;
    m_dateRangeText = FormatDateRange(*filter);

    CObjectListT<CEntry> loaded;
    if (!g_DataLayer.Load(&loaded, filter)) return FALSE;
    const int count = loaded.GetCount();
    if (count == 0) return TRUE;

    // The entries by date, oldest first. The data layer returns them in the order they were
    // stored, which the stable sort keeps for entries of the same date. Pointers into the owning
    // list above, which deletes them.
    std::vector<CEntry*> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) entries.push_back(loaded.Get(i));
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CEntry* a, const CEntry* b) { return a->GetDate() < b->GetDate(); });

    // Fill-ups from the newest to the oldest.
    std::vector<CEntry*> fills;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if ((*entry)->GetType() == CEntry::etFuel) fills.push_back(*entry);
    }

    long fuelDistance = 0;
    if (!fills.empty()) {
        CEntry* newest = fills.front();
        const long newestOdometer = newest->GetOdometer();
        // A newest fill-up without quantity leaves the most recent economy at 0: not computed.
        if (newest->GetCustom1() > 0) {
            long recentDistance = 0;
            if (fills.size() >= 2) {
                CEntry* previous = fills[1];
                recentDistance = newestOdometer - previous->GetOdometer();
                m_prevFillVendor = previous->GetVendor();
            }
            m_recentFuelEconomy = FuelEconomy(recentDistance, newest->GetCustom1());
        }

        for (CEntry* fill : fills) {
            m_fuelConsumed = Sum(m_fuelConsumed, fill->GetCustom1());
            m_totalFuelQuantity = Sum(m_totalFuelQuantity, fill->GetCustom1());
            m_fuelExpense = Sum(m_fuelExpense, fill->GetAmount());
        }
        // The oldest fill-up filled the tank before the distance was driven: its fuel was burnt
        // before the range began.
        const CEntry* oldest = fills.back();
        m_fuelConsumed = Single(static_cast<double>(m_fuelConsumed) - static_cast<double>(oldest->GetCustom1()));
        fuelDistance = newestOdometer - oldest->GetOdometer();
    }

    m_averageFuelEconomy = FuelEconomy(fuelDistance, m_fuelConsumed);
    if (fuelDistance >= 100) m_consumptionRate = Single(static_cast<double>(m_fuelConsumed) / (fuelDistance / 100.0));

    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        m_totalExpense = Sum(m_totalExpense, (*entry)->GetAmount());
    m_distance = entries.back()->GetOdometer() - entries.front()->GetOdometer();
    if (m_distance >= 100) m_costOfOwnership = Single(static_cast<double>(m_totalExpense) / (m_distance / 100.0));
    return TRUE;
}

float CQuickStats::FuelEconomy(long distance, float volume)
{
    const int unit = g_AppSettings.UnitFuelEconomy;
    if (distance <= 0 || !(volume > 0) || unit < 0 || unit > 3) return -1;
    const float length = static_cast<float>(distance);
    float convertedDistance = 0;
    float convertedVolume = 0;
    switch (unit) {
    case 0:  // miles per US gallon
        convertedDistance = ToMiles(length);
        convertedVolume = ToUSGallons(volume);
        break;
    case 1:  // miles per UK gallon
        convertedDistance = ToMiles(length);
        convertedVolume = ToUKGallons(volume);
        break;
    case 2:  // kilometres per litre
        convertedDistance = ToKilometres(length);
        convertedVolume = ToLitres(volume);
        break;
    default:  // 3: miles per litre
        convertedDistance = ToMiles(length);
        convertedVolume = ToLitres(volume);
        break;
    }
    // 0 comes from a volume unit outside the known ones.
    if (convertedVolume == 0) return -1;
    return Single(static_cast<double>(convertedDistance) / static_cast<double>(convertedVolume));
}

// The constants are single-precision values, widened exactly to double for the product. The
// pairs are not exact inverses of each other (miles to kilometres is 1.609, back is 0.621371).
float CQuickStats::ToMiles(float distance)
{
    return g_AppSettings.UnitDistance == 0 ? distance : Scale(distance, 0.621371f);
}

float CQuickStats::ToKilometres(float distance)
{
    return g_AppSettings.UnitDistance == 0 ? Scale(distance, 1.609f) : distance;
}

float CQuickStats::ToUSGallons(float volume)
{
    switch (g_AppSettings.UnitVolume) {
    case 0: return volume;
    case 1: return Scale(volume, 1.20095f);
    case 2: return Scale(volume, 0.2642f);
    default: return 0;
    }
}

float CQuickStats::ToUKGallons(float volume)
{
    switch (g_AppSettings.UnitVolume) {
    case 0: return Scale(volume, 0.8327f);
    case 1: return volume;
    case 2: return Scale(volume, 0.22f);
    default: return 0;
    }
}

float CQuickStats::ToLitres(float volume)
{
    switch (g_AppSettings.UnitVolume) {
    case 0: return Scale(volume, 3.785f);
    case 1: return Scale(volume, 4.54609f);
    case 2: return volume;
    default: return 0;
    }
}
