// The export to Excel of 2,000 entries (formatting on) against a plain loop making the same
// cross-process calls per row on the Excel double, in the same run:
//
//   excel_export_bench [entries] [rounds]
//
// The plain loop starts a double, gets the new workbook's sheet and then, per row, looks up and
// calls "range" (the row's address), "Value" (a put of one prepared 15-element array), "font" and
// "Size", as the export does, with nothing else: no database, no row to build, no formats. The
// export's own work is what it costs beyond that. Each round times both, alternating; the double's
// start (CoCreateInstance until it answers) is timed in the plain loop and printed apart.
//
// The double (ExcelDouble.exe, beside the sdk build, or given by ALK_EXCEL_DOUBLE_PATH at build
// time) is registered in the prefix for the run and unregistered at the end; the database is made
// from Default.ENU beside the program in the temporary folder and removed at the end.
#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/ExcelExport.h"
#include "desktop/Startup.h"
#include "sdk/excel/ExcelRecord.h"
#include "tests/bench/BenchSupport.h"
#include "tests/support/TestFiles.h"

using namespace alk_bench;

namespace {

// One late-bound call as the export makes it: the name looked up, then invoked.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* arg, VARIANT* result)
{
    if (!object) return E_FAIL;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {arg, kind == DISPATCH_PROPERTYPUT ? &put : nullptr, arg ? 1u : 0u,
                         kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
    return object->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, kind, &params, result, nullptr, nullptr);
}

IDispatch* Get(IDispatch* object, const wchar_t* name, const wchar_t* address = nullptr)
{
    VARIANT arg, result;
    VariantInit(&arg);
    VariantInit(&result);
    if (address) {
        arg.vt = VT_BSTR;
        arg.bstrVal = SysAllocString(address);
    }
    Call(object, name, DISPATCH_PROPERTYGET, address ? &arg : nullptr, &result);
    VariantClear(&arg);
    return result.vt == VT_DISPATCH ? result.pdispVal : nullptr;
}

// The plain loop; false when the double could not be started.
bool PlainLoop(int rows, double* startSeconds, double* totalSeconds)
{
    double t0 = Seconds();
    OleInitialize(nullptr);
    CLSID clsid;
    IDispatch* excel = nullptr;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid)) ||
        FAILED(
            CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&excel)))) {
        OleUninitialize();
        return false;
    }
    *startSeconds = Seconds() - t0;

    IDispatch* books = Get(excel, L"workbooks");
    VARIANT book;
    VariantInit(&book);
    Call(books, L"Add", DISPATCH_METHOD, nullptr, &book);
    IDispatch* sheet = Get(excel, L"activesheet");

    VARIANT row;
    row.vt = VT_ARRAY | VT_VARIANT;
    row.parray = SafeArrayCreateVector(VT_VARIANT, 1, 15);
    for (LONG i = 1; i <= 12; ++i) {
        VARIANT element;
        element.vt = VT_R8;
        element.dblVal = i * 1.5;
        SafeArrayPutElement(row.parray, &i, &element);
    }
    VARIANT size;
    size.vt = VT_I4;
    size.lVal = 9;
    for (int i = 0; i < rows; ++i) {
        wchar_t address[32];
        swprintf(address, 32, L"A%d:O%d", i + 4, i + 4);
        IDispatch* range = Get(sheet, L"range", address);
        Call(range, L"Value", DISPATCH_PROPERTYPUT, &row, nullptr);
        IDispatch* font = Get(range, L"font");
        Call(font, L"Size", DISPATCH_PROPERTYPUT, &size, nullptr);
        if (font) font->Release();
        if (range) range->Release();
    }
    VariantClear(&row);
    VariantClear(&book);
    for (IDispatch* object : {sheet, books, excel})
        if (object) object->Release();
    OleUninitialize();
    *totalSeconds = Seconds() - t0;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int entries = argc > 1 ? _wtoi(argv[1]) : 2000;
    const int rounds = argc > 2 ? _wtoi(argv[2]) : 3;
    CScratchFolder folder(L"excel-bench");
    const std::wstring database = folder.File(L"bench.dat");
    if (!CopyTemplate(database)) {
        fprintf(stderr, "no template database beside the program\n");
        return 1;
    }

    unsigned long vehicle = 0;
    {
        CDataLayer db;
        db.Connect(database.c_str());
        vehicle = CVehicleRecord(L"Bench Car").Year(2004).Odometer(90000).Save(db);
        db.BeginTransaction();
        for (int i = 0; i < entries; ++i) {
            CEntry::Type type = static_cast<CEntry::Type>(1 + i % 4);
            CEntryRecord entry(vehicle, type);
            entry.Date(40000 + i).Odometer(1000 + i * 40).Amount(10.25f + i % 50).Vendor(L"Corner Garage");
            entry.Description(type == CEntry::etFuel ? L"" : L"Something done")
                .Notes(i % 3 ? L"" : L"A note\r\nand more");
            if (type == CEntry::etFuel) entry.Custom(9.5f, 1.079f);
            if (type == CEntry::etTrip) entry.Custom(1000.0f + i * 40, 1040.0f + i * 40);
            entry.Save(db);
        }
        db.Commit();
        db.Disconnect();
    }
    if (g_DataLayer.Connect(database.c_str()) != CDataLayer::csConnected) {
        fprintf(stderr, "cannot connect the database\n");
        return 1;
    }
    g_AppSettings.ExcelFormatCells = 1;

    CScratchFolder records(L"excel-bench-records");
    if (!excel_double::RegisterExcelDouble(WinePathW(ALK_EXCEL_DOUBLE_PATH),
                                           L"-record \"" + records.Path() + L"\" -idle 60")) {
        fprintf(stderr, "cannot register the Excel double\n");
        return 1;
    }

    CEntryFilter filter;
    filter.SetVehicleID(vehicle);
    std::vector<double> exportTimes, loopTimes, starts;
    size_t doubles = 0;
    for (int round = 0; round < rounds; ++round) {
        double t0 = Seconds();
        ExportEntriesToExcel(nullptr, L"Bench Car (2004)", &filter);
        exportTimes.push_back(Seconds() - t0);
        std::vector<std::wstring> files;
        excel_double::WaitForRecords(records.Path(), ++doubles, 60000, &files);

        double start = 0, total = 0;
        if (!PlainLoop(entries, &start, &total)) {
            fprintf(stderr, "the Excel double did not start\n");
            return 1;
        }
        starts.push_back(start);
        loopTimes.push_back(total);
        excel_double::WaitForRecords(records.Path(), ++doubles, 60000, &files);
        printf("round %d: export %.2f s, plain loop %.2f s (double started in %.2f s), ratio %.3f\n", round + 1,
               exportTimes.back(), total, start, exportTimes.back() / total);
    }
    double exportMedian = Median(exportTimes), loopMedian = Median(loopTimes), startMedian = Median(starts);
    printf("%d entries, %d rounds, medians: export %.2f s, plain loop %.2f s, ratio %.3f; double's start %.2f s\n",
           entries, rounds, exportMedian, loopMedian, exportMedian / loopMedian, startMedian);
    printf("without the start: export %.2f s, plain loop %.2f s, ratio %.3f\n", exportMedian - startMedian,
           loopMedian - startMedian, (exportMedian - startMedian) / (loopMedian - startMedian));

    std::vector<std::wstring> files = excel_double::RecordFiles(records.Path());
    excel_double::CExcelRecord record;
    std::string error;
    if (!files.empty() && record.Load(files.front(), &error))
        printf("first export: %zu calls, workbook shown: %s\n", record.Invokes().size(), record.visible ? "yes" : "no");
    excel_double::UnregisterExcelDouble();
    g_DataLayer.Disconnect();
    return 0;
}
