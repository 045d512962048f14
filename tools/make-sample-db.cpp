// alk_sample_db: writes a sample Autolark database for screenshots, benchmarks and trials by hand.
//
//   alk_sample_db.exe OUTPUT.dat [SEED]
//
// The file is a copy of the template Default.ENU that lies beside this program, filled through
// AlkBiz with three vehicles, about two years of entries of every type for each (a few hundred in
// all, the newest a day ago), notes on some entries, a few reminders and the keyword lists. The
// same seed gives the same records with the same reference ids, and a file of the same size
// (dates count back from today). Prints the counts and the reference id of the first vehicle;
// exit code 0 on success.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"

namespace {

// A small deterministic generator (the same sequence on every machine).
class Random {
public:
    explicit Random(unsigned long seed) : m_state(seed ? seed : 1) {}
    unsigned long Next()
    {
        m_state = m_state * 1103515245UL + 12345UL;
        return (m_state >> 8) & 0xFFFFFF;
    }
    int Between(int low, int high)
    {
        return low + static_cast<int>(Next() % static_cast<unsigned long>(high - low + 1));
    }
    float Between(float low, float high) { return low + (high - low) * static_cast<float>(Next() % 10001) / 10000.0f; }

private:
    unsigned long m_state;
};

struct VehicleSpec {
    const wchar_t* name;
    int year;
    const wchar_t* plate;
    long startOdometer;
    int milesPerFill;  // distance between fill-ups
    float tank;        // quantity of a fill-up
};

const VehicleSpec kVehicles[] = {
    {L"Family Car", 2002, L"ALK 2002", 31000, 330, 12.0f},
    {L"Work Van", 1999, L"VAN 99", 112000, 280, 18.0f},
    {L"Weekend Roadster", 1967, L"OLD 67", 64000, 210, 9.5f},
};

const wchar_t* kVendors[] = {L"Shell", L"Chevron", L"Costco", L"Arco", L"Valero"};
const wchar_t* kRepairs[] = {L"Oil change",   L"Tire rotation", L"Brake pads",    L"Air filter",
                             L"Wiper blades", L"Battery",       L"Coolant flush", L"Spark plugs"};
const wchar_t* kShops[] = {L"Main Street Garage", L"QuickLube", L"Dealer service"};
const wchar_t* kTrips[] = {L"Client visit", L"Airport run", L"Trade show", L"Site inspection"};
const wchar_t* kCategories[] = {L"Business", L"Charity", L"Medical"};
const wchar_t* kExpenses[] = {L"Parking", L"Car wash", L"Tolls", L"Registration", L"Insurance premium"};

// Reference ids of the sample's records, counted up in the order they are written. The library
// would make them of the clock, the tick count and rand(): ids of another size each time make
// records of another size, and two samples of one seed files of different sizes (the database
// information dialog in the manual's pictures shows the size).
unsigned long NextRefID()
{
    static unsigned long next = 1000000;
    return ++next;
}

double Today()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    now.wHour = 12;
    now.wMinute = now.wSecond = now.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&now, &date);
    return date;
}

template <size_t N>
const wchar_t* Pick(Random& random, const wchar_t* (&list)[N])
{
    return list[random.Next() % N];
}

