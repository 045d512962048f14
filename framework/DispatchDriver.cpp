#include "framework/DispatchDriver.h"

#include <objbase.h>
#include <oleauto.h>

#include <cwchar>

#include "framework/ComBSTR.h"

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

// --- the call ------------------------------------------------------------------------------------

HRESULT CDispatchDriver::GetDispId(IDispatch* object, const wchar_t* name, DISPID* id)
{
    if (!object || !name || !id) return E_POINTER;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT CDispatchDriver::Invoke(IDispatch* object, DISPID id, WORD flags, LCID locale, const VARIANT* args, UINT count,
                                VARIANT* result, CComFailure* failure)
{
    if (!object || (count && !args)) {
        if (failure) *failure = CComFailure{E_POINTER, L"", L""};
        return E_POINTER;
    }
    // IDispatch takes the arguments last first. They are only read: shallow copies will do.
    std::vector<VARIANTARG> reversed(count);
    for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = count ? reversed.data() : nullptr;
    params.cArgs = count;
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && count) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    if (result) VariantClear(result);
    const HRESULT hr = object->Invoke(id, IID_NULL, locale, flags, &params, result, &exception, &argError);
    if (hr == DISP_E_EXCEPTION && failure && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    // The server's texts are the caller's to free, whatever the call answered.
    CComBSTR source, description, helpFile;
    source.Attach(exception.bstrSource);
    description.Attach(exception.bstrDescription);
    helpFile.Attach(exception.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION) {
        if (failure) {
            failure->code = exception.scode   ? exception.scode
                            : exception.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_DISPATCH, exception.wCode)
                                              : DISP_E_EXCEPTION;
            failure->source = source.ToString();
            failure->description = description.ToString();
        }
    } else if (FAILED(hr) && failure) {
        *failure = CComFailure{hr, L"", L""};
    }
    return hr;
}

// --- the driver of one object ----------------------------------------------------------------------

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
    m_object = object;
    m_ids.clear();
}

bool CDispatchDriver::AttachResult(VARIANT* value)
{
    if (value->vt != VT_DISPATCH || !value->pdispVal) return false;
    m_object.Attach(value->pdispVal);  // the variant's reference is ours now
    m_ids.clear();
    value->vt = VT_EMPTY;
    value->pdispVal = nullptr;
    return true;
}

void CDispatchDriver::Release()
{
    m_object.Release();
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
    const HRESULT result = GetDispId(m_object, name, id);
    if (SUCCEEDED(result)) m_ids.emplace_back(name, *id);
    if (FAILED(result) && failure) *failure = CComFailure{result, L"", L""};
    return result;
}

HRESULT CDispatchDriver::InvokeId(DISPID id, WORD flags, const VARIANT* args, UINT count, VARIANT* result,
                                  CComFailure* failure)
{
    CComFailure raised;
    const HRESULT hr = Invoke(m_object, id, flags, m_locale, args, count, result, &raised);
    if (FAILED(hr) && failure) *failure = raised;
    return hr == DISP_E_EXCEPTION ? raised.code : hr;
}

HRESULT CDispatchDriver::Invoke(const wchar_t* name, WORD flags, const VARIANT* args, UINT count, VARIANT* result,
                                CComFailure* failure)
{
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = GetDispId(name, &id, failure);
    if (FAILED(hr)) return hr;
    return InvokeId(id, flags, args, count, result, failure);
}

HRESULT CDispatchDriver::PutProperty(const wchar_t* name, const VARIANT* value, CComFailure* failure)
{
    const WORD flags = value->vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    return Invoke(name, flags, value, 1, nullptr, failure);
}
