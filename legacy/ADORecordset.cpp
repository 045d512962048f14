#include "legacy/ADORecordset.h"

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "common/Assert.h"
#include "framework/ComVariant.h"

namespace {

const long adStateOpen = 1;
const long adUseClient = 3;
const long adOpenKeyset = 1;
const long adOpenStatic = 3;
const long adLockOptimistic = 3;
const long adCmdTable = 2;
const long adCmdStoredProc = 4;
const long adCmdUnknown = 8;

// A decimal's value from its sign, all 96 bits and its scale.
double DecimalToDouble(const DECIMAL& value)
{
    // clang-format off
    static const double kPowers[] = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14,
        1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28,
    };
    // clang-format on
    double magnitude = static_cast<double>(value.Hi32) * 18446744073709551616.0 + static_cast<double>(value.Lo64);
    if (value.scale < sizeof kPowers / sizeof kPowers[0]) magnitude /= kPowers[value.scale];
    return (value.sign & DECIMAL_NEG) ? -magnitude : magnitude;
}

// The value of a numeric variant (integers of every width, byte, boolean, single, double,
// currency, decimal); false for every other type.
bool NumberOf(const VARIANT& v, double* number)
{
    switch (v.vt) {
    case VT_I1: *number = v.cVal; return true;
    case VT_UI1: *number = v.bVal; return true;
    case VT_I2: *number = v.iVal; return true;
    case VT_UI2: *number = v.uiVal; return true;
    case VT_I4: *number = v.lVal; return true;
    case VT_UI4: *number = v.ulVal; return true;
    case VT_INT: *number = v.intVal; return true;
    case VT_UINT: *number = v.uintVal; return true;
    case VT_I8: *number = static_cast<double>(v.llVal); return true;
    case VT_UI8: *number = static_cast<double>(v.ullVal); return true;
    case VT_BOOL: *number = v.boolVal ? -1.0 : 0.0; return true;
    case VT_R4: *number = v.fltVal; return true;
    case VT_R8: *number = v.dblVal; return true;
    case VT_CY: *number = static_cast<double>(v.cyVal.int64) / 10000.0; return true;
    case VT_DECIMAL: *number = DecimalToDouble(v.decVal); return true;
    default: return false;
    }
}

bool IsNullOrEmpty(const VARIANT& v)
{
    return v.vt == VT_NULL || v.vt == VT_EMPTY;
}

// The double read: NULL and EMPTY give 0, numbers and dates their value, anything else 0 and
// false.
BOOL ToDouble(const VARIANT& v, double* value)
{
    *value = 0;
    if (IsNullOrEmpty(v)) return TRUE;
    if (v.vt == VT_DATE) {
        *value = v.date;
        return TRUE;
    }
    return NumberOf(v, value) ? TRUE : FALSE;
}

}  // namespace

CADORecordset::CADORecordset(CADODataBase* database)
{
    ALK_ASSERT(database != nullptr);  // a recordset is always opened on a connection
    HRESULT created = m_recordset.CreateInstance(L"ADODB.Recordset");
    if (SUCCEEDED(created)) created = m_command.CreateInstance(L"ADODB.Command");
    if (FAILED(created)) RecordError(CComFailure{created, L"", L""});
    if (database) m_connection.Attach(database->GetConnection());
}

CADORecordset::~CADORecordset()
{
    if (IsOpen()) Close();
    m_fields.Release();
    m_recordset.Release();
    m_command.Release();
    m_connection.Release();
}

void CADORecordset::RecordError(const CComFailure& failure)
{
    m_lastError = failure.code;
    m_lastErrorText = L"Query = " + m_query + L"\n" + FormatComError(L"CADORecordset", failure);
}

BOOL CADORecordset::IsOpen()
{
    if (m_recordset.IsNull()) return FALSE;
    CComVariant state;
    if (FAILED(m_recordset.GetProperty(L"State", &state, nullptr)) || state.vt != VT_I4) return FALSE;
    return (state.lVal & adStateOpen) != 0;
}

BOOL CADORecordset::Open(const wchar_t* query, int option)
{
    if (IsOpen()) Close();
    m_fields.Release();
    if (query && *query) m_query = query;
    if (m_recordset.IsNull()) return FALSE;

    CComFailure failure;
    CComVariant location(adUseClient), cursor(adOpenStatic);
    if (FAILED(m_recordset.PutProperty(L"CursorLocation", &location, &failure)) ||
        FAILED(m_recordset.PutProperty(L"CursorType", &cursor, &failure))) {
        RecordError(failure);
        return FALSE;
    }

    HRESULT result = S_OK;
    const bool select = _wcsnicmp(m_query.c_str(), L"select ", 7) == 0;
    if (select || option == openQuery) {
        CComVariant args[5] = {CComVariant(m_query.c_str()), CComVariant(m_connection.Get()), CComVariant(adOpenStatic),
                               CComVariant(adLockOptimistic), CComVariant(adCmdUnknown)};
        result = m_recordset.Call(L"Open", args, 5, nullptr, &failure);
    } else if (option == openTable) {
        CComVariant args[5] = {CComVariant(m_query.c_str()), CComVariant(m_connection.Get()), CComVariant(adOpenKeyset),
                               CComVariant(adLockOptimistic), CComVariant(adCmdTable)};
        result = m_recordset.Call(L"Open", args, 5, nullptr, &failure);
    } else if (option == openStoredProc) {
        CComVariant connection(m_connection.Get()), text(m_query.c_str()), type(adCmdStoredProc), rows;
        result = m_command.PutProperty(L"ActiveConnection", &connection, &failure);
        if (SUCCEEDED(result)) result = m_command.PutProperty(L"CommandText", &text, &failure);
        if (SUCCEEDED(result)) result = m_command.PutProperty(L"CommandType", &type, &failure);
        if (SUCCEEDED(result)) result = m_command.Call(L"Execute", nullptr, 0, &rows, &failure);
        if (SUCCEEDED(result) && !m_recordset.AttachResult(&rows)) {
            failure = CComFailure{E_NOINTERFACE, L"", L""};
            result = E_NOINTERFACE;
        }
    } else {
        return FALSE;
    }
    if (FAILED(result)) {
        RecordError(failure);
        return FALSE;
    }
    return !m_recordset.IsNull();
}

