// The module object and the message loop.
//
// CAppModule: one per executable or DLL that links the framework (the framework is a static
// library, so each module has its own copy and its own instance). Init records the module's
// instance handle, which is also the default source of dialog templates, menus and strings
// (GetResourceInstance). Before Init, or without a module object at all, the framework uses the
// module that holds its own code, so a DLL finds its own resources. The module also keeps the
// message loop registered for each thread (AddMessageLoop / GetMessageLoop); it does not own
// the loops.
//
// CMessageLoop runs GetMessage until WM_QUIT. Every queued message is first offered to the
// registered message filters, newest first (PreTranslateMessage; true = consumed, the message
// is neither translated nor dispatched). When the queue runs empty after at least one message,
// the idle handlers run once (OnIdle). Filters and handlers are borrowed: whoever adds one
// removes it before it goes away.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

class CMessageFilter {
public:
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    virtual ~CMessageLoop() = default;

    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT; returns its exit code (the wParam of the quit message).
    int Run();

    // Offers msg to the filters, newest first; true when one consumed it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs every idle handler; the results are not combined (each handler is called every time).
    virtual BOOL OnIdle(int idleCount);

    MSG m_msg{};

private:
    // Handlers may remove themselves (or others) while being called: the lists are copied.
    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};

class CAppModule {
public:
    CAppModule() = default;
    virtual ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // Records the instance (and, for a DLL whose resources live elsewhere, the resource
    // instance: null means the same). The last module initialised is the one the framework
    // asks for resources.
    HRESULT Init(void* objectMap, HINSTANCE instance, const GUID* libId = nullptr);
    HRESULT Init(HINSTANCE instance) { return Init(nullptr, instance); }
    // Forgets the loops and runs the functions given to AlkAddTermFunc (the window classes
    // this module registered are unregistered so: a DLL that is unloaded and loaded again must
    // not find its old classes).
    void Term();

    HINSTANCE GetModuleInstance() const { return m_instance; }
    HINSTANCE GetResourceInstance() const { return m_resourceInstance; }
    void SetResourceInstance(HINSTANCE instance) { m_resourceInstance = instance; }

    // One loop per thread; false when the thread already has one.
    BOOL AddMessageLoop(CMessageLoop* loop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    HINSTANCE m_instance = nullptr;
    HINSTANCE m_resourceInstance = nullptr;
    mutable std::mutex m_lock;
    std::map<DWORD, CMessageLoop*> m_loops;
};

// The module that called Init last (null before), and the instances the framework uses: the
// module's, or the framework's own module before Init.
CAppModule* AlkGetModule();
// Runs func at the next CAppModule::Term of this module's code (once; a part that keeps state
// past Term adds it again). Lets the framework's parts clean up without the module knowing them.
void AlkAddTermFunc(void (*func)());
HINSTANCE AlkGetModuleInstance();
HINSTANCE AlkGetResourceInstance();
// The module (exe or DLL) whose image holds the framework's code, whatever called Init.
HINSTANCE AlkGetOwnInstance();