bool SaveEntry(CDataLayer& db, unsigned long vehicle, CEntry::Type type, double date, long odometer, float amount,
               const wchar_t* description, const wchar_t* vendor, float custom1, float custom2, const wchar_t* notes,
               int& count)
{
    CEntryRecord entry(vehicle, type);
    entry.RefID(NextRefID()).Date(date).Odometer(odometer).Amount(amount).Custom(custom1, custom2);
    if (description) entry.Description(description);
    if (vendor) entry.Vendor(vendor);
    if (notes) entry.Notes(notes);
    const bool ok = entry.Save(db) != 0;
    if (ok) ++count;
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: alk_sample_db OUTPUT.dat [SEED]\n");
        return 2;
    }
    const wchar_t* output = argv[1];
    Random random(argc > 2 ? wcstoul(argv[2], nullptr, 10) : 2002);

    wchar_t templ[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, templ, MAX_PATH);
    while (n > 0 && templ[n - 1] != L'\\') --n;
    templ[n] = L'\0';
    wcsncat(templ, L"Default.ENU", MAX_PATH - n - 1);
    if (!CopyFileW(templ, output, FALSE)) {
        fwprintf(stderr, L"cannot copy the template %ls to %ls\n", templ, output);
        return 1;
    }

    CDataLayer db;
    if (db.Connect(output) != CDataLayer::csConnected) {
        fwprintf(stderr, L"cannot connect %ls\n", output);
        return 1;
    }
    // One transaction: a few hundred statements, written once.
    db.BeginTransaction();

    const double today = Today();
    int entries = 0, reminders = 0;
    unsigned long firstVehicle = 0;
    for (const VehicleSpec& spec : kVehicles) {
        CVehicleRecord vehicle(spec.name);
        vehicle.RefID(NextRefID()).Year(spec.year).Plate(spec.plate).Dealer(L"Brellox Motors").Insurance(L"A. Agent");
        const unsigned long ref = vehicle.Save(db);
        if (!ref) {
            fwprintf(stderr, L"cannot save vehicle %ls\n", spec.name);
            return 1;
        }
        if (!firstVehicle) firstVehicle = ref;

        // Walk two years forward, a fill-up every milesPerFill or so, other entries between.
        long odometer = spec.startOdometer;
        double date = today - 730;
        int fill = 0;
        while (date < today - 1) {
            int distance = spec.milesPerFill + random.Between(-60, 60);
            int days = random.Between(5, 14);
            odometer += distance;
            date += days;
            if (date > today - 1) date = today - 1;
            float quantity = spec.tank + random.Between(-2.0f, 2.0f);
            float price = random.Between(2.80f, 3.90f);
            const wchar_t* notes = ++fill % 9 == 0 ? L"Prices compared on http://www.example.com/fuel-prices" : nullptr;
            SaveEntry(db, ref, CEntry::etFuel, date, odometer, quantity * price, nullptr, Pick(random, kVendors),
                      quantity, price, notes, entries);
            switch (random.Next() % 6) {
            case 0:
                SaveEntry(db, ref, CEntry::etRepair, date - 1, odometer - 20, random.Between(25.0f, 480.0f),
                          Pick(random, kRepairs), Pick(random, kShops), 0, 0,
                          fill % 2 ? L"Ask for the loyalty discount next time." : nullptr, entries);
                break;
            case 1: {
                long start = odometer - distance + 10;
                long end = start + random.Between(40, 180);
                SaveEntry(db, ref, CEntry::etTrip, date - 2, end, (end - start) * 0.36f, Pick(random, kTrips),
                          Pick(random, kCategories), static_cast<float>(start), static_cast<float>(end), nullptr,
                          entries);
                break;
            }
            case 2:
                SaveEntry(db, ref, CEntry::etExpense, date - 3, odometer - 30, random.Between(3.0f, 90.0f),
                          Pick(random, kExpenses), L"City", 0, 0, nullptr, entries);
                break;
            default: break;
            }
        }
        if (!db.UpdateCurrentOdometer(&vehicle.Get(), odometer)) fwprintf(stderr, L"cannot store the odometer\n");

        const wchar_t* due[] = {L"Oil change", L"Inspection"};
        for (int i = 0; i < 2; ++i) {
            CReminderRecord reminder(ref, due[i]);
            reminder.RefID(NextRefID()).Odometer(odometer + 1500 * (i + 1)).Date(today + 60 * (i + 1));
            if (reminder.Save(db)) ++reminders;
        }
    }

    struct {
        CKeyword::Type type;
        const wchar_t** words;
        size_t count;
    } keywordLists[] = {
        {CKeyword::ktCategory, kCategories, sizeof kCategories / sizeof *kCategories},
        {CKeyword::ktRepair, kRepairs, sizeof kRepairs / sizeof *kRepairs},
        {CKeyword::ktExpense, kExpenses, sizeof kExpenses / sizeof *kExpenses},
        {CKeyword::ktFuelVendor, kVendors, sizeof kVendors / sizeof *kVendors},
    };
    int keywords = 0;
    for (auto& list : keywordLists) {
        for (size_t i = 0; i < list.count; ++i) {
            if (CKeywordRecord(list.type, list.words[i]).RefID(NextRefID()).Save(db)) ++keywords;
        }
    }

    if (db.Commit() != CDataLayer::crCommitted) {
        fwprintf(stderr, L"cannot commit\n");
        return 1;
    }
    db.Disconnect();
    wprintf(L"%ls: %d vehicles, %d entries, %d reminders, %d keywords; first vehicle %lu\n", output,
            static_cast<int>(sizeof kVehicles / sizeof *kVehicles), entries, reminders, keywords, firstVehicle);
    return 0;
}