HRESULT CADORecordset::Close()
{
    m_fields.Release();
    if (!IsOpen()) return S_OK;
    CComFailure failure;
    HRESULT result = m_recordset.Call(L"Close", nullptr, 0, nullptr, &failure);
    if (FAILED(result)) RecordError(failure);
    return result;
}

HRESULT CADORecordset::IsEOF(BOOL* eof)
{
    CComFailure failure;
    CComVariant value;
    HRESULT result = m_recordset.GetProperty(L"EOF", &value, &failure);
    if (SUCCEEDED(result)) {
        result = VariantChangeType(&value, &value, 0, VT_BOOL);
        if (FAILED(result)) failure = CComFailure{result, L"", L""};
    }
    if (FAILED(result)) {
        RecordError(failure);
        return result;
    }
    *eof = value.boolVal != VARIANT_FALSE;
    return S_OK;
}

HRESULT CADORecordset::MoveNext()
{
    CComFailure failure;
    HRESULT result = m_recordset.Call(L"MoveNext", nullptr, 0, nullptr, &failure);
    if (FAILED(result)) RecordError(failure);
    return result;
}

BOOL CADORecordset::ReadField(const wchar_t* name, VARIANT* value)
{
    CComFailure failure;
    if (m_fields.IsNull()) {
        CComVariant fields;
        if (FAILED(m_recordset.GetProperty(L"Fields", &fields, &failure))) {
            RecordError(failure);
            return FALSE;
        }
        if (!m_fields.AttachResult(&fields)) {
            RecordError(CComFailure{E_NOINTERFACE, L"", L""});
            return FALSE;
        }
    }
    CComVariant index(name), item;
    if (FAILED(m_fields.Invoke(L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &index, 1, &item, &failure))) {
        RecordError(failure);
        return FALSE;
    }
    CDispatchDriver field;
    if (!field.AttachResult(&item)) {
        RecordError(CComFailure{E_NOINTERFACE, L"", L""});
        return FALSE;
    }
    // Every field of one recordset is of one class: its Value is asked for by name once.
    if (m_valueId == DISPID_UNKNOWN && FAILED(field.GetDispId(L"Value", &m_valueId, &failure))) {
        RecordError(failure);
        return FALSE;
    }
    if (FAILED(field.InvokeId(m_valueId, DISPATCH_PROPERTYGET, nullptr, 0, value, &failure))) {
        RecordError(failure);
        return FALSE;
    }
    return TRUE;
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, double& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    return ToDouble(v, &value);
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, float& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    double wide = 0;
    BOOL converted = ToDouble(v, &wide);
    value = static_cast<float>(wide);
    return converted;
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, long& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    if (IsNullOrEmpty(v)) {
        value = 0;
        return TRUE;
    }
    double number = 0;
    CComVariant converted;
    // Automation's own conversion: rounding, and an overflow for a value that does not fit.
    if (v.vt != VT_DATE && NumberOf(v, &number) && SUCCEEDED(VariantChangeType(&converted, &v, 0, VT_I4))) {
        value = converted.lVal;
        return TRUE;
    }
    value = 0;
    return FALSE;
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, int& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    switch (v.vt) {
    case VT_NULL:
    case VT_EMPTY: value = 0; return TRUE;
    case VT_I2: value = v.iVal; return TRUE;
    case VT_UI1: value = v.bVal; return TRUE;
    case VT_BOOL: value = v.boolVal; return TRUE;
    default: value = 0; return FALSE;
    }
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, COleDateTime& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    if (IsNullOrEmpty(v)) return TRUE;
    if (v.vt != VT_DATE) return FALSE;
    value = v.date;
    return TRUE;
}

BOOL CADORecordset::GetFieldValue(const wchar_t* name, std::wstring& value)
{
    CComVariant v;
    if (!ReadField(name, &v)) return FALSE;
    wchar_t text[64];
    switch (v.vt) {
    case VT_NULL:
    case VT_EMPTY: value.clear(); return TRUE;
    case VT_BSTR: value.assign(v.bstrVal ? v.bstrVal : L"", v.bstrVal ? SysStringLen(v.bstrVal) : 0); return TRUE;
    case VT_I2: std::swprintf(text, 64, L"%d", static_cast<int>(v.iVal)); break;
    case VT_UI1: std::swprintf(text, 64, L"%d", static_cast<int>(v.bVal)); break;
    case VT_I4: std::swprintf(text, 64, L"%ld", static_cast<long>(v.lVal)); break;
    case VT_R4:
    case VT_R8: {
        char digits[64] = {};
        _gcvt(v.vt == VT_R4 ? static_cast<double>(v.fltVal) : v.dblVal, 10, digits);
        for (int i = 0; i < 64; ++i) text[i] = static_cast<unsigned char>(digits[i]);
        break;
    }
    case VT_DATE: {
        SYSTEMTIME time;
        if (!VariantTimeToSystemTime(v.date, &time)) {
            value.clear();
            return FALSE;
        }
        std::swprintf(text, 64, L"%04d-%02d-%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
                      time.wMinute, time.wSecond);
        break;
    }
    default: value.clear(); return FALSE;
    }
    value = text;
    return TRUE;
}
