#include "desktop/ExcelExport.h"

#include <objbase.h>
#include <ole2.h>

#include <climits>
#include <cmath>
#include <cwchar>

#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/ComInit.h"
#include "framework/ComPtr.h"
#include "framework/ComVariant.h"
#include "framework/DispatchDriver.h"
#include "framework/Gdi.h"
#include "resources/desktop/resource.h"

namespace {

// Both arrays span the columns A to O, indexed from 1.
const long kArrayColumns = 15;
const long kTitleFontSize = 14;
const long kCellFontSize = 9;
const int kMaxAutomationArgs = 8;

CComVariant IntegerValue(long value)
{
    return CComVariant(value);
}

CComVariant TextValue(const CString& text)
{
    return CComVariant(text.GetString(), static_cast<UINT>(text.GetLength()));
}
CComVariant TextValue(const wchar_t* text)
{
    return CComVariant(text);
}

// A text for a cell, marked where Excel would read it as anything else in the user's locale (the
// locale Excel reads what is typed in).
CComVariant CellValue(const wchar_t* text)
{
    const CString cell = ExcelCellText(text, LOCALE_USER_DEFAULT);
    return TextValue(cell);
}

// A float widened to double exactly as it is (0.1f stays 0.100000001490116...).
CComVariant DoubleValue(float value)
{
    return CComVariant::Double(static_cast<double>(value));
}

// A trip odometer kept as a float, truncated toward zero into the 32-bit range (a value outside
// it, or not a number, would make the plain conversion undefined).
long TruncatedOdometer(float value)
{
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return LONG_MAX;
    if (value <= -2147483648.0f) return LONG_MIN;
    return static_cast<long>(value);
}

HRESULT GetProperty(const VARIANT& object, const wchar_t* name, VARIANT* result)
{
    return InvokeAutomation(DISPATCH_PROPERTYGET, result, object, name, 0, nullptr);
}

HRESULT PutProperty(const VARIANT& object, const wchar_t* name, const VARIANT& value)
{
    return InvokeAutomation(DISPATCH_PROPERTYPUT, nullptr, object, name, 1, &value);
}

// The sheet's "range" of an address.
HRESULT GetRange(const VARIANT& sheet, const wchar_t* address, VARIANT* range)
{
    const CComVariant text(address);
    return InvokeAutomation(DISPATCH_PROPERTYGET, range, sheet, L"range", 1, &text);
}

// Stores value at the 1-based column of a row array (the array keeps its own copy).
void PutElement(SAFEARRAY* row, long column, const VARIANT& value)
{
    ::SafeArrayPutElement(row, &column, const_cast<VARIANT*>(&value));
}

// The entry's notes for a cell: carriage returns and tabs become blanks, line feeds stay.
CString CellNotes(const CEntry& entry)
{
    CString notes = entry.GetNotes();
    for (int i = 0; i < notes.GetLength(); ++i) {
        wchar_t c = notes[i];
        if (c == L'\r' || c == L'\t') notes.SetAt(i, L' ');
    }
    return notes;
}

// Fills every column in use of the row array with the entry's values.
void FillRow(SAFEARRAY* row, CEntry& entry, bool withTrips, const CString typeNames[5])
{
    CEntry::Type type = entry.GetType();
    bool fuel = type == CEntry::etFuel;
    bool trip = type == CEntry::etTrip;

    PutElement(row, 1, CComVariant::Date(entry.GetDate()));
    PutElement(row, 2, CellValue(type >= CEntry::etFuel && type <= CEntry::etExpense ? typeNames[type] : CString()));
    PutElement(row, 3, IntegerValue(entry.GetOdometer()));
    PutElement(row, 4, CellValue(trip ? L"" : entry.GetVendor()));
    PutElement(row, 5, CellValue(FormatEntryCaption(entry)));
    PutElement(row, 6, fuel ? DoubleValue(entry.GetCustom1()) : TextValue(L""));
    PutElement(row, 7, fuel ? DoubleValue(entry.GetCustom2()) : TextValue(L""));
    PutElement(row, 8, DoubleValue(entry.GetAmount()));
    if (withTrips) {
        PutElement(row, 9, trip ? IntegerValue(TruncatedOdometer(entry.GetCustom1())) : TextValue(L""));
        PutElement(row, 10, trip ? IntegerValue(TruncatedOdometer(entry.GetCustom2())) : TextValue(L""));
        PutElement(row, 11, CellValue(trip ? entry.GetVendor() : L""));
        PutElement(row, 12, CellValue(CellNotes(entry)));
    } else {
        PutElement(row, 9, CellValue(CellNotes(entry)));
    }
}

// The workbook of a started Excel (the application object), in the order Excel is driven: it
// stays invisible until the end, so no call waits for drawing.
void FillWorkbook(const VARIANT& application, const wchar_t* title, CObjectListT<CEntry>* entries,
                  const CExcelFormats& formats)
{
    CComVariant workbooks, workbook, sheet;
    GetProperty(application, L"workbooks", &workbooks);
    // Add answers the new workbook whether it is asked for or not; taken, it is released with the
    // others here rather than whenever the caller's side of COM lets go of an unwanted result.
    InvokeAutomation(DISPATCH_METHOD, &workbook, workbooks, L"Add", 0, nullptr);
    GetProperty(application, L"activesheet", &sheet);

    {
        CComVariant range;
        GetRange(sheet, L"A1", &range);
        PutProperty(range, L"Value", CellValue(title));
        SetRangeFont(range, true, kTitleFontSize);
    }

    const int count = entries->GetCount();
    bool withTrips = false;
    for (int i = 0; i < count && !withTrips; ++i) withTrips = entries->Get(i)->GetType() == CEntry::etTrip;

    // Both arrays are owned by these VARIANTs and destroyed with them.
    CComVariant header, row;
    header.vt = row.vt = VT_ARRAY | VT_VARIANT;
    header.parray = ::SafeArrayCreateVector(VT_VARIANT, 1, kArrayColumns);
    row.parray = ::SafeArrayCreateVector(VT_VARIANT, 1, kArrayColumns);
    if (!header.parray || !row.parray) return;

    PutHeaderCell(1, IDS_COLUMN_DATE, header.parray);
    PutHeaderCell(2, IDS_COLUMN_TYPE, header.parray);
    PutHeaderCell(3, IDS_COLUMN_ODOMETER, header.parray);
    PutHeaderCell(4, IDS_COLUMN_VENDOR, header.parray);
    PutHeaderCell(5, IDS_COLUMN_DESCRIPTION, header.parray);
    PutHeaderCell(6, IDS_COLUMN_FUEL_QUANTITY, header.parray);
    PutHeaderCell(7, IDS_COLUMN_FUEL_PRICE, header.parray);
    PutHeaderCell(8, IDS_COLUMN_AMOUNT, header.parray);
    if (withTrips) {
        PutHeaderCell(9, IDS_COLUMN_START_ODOMETER, header.parray);
        PutHeaderCell(10, IDS_COLUMN_END_ODOMETER, header.parray);
        PutHeaderCell(11, IDS_COLUMN_CATEGORY, header.parray);
    }
    PutHeaderCell(withTrips ? 12 : 9, IDS_COLUMN_NOTES, header.parray);
    {
        CComVariant range;
        GetRange(sheet, L"A3:O3", &range);
        PutProperty(range, L"Value", header);
        SetRangeFont(range, true, kCellFontSize);
    }

    // Index = CEntry::Type; 0 and any other type have no name.
    const CString typeNames[5] = {CString(), LoadResString(IDS_TYPE_FUEL), LoadResString(IDS_TYPE_REPAIR),
                                  LoadResString(IDS_TYPE_TRIP), LoadResString(IDS_TYPE_EXPENSE)};
    for (int i = 0; i < count; ++i) {
        FillRow(row.parray, *entries->Get(i), withTrips, typeNames);
        wchar_t address[32];
        swprintf(address, 32, L"A%d:O%d", i + 4, i + 4);
        CComVariant range;
        GetRange(sheet, address, &range);
        PutProperty(range, L"Value", row);
        SetRangeFont(range, false, kCellFontSize);
    }

    if (formats.formatCells) {
        SetColumnNumberFormat(L"A1", formats.date, sheet, formats.formatCells);
        SetColumnNumberFormat(L"C1", formats.integer, sheet, formats.formatCells);
        SetColumnNumberFormat(L"F1", formats.decimal, sheet, formats.formatCells);
        SetColumnNumberFormat(L"G1", formats.currency, sheet, formats.formatCells);
        SetColumnNumberFormat(L"H1", formats.currency, sheet, formats.formatCells);
        if (withTrips) {
            SetColumnNumberFormat(L"I1", formats.integer, sheet, formats.formatCells);
            SetColumnNumberFormat(L"J1", formats.integer, sheet, formats.formatCells);
        }
    }

    const wchar_t* fitted[] = {L"B1", L"C1", L"D1", L"E1", L"F1", L"G1", L"H1", L"I1", L"J1", L"K1"};
    for (int i = 0; i < (withTrips ? 10 : 7); ++i) AutoFitColumn(fitted[i], sheet);

    PutProperty(application, L"Visible", IntegerValue(1));
}

}  // namespace

