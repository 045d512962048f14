#include "activesync/ClassFactory.h"

#include <new>

#include "activesync/ModuleLock.h"
#include "activesync/Store.h"

HRESULT STDMETHODCALLTYPE CClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_INVALIDARG;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CClassFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE CClassFactory::Release()
{
    const LONG references = InterlockedDecrement(&m_references);
    if (references == 0) delete this;
    return static_cast<ULONG>(references);
}

HRESULT STDMETHODCALLTYPE CClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    CStore* store = new (std::nothrow) CStore;
    if (!store) return E_OUTOFMEMORY;
    const HRESULT hr = store->QueryInterface(iid, out);
    store->Release();  // a store whose interface was refused goes here
    return hr;
}

HRESULT STDMETHODCALLTYPE CClassFactory::LockServer(BOOL lock)
{
    if (lock) {
        CModuleLock::Lock();
    } else {
        CModuleLock::Unlock();
    }
    return S_OK;
}
