// Late binding to an automation object, written once: members are called by name through
// IDispatch, without a type library or a header of the server.
//
// The call itself (Invoke): the arguments are given in their natural order (first argument
// first) and passed last to first, as IDispatch takes them; a property put (DISPATCH_PROPERTYPUT
// or DISPATCH_PROPERTYPUTREF) with arguments names its last one DISPID_PROPERTYPUT; the result,
// when wanted, is cleared before the call; the texts of an EXCEPINFO that the server filled are
// freed on every road. Each call returns the HRESULT of IDispatch::Invoke.
//
// A call that fails is described by a CComFailure. When the server raised an exception
// (DISP_E_EXCEPTION), the code is the EXCEPINFO's scode (or, without one, its wCode made an
// HRESULT) and the source and description its texts; any other failure keeps the HRESULT with
// empty texts.
//
// CDispatchDriver holds one object (a reference of its own) and asks the DISPID of each name
// once, keeping it; its calls answer the failure's code (the raised scode where there was an
// exception). Callers that keep no object, or must ask for every name every time (a server
// that counts the questions), use the static GetDispId and Invoke with the object and the
// locale they need.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/ComPtr.h"

struct CComFailure {
    HRESULT code = S_OK;
    std::wstring source;
    std::wstring description;
};

// The system's message text for an error code without its trailing line break, or
// "Unknown error 0x%08lX" when the system has none.
std::wstring ErrorMeaning(HRESULT code);

// "<className> Error\n\tCode = %08lx\n\tCode meaning = %s\n\tSource = %s\n\tDescription = %s\n"
std::wstring FormatComError(const wchar_t* className, const CComFailure& failure);

class CDispatchDriver {
public:
    // locale: the one the calls are made in (LOCALE_USER_DEFAULT unless the server wants another);
    // names are always looked up in the user's default locale.
    explicit CDispatchDriver(LCID locale = LOCALE_USER_DEFAULT) : m_locale(locale) {}
    CDispatchDriver(const CDispatchDriver&) = delete;
    CDispatchDriver& operator=(const CDispatchDriver&) = delete;

    // Creates the object registered under progId (any server context) and keeps its IDispatch.
    HRESULT CreateInstance(const wchar_t* progId);
    // Keeps object with a reference of its own (null: none).
    void Attach(IDispatch* object);
    // Takes over the object a call returned in value (VT_DISPATCH); false for anything else.
    bool AttachResult(VARIANT* value);
    // Lets the object (and the DISPIDs asked of it) go.
    void Release();
    IDispatch* Get() const { return m_object; }
    bool IsNull() const { return !m_object; }

    // Calls a member with its arguments in their natural order; flags as IDispatch::Invoke takes
    // them. result may be null. A failure (E_POINTER without an object) is the code returned.
    HRESULT Invoke(const wchar_t* name, WORD flags, const VARIANT* args, UINT count, VARIANT* result,
                   CComFailure* failure);
    HRESULT Call(const wchar_t* name, const VARIANT* args, UINT count, VARIANT* result, CComFailure* failure)
    {
        return Invoke(name, DISPATCH_METHOD, args, count, result, failure);
    }
    HRESULT GetProperty(const wchar_t* name, VARIANT* result, CComFailure* failure)
    {
        return Invoke(name, DISPATCH_PROPERTYGET, nullptr, 0, result, failure);
    }
    // Objects are set by reference (DISPATCH_PROPERTYPUTREF), other values by value.
    HRESULT PutProperty(const wchar_t* name, const VARIANT* value, CComFailure* failure);

    // The DISPID of a member name, asked of the object once and then kept.
    HRESULT GetDispId(const wchar_t* name, DISPID* id, CComFailure* failure);
    HRESULT InvokeId(DISPID id, WORD flags, const VARIANT* args, UINT count, VARIANT* result, CComFailure* failure);

    // The DISPID of a name, asked of the object (user default locale); nothing is kept.
    static HRESULT GetDispId(IDispatch* object, const wchar_t* name, DISPID* id);
    // One call of a member by DISPID, as described above; the HRESULT of IDispatch::Invoke
    // (DISP_E_EXCEPTION for a raised exception, described in failure when one is given).
    static HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, LCID locale, const VARIANT* args, UINT count,
                          VARIANT* result, CComFailure* failure);

private:
    CComPtr<IDispatch> m_object;
    LCID m_locale;
    std::vector<std::pair<std::wstring, DISPID>> m_ids;
};
