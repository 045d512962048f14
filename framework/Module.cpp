#include "framework/Module.h"

#include <algorithm>

namespace {

CAppModule* g_module = nullptr;

std::mutex g_termLock;
std::vector<void (*)()>* g_termFuncs = nullptr;

}  // namespace

HINSTANCE AlkGetOwnInstance()
{
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&AlkGetOwnInstance), &self);
    return self;
}

CAppModule* AlkGetModule()
{
    return g_module;
}

void AlkAddTermFunc(void (*func)())
{
    std::lock_guard<std::mutex> hold(g_termLock);
    if (!g_termFuncs) g_termFuncs = new std::vector<void (*)()>();
    if (std::find(g_termFuncs->begin(), g_termFuncs->end(), func) == g_termFuncs->end()) g_termFuncs->push_back(func);
}

HINSTANCE AlkGetModuleInstance()
{
    if (g_module && g_module->GetModuleInstance()) return g_module->GetModuleInstance();
    return AlkGetOwnInstance();
}

HINSTANCE AlkGetResourceInstance()
{
    if (g_module && g_module->GetResourceInstance()) return g_module->GetResourceInstance();
    return AlkGetModuleInstance();
}

// --- CMessageLoop ------------------------------------------------------------------------------

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    if (!filter) return FALSE;
    m_filters.push_back(filter);
    return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter)
{
    auto it = std::find(m_filters.begin(), m_filters.end(), filter);
    if (it == m_filters.end()) return FALSE;
    m_filters.erase(it);
    return TRUE;
}

BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler)
{
    if (!handler) return FALSE;
    m_idleHandlers.push_back(handler);
    return TRUE;
}

BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler)
{
    auto it = std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler);
    if (it == m_idleHandlers.end()) return FALSE;
    m_idleHandlers.erase(it);
    return TRUE;
}

BOOL CMessageLoop::PreTranslateMessage(MSG* msg)
{
    std::vector<CMessageFilter*> filters(m_filters);
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        // A filter removed by an earlier one is not asked.
        if (std::find(m_filters.begin(), m_filters.end(), *it) == m_filters.end()) continue;
        if ((*it)->PreTranslateMessage(msg)) return TRUE;
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int)
{
    std::vector<CIdleHandler*> handlers(m_idleHandlers);
    for (CIdleHandler* h : handlers) {
        if (std::find(m_idleHandlers.begin(), m_idleHandlers.end(), h) == m_idleHandlers.end()) continue;
        h->OnIdle();
    }
    return FALSE;
}

int CMessageLoop::Run()
{
    bool idle = true;
    int idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
        if (got == -1) continue;  // an invalid window handle: nothing to dispatch
        if (!got) break;          // WM_QUIT
        if (!PreTranslateMessage(&m_msg)) {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
        // Idle again after real input, not after the timer and paint traffic idle work causes.
        switch (m_msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case 0x0118:  // the caret blink timer
            break;
        default: idle = true; idleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

// --- CAppModule -------------------------------------------------------------------------------

CAppModule::~CAppModule()
{
    if (g_module == this) g_module = nullptr;
}

HRESULT CAppModule::Init(void*, HINSTANCE instance, const GUID*)
{
    m_instance = instance ? instance : AlkGetOwnInstance();
    if (!m_resourceInstance) m_resourceInstance = m_instance;
    g_module = this;
    return S_OK;
}

void CAppModule::Term()
{
    std::vector<void (*)()>* funcs = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_termLock);
        std::swap(funcs, g_termFuncs);
    }
    if (funcs) {
        for (void (*func)() : *funcs) func();
        delete funcs;
    }
    std::lock_guard<std::mutex> hold(m_lock);
    m_loops.clear();
    if (g_module == this) g_module = nullptr;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_loops.emplace(::GetCurrentThreadId(), loop).second;
}

BOOL CAppModule::RemoveMessageLoop()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_loops.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_loops.find(threadId);
    return it == m_loops.end() ? nullptr : it->second;
}
