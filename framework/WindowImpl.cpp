#include "framework/WindowImpl.h"

#include <commctrl.h>
#include <prsht.h>

#include <cwchar>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

const wchar_t kObjectProp[] = L"Alk.Framework.Object";
// A subclassed window's previous procedure, kept on the window too: should the object let go
// while someone else's subclass sits on top of ours, messages still reach the old procedure.
const wchar_t kSuperProcProp[] = L"Alk.Framework.SuperProc";
std::mutex g_registerLock;

// The handle-to-object binding lives in a window property (the truth, seen by every module in the
// process) and in this module's table beside it. Reading a property is a round trip to the
// window server under Wine, and every message of a bound window needs its object: a list filling
// a hundred thousand rows sends each row's notification through three or four bound windows.
// The table answers those look-ups in the process. An entry goes when its window is unbound
// (WM_NCDESTROY, unsubclassing, the object's destructor) and, for the windows of a thread that
// ends without destroying them (no message reaches them then), when that thread ends; a handle
// value used again for a new window therefore never finds an old object.
struct CBinding {
    CWindowImplRootBase* object;
    DWORD thread;
};
std::mutex g_bindingsLock;
std::unordered_map<HWND, CBinding>& Bindings()
{
    static auto* bindings = new std::unordered_map<HWND, CBinding>();  // outlives static destructors
    return *bindings;
}

// Forgets the bindings of the windows of a thread as the thread ends.
struct CThreadBindings {
    bool any = false;
    ~CThreadBindings()
    {
        if (!any) return;
        const DWORD thread = ::GetCurrentThreadId();
        std::lock_guard<std::mutex> hold(g_bindingsLock);
        auto& bindings = Bindings();
        for (auto it = bindings.begin(); it != bindings.end();)
            it = it->second.thread == thread ? bindings.erase(it) : std::next(it);
    }
};
thread_local CThreadBindings t_threadBindings;

void Remember(HWND hWnd, CWindowImplRootBase* object)
{
    // The window's own thread: the one that ends its entries.
    const DWORD thread = ::GetWindowThreadProcessId(hWnd, nullptr);
    if (thread == ::GetCurrentThreadId()) t_threadBindings.any = true;
    std::lock_guard<std::mutex> hold(g_bindingsLock);
    Bindings()[hWnd] = CBinding{object, thread};
}

void Forget(HWND hWnd)
{
    std::lock_guard<std::mutex> hold(g_bindingsLock);
    Bindings().erase(hWnd);
}
// Classes this module registered, so that the module can take them back (a DLL's classes stay
// registered after the DLL is unloaded; loaded again, it would find them pointing at the old
// image).
std::vector<CWndClassInfo*>* g_registered = nullptr;

}  // namespace

ATOM CWndClassInfo::Register(WNDPROC windowProc)
{
    std::lock_guard<std::mutex> hold(g_registerLock);
    if (atom) return atom;
    HINSTANCE instance = AlkGetModuleInstance();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (superclassOf) {
        // System classes first, then classes registered by this module.
        if (!::GetClassInfoExW(nullptr, superclassOf, &wc) && !::GetClassInfoExW(instance, superclassOf, &wc)) return 0;
        superProc = wc.lpfnWndProc;
    } else {
        wc.style = style;
        wc.hCursor = ::LoadCursorW(nullptr, cursor);
        wc.hbrBackground = background < 0 ? nullptr : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
        wc.hIcon = icon;
        wc.hIconSm = iconSmall;
        superProc = ::DefWindowProcW;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    if (name) {
        wc.lpszClassName = name;
    } else {
        swprintf(autoName, sizeof autoName / sizeof autoName[0], L"Alk:%p", static_cast<void*>(this));
        wc.lpszClassName = autoName;
    }
    atom = ::RegisterClassExW(&wc);
    if (!atom) {
        // Registered already: ours (use it), or a leftover of an earlier load of this DLL whose
        // procedure is gone (replace it).
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof existing;
        if (::GetClassInfoExW(instance, wc.lpszClassName, &existing)) {
            if (existing.lpfnWndProc == windowProc)
                atom = static_cast<ATOM>(::GetClassInfoExW(instance, wc.lpszClassName, &existing));
            else if (::UnregisterClassW(wc.lpszClassName, instance))
                atom = ::RegisterClassExW(&wc);
        }
    }
    if (atom) {
        if (!g_registered) {
            g_registered = new std::vector<CWndClassInfo*>();
            AlkAddTermFunc(&AlkUnregisterWindowClasses);
        }
        g_registered->push_back(this);
        registeredInstance = instance;
    }
    return atom;
}

void AlkUnregisterWindowClasses()
{
    std::lock_guard<std::mutex> hold(g_registerLock);
    if (!g_registered) return;
    for (CWndClassInfo* info : *g_registered) {
        // Fails while windows of the class exist; the class then stays (and is reused).
        if (::UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(info->atom)), info->registeredInstance))
            info->atom = 0;
    }
    delete g_registered;
    g_registered = nullptr;
}

CWindowImplRootBase*& CWindowImplRootBase::Creating()
{
    static thread_local CWindowImplRootBase* creating = nullptr;
    return creating;
}

CWindowImplRootBase* CWindowImplRootBase::FromHandle(HWND hWnd)
{
    if (!hWnd) return nullptr;
    std::lock_guard<std::mutex> hold(g_bindingsLock);
    const auto& bindings = Bindings();
    const auto found = bindings.find(hWnd);
    return found != bindings.end() ? found->second.object : nullptr;
}

