#include "sdk/excel/DispatchObject.h"

#include <cwchar>

#include "framework/ComPtr.h"
#include "sdk/excel/RecordFormat.h"
#include "sdk/excel/ServerState.h"

namespace excel_double {

// {722EA15A-DB15-4EAD-A6BE-490FDFF29979}
const IID IID_DoubleObject = {0x722ea15a, 0xdb15, 0x4ead, {0xa6, 0xbe, 0x49, 0x0f, 0xdf, 0xf2, 0x99, 0x79}};

namespace {

// Excel's code for a failed method or property of its own objects.
const SCODE kExcelFailure = static_cast<SCODE>(0x800A03EC);

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

void FillException(EXCEPINFO* exception, const std::wstring& description)
{
    if (!exception) return;
    *exception = EXCEPINFO();
    exception->scode = kExcelFailure;
    exception->bstrSource = ::SysAllocString(L"Excel double");
    exception->bstrDescription = ::SysAllocString(description.c_str());
}

MemberKind KindOfCall(WORD flags, int accepted)
{
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return mkPut;
    if ((flags & DISPATCH_PROPERTYGET) && (accepted & mkGet)) return mkGet;
    if ((flags & DISPATCH_METHOD) && (accepted & mkMethod)) return mkMethod;
    if (flags & DISPATCH_METHOD) return (accepted & mkGet) ? mkGet : mkMethod;
    return mkGet;
}

std::string NamedText(const DISPPARAMS* params)
{
    std::string text;
    for (UINT i = 0; params && i < params->cNamedArgs; ++i) {
        if (i) text += ",";
        text += std::to_string(params->rgdispidNamedArgs[i]);
    }
    return text;
}

}  // namespace

CDispatchObject::CDispatchObject(const wchar_t* kind, const Member* members, size_t count, const std::wstring& detail)
    : m_members(members), m_count(count)
{
    m_name = std::wstring(kind) + L"#" + std::to_wstring(CServer::Get().NextSerial());
    if (!detail.empty()) m_name += L"[" + detail + L"]";
    CServer::Get().ObjectMade(m_name);
}

CDispatchObject::~CDispatchObject()
{
    CServer::Get().ObjectGone(m_name);
}

CDispatchObject* CDispatchObject::FromDispatch(IDispatch* dispatch)
{
    CComPtr<CDispatchObject> own;
    if (!dispatch || FAILED(dispatch->QueryInterface(IID_DoubleObject, reinterpret_cast<void**>(&own)))) return nullptr;
    return own;  // the caller's reference keeps it when this one goes
}

HRESULT CDispatchObject::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CDispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT CDispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids)
{
    CServer& server = CServer::Get();
    server.Touch();
    long n = server.NextNames();
    HRESULT hr = S_OK;
    if (iid != IID_NULL) {
        hr = DISP_E_UNKNOWNINTERFACE;
    } else if (!names || !ids || count == 0) {
        hr = E_INVALIDARG;
    } else {
        // The first name is the member; further names would be its parameters', which no member has.
        ids[0] = DISPID_UNKNOWN;
        for (size_t i = 0; i < m_count; ++i) {
            if (names[0] && _wcsicmp(names[0], m_members[i].name) == 0) ids[0] = m_members[i].id;
        }
        for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
    }
    std::wstring name = names && count && names[0] ? names[0] : L"";
    server.Write("names\tn=" + std::to_string(n) + "\tobject=" + Narrow(m_name) + "\tname=" + QuoteText(name) +
                 "\tlcid=" + std::to_string(lcid) + "\tdispid=" + std::to_string(ids && count ? ids[0] : 0) +
                 "\thr=" + HexText(static_cast<unsigned long>(hr)));
    return hr;
}

HRESULT CDispatchObject::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argError)
{
    CServer& server = CServer::Get();
    server.Touch();
    long n = server.NextInvoke();
    const ServerOptions& options = server.options;
    if (options.exitAfter && n > options.exitAfter) {
        // As if the user closed Excel in the middle of the export: the caller gets no answer.
        server.Write("exit\tafter=" + std::to_string(options.exitAfter));
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
    if (argError) *argError = 0;

    Call call{id, mkGet, {}, result};
    UINT argCount = params ? params->cArgs : 0;
    for (UINT i = argCount; i > 0; --i) {
        const VARIANT* arg = &params->rgvarg[i - 1];
        if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal) arg = arg->pvarVal;
        call.args.push_back(arg);
    }
    const Member* member = FindMember(id);
    std::wstring error;
    std::string failed;
    HRESULT hr = S_OK;
    if (result) ::VariantInit(result);
    if (iid != IID_NULL) {
        hr = DISP_E_UNKNOWNINTERFACE;
    } else if (!member) {
        hr = DISP_E_MEMBERNOTFOUND;
    } else if (n == options.failCall ||
               (!options.failMember.empty() && _wcsicmp(options.failMember.c_str(), member->name) == 0)) {
        hr = DISP_E_EXCEPTION;
        error = L"this call fails as the double was told";
        failed = "\tfailed=asked";
    } else {
        call.kind = KindOfCall(flags, member->kinds);
        bool namedPut = params && params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                        params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (!(member->kinds & call.kind)) {
            hr = DISP_E_MEMBERNOTFOUND;
        } else if (call.kind == mkPut && !namedPut) {
            hr = DISP_E_EXCEPTION;
            error = L"a property put names its argument DISPID_PROPERTYPUT";
        } else if (call.kind == mkPut && call.args.size() != 1) {
            hr = DISP_E_BADPARAMCOUNT;
        } else if (call.kind != mkPut && params && params->cNamedArgs) {
            hr = DISP_E_NONAMEDARGS;
        } else {
            hr = Run(call, &error);
        }
    }
    if (hr == DISP_E_EXCEPTION) FillException(exception, error);

    std::string args = "[";
    for (size_t i = 0; i < call.args.size(); ++i) args += (i ? "," : "") + ValueText(*call.args[i]);
    args += "]";
    server.Write("invoke\tn=" + std::to_string(n) + "\tobject=" + Narrow(m_name) +
                 "\tmember=" + QuoteText(member ? member->name : L"") + "\tdispid=" + std::to_string(id) +
                 "\tflags=" + std::to_string(flags) + "\tlcid=" + std::to_string(lcid) +
                 "\tnamed=" + NamedText(params) + "\targs=" + args + "\thr=" + HexText(static_cast<unsigned long>(hr)) +
                 "\tresult=" + (result ? ValueText(*result) : std::string("EMPTY")) + failed);
    return hr;
}

void CDispatchObject::ReturnObject(Call& call, CDispatchObject* object)
{
    CComPtr<CDispatchObject> made;
    made.Attach(object);  // a caller that wants no result lets it go here
    if (!call.result) return;
    call.result->vt = VT_DISPATCH;
    call.result->pdispVal = made.Detach();
}

HRESULT CDispatchObject::ArgAs(const Call& call, VARTYPE type, VARIANT* out)
{
    ::VariantInit(out);
    if (call.args.empty()) return DISP_E_BADPARAMCOUNT;
    HRESULT hr = ::VariantChangeType(out, const_cast<VARIANT*>(call.args[0]), 0, type);
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

const Member* CDispatchObject::FindMember(DISPID id) const
{
    for (size_t i = 0; i < m_count; ++i)
        if (m_members[i].id == id) return &m_members[i];
    return nullptr;
}

}  // namespace excel_double
