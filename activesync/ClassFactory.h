// The class factory of AlkSync's one creatable class, the store (CStore). DllGetClassObject
// hands out a new factory for any class id; CreateInstance makes a store (aggregation is not
// supported), and LockServer moves the module lock count. A factory does not count in the
// module lock count itself: an existing factory alone does not keep the module loaded.
#pragma once

#include <windows.h>

#include <objbase.h>

class CClassFactory : public IClassFactory {
public:
    CClassFactory() = default;
    CClassFactory(const CClassFactory&) = delete;
    CClassFactory& operator=(const CClassFactory&) = delete;

    // IUnknown and IClassFactory; a null out pointer gives E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // A new store asked for iid; the store goes again when it refuses iid.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    virtual ~CClassFactory() = default;

private:
    volatile LONG m_references = 1;
};
