// CDispatchObject: IDispatch by name, the way Excel's objects answer late binding, for the double's
// objects. Each kind has a table of its members; names are matched without regard to case, and a
// name outside the table is DISP_E_UNKNOWNNAME. There is no type information.
//
// Every GetIDsOfNames and Invoke is written to the record before it returns (ServerState.h), and
// the failure options of the command line are applied here, before a member runs: the Nth call
// or every call of one member fails with an exception, or the process dies when a call arrives.
//
// The kinds of call a member accepts:
//   property get  DISPATCH_PROPERTYGET or DISPATCH_METHOD (Excel takes either for a get)
//   property put  DISPATCH_PROPERTYPUT with one argument, named DISPID_PROPERTYPUT; a put
//                 without that name fails with an exception, as Excel's do
//   method        DISPATCH_METHOD (DISPATCH_PROPERTYGET with it is accepted)
// Failures that Excel reports as exceptions come back as DISP_E_EXCEPTION with an EXCEPINFO whose
// scode is 0x800A03EC and whose description says what was wrong.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <vector>

#include "framework/ComObject.h"

namespace excel_double {

// Answered only by objects of this process: lets the record name the objects it is handed.
extern const IID IID_DoubleObject;

enum MemberKind { mkGet = 1, mkPut = 2, mkMethod = 4 };

struct Member {
    const wchar_t* name;
    DISPID id;
    int kinds;  // MemberKind bits
};

// One call as a member sees it.
struct Call {
    DISPID id;
    MemberKind kind;
    std::vector<const VARIANT*> args;  // in the caller's order, references resolved
    VARIANT* result;                   // null when the caller wants none
};

class CDispatchObject : public CComObjectImpl<CDispatchObject, IDispatch> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IDispatch, &IID_DoubleObject)

    // kind names the object in the record (Kind#serial), detail is added in brackets.
    CDispatchObject(const wchar_t* kind, const Member* members, size_t count, const std::wstring& detail = L"");
    ~CDispatchObject() override;

    // The object behind an IDispatch of this process; null for any other.
    static CDispatchObject* FromDispatch(IDispatch* dispatch);
    const std::wstring& Name() const { return m_name; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;

protected:
    // Runs a member; S_OK, a DISP_E_ code, or DISP_E_EXCEPTION with *error set.
    virtual HRESULT Run(Call& call, std::wstring* error) = 0;

    // Helpers of members: hand an object (its reference goes to the caller) or a value back.
    static void ReturnObject(Call& call, CDispatchObject* object);
    // The argument converted to a type, or DISP_E_TYPEMISMATCH.
    static HRESULT ArgAs(const Call& call, VARTYPE type, VARIANT* out);

private:
    const Member* FindMember(DISPID id) const;

    std::wstring m_name;
    const Member* m_members;
    size_t m_count;
};

}  // namespace excel_double
