// CADORecordset: one ADO recordset ("ADODB.Recordset", with an "ADODB.Command" for stored
// procedures) on a CADODataBase's connection, opened for one query, read row after row and
// closed before the next query; typed reading of a column of the current row by name.
//
// Open and GetFieldValue keep a COM error as the last error, in the text form
//   "Query = <query>\n" "CADORecordset Error\n\tCode = ..." (FormatComError),
// and answer FALSE; the row operations (IsEOF, MoveNext, Close) give their HRESULT to the caller.
//
// GetFieldValue converts the column's variant to the target by its variant type:
//   target  NULL, EMPTY             by value (TRUE)                              others (FALSE)
//   double  0                       integers, byte, boolean, single, double,    0
//                                   date, currency, decimal (sign, 96 bits and
//                                   scale)
//   long    0                       integers, byte, boolean, single, double,    0
//                                   currency, decimal, when the value fits
//                                   (rounded as automation rounds)
//   int     0                       16-bit integer, byte, boolean (16 bits,     0 (32-bit integers too)
//                                   sign-extended)
//   float   0                       as double, then narrowed                    0
//   date    left as it was          a date                                      left as it was
//   text    empty                   16- and 32-bit integers and byte: digits;   emptied
//                                   single and double: 10 significant digits
//                                   in the _gcvt form; date: "%Y-%m-%d
//                                   %H:%M:%S"; string: itself
// A column that cannot be read (no such name, no current row) gives FALSE and leaves the target
// as it was.
#pragma once

#include <windows.h>

#include <string>

#include "framework/DispatchDriver.h"
#include "framework/OleDateTime.h"
#include "legacy/ADODataBase.h"

class CADORecordset {
public:
    // How Open takes its query (a query beginning with "select " is always a statement).
    enum OpenOption { openUnknown = 0, openQuery = 1, openTable = 2, openStoredProc = 3 };

    // Creates the recordset and command objects; the database's connection becomes the active
    // connection (held with a reference).
    explicit CADORecordset(CADODataBase* database);
    ~CADORecordset();
    CADORecordset(const CADORecordset&) = delete;
    CADORecordset& operator=(const CADORecordset&) = delete;

    // Closes an open recordset first; keeps query unless it is empty. TRUE when a recordset
    // exists afterwards; an option other than the four above opens nothing (FALSE).
    BOOL Open(const wchar_t* query = L"", int option = openUnknown);
    HRESULT Close();
    BOOL IsOpen();
    // The recordset's EOF test and MoveNext.
    HRESULT IsEOF(BOOL* eof);
    HRESULT MoveNext();

    BOOL GetFieldValue(const wchar_t* name, double& value);
    BOOL GetFieldValue(const wchar_t* name, long& value);
    BOOL GetFieldValue(const wchar_t* name, int& value);
    BOOL GetFieldValue(const wchar_t* name, COleDateTime& value);
    BOOL GetFieldValue(const wchar_t* name, float& value);
    BOOL GetFieldValue(const wchar_t* name, std::wstring& value);

    const std::wstring& GetQuery() const { return m_query; }
    const std::wstring& GetLastErrorText() const { return m_lastErrorText; }
    HRESULT GetLastError() const { return m_lastError; }

private:
    void RecordError(const CComFailure& failure);
    // The column's value of the current row; FALSE (error recorded) when it cannot be read.
    BOOL ReadField(const wchar_t* name, VARIANT* value);

    CDispatchDriver m_recordset;
    CDispatchDriver m_command;
    CDispatchDriver m_connection;  // the active connection
    CDispatchDriver m_fields;      // the open recordset's Fields collection, asked for once
    DISPID m_valueId = DISPID_UNKNOWN;
    std::wstring m_query;
    std::wstring m_lastErrorText;
    HRESULT m_lastError = S_OK;
};
