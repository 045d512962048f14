// alk_old_data: writes an old-format data file for trying the Import Old Data command by hand.
//
//   alk_old_data.exe OUTPUT.dat [EVENTS]
//
// The file is one the ADO double serves (sdk/ado/OldDataFormat.h): three vehicles, EVENTS events
// (60 when not given) of every old event type spread over them and the last two years, two
// reminders per vehicle, and table ids of both keyword kinds (and some below 1000, which the
// import skips). Register the double in the prefix first (regsvr32 AdoDouble.dll): on a machine
// with real ADO the file is no Access database. Exit code 0 on success.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "sdk/ado/OldDataFile.h"

namespace {

double Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&now, &date);
    return date;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: alk_old_data OUTPUT.dat [EVENTS]\n");
        return 2;
    }
    const long events = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 60;
    const double today = Today();

    COldDataFile file;
    if (!file.Create(argv[1]) || !file.Begin()) {
        std::fwprintf(stderr, L"cannot create %ls\n", argv[1]);
        return 1;
    }
    const wchar_t* names[] = {L"Old Sedan", L"Farm Truck", L"Camper"};
    for (long v = 1; v <= 3; ++v) {
        COldVehicle vehicle;
        vehicle.id = v;
        vehicle.name = names[v - 1];
        vehicle.vin = L"1OLD" + std::to_wstring(v * 1000 + 17);
        vehicle.licensePlate = L"OLD " + std::to_wstring(v);
        vehicle.year = 1990 + static_cast<int>(v) * 3;
        vehicle.odometer = 40000 * v;
        vehicle.registrationDate = today - 900;
        vehicle.insuranceExpirationDate = today + 120 * v;
        vehicle.dealerLocation = L"Main Street Motors";
        vehicle.dealerPhone = L"555-0100";
        vehicle.insuranceAgentName = L"P. Agent";
        vehicle.insurancePolicyNum = L"POL-" + std::to_wstring(v);
        vehicle.notes = L"Imported from the old version.";
        file.Add(vehicle);
        for (long t = 0; t < 2; ++t) {
            COldTrigger trigger;
            trigger.id = v * 10 + t;
            trigger.vehicleId = v;
            trigger.description = t ? L"Inspection" : L"Oil change";
            trigger.targetOdometer = vehicle.odometer + 3000 * (t + 1);
            trigger.targetDate = today + 30 * (t + 1);
            file.Add(trigger);
        }
    }
    for (long i = 0; i < events; ++i) {
        COldEvent event;
        event.id = i + 1;
        event.vehicleId = 1 + i % 3;
        event.eventType = 1 + static_cast<int>(i % 5);
        event.eventDate = today - 730 + (730.0 * i) / (events > 0 ? events : 1);
        event.odometer = 40000 * event.vehicleId + 50 * i;
        event.amount = 20.0f + static_cast<float>(i % 7) * 2.5f;
        event.notes = i % 4 == 0 ? L"Note of event " + std::to_wstring(i + 1) : L"";
        switch (event.eventType) {
        case 1:
            event.vendor = L"Shell";
            event.custom1 = 10.0f;
            event.custom2 = event.amount / 10.0f;
            break;
        case 4:
            event.description = L"Trip " + std::to_wstring(i + 1);
            event.custom3 = i % 2 ? L"B" : L"P";
            event.custom1 = static_cast<float>(event.odometer - 120);
            event.custom2 = static_cast<float>(event.odometer);
            break;
        default:
            event.description = L"Service " + std::to_wstring(i + 1);
            event.vendor = L"Corner Garage";
            break;
        }
        file.Add(event);
    }
    file.AddTableId(1, L"Vehicles", 4);
    file.AddTableId(1000, L"Tune-up", 1);
    file.AddTableId(1001, L"Parking", 2);
    file.AddTableId(1002, L"Tolls", 2);
    if (!file.Commit()) {
        std::fwprintf(stderr, L"cannot write %ls\n", argv[1]);
        return 1;
    }
    std::wprintf(L"%ls: 3 vehicles, %ld events, 6 reminders, 3 keywords\n", argv[1], events);
    return 0;
}
