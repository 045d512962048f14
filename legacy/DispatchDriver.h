// Late binding to an automation object: CDispatchDriver holds one IDispatch and calls its members
// by name (the DISPID of each name is asked once per object and kept); CVariant is a VARIANT that
// clears itself. No type library or header of the server is used: the Legacy library reaches ADO
// this way, by the member names ADO documents.
//
// A call that fails is described by a CComFailure. When the server raised an exception
// (DISP_E_EXCEPTION), the code is the EXCEPINFO's scode (or, without one, its wCode made an
// HRESULT) and the source and description its texts; any other failure keeps the HRESULT with
// empty texts.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

class CVariant : public VARIANT {
public:
    CVariant() { VariantInit(this); }
    explicit CVariant(long value)
    {
        VariantInit(this);
        vt = VT_I4;
        lVal = value;
    }
    // A string argument (a BSTR copy of the text).
    explicit CVariant(const wchar_t* text);
    // An object argument (a reference of its own).
    explicit CVariant(IDispatch* object);
    ~CVariant() { VariantClear(this); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    // An optional argument left out.
    static void SetMissing(VARIANT* value);
    void Clear() { VariantClear(this); }
};

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
    CDispatchDriver() = default;
    ~CDispatchDriver() { Release(); }
    CDispatchDriver(const CDispatchDriver&) = delete;
    CDispatchDriver& operator=(const CDispatchDriver&) = delete;

    // Creates the object registered under progId (any server context) and keeps its IDispatch.
    HRESULT CreateInstance(const wchar_t* progId);
    // Keeps object with a reference of its own (null: none).
    void Attach(IDispatch* object);
    // Takes over the object a call returned in value (VT_DISPATCH); false for anything else.
    bool AttachResult(VARIANT* value);
    void Release();
    IDispatch* Get() const { return m_object; }
    bool IsNull() const { return m_object == nullptr; }

    // Calls a member with its arguments in their natural order (first argument first). flags as
    // IDispatch::Invoke takes them; a property put passes the value as the one argument. result
    // may be null.
    HRESULT Invoke(const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result, CComFailure* failure);
    HRESULT Call(const wchar_t* name, VARIANT* args, UINT count, VARIANT* result, CComFailure* failure)
    {
        return Invoke(name, DISPATCH_METHOD, args, count, result, failure);
    }
    HRESULT GetProperty(const wchar_t* name, VARIANT* result, CComFailure* failure)
    {
        return Invoke(name, DISPATCH_PROPERTYGET, nullptr, 0, result, failure);
    }
    // Objects are set by reference (DISPATCH_PROPERTYPUTREF), other values by value.
    HRESULT PutProperty(const wchar_t* name, VARIANT* value, CComFailure* failure);

    // The DISPID of a member name, asked of the object once and then kept.
    HRESULT GetDispId(const wchar_t* name, DISPID* id, CComFailure* failure);
    HRESULT InvokeId(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, CComFailure* failure);

private:
    IDispatch* m_object = nullptr;
    std::vector<std::pair<std::wstring, DISPID>> m_ids;
};
