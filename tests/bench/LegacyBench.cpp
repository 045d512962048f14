// The old-data import on an old file of 2,000 records, in one run:
//   - reading: CLegacyImport::Import against a plain loop that reads the same fields of the same
//     rows through the same ADO double (late binding with the DISPIDs asked once, each value
//     fetched and thrown away), timed in alternating rounds; best and median with their ratio;
//   - writing: the import's write phase (WriteLegacyRecords, one transaction) on a copy of
//     Default.ENU, against 2,000 x 10 ms, the pause that each new reference id costs the
//     business library (and against that pause as this machine measures it).
//
//   legacy_bench [rounds]
//
// The ADO double beside the program is registered in the prefix first. The import's message box
// is answered as soon as it activates (a CBT hook on this thread), so its round includes only
// the box's own making and unmaking. Files go to the temporary folder and are removed at the end.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AdoDoubleSupport.h"
#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/DlgLegacyData.h"
#include "legacy/LegacyImport.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

const int kVehicles = 10;
const int kEvents = 1790;
const int kTriggers = 191;
const int kFixedKeywords = 9;  // 10 + 1,790 + 191 + 9 = 2,000 records written

bool WriteOldFile(const std::wstring& path)
{
    COldDataFile file;
    if (!file.Create(path) || !file.Begin()) return false;
    for (long v = 1; v <= kVehicles; ++v) {
        COldVehicle vehicle;
        vehicle.id = v;
        vehicle.name = L"Vehicle " + std::to_wstring(v);
        vehicle.vin = L"VIN" + std::to_wstring(v);
        vehicle.notes = L"Some notes about the vehicle";
        vehicle.insuranceExpirationDate = OleDate(2005, 1, 1);
        if (!file.Add(vehicle)) return false;
    }
    for (long i = 0; i < kEvents; ++i) {
        COldEvent event;
        event.id = i + 1;
        event.vehicleId = 1 + i % kVehicles;
        event.eventType = 1 + static_cast<int>(i % 5);
        event.eventDate = OleDate(2003, 1, 1) + i * 0.25;
        event.vendor = L"Vendor";
        event.description = L"Description of the event";
        event.notes = i % 3 ? L"" : L"A note";
        event.amount = 10.5f + static_cast<float>(i % 40);
        event.odometer = 1000 + 25 * i;
        event.custom1 = 9.5f;
        event.custom2 = 1.25f;
        event.custom3 = L"B";
        if (!file.Add(event)) return false;
    }
    for (long i = 0; i < kTriggers; ++i) {
        COldTrigger trigger;
        trigger.vehicleId = 1 + i % kVehicles;
        trigger.description = L"Reminder";
        trigger.targetOdometer = 50000 + static_cast<long>(i);
        trigger.targetDate = OleDate(2005, 6, 1);
        if (!file.Add(trigger)) return false;
    }
    return file.Commit();
}

