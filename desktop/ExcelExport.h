// Export of a vehicle's entries to a new Excel workbook through OLE Automation.
//
// Excel is reached by late binding only: the class of the ProgID "Excel.Application", created
// in-process or as a local server (Excel is one: every call below crosses into its process), and
// every member looked up by name through IDispatch. The program writes no file of its own; the
// workbook is left open, unsaved and visible in Excel, the user's from then on.
//
// The workbook (one sheet, the new workbook's active one):
//
//   A1        the title (the vehicle's caption), bold, size 14
//   A3:O3     the header row, bold, size 9
//   row n + 4 entry n of the list (from 0), in the order given, size 9 (bold left alone)
//
//   column  header           value of an entry
//   A       Date             its date (VT_DATE)
//   B       Type             "Fuel", "Repair", "Trip" or "Expense"; empty text for another type
//   C       Odometer         its odometer (VT_I4)
//   D       Vendor           its vendor; empty text for trips
//   E       Description      its caption as the entry list shows it
//   F       Fuel Qty.        fuel: the quantity (VT_R8); others: empty text
//   G       Fuel Price       fuel: the price per unit (VT_R8); others: empty text
//   H       Amount           the amount (VT_R8)
//   I, J    Start/End Odometer  with trips only: trips' odometers truncated (VT_I4); others empty text
//   K       Category         with trips only: trips' category; others empty text
//   I or L  Notes            the notes, carriage returns and tabs made blanks (L when trips)
//
// "With trips" means at least one entry of the list is a trip. The 32-bit floats are widened to
// doubles as they are. Number formats go on whole columns (A date, C integer, F decimal, G and H
// currency, with trips I and J integer), each only while formatting is on and its format text is
// not empty; columns B to H (with trips to K) are auto-fitted; Excel is made visible last.
//
// Excel takes a text put as a cell's value as it takes a typed one: "=1+1" would become a live
// formula in the user's workbook, "3/4" a date, "1e5" a number. Every text cell (the title too)
// that Excel would take for anything but that text goes with Excel's leading apostrophe, which
// marks a text and is not shown (ExcelCellText); every other text, and every number, date and
// amount, goes as it is.
//
// A call that fails is not reported; the export goes on with the next (the user may have closed
// Excel meanwhile). Messages are shown only when there is nothing to export and when Excel cannot
// be started.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <atomic>

#include "business/AlkBiz.h"
#include "framework/String.h"

// The Excel export settings as one export uses them: a copy, so that an export on another thread
// does not read what the Options dialog may be changing.
struct CExcelFormats {
    int formatCells = 1;  // 0: no number formats at all
    CString date;
    CString integer;
    CString decimal;
    CString currency;

    // A copy of the program's settings (own buffers, not shared with them).
    static CExcelFormats FromSettings();
};

// Everything an export on a worker thread needs, prepared on the user-interface thread so that
// the worker touches neither the database nor the main frame's object: the window that owns its
// message boxes (only a handle: it may be gone by the time they show), the title, the entries
// (owned, freed with the job) and the settings. The worker deletes the job when it is done.
class CExcelExportJob {
public:
    CExcelExportJob();
    ~CExcelExportJob();
    CExcelExportJob(const CExcelExportJob&) = delete;
    CExcelExportJob& operator=(const CExcelExportJob&) = delete;

    // Jobs alive in the process, made and not yet deleted: 0 once every export worker is done
    // with the program's objects.
    static long Alive();

    HWND window = nullptr;
    CString title;
    CObjectListT<CEntry> entries;
    CExcelFormats formats;

private:
    static std::atomic<long> s_alive;
};

// Loads the entries the filter selects through the program's database connection and exports
// them with the program's settings (below). 0 when the load fails (nothing shown) or Excel cannot
// be started; 1 otherwise, also when there was nothing to export.
int ExportEntriesToExcel(HWND parent, const wchar_t* title, CEntryFilter* filter);
// The export of loaded entries, in their order: message 162 when there are none; message 161
// when Excel cannot be started; else the workbook above. Message boxes are owned by parent. The
// calling thread is made an OLE apartment for the length of the call. Same results as above.
int ExportEntryListToExcel(HWND parent, const wchar_t* title, CObjectListT<CEntry>* entries,
                           const CExcelFormats& formats);

// Whether Excel, given text as a cell's value, would take it for anything but that text, reading
// it as the user does in the locale: a formula (a text that begins with "=", "+", "-" or "@"), a
// text Excel would strip of its own text mark (a leading apostrophe), a number (what
// VarR8FromStr reads in the locale, with a percent sign after it too), a date or time (what
// VarDateFromStr reads), a truth value (TRUE, FALSE) or an error value (#N/A and its kind).
bool ExcelReadsAsOtherThanText(const wchar_t* text, LCID locale);
// The text as a cell's value: with Excel's leading apostrophe where it would be read as anything
// else (above), otherwise unchanged.
CString ExcelCellText(const wchar_t* text, LCID locale);

// --- the automation calls ---------------------------------------------------------------------
// Each acts on an object given as a VARIANT holding an IDispatch; an object that is not there
// (a VARIANT without an IDispatch, as a failed get leaves it) fails with E_FAIL and no call.

// Looks the member up by name (GetIDsOfNames, user default locale) and calls it (Invoke, system
// default locale) with 0 to 8 arguments, given in the order of the member's parameters. kind is
// DISPATCH_METHOD, DISPATCH_PROPERTYGET, both, or DISPATCH_PROPERTYPUT (whose argument is passed
// as the named argument DISPID_PROPERTYPUT). result, when given, receives the call's result and
// belongs to the caller. Returns the call's HRESULT; shows nothing, never throws.
HRESULT InvokeAutomation(WORD kind, VARIANT* result, const VARIANT& object, const wchar_t* name, int argCount,
                         const VARIANT* args);
// The sheet's "range" of the address, its "EntireColumn", and "NumberFormat" set to the format;
// nothing when formatCells is 0 or the format is empty.
void SetColumnNumberFormat(const wchar_t* address, const wchar_t* format, const VARIANT& sheet, int formatCells);
// The sheet's "range" of the address, its "EntireColumn", then "AutoFit".
void AutoFitColumn(const wchar_t* address, const VARIANT& sheet);
// The range's "font": "Size" set to size (VT_I4) and, only when bold, "Bold" set to VT_I4 1.
void SetRangeFont(const VARIANT& range, bool bold, long size);
// The string-table text as the header array's element at the 1-based column.
void PutHeaderCell(long column, UINT stringId, SAFEARRAY* header);