bool CWindowImplRootBase::Bind(HWND hWnd)
{
    // One object per window, whichever module bound it: a second one would leave the first deaf.
    ALK_ASSERT(::GetPropW(hWnd, kObjectProp) == nullptr);
    if (::GetPropW(hWnd, kObjectProp)) return false;
    if (!::SetPropW(hWnd, kObjectProp, this)) return false;
    Remember(hWnd, this);
    return true;
}

void CWindowImplRootBase::Unbind(HWND hWnd)
{
    if (FromHandle(hWnd) != this) return;
    Forget(hWnd);
    if (::GetPropW(hWnd, kObjectProp) == this) ::RemovePropW(hWnd, kObjectProp);
}

BOOL CWindowImplRootBase::RouteMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    MSG msg{hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = m_currentMsg;
    m_currentMsg = &msg;
    BOOL handled = FALSE;
    try {
        handled = ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    } catch (...) {
        handled = FALSE;
        try {
            OnException(uMsg);
        } catch (...) {}
    }
    m_currentMsg = outer;
    return handled;
}

void CWindowImplRootBase::RememberSuperProc(HWND hWnd, WNDPROC proc)
{
    if (proc)
        ::SetPropW(hWnd, kSuperProcProp, reinterpret_cast<HANDLE>(proc));
    else
        ::RemovePropW(hWnd, kSuperProcProp);
}

LRESULT CALLBACK CWindowImplRootBase::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRootBase* self = FromHandle(hWnd);
    if (!self) {
        if (auto orphanSuper = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kSuperProcProp))) {
            if (uMsg == WM_NCDESTROY) ::RemovePropW(hWnd, kSuperProcProp);
            return ::CallWindowProcW(orphanSuper, hWnd, uMsg, wParam, lParam);
        }
        self = Creating();
        if (!self) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        Creating() = nullptr;
        if (!self->Bind(hWnd)) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
        self->HandleRef() = hWnd;
        // A superclassed control keeps working should its object go before the window.
        if (self->m_superProc != ::DefWindowProcW) RememberSuperProc(hWnd, self->m_superProc);
    }
    LRESULT lResult = 0;
    BOOL handled = self->RouteMessage(hWnd, uMsg, wParam, lParam, lResult);
    if (!handled) lResult = self->CallSuper(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        // The window is gone: give the old procedure back, forget the handle, then tell the
        // object (which may delete itself).
        if (self->m_subclassed &&
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) == &CWindowImplRootBase::WindowProc)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_superProc));
        RememberSuperProc(hWnd, nullptr);
        self->m_subclassed = false;
        self->Unbind(hWnd);
        self->m_superProc = ::DefWindowProcW;
        if (self->HandleRef() == hWnd) self->HandleRef() = nullptr;
        try {
            self->OnFinalMessage(hWnd);
        } catch (...) {}
    }
    return lResult;
}

UINT CWindowImplRootBase::EndDialogMessage()
{
    static const UINT msg = ::RegisterWindowMessageW(L"Alk.Framework.EndDialog");
    return msg;
}

namespace {

// Messages whose dialog-procedure result is the answer itself rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT uMsg)
{
    switch (uMsg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return true;
    default: return false;
    }
}

INT_PTR RunDialogMessage(CWindowImplRootBase* self, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                         BOOL (*route)(CWindowImplRootBase*, HWND, UINT, WPARAM, LPARAM, LRESULT&),
                         void (*finish)(CWindowImplRootBase*, HWND))
{
    if (uMsg == CWindowImplRootBase::EndDialogMessage()) {
        ::EndDialog(hWnd, static_cast<INT_PTR>(wParam));
        return TRUE;
    }
    LRESULT lResult = 0;
    BOOL handled = route(self, hWnd, uMsg, wParam, lParam, lResult);
    if (uMsg == WM_NCDESTROY) {
        finish(self, hWnd);
        return FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(uMsg)) return static_cast<INT_PTR>(lResult);
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

}  // namespace

// The dialog procedures reach the protected members through these two static helpers.
struct CWindowImplRootBaseAccess {
    static BOOL Route(CWindowImplRootBase* self, HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r)
    {
        return self->RouteMessage(h, m, w, l, r);
    }
    static void Finish(CWindowImplRootBase* self, HWND h)
    {
        auto* me = self;
        me->Unbind(h);
        if (me->HandleRef() == h) me->HandleRef() = nullptr;
        try {
            self->OnFinalMessage(h);
        } catch (...) {}
    }
    static bool Attach(CWindowImplRootBase* self, HWND h)
    {
        auto* me = self;
        if (!me->Bind(h)) return false;
        me->HandleRef() = h;
        return true;
    }
};

INT_PTR CALLBACK CWindowImplRootBase::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRootBase* self = FromHandle(hWnd);
    if (!self) {
        self = Creating();
        if (!self) return FALSE;
        Creating() = nullptr;
        if (!CWindowImplRootBaseAccess::Attach(self, hWnd)) return FALSE;
    }
    return RunDialogMessage(self, hWnd, uMsg, wParam, lParam, &CWindowImplRootBaseAccess::Route,
                            &CWindowImplRootBaseAccess::Finish);
}

INT_PTR CALLBACK CWindowImplRootBase::PageDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRootBase* self = FromHandle(hWnd);
    if (!self) {
        if (uMsg != WM_INITDIALOG) return FALSE;  // WM_SETFONT comes first and is left alone
        self = reinterpret_cast<CWindowImplRootBase*>(reinterpret_cast<LPPROPSHEETPAGEW>(lParam)->lParam);
        if (!self || !CWindowImplRootBaseAccess::Attach(self, hWnd)) return FALSE;
    }
    return RunDialogMessage(self, hWnd, uMsg, wParam, lParam, &CWindowImplRootBaseAccess::Route,
                            &CWindowImplRootBaseAccess::Finish);
}
