// CADODataBase: one ADO connection ("ADODB.Connection", created by ProgID and driven by late
// binding), for the life of one import on one thread.
//
// The constructor initialises COM on the calling thread (an apartment) and creates the
// connection; the destructor closes an open connection, releases it, and uninitialises COM when
// the constructor's initialisation succeeded (a thread already in another apartment kind keeps
// its COM as it was). Open and Close give COM errors to the caller: Open keeps them as the last
// error, in the text form
//   "Connection String = <string>\n" "CADODataBase Error\n\tCode = ..." (FormatComError).
#pragma once

#include <windows.h>

#include <string>

#include "framework/ComInit.h"
#include "framework/DispatchDriver.h"

class CADODataBase {
public:
    CADODataBase();
    ~CADODataBase();
    CADODataBase(const CADODataBase&) = delete;
    CADODataBase& operator=(const CADODataBase&) = delete;

    // Closes an open connection first; keeps connectionString unless it is empty, and opens the
    // kept one with an empty user name and password and options 0. TRUE only when ADO's Open
    // answered S_OK.
    BOOL Open(const wchar_t* connectionString = L"");
    // Closes the connection when it exists and is open; the HRESULT of a failure (S_OK otherwise).
    HRESULT Close();
    BOOL IsOpen();

    // The ADO connection object (null when it could not be created).
    IDispatch* GetConnection() const { return m_connection.Get(); }
    const std::wstring& GetConnectionString() const { return m_connectionString; }
    const std::wstring& GetLastErrorText() const { return m_lastErrorText; }
    HRESULT GetLastError() const { return m_lastError; }

private:
    void RecordError(const CComFailure& failure);

    CComInit m_com;  // before the connection: COM is let go after it
    CDispatchDriver m_connection;
    std::wstring m_connectionString;
    std::wstring m_lastErrorText;
    HRESULT m_lastError = S_OK;
};