// --- settings and jobs -------------------------------------------------------------------------

CExcelFormats CExcelFormats::FromSettings()
{
    CExcelFormats formats;
    formats.formatCells = g_AppSettings.ExcelFormatCells;
    // New buffers rather than shared ones: the worker owns what it reads.
    formats.date = CString(g_AppSettings.ExcelFmt_Date.GetString(), g_AppSettings.ExcelFmt_Date.GetLength());
    formats.integer = CString(g_AppSettings.ExcelFmt_Integer.GetString(), g_AppSettings.ExcelFmt_Integer.GetLength());
    formats.decimal = CString(g_AppSettings.ExcelFmt_Float.GetString(), g_AppSettings.ExcelFmt_Float.GetLength());
    formats.currency =
        CString(g_AppSettings.ExcelFmt_Currency.GetString(), g_AppSettings.ExcelFmt_Currency.GetLength());
    return formats;
}

std::atomic<long> CExcelExportJob::s_alive{0};

CExcelExportJob::CExcelExportJob()
{
    ++s_alive;
}

CExcelExportJob::~CExcelExportJob()
{
    entries.Clear();
    --s_alive;
}

long CExcelExportJob::Alive()
{
    return s_alive;
}

// --- the export --------------------------------------------------------------------------------

int ExportEntriesToExcel(HWND parent, const wchar_t* title, CEntryFilter* filter)
{
    CWaitCursor wait;
    CObjectListT<CEntry> entries;
    if (!g_DataLayer.Load(&entries, filter)) return 0;
    return ExportEntryListToExcel(parent, title, &entries, CExcelFormats::FromSettings());
}

