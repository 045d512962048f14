#include "legacy/ADODataBase.h"

#include "framework/ComVariant.h"

namespace {

const long adStateOpen = 1;

}  // namespace

CADODataBase::CADODataBase()
{
    m_com.Initialize();
    HRESULT created = m_connection.CreateInstance(L"ADODB.Connection");
    if (FAILED(created)) RecordError(CComFailure{created, L"", L""});
}

CADODataBase::~CADODataBase()
{
    if (IsOpen()) Close();
    m_connection.Release();
    m_com.Uninitialize();
}

void CADODataBase::RecordError(const CComFailure& failure)
{
    m_lastError = failure.code;
    m_lastErrorText = L"Connection String = " + m_connectionString + L"\n" + FormatComError(L"CADODataBase", failure);
}

BOOL CADODataBase::IsOpen()
{
    if (m_connection.IsNull()) return FALSE;
    CComVariant state;
    if (FAILED(m_connection.GetProperty(L"State", &state, nullptr)) || state.vt != VT_I4) return FALSE;
    return (state.lVal & adStateOpen) != 0;
}

BOOL CADODataBase::Open(const wchar_t* connectionString)
{
    if (m_connection.IsNull()) return FALSE;
    if (IsOpen()) Close();
    if (connectionString && *connectionString) m_connectionString = connectionString;

    CComVariant args[4] = {CComVariant(m_connectionString.c_str()), CComVariant(L""), CComVariant(L""),
                           CComVariant(0L)};
    CComFailure failure;
    HRESULT result = m_connection.Call(L"Open", args, 4, nullptr, &failure);
    if (FAILED(result)) RecordError(failure);
    return result == S_OK;
}

HRESULT CADODataBase::Close()
{
    if (!IsOpen()) return S_OK;
    CComFailure failure;
    HRESULT result = m_connection.Call(L"Close", nullptr, 0, nullptr, &failure);
    if (FAILED(result)) RecordError(failure);
    return result;
}
