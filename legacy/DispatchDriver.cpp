#include "legacy/DispatchDriver.h"

#include <objbase.h>
#include <oleauto.h>

#include <cwchar>

CVariant::CVariant(const wchar_t* text)
{
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(text ? text : L"");
}

CVariant::CVariant(IDispatch* object)
{
    VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = object;
    if (object) object->AddRef();
}

void CVariant::SetMissing(VARIANT* value)
{
    VariantClear(value);
    value->vt = VT_ERROR;
    value->scode = DISP_E_PARAMNOTFOUND;
}

std::wstring ErrorMeaning(HRESULT code)
{
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                       reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring meaning;
    if (length && text) {
        meaning.assign(text, length);
        while (!meaning.empty() && (meaning.back() == L'\n' || meaning.back() == L'\r' || meaning.back() == L' '))
            meaning.pop_back();
    }
    if (text) LocalFree(text);
    if (meaning.empty()) {
        wchar_t unknown[32];
        std::swprintf(unknown, 32, L"Unknown error 0x%08lX", static_cast<unsigned long>(code));
        meaning = unknown;
    }
    return meaning;
}

std::wstring FormatComError(const wchar_t* className, const CComFailure& failure)
{
    wchar_t code[16];
    std::swprintf(code, 16, L"%08lx", static_cast<unsigned long>(failure.code));
    return std::wstring(className) + L" Error\n\tCode = " + code + L"\n\tCode meaning = " + ErrorMeaning(failure.code) +
           L"\n\tSource = " + failure.source + L"\n\tDescription = " + failure.description + L"\n";
}

HRESULT CDispatchDriver::CreateInstance(const wchar_t* progId)
{
    Release();
    CLSID clsid;
    HRESULT result = CLSIDFromProgID(progId, &clsid);
    if (FAILED(result)) return result;
    return CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&m_object));
}

void CDispatchDriver::Attach(IDispatch* object)
{
    if (object) object->AddRef();
    Release();
    m_object = object;
}

bool CDispatchDriver::AttachResult(VARIANT* value)
{
    if (value->vt != VT_DISPATCH || !value->pdispVal) return false;
    Release();
    m_object = value->pdispVal;  // the variant's reference is ours now
    value->vt = VT_EMPTY;
    value->pdispVal = nullptr;
    return true;
}

void CDispatchDriver::Release()
{
    if (m_object) m_object->Release();
    m_object = nullptr;
    m_ids.clear();
}

HRESULT CDispatchDriver::GetDispId(const wchar_t* name, DISPID* id, CComFailure* failure)
{
    for (const auto& known : m_ids) {
        if (known.first == name) {
            *id = known.second;
            return S_OK;
        }
    }
    HRESULT result = E_POINTER;
    if (m_object) {
        LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
        result = m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
        if (SUCCEEDED(result)) m_ids.emplace_back(name, *id);
    }
    if (FAILED(result) && failure) *failure = CComFailure{result, L"", L""};
    return result;
}

HRESULT CDispatchDriver::InvokeId(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result,
                                  CComFailure* failure)
{
    if (!m_object) {
        if (failure) *failure = CComFailure{E_POINTER, L"", L""};
        return E_POINTER;
    }
    // IDispatch takes the arguments last first.
    std::vector<VARIANTARG> reversed(count);
    for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = count ? reversed.data() : nullptr;
    params.cArgs = count;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    if (result) VariantClear(result);
    HRESULT hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argError);
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        CComFailure raised;
        raised.code = exception.scode   ? exception.scode
                      : exception.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, exception.wCode)
                                        : DISP_E_EXCEPTION;
        if (exception.bstrSource) raised.source.assign(exception.bstrSource, SysStringLen(exception.bstrSource));
        if (exception.bstrDescription)
            raised.description.assign(exception.bstrDescription, SysStringLen(exception.bstrDescription));
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        if (failure) *failure = raised;
        return raised.code;
    }
    if (FAILED(hr) && failure) *failure = CComFailure{hr, L"", L""};
    return hr;
}

HRESULT CDispatchDriver::Invoke(const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result,
                                CComFailure* failure)
{
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = GetDispId(name, &id, failure);
    if (FAILED(hr)) return hr;
    return InvokeId(id, flags, args, count, result, failure);
}

HRESULT CDispatchDriver::PutProperty(const wchar_t* name, VARIANT* value, CComFailure* failure)
{
    const WORD flags = value->vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return Invoke(name, flags, value, 1, nullptr, failure);
}
