// CComPtr<T>: one reference to a COM interface, released when the pointer goes.
//
//   CComPtr<IStream> stream;
//   if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) return FALSE;   // filled by the call
//   CComPtr<IPicture> picture;
//   stream->...;                                                            // released at the end
//
// Ownership: constructing or assigning from a raw pointer adds a reference of the pointer's own;
// Attach takes over a reference the caller holds (as a creation function hands one out) and
// Detach hands it back. &pointer gives the address for an out parameter, and asserts that the
// pointer holds nothing, or the reference it held would leak. Copies add a reference; moves take
// it over. Release lets the reference go at once (the pointer is empty before the interface's
// Release runs, so a release that re-enters sees no stale pointer).
#pragma once

#include <windows.h>

#include <objbase.h>

#include "common/Assert.h"

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* object) : m_object(object)
    {
        if (m_object) m_object->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.m_object) {}
    CComPtr(CComPtr&& other) noexcept : m_object(other.Detach()) {}
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* object)
    {
        if (object) object->AddRef();
        Release();
        m_object = object;
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) { return *this = other.m_object; }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    // Takes over the caller's reference (no AddRef); the one held before is released.
    void Attach(T* object)
    {
        T* old = m_object;
        m_object = object;
        if (old) old->Release();
    }
    // Hands the reference to the caller; the pointer is empty afterwards.
    T* Detach()
    {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }
    void Release()
    {
        T* object = m_object;
        m_object = nullptr;
        if (object) object->Release();
    }

    T* Get() const { return m_object; }
    operator T*() const { return m_object; }
    T* operator->() const
    {
        ALK_ASSERT(m_object != nullptr);
        return m_object;
    }
    // For an out parameter: the pointer must be empty.
    T** operator&()
    {
        ALK_ASSERT(m_object == nullptr);
        return &m_object;
    }
    bool operator!() const { return m_object == nullptr; }

    // Another interface of the object, as a reference of the caller's (out: &other of an empty
    // CComPtr, or a raw pointer's address).
    template <class Q>
    HRESULT QueryInterface(REFIID iid, Q** out) const
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!m_object) return E_POINTER;
        return m_object->QueryInterface(iid, reinterpret_cast<void**>(out));
    }

private:
    T* m_object = nullptr;
};
