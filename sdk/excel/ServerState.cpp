#include "sdk/excel/ServerState.h"

#include <cwchar>
#include <cwctype>

#include "sdk/excel/DispatchObject.h"
#include "sdk/excel/RecordFormat.h"

namespace excel_double {

namespace {

bool ParseCount(const wchar_t* text, long* value)
{
    wchar_t* end = nullptr;
    long v = wcstol(text, &end, 10);
    if (!*text || *end || v < 0) return false;
    *value = v;
    return true;
}

bool SameOption(const wchar_t* argument, const wchar_t* name)
{
    return (argument[0] == L'-' || argument[0] == L'/') && _wcsicmp(argument + 1, name) == 0;
}

}  // namespace

bool ParseOptions(int argc, wchar_t** argv, ServerOptions* options, std::wstring* error)
{
    for (int i = 1; i < argc; ++i) {
        const wchar_t* a = argv[i];
        if (SameOption(a, L"Embedding") || SameOption(a, L"Automation")) {
            options->embedding = true;
            continue;
        }
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long number = 0;
        if (SameOption(a, L"record") && value) {
            options->recordFolder = value;
        } else if (SameOption(a, L"fail") && value && ParseCount(value, &number)) {
            options->failCall = number;
        } else if (SameOption(a, L"failmember") && value) {
            options->failMember = value;
        } else if (SameOption(a, L"exitafter") && value && ParseCount(value, &number)) {
            options->exitAfter = number;
        } else if (SameOption(a, L"startdelay") && value && ParseCount(value, &number)) {
            options->startDelayMs = static_cast<DWORD>(number);
        } else if (SameOption(a, L"idle") && value && ParseCount(value, &number) && number > 0) {
            options->idleMs = static_cast<DWORD>(number) * 1000;
        } else {
            *error = std::wstring(L"unknown option or missing value: ") + a;
            return false;
        }
        ++i;
    }
    return true;
}

CServer& CServer::Get()
{
    static CServer server;
    return server;
}

bool CServer::OpenRecord(const std::wstring& commandLine)
{
    if (options.recordFolder.empty()) return true;
    std::wstring path = options.recordFolder + L"\\excel-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    m_record = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_record == INVALID_HANDLE_VALUE) return false;
    Write("process\tpid=" + std::to_string(::GetCurrentProcessId()) + "\tcommand=" + QuoteText(commandLine));
    return true;
}

void CServer::Write(const std::string& line)
{
    if (m_record == INVALID_HANDLE_VALUE) return;
    // One write per line: a reader sees whole lines, also of a process that died.
    std::string whole = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(m_record, whole.data(), static_cast<DWORD>(whole.size()), &written, nullptr);
}

void CServer::ObjectMade(const std::wstring& name)
{
    ++m_alive;
    m_aliveNames.insert(name);
}

void CServer::ObjectGone(const std::wstring& name)
{
    auto it = m_aliveNames.find(name);
    if (it != m_aliveNames.end()) m_aliveNames.erase(it);
    if (--m_alive == 0) ::PostQuitMessage(0);
}

std::string CServer::AliveNames() const
{
    std::string names;
    for (const std::wstring& name : m_aliveNames) {
        if (!names.empty()) names += ",";
        for (wchar_t c : name) names += static_cast<char>(c);
    }
    return names;
}

std::string ValueText(const VARIANT& value)
{
    if (value.vt == (VT_BYREF | VT_VARIANT)) return value.pvarVal ? ValueText(*value.pvarVal) : "OTHER:0x0000400C";
    bool byRef = (value.vt & VT_BYREF) != 0;
    VARTYPE type = value.vt & ~VT_BYREF;
    switch (type) {
    case VT_EMPTY: return "EMPTY";
    case VT_NULL: return "NULL";
    case VT_I2: return "I2:" + std::to_string(byRef ? *value.piVal : value.iVal);
    case VT_I4: return "I4:" + std::to_string(byRef ? *value.plVal : value.lVal);
    case VT_R4: return "R4:" + NumberText(byRef ? *value.pfltVal : value.fltVal);
    case VT_R8: return "R8:" + NumberText(byRef ? *value.pdblVal : value.dblVal);
    case VT_DATE: return "DATE:" + NumberText(byRef ? *value.pdate : value.date);
    case VT_CY: return "CY:" + std::to_string((byRef ? *value.pcyVal : value.cyVal).int64);
    case VT_BOOL: return "BOOL:" + std::to_string((byRef ? *value.pboolVal : value.boolVal) ? -1 : 0);
    case VT_ERROR: return "ERROR:" + HexText(static_cast<unsigned long>(byRef ? *value.pscode : value.scode));
    case VT_BSTR: {
        BSTR text = byRef ? *value.pbstrVal : value.bstrVal;
        return "BSTR:" + QuoteText(text ? text : L"", text ? ::SysStringLen(text) : 0);
    }
    case VT_DISPATCH: {
        IDispatch* dispatch = byRef ? *value.ppdispVal : value.pdispVal;
        if (!dispatch) return "DISPATCH:null";
        CDispatchObject* own = CDispatchObject::FromDispatch(dispatch);
        if (!own) return "DISPATCH:foreign";
        std::string name;
        for (wchar_t c : own->Name()) name += static_cast<char>(c);
        return "DISPATCH:" + name;
    }
    case VT_ARRAY | VT_VARIANT: {
        SAFEARRAY* array = byRef ? *value.pparray : value.parray;
        if (!array || ::SafeArrayGetDim(array) != 1) return "OTHER:" + HexText(value.vt);
        LONG lower = 0, upper = -1;
        ::SafeArrayGetLBound(array, 1, &lower);
        ::SafeArrayGetUBound(array, 1, &upper);
        std::string text = "ARRAY:" + std::to_string(lower) + "[";
        for (LONG i = lower; i <= upper; ++i) {
            VARIANT element;
            ::VariantInit(&element);
            ::SafeArrayGetElement(array, &i, &element);
            if (i > lower) text += ",";
            text += ValueText(element);
            ::VariantClear(&element);
        }
        return text + "]";
    }
    default: return "OTHER:" + HexText(value.vt);
    }
}

}  // namespace excel_double