int ExportEntryListToExcel(HWND parent, const wchar_t* title, CObjectListT<CEntry>* entries,
                           const CExcelFormats& formats)
{
    CWaitCursor wait;
    if (entries->GetCount() == 0) {
        ::MessageBoxW(parent, LoadResString(IDS_EXPORT_NO_ENTRIES), LoadResString(IDR_MAINFRAME),
                      MB_OK | MB_ICONINFORMATION);
        return 1;
    }

    // The thread is a single-threaded apartment for the length of the export (when it already
    // was one, this only counts up, and the owner's end counts down again).
    COleInit ole;
    ole.Initialize();
    bool started = false;
    {
        // Excel's application object, released at the end of the block; Excel stays running.
        CComPtr<IDispatch> excel;
        CLSID clsid;
        HRESULT hr = ::CLSIDFromProgID(L"Excel.Application", &clsid);
        if (SUCCEEDED(hr))
            hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&excel));
        if (SUCCEEDED(hr) && excel) {
            started = true;
            FillWorkbook(CComVariant(excel.Get()), title, entries, formats);
        }
    }
    if (!started) {
        ::MessageBoxW(parent, LoadResString(IDS_EXPORT_NO_EXCEL), LoadResString(IDR_MAINFRAME),
                      MB_OK | MB_ICONEXCLAMATION);
    }
    return started ? 1 : 0;
}

