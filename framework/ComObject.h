// CComObjectImpl<T, Interface>: IUnknown written once, for a class T that implements one COM
// interface (and, through it, IUnknown). T lists the interface ids it answers in a table:
//
//   class CStore : public CComObjectImpl<CStore, IReplStore> {
//   public:
//       INTERFACE_TABLE(&IID_IUnknown, &IID_IReplStore)
//       ...
//   };
//
// QueryInterface: a null out pointer gives T::NullOutAnswer (E_POINTER unless T names another);
// otherwise the out pointer is set to null first, and an id of the table gives the object as
// Interface with a reference added (S_OK), any other E_NOINTERFACE. Every id of the table
// answers the same pointer: the classes here derive one interface each, and the further ids they
// answer (a double's private id, IDispatch beside IUnknown) name that same object. A class whose
// answers depend on more than its table hides Answers(iid) with its own.
//
// The reference count starts at `references` (1: the maker's reference; 0 for an object that
// its owner keeps, whose count only tells who else holds it) and changes atomically. With
// comDeleteAtZero the last Release deletes the object (through the virtual destructor, so T's
// may be protected); with comOwned the owner keeps and destroys it (a static object, a member, a
// local), and Release only counts. A count that falls below zero is a release too many: asserted,
// and the object is not deleted twice.
//
// The destructor is virtual and comes after Interface's operations in the table of virtual
// functions, as the platform's interfaces expect of an implementation.
#pragma once

#include <windows.h>

#include <objbase.h>

#include "common/Assert.h"

enum CComLifetime { comDeleteAtZero, comOwned };

// In T's public part: the addresses of the interface ids T answers.
#define INTERFACE_TABLE(...)                                      \
    static const IID* const* InterfaceTable()                     \
    {                                                             \
        static const IID* const table[] = {__VA_ARGS__, nullptr}; \
        return table;                                             \
    }

template <class T, class Interface, CComLifetime Lifetime = comDeleteAtZero>
class CComObjectImpl : public Interface {
public:
    static constexpr HRESULT NullOutAnswer = E_POINTER;

    explicit CComObjectImpl(LONG references = 1) : m_references(references) {}
    virtual ~CComObjectImpl() = default;
    CComObjectImpl(const CComObjectImpl&) = delete;
    CComObjectImpl& operator=(const CComObjectImpl&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return T::NullOutAnswer;
        *out = nullptr;
        if (!static_cast<T*>(this)->Answers(iid)) return E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG references = ::InterlockedDecrement(&m_references);
        ALK_ASSERT(references >= 0);
        if (Lifetime == comDeleteAtZero && references == 0) delete this;  // virtual: T's destructor
        return static_cast<ULONG>(references);
    }

    // Whether iid is in T's interface table.
    bool Answers(REFIID iid) const
    {
        for (const IID* const* entry = T::InterfaceTable(); *entry; ++entry) {
            if (::IsEqualIID(iid, **entry)) return true;
        }
        return false;
    }

protected:
    // References held now (besides the owner's, for an owned object).
    LONG ReferenceCount() const { return m_references; }

private:
    volatile LONG m_references;
};
