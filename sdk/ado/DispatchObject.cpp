#include "sdk/ado/DispatchObject.h"

#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <new>
#include <vector>

#include "sdk/ado/AdoIds.h"
#include "sdk/ado/Journal.h"

const wchar_t kJetSource[] = L"Microsoft JET Database Engine";

namespace {

LONG g_objects = 0;
LONG g_locks = 0;

const wchar_t kWrongArguments[] =
    L"Arguments are of the wrong type, are out of acceptable range, or are in conflict with one another.";

VARIANT Missing()
{
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    return missing;
}

bool IsMissing(const VARIANT& value)
{
    return value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

}  // namespace

HRESULT ConvertVariant(VARIANT* result, const VARIANT& value, VARTYPE type)
{
    return VariantChangeType(result, const_cast<VARIANT*>(&value), 0, type);
}

void ThrowAdo(HRESULT code, const wchar_t* source, const std::wstring& description)
{
    throw CAdoError{code, source, description};
}

// --- arguments ---------------------------------------------------------------------------------

UINT CArgs::Count() const
{
    return m_params ? m_params->cArgs - m_params->cNamedArgs : 0;
}

bool CArgs::Has(UINT index) const
{
    return index < Count() && !IsMissing(Get(index));
}

const VARIANT& CArgs::Get(UINT index) const
{
    static const VARIANT missing = Missing();
    if (index >= Count()) return missing;
    const VARIANT& value = m_params->rgvarg[m_params->cArgs - 1 - index];
    // A reference to a variant (VB passes its variables so) stands for the variant it names.
    if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal) return *value.pvarVal;
    return value;
}

std::wstring CArgs::Text(UINT index, const std::wstring& fallback) const
{
    if (!Has(index)) return fallback;
    const VARIANT& value = Get(index);
    if (value.vt == VT_BSTR) return value.bstrVal ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"";
    if (value.vt == VT_NULL) return L"";
    VARIANT text;
    VariantInit(&text);
    if (FAILED(ConvertVariant(&text, value, VT_BSTR))) ThrowAdo(kAdoArgumentsWrongType, L"ADODB", kWrongArguments);
    std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}

long CArgs::Number(UINT index, long fallback) const
{
    if (!Has(index)) return fallback;
    VARIANT number;
    VariantInit(&number);
    if (FAILED(ConvertVariant(&number, Get(index), VT_I4))) ThrowAdo(kAdoArgumentsWrongType, L"ADODB", kWrongArguments);
    return number.lVal;
}

const VARIANT& CArgs::PutValue() const
{
    static const VARIANT missing = Missing();
    if (!m_params || m_params->cArgs == 0) return missing;
    // Named arguments come first; a put names its value DISPID_PROPERTYPUT.
    for (UINT i = 0; i < m_params->cNamedArgs; ++i) {
        if (m_params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) {
            const VARIANT& value = m_params->rgvarg[i];
            if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal) return *value.pvarVal;
            return value;
        }
    }
    return Get(Count() - 1);
}

std::wstring CArgs::PutText() const
{
    const VARIANT& value = PutValue();
    return value.vt == VT_BSTR && value.bstrVal ? value.bstrVal : L"";
}

long CArgs::PutNumber(const wchar_t* source) const
{
    VARIANT number;
    VariantInit(&number);
    if (FAILED(ConvertVariant(&number, PutValue(), VT_I4)))
        ThrowAdo(kAdoArgumentsWrongType, source, L"Arguments are of the wrong type.");
    return number.lVal;
}

std::wstring CArgs::Describe(bool put) const
{
    if (put) return L" = " + DescribeVariant(PutValue());
    if (Count() == 0) return L"";
    std::wstring text = L"(";
    for (UINT i = 0; i < Count(); ++i) {
        if (i) text += L", ";
        text += DescribeVariant(Get(i));
    }
    return text + L")";
}

std::string Utf8(const std::wstring& text)
{
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(bytes - 1));
    return utf8;
}