// --- texts as Excel reads them ------------------------------------------------------------------

bool ExcelReadsAsOtherThanText(const wchar_t* text, LCID locale)
{
    if (!text || !*text) return false;
    // A formula (Excel starts one at a leading "+", "-" or "@" as well), or Excel's own mark of a
    // text, which it would take off.
    if (std::wcschr(L"=+-@'", text[0])) return true;
    // Excel's literals, which it reads whatever their case.
    static const wchar_t* const kLiterals[] = {L"TRUE",  L"FALSE",  L"#NULL!", L"#DIV/0!", L"#VALUE!",
                                               L"#REF!", L"#NAME?", L"#NUM!",  L"#N/A"};
    for (const wchar_t* literal : kLiterals) {
        if (_wcsicmp(text, literal) == 0) return true;
    }
    // The platform's readers of what a user types, in the user's locale: numbers with the locale's
    // separators, currency, exponents and parentheses; dates and times in the locale's order. They
    // take a writable string but write nothing into it.
    double number = 0;
    DATE date = 0;
    wchar_t* in = const_cast<wchar_t*>(text);
    if (SUCCEEDED(::VarR8FromStr(in, locale, 0, &number))) return true;
    if (SUCCEEDED(::VarDateFromStr(in, locale, 0, &date))) return true;
    // A percentage: a number with a percent sign after it.
    const size_t length = std::wcslen(text);
    if (length > 1 && text[length - 1] == L'%') {
        CString rest(text, static_cast<int>(length - 1));
        if (SUCCEEDED(::VarR8FromStr(rest.GetBuffer(), locale, 0, &number))) return true;
    }
    return false;
}

CString ExcelCellText(const wchar_t* text, LCID locale)
{
    if (!text) return CString();
    if (!ExcelReadsAsOtherThanText(text, locale)) return CString(text);
    CString marked(L'\'');
    marked += text;
    return marked;
}

// --- the automation calls ---------------------------------------------------------------------

HRESULT InvokeAutomation(WORD kind, VARIANT* result, const VARIANT& object, const wchar_t* name, int argCount,
                         const VARIANT* args)
{
    if (result) ::VariantClear(result);
    if (object.vt != VT_DISPATCH || !object.pdispVal || !name) return E_FAIL;
    if (argCount < 0 || argCount > kMaxAutomationArgs || (argCount > 0 && !args)) return E_INVALIDARG;
    // Every name is asked for each call: Excel answers across processes, and a DISPID kept from
    // one object of a kind is no promise for the next.
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = CDispatchDriver::GetDispId(object.pdispVal, name, &id);
    if (FAILED(hr)) return hr;
    return CDispatchDriver::Invoke(object.pdispVal, id, kind, LOCALE_SYSTEM_DEFAULT, args, static_cast<UINT>(argCount),
                                   result, nullptr);
}

void SetColumnNumberFormat(const wchar_t* address, const wchar_t* format, const VARIANT& sheet, int formatCells)
{
    if (!formatCells || !format || !*format) return;
    CComVariant range, column;
    GetRange(sheet, address, &range);
    GetProperty(range, L"EntireColumn", &column);
    PutProperty(column, L"NumberFormat", TextValue(format));
}

void AutoFitColumn(const wchar_t* address, const VARIANT& sheet)
{
    CComVariant range, column;
    GetRange(sheet, address, &range);
    GetProperty(range, L"EntireColumn", &column);
    InvokeAutomation(DISPATCH_METHOD, nullptr, column, L"AutoFit", 0, nullptr);
}

void SetRangeFont(const VARIANT& range, bool bold, long size)
{
    CComVariant font;
    GetProperty(range, L"font", &font);
    PutProperty(font, L"Size", IntegerValue(size));
    if (bold) PutProperty(font, L"Bold", IntegerValue(1));
}

void PutHeaderCell(long column, UINT stringId, SAFEARRAY* header)
{
    PutElement(header, column, CellValue(LoadResString(stringId)));
}
