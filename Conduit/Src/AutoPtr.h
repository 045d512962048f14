// CAutoPtr<T>: the shared owning pointer that carries every buffer and record inside the conduit.
//
// A value is one pointer to a heap holder {count, deleter, pointer}, or null. Copies share the
// holder and count it; the last release calls the deleter on the pointer (when both are there)
// and frees the holder. A holder whose pointer is null is a valid, empty value. The count is
// 16 bits wide: no object is shared by more than 65535 values.
#pragma once

#include <windows.h>

#include <new>

#include "common/Assert.h"

template <class T>
class CAutoPtr {
public:
    typedef void (*Deleter)(T*);

    // The deleters in use: byte buffers, small blocks (records use their own, DeleteRecord).
    static void ArrayDelete(T* p) { delete[] p; }
    static void PlainDelete(T* p) { delete p; }

    CAutoPtr() : m_holder(nullptr) {}
    CAutoPtr(Deleter deleter, T* pointer) : m_holder(nullptr) { Reset(deleter, pointer); }
    CAutoPtr(const CAutoPtr& other) : m_holder(other.m_holder)
    {
        if (m_holder) AddReference(m_holder);
    }
    CAutoPtr& operator=(const CAutoPtr& other)
    {
        // Counted before this value lets go, so assigning a value to itself keeps the holder.
        Holder* holder = other.m_holder;
        if (holder) AddReference(holder);
        Release();
        m_holder = holder;
        return *this;
    }
    ~CAutoPtr() { Release(); }

    T* Get() const { return m_holder ? m_holder->pointer : nullptr; }
    T* operator->() const { return Get(); }
    T& operator*() const { return *Get(); }

    // Releases the current holder, then holds pointer alone. When the new holder cannot be
    // allocated the pointer is freed with the deleter and std::bad_alloc is thrown.
    void Reset(Deleter deleter, T* pointer)
    {
        Release();
        Holder* holder = new (std::nothrow) Holder{1, deleter, pointer};
        if (!holder) {
            if (deleter && pointer) deleter(pointer);
            throw std::bad_alloc();
        }
        m_holder = holder;
    }

    // Kept out of line: inlined into a chain of copies, GCC 12 loses track of the count and warns
    // of a use after free that cannot happen.
    __attribute__((noinline)) void Release()
    {
        Holder* holder = m_holder;
        m_holder = nullptr;
        if (!holder) return;
        ALK_ASSERT(holder->count > 0);
        if (holder->count == 0) return;  // released once too often: the holder is gone already
        if (--holder->count == 0) {
            if (holder->deleter && holder->pointer) holder->deleter(holder->pointer);
            delete holder;
        }
    }

private:
    struct Holder {
        WORD count;
        Deleter deleter;
        T* pointer;
    };

    static void AddReference(Holder* holder)
    {
        ALK_ASSERT(holder->count < 0xFFFF);  // a 17th bit would wrap the count to 0
        // Held at the top rather than wrapped: the pointer then outlives its holders (a leak)
        // instead of being freed while still shared.
        if (holder->count < 0xFFFF) ++holder->count;
    }
    Holder* m_holder;
};
