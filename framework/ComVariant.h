// CComVariant: a VARIANT that owns what it holds (an object's reference, a BSTR, an array) and
// clears it when it goes. It is a VARIANT: it passes where one is wanted, and &variant is the
// address of the VARIANT for an out parameter (a call that fills it should find it empty or
// clear it first, as IDispatch::Invoke does).
//
// Made from a value: an integer (VT_I4), a text (VT_BSTR, a copy of its own), an object
// (VT_DISPATCH, a reference of its own); Double and Date make VT_R8 and VT_DATE (named, so that an
// integer never becomes a double by overload). Copies copy the content (VariantCopy: a second
// reference, a second BSTR or array). SetMissing marks an optional argument left out.
#pragma once

#include <windows.h>

#include <oleauto.h>

class CComVariant : public VARIANT {
public:
    CComVariant() { ::VariantInit(this); }
    explicit CComVariant(int value) : CComVariant(static_cast<long>(value)) {}
    explicit CComVariant(long value)
    {
        ::VariantInit(this);
        vt = VT_I4;
        lVal = value;
    }
    // A copy of the text (null: the empty text).
    explicit CComVariant(const wchar_t* text)
    {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = ::SysAllocString(text ? text : L"");
    }
    // A copy of length characters of the text.
    CComVariant(const wchar_t* text, UINT length)
    {
        ::VariantInit(this);
        vt = VT_BSTR;
        bstrVal = ::SysAllocStringLen(text, length);
    }
    // An object, with a reference of its own (null: VT_DISPATCH without an object).
    explicit CComVariant(IDispatch* object)
    {
        ::VariantInit(this);
        vt = VT_DISPATCH;
        pdispVal = object;
        if (object) object->AddRef();
    }
    static CComVariant Double(double value) { return CComVariant(VT_R8, value); }
    static CComVariant Date(double value) { return CComVariant(VT_DATE, value); }

    CComVariant(const CComVariant& other)
    {
        ::VariantInit(this);
        ::VariantCopy(this, const_cast<CComVariant*>(&other));
    }
    CComVariant& operator=(const CComVariant& other)
    {
        if (this != &other) {
            ::VariantClear(this);
            ::VariantCopy(this, const_cast<CComVariant*>(&other));
        }
        return *this;
    }
    ~CComVariant() { ::VariantClear(this); }

    void Clear() { ::VariantClear(this); }
    // Clears value and marks it as an optional argument left out (VT_ERROR, DISP_E_PARAMNOTFOUND).
    static void SetMissing(VARIANT* value)
    {
        ::VariantClear(value);
        value->vt = VT_ERROR;
        value->scode = DISP_E_PARAMNOTFOUND;
    }

private:
    CComVariant(VARTYPE type, double value)
    {
        ::VariantInit(this);
        vt = type;
        if (type == VT_DATE)
            date = value;
        else
            dblVal = value;
    }
};

// An array of CComVariant passes where an array of VARIANT is read (the arguments of a call).
static_assert(sizeof(CComVariant) == sizeof(VARIANT), "CComVariant adds nothing to VARIANT");
