// One worksheet of the double: the cells, column and row formats that clients set through
// ranges, kept only where something was set, and written into the record at the end.
//
// Addresses are A1 references as Excel reads them: "B3", "$B$3", "A3:O3", "A:C" (whole columns),
// "3:5" (whole rows), letters in either case. A sheet has 1,048,576 rows and 16,384 columns
// (A to XFD). Values, fonts and cell formats are kept per cell, for at most 65,536 cells per
// call; number formats and auto-fit of whole columns or rows are kept per column or row.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <map>
#include <string>
#include <utility>

namespace excel_double {

const int kSheetRows = 1048576;
const int kSheetColumns = 16384;

// A rectangle of cells, 1-based and inclusive.
struct Area {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;

    bool WholeColumns() const { return top == 1 && bottom == kSheetRows; }
    bool WholeRows() const { return left == 1 && right == kSheetColumns; }
    long long Count() const
    {
        return static_cast<long long>(bottom - top + 1) * static_cast<long long>(right - left + 1);
    }
    // The address in the shortest form: "B3", "A3:O3", "B:B", "A:C", "3:3".
    std::wstring Name() const;
};

// False for anything that is not one of the forms above.
bool ParseAddress(const wchar_t* text, Area* area);

// A VARIANT that owns its content.
class CVariant {
public:
    CVariant() { ::VariantInit(&m_value); }
    explicit CVariant(const VARIANT& value)
    {
        ::VariantInit(&m_value);
        ::VariantCopyInd(&m_value, const_cast<VARIANT*>(&value));
    }
    CVariant(const CVariant& other) : CVariant(other.m_value) {}
    CVariant& operator=(const CVariant& other)
    {
        if (this != &other) {
            ::VariantClear(&m_value);
            ::VariantCopyInd(&m_value, const_cast<VARIANT*>(&other.m_value));
        }
        return *this;
    }
    ~CVariant() { ::VariantClear(&m_value); }
    const VARIANT& Get() const { return m_value; }

private:
    VARIANT m_value;
};

class CSheet {
public:
    // Each returns S_OK, or DISP_E_EXCEPTION with the reason in *error (Excel raises an
    // exception for these too).
    //
    // A scalar fills every cell of the area (EMPTY or NULL empties them). A one-dimensional
    // array of VARIANT fills each row of the area left to right from its first element; an
    // EMPTY element leaves its cell empty, and cells beyond the array's end get #N/A.
    HRESULT PutValue(const Area& area, const VARIANT& value, std::wstring* error);
    // The value of a single cell (EMPTY when none).
    HRESULT GetValue(const Area& area, VARIANT* result, std::wstring* error);
    // Whole columns or rows keep the format as theirs (and drop their cells' own); other areas
    // give it to each cell.
    HRESULT PutNumberFormat(const Area& area, const std::wstring& format, std::wstring* error);
    // Whole columns or whole rows only, as in Excel.
    HRESULT AutoFit(const Area& area, std::wstring* error);
    HRESULT PutFontSize(const Area& area, double size, std::wstring* error);
    HRESULT PutBold(const Area& area, bool bold, std::wstring* error);
    // Of the area's top-left cell.
    double FontSize(const Area& area) const;
    bool Bold(const Area& area) const;

    // The record's cell, column and row lines, each ending in "\r\n".
    std::string RecordLines() const;

private:
    struct Cell {
        CVariant value;
        double size = 11;
        bool bold = false;
        bool hasFormat = false;
        std::wstring format;
    };
    struct Line {
        bool hasFormat = false;
        std::wstring format;
        int autofits = 0;
    };
    using Key = std::pair<int, int>;  // row, column: the map runs row by row

    bool CheckCellCount(const Area& area, std::wstring* error) const;
    const Cell* Find(int row, int column) const;

    std::map<Key, Cell> m_cells;
    std::map<int, Line> m_columns;
    std::map<int, Line> m_rows;
};

}  // namespace excel_double
