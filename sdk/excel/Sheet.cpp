#include "sdk/excel/Sheet.h"

#include <cwctype>

#include "sdk/excel/RecordFormat.h"
#include "sdk/excel/ServerState.h"

namespace excel_double {

namespace {

const long long kMaxCellsPerCall = 65536;

// One end of an address: a cell (both), a column (letters only) or a row (digits only).
struct Part {
    int row = 0;
    int column = 0;
};

bool ParsePart(const wchar_t*& p, Part* part)
{
    if (*p == L'$') ++p;
    long column = 0;
    const wchar_t* letters = p;
    while (iswalpha(*p) && *p < 0x80) {
        column = column * 26 + (towupper(*p) - L'A' + 1);
        if (column > kSheetColumns) return false;
        ++p;
    }
    bool haveColumn = p != letters;
    if (haveColumn && *p == L'$') ++p;
    long row = 0;
    const wchar_t* digits = p;
    while (*p >= L'0' && *p <= L'9') {
        row = row * 10 + (*p - L'0');
        if (row > kSheetRows) return false;
        ++p;
    }
    bool haveRow = p != digits;
    if (!haveColumn && !haveRow) return false;
    if (haveRow && row == 0) return false;
    part->row = haveRow ? static_cast<int>(row) : 0;
    part->column = haveColumn ? static_cast<int>(column) : 0;
    return true;
}

}  // namespace

std::wstring Area::Name() const
{
    if (WholeColumns() && !WholeRows()) return ColumnName(left) + L":" + ColumnName(right);
    if (WholeRows()) return std::to_wstring(top) + L":" + std::to_wstring(bottom);
    std::wstring name = CellName(top, left);
    if (top != bottom || left != right) name += L":" + CellName(bottom, right);
    return name;
}

bool ParseAddress(const wchar_t* text, Area* area)
{
    if (!text) return false;
    const wchar_t* p = text;
    Part first, second;
    if (!ParsePart(p, &first)) return false;
    bool range = *p == L':';
    if (range) {
        ++p;
        if (!ParsePart(p, &second)) return false;
    } else {
        second = first;
    }
    if (*p) return false;
    bool cell = first.row && first.column;
    bool column = !first.row;
    // Both ends of one kind; a lone column or row ("A", "3") is no address.
    if ((second.row && second.column) != cell || !second.row != column) return false;
    if (!cell && !range) return false;
    Area a;
    if (cell) {
        a.top = first.row, a.bottom = second.row, a.left = first.column, a.right = second.column;
    } else if (column) {
        a.top = 1, a.bottom = kSheetRows, a.left = first.column, a.right = second.column;
    } else {
        a.left = 1, a.right = kSheetColumns, a.top = first.row, a.bottom = second.row;
    }
    if (a.top > a.bottom) std::swap(a.top, a.bottom);
    if (a.left > a.right) std::swap(a.left, a.right);
    *area = a;
    return true;
}

bool CSheet::CheckCellCount(const Area& area, std::wstring* error) const
{
    if (area.Count() <= kMaxCellsPerCall) return true;
    *error = L"the double keeps values and fonts of at most 65536 cells per call; " + area.Name() + L" has more";
    return false;
}

const CSheet::Cell* CSheet::Find(int row, int column) const
{
    auto it = m_cells.find(Key(row, column));
    return it == m_cells.end() ? nullptr : &it->second;
}

HRESULT CSheet::PutValue(const Area& area, const VARIANT& given, std::wstring* error)
{
    const VARIANT& value = given.vt == (VT_BYREF | VT_VARIANT) && given.pvarVal ? *given.pvarVal : given;
    if (!CheckCellCount(area, error)) return DISP_E_EXCEPTION;
    VARTYPE type = value.vt & ~VT_BYREF;
    if (type & VT_ARRAY) {
        SAFEARRAY* array = (value.vt & VT_BYREF) ? *value.pparray : value.parray;
        if (type != (VT_ARRAY | VT_VARIANT) || !array || ::SafeArrayGetDim(array) != 1) {
            *error = L"the double takes one-dimensional arrays of VARIANT only";
            return DISP_E_EXCEPTION;
        }
        LONG lower = 0, upper = -1;
        ::SafeArrayGetLBound(array, 1, &lower);
        ::SafeArrayGetUBound(array, 1, &upper);
        VARIANT notAvailable;
        notAvailable.vt = VT_ERROR;
        notAvailable.scode = kErrorNotAvailable;
        for (int row = area.top; row <= area.bottom; ++row) {
            for (int column = area.left; column <= area.right; ++column) {
                LONG index = lower + (column - area.left);
                if (index > upper) {
                    m_cells[Key(row, column)].value = CVariant(notAvailable);
                    continue;
                }
                VARIANT element;
                ::VariantInit(&element);
                ::SafeArrayGetElement(array, &index, &element);
                m_cells[Key(row, column)].value = CVariant(element);
                ::VariantClear(&element);
            }
        }
        return S_OK;
    }
    if (type == VT_DISPATCH || type == VT_UNKNOWN) {
        *error = L"an object is no cell value";
        return DISP_E_EXCEPTION;
    }
    VARIANT empty;
    ::VariantInit(&empty);
    const VARIANT& stored = type == VT_NULL ? empty : value;
    for (int row = area.top; row <= area.bottom; ++row)
        for (int column = area.left; column <= area.right; ++column) m_cells[Key(row, column)].value = CVariant(stored);
    return S_OK;
}

HRESULT CSheet::GetValue(const Area& area, VARIANT* result, std::wstring* error)
{
    if (area.Count() != 1) {
        *error = L"the double reads the value of single cells only";
        return DISP_E_EXCEPTION;
    }
    ::VariantInit(result);
    if (const Cell* cell = Find(area.top, area.left)) ::VariantCopy(result, const_cast<VARIANT*>(&cell->value.Get()));
    return S_OK;
}

HRESULT CSheet::PutNumberFormat(const Area& area, const std::wstring& format, std::wstring* error)
{
    if (area.WholeColumns() || area.WholeRows()) {
        bool columns = area.WholeColumns();
        std::map<int, Line>& lines = columns ? m_columns : m_rows;
        int first = columns ? area.left : area.top, last = columns ? area.right : area.bottom;
        for (int i = first; i <= last; ++i) {
            lines[i].hasFormat = true;
            lines[i].format = format;
        }
        for (auto& [key, cell] : m_cells) {
            int at = columns ? key.second : key.first;
            if (at >= first && at <= last) cell.hasFormat = false;
        }
        return S_OK;
    }
    if (!CheckCellCount(area, error)) return DISP_E_EXCEPTION;
    for (int row = area.top; row <= area.bottom; ++row) {
        for (int column = area.left; column <= area.right; ++column) {
            Cell& cell = m_cells[Key(row, column)];
            cell.hasFormat = true;
            cell.format = format;
        }
    }
    return S_OK;
}

HRESULT CSheet::AutoFit(const Area& area, std::wstring* error)
{
    if (area.WholeColumns()) {
        for (int column = area.left; column <= area.right; ++column) ++m_columns[column].autofits;
        return S_OK;
    }
    if (area.WholeRows()) {
        for (int row = area.top; row <= area.bottom; ++row) ++m_rows[row].autofits;
        return S_OK;
    }
    *error = L"AutoFit needs whole columns or whole rows, not " + area.Name();
    return DISP_E_EXCEPTION;
}

HRESULT CSheet::PutFontSize(const Area& area, double size, std::wstring* error)
{
    if (!CheckCellCount(area, error)) return DISP_E_EXCEPTION;
    if (!(size >= 1 && size <= 409)) {
        *error = L"font sizes run from 1 to 409";
        return DISP_E_EXCEPTION;
    }
    for (int row = area.top; row <= area.bottom; ++row)
        for (int column = area.left; column <= area.right; ++column) m_cells[Key(row, column)].size = size;
    return S_OK;
}

HRESULT CSheet::PutBold(const Area& area, bool bold, std::wstring* error)
{
    if (!CheckCellCount(area, error)) return DISP_E_EXCEPTION;
    for (int row = area.top; row <= area.bottom; ++row)
        for (int column = area.left; column <= area.right; ++column) m_cells[Key(row, column)].bold = bold;
    return S_OK;
}

double CSheet::FontSize(const Area& area) const
{
    const Cell* cell = Find(area.top, area.left);
    return cell ? cell->size : 11;
}

bool CSheet::Bold(const Area& area) const
{
    const Cell* cell = Find(area.top, area.left);
    return cell && cell->bold;
}

std::string CSheet::RecordLines() const
{
    std::string lines;
    for (const auto& [key, cell] : m_cells) {
        if (cell.value.Get().vt == VT_EMPTY && cell.size == 11 && !cell.bold && !cell.hasFormat) continue;
        std::string ref;
        for (wchar_t c : CellName(key.first, key.second)) ref += static_cast<char>(c);
        lines += "cell\tref=" + ref + "\tvalue=" + ValueText(cell.value.Get()) + "\tsize=" + NumberText(cell.size) +
                 "\tbold=" + (cell.bold ? "1" : "0");
        if (cell.hasFormat) lines += "\tformat=" + QuoteText(cell.format);
        lines += "\r\n";
    }
    for (const auto& [column, line] : m_columns) {
        std::string name;
        for (wchar_t c : ColumnName(column)) name += static_cast<char>(c);
        lines += "column\tcol=" + name;
        if (line.hasFormat) lines += "\tformat=" + QuoteText(line.format);
        lines += "\tautofit=" + std::to_string(line.autofits) + "\r\n";
    }
    for (const auto& [row, line] : m_rows) {
        lines += "row\trow=" + std::to_string(row);
        if (line.hasFormat) lines += "\tformat=" + QuoteText(line.format);
        lines += "\tautofit=" + std::to_string(line.autofits) + "\r\n";
    }
    return lines;
}

}  // namespace excel_double
