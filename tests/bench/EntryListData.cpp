#include "tests/bench/EntryListData.h"

namespace alk_bench {

namespace {

// A fixed sequence of numbers, the same in every run and build.
struct Random {
    unsigned long state = 20261209;
    unsigned long Next(unsigned long below)
    {
        state = state * 1103515245u + 12345u;
        return ((state >> 8) & 0xFFFFFF) % below;
    }
};

}  // namespace

bool FillBenchVehicle(CDataLayer& db, int entries)
{
    CVehicle vehicle;
    vehicle.SetRefID(kBenchVehicle);
    vehicle.SetName(L"Benchmark car");
    if (!db.Save(&vehicle, 0)) return false;
    static const wchar_t* const vendors[] = {L"Shell",    L"Esso",     L"Joe's Garage", L"Tankstelle M\u00fcller",
                                             L"",         L"ARCO",     L"quick lube",   L"Wash & Go",
                                             L"Business", L"personal", L"Dealer",       L"zz top garage"};
    static const wchar_t* const names[] = {L"Oil change", L"oil filter", L"Brakes", L"Tire rotation",
                                           L"Car wash",   L"Parking",    L"Toll",   L"Meeting"};
    Random random;
    db.BeginTransaction();
    for (int i = 0; i < entries; ++i) {
        CEntry e;
        e.SetRefID(1000 + i);
        e.SetVehicleID(kBenchVehicle);
        const CEntry::Type type = static_cast<CEntry::Type>(1 + random.Next(4));
        e.SetType(type);
        // Whole days over a span of half as many days as entries: many dates are shared.
        e.SetDate(36526.0 + random.Next(static_cast<unsigned long>(entries / 2 + 1)));
        e.SetOdometer(10000 + static_cast<long>(random.Next(static_cast<unsigned long>(entries * 3 + 1))));
        e.SetVendor(vendors[random.Next(12)]);
        e.SetAmount(static_cast<float>(random.Next(20000)) / 100.0f);
        if (type == CEntry::etFuel) {
            e.SetCustom1(static_cast<float>(500 + random.Next(1500)) / 100.0f);
            e.SetCustom2(static_cast<float>(250 + random.Next(150)) / 100.0f);
        } else {
            e.SetName(names[random.Next(8)]);
        }
        if (i % 10 == 0) e.SetNotes(L"Checked the tyre pressure as well.");
        if (!db.Save(&e, 0)) {
            db.RollBack();
            return false;
        }
    }
    return db.Commit() == CDataLayer::crCommitted;
}

}  // namespace alk_bench