// The import's message box, answered as soon as it activates.
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (wcscmp(cls, L"#32770") == 0) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The plain loop: the four queries read as the import reads them (the same columns, each value
// fetched by name), with nothing made of the values.
class PlainReader {
public:
    bool Run(const std::wstring& connectionString, long* values)
    {
        IDispatch* connection = Create(L"ADODB.Connection");
        IDispatch* recordset = Create(L"ADODB.Recordset");
        bool ok = connection && recordset;
        if (ok) {
            VARIANT args[4];
            Text(&args[3], connectionString.c_str());
            Text(&args[2], L"");
            Text(&args[1], L"");
            Number(&args[0], 0);
            ok = Invoke(connection, L"Open", DISPATCH_METHOD, args, 4, nullptr);
            for (VARIANT& a : args) VariantClear(&a);
        }
        // clang-format off
        static const wchar_t* const kVehicleColumns[] = {L"VehicleId", L"Name", L"VIN", L"LicensePlate", L"Year",
            L"DealerLocation", L"DealerPhone", L"Odometer", L"RegistrationDate", L"Notes", L"InsurancePolicyNum",
            L"InsuranceAgentName", L"InsuranceAgentPhone", L"InsuranceCoverageNotes", L"InsuranceExpirationDate"};
        static const wchar_t* const kEventColumns[] = {L"EventId", L"VehicleId", L"EventType", L"EventDate",
            L"Vendor", L"Amount", L"Odometer", L"Description", L"Notes", L"Custom1", L"Custom2", L"Custom3",
            L"TriggerId"};
        static const wchar_t* const kTriggerColumns[] = {L"VehicleId", L"TargetDate", L"Description",
            L"TargetOdometer"};
        static const wchar_t* const kIdColumns[] = {L"TableName", L"NextId"};
        // clang-format on
        ok = ok && Query(recordset, connection, L"SELECT * from Vehicles", kVehicleColumns, 15, values) &&
             Query(recordset, connection, L"SELECT * from events", kEventColumns, 13, values) &&
             Query(recordset, connection, L"SELECT * from Triggers", kTriggerColumns, 4, values) &&
             Query(recordset, connection, L"SELECT * from TableIds WHERE Id >= 1000", kIdColumns, 2, values);
        if (connection) Invoke(connection, L"Close", DISPATCH_METHOD, nullptr, 0, nullptr);
        if (recordset) recordset->Release();
        if (connection) connection->Release();
        return ok;
    }

private:
    static IDispatch* Create(const wchar_t* progId)
    {
        CLSID clsid;
        IDispatch* object = nullptr;
        if (FAILED(CLSIDFromProgID(progId, &clsid)) ||
            FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&object))))
            return nullptr;
        return object;
    }
    static void Text(VARIANT* v, const wchar_t* text)
    {
        VariantInit(v);
        v->vt = VT_BSTR;
        v->bstrVal = SysAllocString(text);
    }
    static void Number(VARIANT* v, long number)
    {
        VariantInit(v);
        v->vt = VT_I4;
        v->lVal = number;
    }
    // The DISPID of a name, asked of an object of that kind once.
    DISPID Id(IDispatch* object, const wchar_t* name)
    {
        for (const auto& known : m_ids) {
            if (known.first == name) return known.second;
        }
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
        object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        m_ids.emplace_back(name, id);
        return id;
    }
    // Arguments last first, as IDispatch takes them.
    bool Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* reversed, UINT count, VARIANT* result)
    {
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed, nullptr, count, 0};
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            params.rgdispidNamedArgs = &put;
            params.cNamedArgs = 1;
        }
        return SUCCEEDED(
            object->Invoke(Id(object, name), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr));
    }
    bool Query(IDispatch* recordset, IDispatch* connection, const wchar_t* sql, const wchar_t* const* columns,
               int count, long* values)
    {
        VARIANT three;
        Number(&three, 3);
        if (!Invoke(recordset, L"CursorLocation", DISPATCH_PROPERTYPUT, &three, 1, nullptr) ||
            !Invoke(recordset, L"CursorType", DISPATCH_PROPERTYPUT, &three, 1, nullptr))
            return false;
        VARIANT args[5];
        Text(&args[4], sql);
        VariantInit(&args[3]);
        args[3].vt = VT_DISPATCH;
        args[3].pdispVal = connection;
        Number(&args[2], 3);
        Number(&args[1], 3);
        Number(&args[0], 8);
        const bool opened = Invoke(recordset, L"Open", DISPATCH_METHOD, args, 5, nullptr);
        VariantClear(&args[4]);
        if (!opened) return false;
        VARIANT fields;
        VariantInit(&fields);
        if (!Invoke(recordset, L"Fields", DISPATCH_PROPERTYGET, nullptr, 0, &fields)) return false;
        std::vector<VARIANT> names(static_cast<size_t>(count));
        for (int c = 0; c < count; ++c) Text(&names[c], columns[c]);
        for (;;) {
            VARIANT eof;
            VariantInit(&eof);
            if (!Invoke(recordset, L"EOF", DISPATCH_PROPERTYGET, nullptr, 0, &eof)) return false;
            if (eof.boolVal) break;
            for (int c = 0; c < count; ++c) {
                VARIANT field, value;
                VariantInit(&field);
                VariantInit(&value);
                if (!Invoke(fields.pdispVal, L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &names[c], 1, &field) ||
                    !Invoke(field.pdispVal, L"Value", DISPATCH_PROPERTYGET, nullptr, 0, &value))
                    return false;
                ++*values;
                VariantClear(&value);
                VariantClear(&field);
            }
            if (!Invoke(recordset, L"MoveNext", DISPATCH_METHOD, nullptr, 0, nullptr)) return false;
        }
        for (VARIANT& name : names) VariantClear(&name);
        VariantClear(&fields);
        return Invoke(recordset, L"Close", DISPATCH_METHOD, nullptr, 0, nullptr);
    }

    std::vector<std::pair<std::wstring, DISPID>> m_ids;
};

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!RegisterAdoDouble()) {
        std::printf("the ADO double could not be registered\n");
        return 1;
    }
    CoInitialize(nullptr);
    CScratchFolder folder(L"alk-legacy-bench");
    const std::wstring oldPath = folder.File(L"old.mdb");
    if (!WriteOldFile(oldPath)) {
        std::printf("the old file could not be written\n");
        return 1;
    }
    HHOOK hook = SetWindowsHookExW(WH_CBT, &AnswerBoxes, nullptr, GetCurrentThreadId());
    const std::wstring connectionString = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source='" + oldPath + L"'";

    // --- reading -------------------------------------------------------------------------------
    std::vector<double> imports, plains;
    int records = 0;
    long values = 0;
    for (int round = 0; round < rounds; ++round) {
        double start = Seconds();
        {
            CLegacyImport import;
            if (!import.Import(oldPath.c_str())) {
                std::printf("the import failed\n");
                return 1;
            }
            records = import.GetVehicleList()->GetCount() + import.GetEntryList()->GetCount() +
                      import.GetNotificationList()->GetCount() + import.GetKeywordList()->GetCount();
        }
        imports.push_back(Seconds() - start);
        start = Seconds();
        PlainReader plain;
        values = 0;
        if (!plain.Run(connectionString, &values)) {
            std::printf("the plain loop failed\n");
            return 1;
        }
        plains.push_back(Seconds() - start);
    }
    std::printf("reading an old file of %d records (%ld values), %d rounds:\n", records, values, rounds);
    std::printf("  CLegacyImport::Import   best %8.3f s   median %8.3f s\n", Best(imports), Median(imports));
    std::printf("  plain loop (double)     best %8.3f s   median %8.3f s\n", Best(plains), Median(plains));
    std::printf("  ratio Import / plain    best %8.2f     median %8.2f\n", Best(imports) / Best(plains),
                Median(imports) / Median(plains));

    // --- writing -------------------------------------------------------------------------------
    const std::wstring dbPath = folder.File(L"My Vehicles.dat");
    CDataLayer db;
    if (!CopyTemplate(dbPath) || db.Connect(dbPath.c_str()) != CDataLayer::csConnected) {
        std::printf("the database could not be made\n");
        return 1;
    }
    const unsigned long car = CVehicleRecord(L"Current Car").Save(db);
    CEntryRecord(car, CEntry::etFuel).Save(db);
    CLegacyImport import;
    import.Import(oldPath.c_str());
    int saved = 0;
    double start = Seconds();
    const bool written = WriteLegacyRecords(
        db, import, [](int) {}, [&saved] { ++saved; });
    const double writing = Seconds() - start;
    start = Seconds();
    for (int i = 0; i < saved; ++i) Sleep(10);
    const double pauses = Seconds() - start;
    const double nominal = saved * 0.010;
    std::printf("writing %d records in one transaction (%s):\n", saved, written ? "committed" : "FAILED");
    std::printf("  write phase             %8.3f s\n", writing);
    std::printf("  %d x 10 ms              %8.3f s   ratio %5.2f\n", saved, nominal, writing / nominal);
    std::printf("  %d x Sleep(10) here     %8.3f s   ratio %5.2f\n", saved, pauses, writing / pauses);
    std::printf("  counts: %d vehicles, %d entries, %d reminders, %d keywords\n", db.GetNumVehicles(),
                db.GetNumEntries(), db.GetNumNotifications(), db.GetNumKeywords());

    UnhookWindowsHookEx(hook);
    db.Disconnect();
    CoUninitialize();
    return written ? 0 : 1;
}
