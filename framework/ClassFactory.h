// CClassFactoryImpl<T, TObject>: the class factory of one creatable class TObject, a
// CComObjectImpl whose reference count starts at 1.
//
// CreateInstance: a null out pointer gives T::NullOutAnswer; otherwise the out pointer is set to
// null first; an outer object gives CLASS_E_NOAGGREGATION (aggregation is not supported); a new
// object (T::NewObject, by default new TObject without exceptions) is asked for the interface,
// and the factory's own reference goes at once, so an object whose interface was refused is
// destroyed there; E_OUTOFMEMORY when none can be made. LockServer passes the request to
// T::LockModule(bool). QueryInterface answers IUnknown and IClassFactory.
//
// GetClassObject is DllGetClassObject for a factory made on the heap: a new factory asked for the
// interface, its own reference let go (the out pointer null and E_OUTOFMEMORY when it cannot be
// made). A factory that is a static object (comOwned) is handed out with its own QueryInterface.
#pragma once

#include <new>

#include "framework/ComObject.h"
#include "framework/ComPtr.h"

template <class T, class TObject, CComLifetime Lifetime = comDeleteAtZero>
class CClassFactoryImpl : public CComObjectImpl<T, IClassFactory, Lifetime> {
public:
    INTERFACE_TABLE(&IID_IUnknown, &IID_IClassFactory)

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out) return T::NullOutAnswer;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CComPtr<TObject> object;
        object.Attach(static_cast<T*>(this)->NewObject());  // the new object's own reference
        if (!object) return E_OUTOFMEMORY;
        return object->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        static_cast<T*>(this)->LockModule(lock != FALSE);
        return S_OK;
    }

    static HRESULT GetClassObject(REFIID iid, void** out)
    {
        CComPtr<T> factory;
        factory.Attach(new (std::nothrow) T);
        if (!factory) {
            if (out) *out = nullptr;
            return E_OUTOFMEMORY;
        }
        return factory->QueryInterface(iid, out);
    }

    // What CreateInstance makes (a class may hide it with its own).
    TObject* NewObject() { return new (std::nothrow) TObject; }
};
