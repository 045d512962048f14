// CAdoRecordset: "ADODB.Recordset" of the double, the rows of one query, read at Open into memory
// (a static cursor on the client, whatever cursor the caller asks for).
//
// Members: Open(Source, ActiveConnection, CursorType, LockType, Options), Close(), State, EOF,
// BOF, MoveFirst(), MoveNext(), RecordCount, Fields, Source, ActiveConnection, CursorLocation,
// CursorType, LockType. Options (the command type) 2 (a table) and 4 (a stored query) read the
// table or view of that name; 1 (text), 8 (unknown) and the rest run the source as SQL, except
// that an unknown source of one word is taken for a table.
#pragma once

#include <string>
#include <vector>

#include "sdk/ado/AdoConnection.h"
#include "sdk/ado/DispatchObject.h"

class CAdoRecordset : public CDispatchObject {
public:
    CAdoRecordset() = default;

    std::wstring Label() const override { return L"Recordset"; }

    // Opens the rows of source on the connection (also the road of Command.Execute).
    void OpenOn(CAdoConnection* connection, const std::wstring& source, long options);

    bool IsOpen() const { return m_open; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const std::wstring& ColumnName(int column) const { return m_columns[column]; }
    // The column of that name, ignoring case; -1 when there is none.
    int FindColumn(const std::wstring& name) const;
    // The current row's value of a column into result (a copy); throws when there is no open
    // recordset or no current row, or when a fault is due.
    void ReadValue(int column, VARIANT* result);

protected:
    ~CAdoRecordset() override;
    const CMember* Members(UINT* count) const override;
    void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) override;

private:
    void CheckOpen() const;
    void Close();
    void ClearRows();
    bool AtEnd() const { return m_position >= m_rowCount; }

    CComPtr<CAdoConnection> m_connection;
    std::wstring m_source;
    long m_cursorLocation = 2;  // adUseServer
    long m_cursorType = 0;      // adOpenForwardOnly
    long m_lockType = 1;        // adLockReadOnly
    bool m_open = false;
    std::vector<std::wstring> m_columns;
    std::vector<VARIANT> m_cells;  // row after row, ColumnCount() cells each
    size_t m_rowCount = 0;
    size_t m_position = 0;
};

// The double's connection behind a variant holding one (null for anything else); AddRef'd.
CAdoConnection* ConnectionOf(const VARIANT& value);
// The double's connection a property put hands over (AddRef'd); anything else throws
// kAdoArgumentsWrongType from source.
CAdoConnection* PutConnection(const CArgs& args, const wchar_t* source);
