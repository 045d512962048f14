// CHandle: a kernel object's handle (a file, an event, a thread, a mutex ...), closed with
// CloseHandle when the owner goes. CGlobalMemory: a global memory block (GlobalAlloc), freed with
// GlobalFree when the owner goes.
//
//   CHandle file(::CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
//   if (!file) return FALSE;                  // either failure value
//   CGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, size));
//   ...
//   if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) return FALSE;  // freed here
//   block.Detach();                           // the stream frees it from now on
//
// A file CreateFile could not open comes back as INVALID_HANDLE_VALUE, every other kernel
// object's failure as null: CHandle keeps both as null, so one test tells either failure, and it
// never closes the failure value (which is also the current process's pseudo-handle). Attach
// takes over a handle the caller owns and lets go of the one held before; Detach hands it over,
// to a call that takes ownership. Owners are not copied; they are used on any thread, one at a
// time.
#pragma once

#include <windows.h>

class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(Owned(handle)) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    // Takes over a handle the caller owns; the one held before is closed.
    void Attach(HANDLE handle)
    {
        handle = Owned(handle);
        if (handle == m_handle) return;
        Close();
        m_handle = handle;
    }
    HANDLE Detach()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }
    // Closes the handle now; CloseHandle's answer (TRUE when nothing was held).
    BOOL Close()
    {
        HANDLE handle = Detach();
        return handle ? ::CloseHandle(handle) : TRUE;
    }

    HANDLE Get() const { return m_handle; }
    operator HANDLE() const { return m_handle; }

private:
    static HANDLE Owned(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

    HANDLE m_handle = nullptr;
};

class CGlobalMemory {
public:
    CGlobalMemory() = default;
    explicit CGlobalMemory(HGLOBAL block) : m_block(block) {}
    ~CGlobalMemory() { Free(); }
    CGlobalMemory(const CGlobalMemory&) = delete;
    CGlobalMemory& operator=(const CGlobalMemory&) = delete;

    // Takes over a block the caller owns; the one held before is freed.
    void Attach(HGLOBAL block)
    {
        if (block == m_block) return;
        Free();
        m_block = block;
    }
    HGLOBAL Detach()
    {
        HGLOBAL block = m_block;
        m_block = nullptr;
        return block;
    }
    // Frees the block now. A block still locked is freed all the same (GlobalFree does not look
    // at the lock count): unlock it first.
    void Free()
    {
        HGLOBAL block = Detach();
        if (block) ::GlobalFree(block);
    }

    HGLOBAL Get() const { return m_block; }
    operator HGLOBAL() const { return m_block; }

private:
    HGLOBAL m_block = nullptr;
};
