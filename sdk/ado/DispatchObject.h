// CDispatchObject: the base of every object of the ADO double, an automation object reached only
// through IDispatch, as a late-binding client reaches ADO.
//
// Each class names its members in a table (name and DISPID; names match ignoring case) and
// carries out a call in Call. A failure inside a call is thrown as CAdoError and leaves Invoke
// as DISP_E_EXCEPTION with the EXCEPINFO filled: scode the error's HRESULT, bstrSource and
// bstrDescription its texts, as ADO reports its own errors and those of its provider. No C++
// exception leaves Invoke. Every Invoke is written to the journal (Journal.h).
//
// Objects are created with a reference count of one and deleted by their last Release; an object
// holds another with a CComPtr. The module counts living objects and server locks for
// DllCanUnloadNow.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "framework/ComObject.h"
#include "framework/ComPtr.h"

// A failure of a call: what the client finds in the EXCEPINFO.
struct CAdoError {
    HRESULT code;
    std::wstring source;
    std::wstring description;
};

// ADO's own errors (facility 0xA, the ADO error number in the low word) and those of the Jet
// provider, with their texts. Sources: "ADODB.Connection", "ADODB.Recordset" ...; the provider's
// errors come from "Microsoft JET Database Engine".
enum : HRESULT {
    kAdoArgumentsWrongType = static_cast<HRESULT>(0x800A0BB9),  // 3001
    kAdoNoCurrentRecord = static_cast<HRESULT>(0x800A0BCD),     // 3021
    kAdoItemNotFound = static_cast<HRESULT>(0x800A0CC1),        // 3265
    kAdoObjectClosed = static_cast<HRESULT>(0x800A0E78),        // 3704
    kAdoObjectOpen = static_cast<HRESULT>(0x800A0E79),          // 3705
    kAdoProviderNotFound = static_cast<HRESULT>(0x800A0E7A),    // 3706
    kAdoConnectionClosed = static_cast<HRESULT>(0x800A0E7D),    // 3709
    kJetTableNotFound = static_cast<HRESULT>(0x80040E37),
    kJetSyntaxError = static_cast<HRESULT>(0x80040E14),
};
extern const wchar_t kJetSource[];

[[noreturn]] void ThrowAdo(HRESULT code, const wchar_t* source, const std::wstring& description);

// The arguments of one Invoke in their natural order (DISPPARAMS holds them last first),
// references followed. An argument left out, or passed as VT_ERROR DISP_E_PARAMNOTFOUND, is
// missing.
class CArgs {
public:
    explicit CArgs(const DISPPARAMS* params) : m_params(params) {}

    UINT Count() const;
    bool Has(UINT index) const;
    // The argument, or an empty variant when it is missing.
    const VARIANT& Get(UINT index) const;
    // The argument as text or number (converted as automation converts); fallback when missing.
    // A value that does not convert throws kAdoArgumentsWrongType.
    std::wstring Text(UINT index, const std::wstring& fallback = L"") const;
    long Number(UINT index, long fallback = 0) const;
    // The value of a property put (the named DISPID_PROPERTYPUT argument, or the only one).
    const VARIANT& PutValue() const;
    // The value put as text: a string's characters up to its first NUL, anything else empty.
    std::wstring PutText() const;
    // The value put as a number (converted as automation converts); a value that does not convert
    // throws kAdoArgumentsWrongType from source.
    long PutNumber(const wchar_t* source) const;
    // "(a, b, c)" or " = value" for the journal.
    std::wstring Describe(bool put) const;

private:
    const DISPPARAMS* m_params;
};

// VariantChangeType of a value the caller may not change (the platform's declaration takes the
// source without const, though it only reads it).
HRESULT ConvertVariant(VARIANT* result, const VARIANT& value, VARTYPE type);

// Text of a variant for the journal: "text" for a string, the number, "Null", "Empty", or the
// object's class for an object of the double.
std::wstring DescribeVariant(const VARIANT& value);

// Text as UTF-8 up to its first NUL, as SQLite takes file names and statements; empty when it
// does not convert.
std::string Utf8(const std::wstring& text);

struct CMember {
    const wchar_t* name;
    DISPID id;
};

class CDispatchObject : public CComObjectImpl<CDispatchObject, IDispatch> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IDispatch)
    // The table's interfaces, and those a class adds (AnswersAlso).
    bool Answers(REFIID iid) { return CComObjectImpl::Answers(iid) || AnswersAlso(iid); }

    CDispatchObject();

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // The object's name in the journal and in DescribeVariant: "Connection", "Field(Name)" ...
    virtual std::wstring Label() const = 0;

    // Objects alive and server locks, for DllCanUnloadNow.
    static LONG Outstanding();
    static void Lock(bool lock);

protected:
    ~CDispatchObject() override;
    virtual const CMember* Members(UINT* count) const = 0;
    // Carries out one call; result may be null (the caller wants none). Throws CAdoError.
    virtual void Call(DISPID id, WORD flags, const CArgs& args, VARIANT* result) = 0;
    // Further interface ids a class answers with the object itself (its IDispatch).
    virtual bool AnswersAlso(REFIID) const { return false; }

    // For properties: whether the call sets the value.
    static bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }
    // Results of calls.
    static void ReturnLong(VARIANT* result, long value);
    static void ReturnBool(VARIANT* result, bool value);
    static void ReturnText(VARIANT* result, const std::wstring& value);
    // Hands the caller a reference of its own (the object keeps the one it came with).
    static void ReturnObject(VARIANT* result, IDispatch* object);
};