std::wstring DescribeVariant(const VARIANT& value)
{
    wchar_t number[64];
    switch (value.vt) {
    case VT_EMPTY: return L"Empty";
    case VT_NULL: return L"Null";
    case VT_BSTR: {
        // Quoted as a string literal of automation's languages: an inner quote is doubled.
        std::wstring text = L"\"";
        for (const wchar_t* p = value.bstrVal; p && *p; ++p) text += *p == L'"' ? L"\"\"" : std::wstring(1, *p);
        return text + L"\"";
    }
    case VT_BOOL: return value.boolVal ? L"True" : L"False";
    case VT_ERROR:
        if (value.scode == DISP_E_PARAMNOTFOUND) return L"Missing";
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        if (!value.punkVal) return L"Nothing";
        CComPtr<IDispatch> own;
        if (SUCCEEDED(value.punkVal->QueryInterface(IID_AdoDoubleConnection, reinterpret_cast<void**>(&own)))) {
            return static_cast<CDispatchObject*>(own.Get())->Label();
        }
        return L"Object";
    }
    default: break;
    }
    VARIANT text;
    VariantInit(&text);
    if (SUCCEEDED(VariantChangeTypeEx(&text, const_cast<VARIANT*>(&value),
                                      MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT), 0,
                                      VT_BSTR))) {
        std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
        VariantClear(&text);
        return result;
    }
    std::swprintf(number, 64, L"<type %u>", static_cast<unsigned>(value.vt));
    return number;
}

// --- the object --------------------------------------------------------------------------------

CDispatchObject::CDispatchObject()
{
    InterlockedIncrement(&g_objects);
}

CDispatchObject::~CDispatchObject()
{
    InterlockedDecrement(&g_objects);
}

LONG CDispatchObject::Outstanding()
{
    return g_objects + g_locks;
}

void CDispatchObject::Lock(bool lock)
{
    if (lock)
        InterlockedIncrement(&g_locks);
    else
        InterlockedDecrement(&g_locks);
}

STDMETHODIMP CDispatchObject::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;  // no type library: late binding by name only
    return S_OK;
}

STDMETHODIMP CDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CDispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids) return E_POINTER;
    UINT members = 0;
    const CMember* table = Members(&members);
    HRESULT result = S_OK;
    for (UINT n = 0; n < count; ++n) {
        ids[n] = DISPID_UNKNOWN;
        // Only the member's name is known; no member has named arguments.
        if (n == 0 && names[0]) {
            for (UINT i = 0; i < members; ++i) {
                if (_wcsicmp(table[i].name, names[0]) == 0) {
                    ids[0] = table[i].id;
                    break;
                }
            }
        }
        if (ids[n] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

STDMETHODIMP CDispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*)
{
    UINT members = 0;
    const CMember* table = Members(&members);
    const CMember* member = nullptr;
    for (UINT i = 0; i < members && !member; ++i) {
        if (table[i].id == id) member = &table[i];
    }
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (result) VariantInit(result);

    std::wstring line;
    try {
        CArgs args(params);
        line = Label() + L"." + member->name + args.Describe(IsPut(flags));
        Call(id, flags, args, result);
        JournalWrite(line);
        return S_OK;
    } catch (const CAdoError& error) {
        if (result) VariantClear(result);
        wchar_t code[16];
        std::swprintf(code, 16, L"%08lx", static_cast<unsigned long>(error.code));
        try {
            JournalWrite(line + L" -> " + code);
        } catch (...) {}
        if (exception) {
            ZeroMemory(exception, sizeof *exception);
            exception->scode = error.code;
            exception->bstrSource = SysAllocString(error.source.c_str());
            exception->bstrDescription = SysAllocString(error.description.c_str());
        }
        return DISP_E_EXCEPTION;
    } catch (const std::bad_alloc&) {
        if (result) VariantClear(result);
        return E_OUTOFMEMORY;
    } catch (...) {
        if (result) VariantClear(result);
        return E_UNEXPECTED;
    }
}

void CDispatchObject::ReturnLong(VARIANT* result, long value)
{
    if (!result) return;
    result->vt = VT_I4;
    result->lVal = value;
}

void CDispatchObject::ReturnBool(VARIANT* result, bool value)
{
    if (!result) return;
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void CDispatchObject::ReturnText(VARIANT* result, const std::wstring& value)
{
    if (!result) return;
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(value.c_str(), static_cast<UINT>(value.size()));
    if (!result->bstrVal) throw std::bad_alloc();
}

void CDispatchObject::ReturnObject(VARIANT* result, IDispatch* object)
{
    if (!result) return;
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    if (object) object->AddRef();
}
