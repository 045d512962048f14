// CComInit, COleInit: one initialisation of COM (CoInitializeEx) or of OLE (OleInitialize, which
// makes the thread a single-threaded apartment and adds the clipboard, drag and drop and the
// OLE picture and storage calls) on the calling thread, undone when the owner goes, or by
// Uninitialize, only when it succeeded.
//
//   COleInit ole;
//   ole.Initialize();            // undone at the end of the scope only if it succeeded
//   CComPtr<IDispatch> server;   // declared after the owner: released before OLE is undone
//
// Every successful initialisation counts, S_FALSE (the thread already was an apartment of that
// kind) as much as S_OK, and needs its one uninitialisation; a failure (RPC_E_CHANGED_MODE: the
// thread is already an apartment of the other kind) counts nothing, and undoing it would undo an
// initialisation of someone else's on that thread. An owner initialises once: a second
// Initialize while it holds one is asserted and answered S_FALSE without a call. The owner is
// used on the thread that initialised, and what COM made under it goes first: declare it before
// the interface pointers it must outlive.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include "common/Assert.h"

class CComInit {
public:
    CComInit() = default;
    ~CComInit() { Uninitialize(); }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;

    // CoInitializeEx's answer for the model (COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED).
    HRESULT Initialize(DWORD model = COINIT_APARTMENTTHREADED)
    {
        ALK_ASSERT(!m_initialized);
        if (m_initialized) return S_FALSE;
        const HRESULT result = ::CoInitializeEx(nullptr, model);
        m_initialized = SUCCEEDED(result);
        return result;
    }
    void Uninitialize()
    {
        if (m_initialized) ::CoUninitialize();
        m_initialized = false;
    }
    bool IsInitialized() const { return m_initialized; }

private:
    bool m_initialized = false;
};

class COleInit {
public:
    COleInit() = default;
    ~COleInit() { Uninitialize(); }
    COleInit(const COleInit&) = delete;
    COleInit& operator=(const COleInit&) = delete;

    // OleInitialize's answer.
    HRESULT Initialize()
    {
        ALK_ASSERT(!m_initialized);
        if (m_initialized) return S_FALSE;
        const HRESULT result = ::OleInitialize(nullptr);
        m_initialized = SUCCEEDED(result);
        return result;
    }
    void Uninitialize()
    {
        if (m_initialized) ::OleUninitialize();
        m_initialized = false;
    }
    bool IsInitialized() const { return m_initialized; }

private:
    bool m_initialized = false;
};
