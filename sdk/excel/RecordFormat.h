// The record of one Excel double process, and the few pieces its writer (ExcelDouble.exe) and
// its reader (ExcelRecord, linked by tests and benchmarks) share.
//
// The double stands in for "Excel.Application": an out-of-process automation server that COM
// starts with -Embedding, one process per client (single use). It keeps, in a text file of its
// own, what a client asked of it and what the workbook held at the end. The file is
// <folder>\excel-<process id>.txt, the folder named on its command line, written as the process
// goes (each line is written as soon as it is known, so a process that dies leaves what it had).
//
// Format. ASCII text, one item per line ending in "\r\n". A line is a tag and then fields, all
// separated by one tab; each field is key=value, and no value holds a tab or a line break:
//
//   process  pid=<decimal>  command=<text>                        always the first line
//   names    n=<count>  object=<object>  name=<text>  lcid=<decimal>  dispid=<decimal>  hr=<hex>
//   invoke   n=<count>  object=<object>  member=<text>  dispid=<decimal>  flags=<decimal>
//            lcid=<decimal>  named=<decimals>  args=<values>  hr=<hex>  result=<value>  [failed=<why>]
//   exit     after=<count>                                        the abrupt end asked for
//   workbook n=<count>                                            then that workbook's cells:
//   cell     ref=<A1>  value=<value>  size=<decimal>  bold=<0|1>  [format=<text>]
//   column   col=<letters>  [format=<text>]  autofit=<count>      columns with a format or auto-fit
//   row      row=<decimal>  autofit=<count>                       rows auto-fitted
//   visible  value=<0|1>                                          the application's Visible
//   end      reason=<released|idle>  held=<count>  objects=<names>  invokes=<count>  names=<count>
//
// "names" is one IDispatch::GetIDsOfNames, "invoke" one IDispatch::Invoke, counted from 1 each.
// Invoke's arguments are written in the order the caller means them (the reverse of rgvarg), and
// named=<decimals> lists its named-argument DISPIDs (a property put has -3). A cell line is written
// for every cell with a value or a font or format of its own, row by row; the font size of a cell
// nobody changed is 11. "end" closes the record of a process that ended by itself: "released"
// when the last reference went, "idle" when no call came for the idle time while "held" objects
// were still referenced (a client that leaked, or died); "objects" names them, comma-separated
// ("lock" for a server lock).
//
// Values:
//   <object>   Kind#serial, with the range for ranges and fonts: Application#1, Workbooks#2,
//              Range#5[A3:O3], Font#6[A3:O3], Range#9[B:B]
//   <text>     "..." with \" \\ \t \r \n, \xHH for other control characters and \uHHHH for every
//              UTF-16 unit above 0x7E, so the text comes back unit for unit
//   <hex>      0x and eight hex digits (an HRESULT)
//   <decimals> comma-separated decimals, empty for none
//   <values>   [v,v,...] of <value>
//   <value>    EMPTY | NULL | I2:<d> | I4:<d> | R4:<x> | R8:<x> | DATE:<x> | CY:<d> (10,000ths)
//              | BOOL:<0|-1> | ERROR:<hex> | BSTR:<text> | DISPATCH:<object> | DISPATCH:null
//              | DISPATCH:foreign | ARRAY:<lower bound>[v,v,...] (one dimension of VARIANT)
//              | OTHER:<hex vartype>; a value passed by reference is written as what it points at
//   <x>        a double with 17 significant digits (it reads back to the same bits), or inf, -inf,
//              nan
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

namespace excel_double {

// The double's class id. "Excel.Application\CLSID" names it where the double is registered.
extern const CLSID CLSID_ExcelDouble;
#define EXCEL_DOUBLE_CLSID_TEXT L"{EA0AA164-A2B4-469E-BC85-8F128BC266E7}"

// Cell values Excel writes for a position beyond the array put on a range: #N/A.
const SCODE kErrorNotAvailable = static_cast<SCODE>(0x800A07FA);

// <text> of the format above.
std::string QuoteText(const wchar_t* text, size_t length);
inline std::string QuoteText(const std::wstring& text)
{
    return QuoteText(text.data(), text.size());
}
// Reads a <text> at text[*pos] (the opening quote) and moves *pos past the closing quote. False
// for a text that is not one.
bool UnquoteText(const std::string& text, size_t* pos, std::wstring* out);

// <x> of the format above, and back.
std::string NumberText(double value);
bool ParseNumber(const std::string& text, double* value);

// <hex>: 0x and eight digits.
std::string HexText(unsigned long value);

// Column letters of a 1-based column number (1 A, 27 AA) and a cell reference (B3).
std::wstring ColumnName(int column);
std::wstring CellName(int row, int column);

}  // namespace excel_double
