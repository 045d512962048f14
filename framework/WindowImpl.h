// CWindowImpl<T, TBase, TWinTraits>: a window whose messages go to T's message map.
//
// The object owns its window's message routing, not its lifetime: the window is destroyed by
// DestroyWindow (or with its parent), and the object by whoever made it. The object must live
// at least as long as the window; OnFinalMessage runs after WM_NCDESTROY, when the window has
// let go of the object (a heap-made window may delete itself there).
//
// Three ways to get a window:
//   Create(parent, rect, name, style, exStyle, id)  registers T's window class on first use and
//        creates a window of it. With a TBase that names a control class (CListViewCtrl,
//        CStatic, ...) the class is a superclass of that control: the control's procedure
//        handles what the map leaves. DECLARE_WND_CLASS / DECLARE_WND_SUPERCLASS override it.
//   SubclassWindow(hWnd)  routes an existing window (a dialog's control) through the map; the
//        window's previous procedure handles what the map leaves. UnsubclassWindow undoes it;
//        it is undone by itself when the window is destroyed.
// The window finds its object through a window property, so one object per window.
//
// No C++ exception leaves the window procedure: one thrown by a handler is caught, passed to
// OnException, and the message then gets default processing.
#pragma once

#include <windows.h>

#include "common/Assert.h"
#include "framework/MessageMap.h"
#include "framework/Module.h"
#include "framework/Window.h"

template <DWORD Style = 0, DWORD ExStyle = 0>
class CWinTraits {
public:
    static DWORD GetWndStyle(DWORD style) { return style ? style : Style; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle ? exStyle : ExStyle; }
};

using CNullTraits = CWinTraits<0, 0>;
using CControlWinTraits = CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0>;
using CFrameWinTraits =
    CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>;

// What a window class is registered with. One static instance per window class.
struct CWndClassInfo {
    LPCWSTR name;  // null: a name is made up
    UINT style;
    int background;        // COLOR_xxx; -1 for no brush
    LPCWSTR superclassOf;  // null: a new class; else the class to copy and route through
    LPCWSTR cursor = MAKEINTRESOURCEW(32512) /* IDC_ARROW */;
    HICON icon = nullptr;  // class icons (new classes only); shared, never destroyed
    HICON iconSmall = nullptr;
    ATOM atom = 0;
    WNDPROC superProc = nullptr;  // what the map leaves goes here
    HINSTANCE registeredInstance = nullptr;
    wchar_t autoName[40] = {};

    // Registers once; returns the atom (0 on failure).
    ATOM Register(WNDPROC windowProc);
};

#define DECLARE_WND_CLASS(className)                                                                       \
    static CWndClassInfo& GetWndClassInfo()                                                                \
    {                                                                                                      \
        static CWndClassInfo info{className, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW, nullptr}; \
        return info;                                                                                       \
    }

#define DECLARE_WND_CLASS_EX(className, classStyle, backgroundColor)                \
    static CWndClassInfo& GetWndClassInfo()                                         \
    {                                                                               \
        static CWndClassInfo info{className, classStyle, backgroundColor, nullptr}; \
        return info;                                                                \
    }

#define DECLARE_WND_SUPERCLASS(className, originalClassName)            \
    static CWndClassInfo& GetWndClassInfo()                             \
    {                                                                   \
        static CWndClassInfo info{className, 0, -1, originalClassName}; \
        return info;                                                    \
    }

// Unregisters the window classes this module registered (CAppModule::Term runs it: the first
// registration gives it to AlkAddTermFunc). Classes with windows still open stay registered.
void AlkUnregisterWindowClasses();

// Shared, non-template part: the handle-to-object map and the dispatch.
class CWindowImplRootBase : public CMessageMap {
public:
    // The object routing hWnd's messages, or null.
    static CWindowImplRootBase* FromHandle(HWND hWnd);

    // Registered message that ends a modal dialog on its own thread (EndDialog from a worker).
    static UINT EndDialogMessage();

    // The message being handled (null outside the window procedure).
    const MSG* GetCurrentMessage() const { return m_currentMsg; }

    // The procedure the window runs (the same for every object; kept for code that asks).
    virtual WNDPROC GetWindowProc() { return &CWindowImplRootBase::WindowProc; }

    // Called with the window's handle after WM_NCDESTROY has been handled; the object is free
    // of the window then.
    virtual void OnFinalMessage(HWND) {}
    // A handler threw while handling msg; the message gets default processing after this.
    virtual void OnException(UINT) {}

protected:
    friend struct CWindowImplRootBaseAccess;
    ~CWindowImplRootBase() = default;

    // Binds the object to hWnd (a window property, and this module's table for quick look-ups);
    // false when hWnd already has an object.
    bool Bind(HWND hWnd);
    void Unbind(HWND hWnd);

    // Runs the map inside a try block; true when an entry took the message.
    BOOL RouteMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    // The object whose Create is running on this thread: the first message of the new window
    // binds it.
    static CWindowImplRootBase*& Creating();
    // The one way an object makes its window: runs create (the platform call that makes the
    // window, a dialog box included) with this object announced as Creating(), and gives back
    // its result. An object that has a window already makes no second one: fail comes back and
    // create is not run.
    template <class Result, class Create>
    Result CreateBound(Result fail, Create create)
    {
        ALK_ASSERT(!HandleRef());  // one window at a time: a dialog made while its window exists
        if (HandleRef()) return fail;
        struct Announce {
            CWindowImplRootBase* outer;
            explicit Announce(CWindowImplRootBase* self) : outer(Creating()) { Creating() = self; }
            ~Announce() { Creating() = outer; }
        } announce(this);
        return create();
    }

    HWND& HandleRef() { return *m_handleRef; }
    HWND* m_handleRef = nullptr;  // the m_hWnd of the CWindow half
    const MSG* m_currentMsg = nullptr;
    WNDPROC m_superProc = ::DefWindowProcW;
    bool m_subclassed = false;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static void RememberSuperProc(HWND hWnd, WNDPROC proc);
    // Dialog procedure of CDialogImpl: binds at the first message from Creating().
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Dialog procedure of property pages: binds at WM_INITDIALOG from the PROPSHEETPAGE's lParam.
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT CallSuper(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        return ::CallWindowProcW(m_superProc, hWnd, uMsg, wParam, lParam);
    }
};

template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CWindowImplRootBase {
public:
    CWindowImplRoot() { m_handleRef = &this->m_hWnd; }
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;
    virtual ~CWindowImplRoot()
    {
        // A window still routed here would call a dead object. When another subclass sits on
        // top of ours the window keeps our procedure, which then passes everything to the
        // procedure we replaced.
        if (this->m_hWnd && FromHandle(this->m_hWnd) == this && !UnsubclassWindow()) {
            Unbind(this->m_hWnd);
            this->m_hWnd = nullptr;
        }
    }

    // Default processing of a message: the superclass or the subclassed window's old procedure.
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        return CallSuper(this->m_hWnd, uMsg, wParam, lParam);
    }
    LRESULT DefWindowProc()
    {
        const MSG* m = m_currentMsg;
        return m ? CallSuper(this->m_hWnd, m->message, m->wParam, m->lParam) : 0;
    }

    BOOL SubclassWindow(HWND hWnd)
    {
        ALK_ASSERT(::IsWindow(hWnd));
        ALK_ASSERT(!this->m_hWnd);
        if (this->m_hWnd || !::IsWindow(hWnd) || !Bind(hWnd)) return FALSE;
        this->m_hWnd = hWnd;
        m_superProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowImplRootBase::WindowProc)));
        RememberSuperProc(hWnd, m_superProc);
        m_subclassed = true;
        return TRUE;
    }

    // Gives the window back its previous procedure; returns the window. Fails (null) when
    // someone subclassed it after us.
    HWND UnsubclassWindow()
    {
        HWND hWnd = this->m_hWnd;
        if (!hWnd) return nullptr;
        if (m_subclassed) {
            WNDPROC current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
            if (current != &CWindowImplRootBase::WindowProc) return nullptr;
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
            RememberSuperProc(hWnd, nullptr);
            m_subclassed = false;
        }
        Unbind(hWnd);
        m_superProc = ::DefWindowProcW;
        this->m_hWnd = nullptr;
        return hWnd;
    }

    LRESULT ReflectNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        return AlkReflectNotifications(this->m_hWnd, uMsg, wParam, lParam, handled);
    }
};

template <class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImplBaseT : public CWindowImplRoot<TBase> {
public:
    static DWORD GetWndStyle(DWORD style) { return TWinTraits::GetWndStyle(style); }
    static DWORD GetWndExStyle(DWORD exStyle) { return TWinTraits::GetWndExStyle(exStyle); }

protected:
    HWND CreateOf(CWndClassInfo& info, HWND parent, const RECT& rc, LPCWSTR name, DWORD style, DWORD exStyle,
                  UINT_PTR idOrMenu, LPVOID param)
    {
        return this->CreateBound(static_cast<HWND>(nullptr), [&]() -> HWND {
            ATOM atom = info.Register(&CWindowImplRootBase::WindowProc);
            if (!atom) return nullptr;
            this->m_superProc = info.superProc;
            bool systemPlaced = rc.left == static_cast<LONG>(CW_USEDEFAULT);
            // The window procedure sets m_hWnd at the first message (null again if creation failed).
            return ::CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)), name, style,
                                     rc.left, systemPlaced ? CW_USEDEFAULT : rc.top,
                                     systemPlaced ? CW_USEDEFAULT : rc.right - rc.left,
                                     systemPlaced ? CW_USEDEFAULT : rc.bottom - rc.top, parent,
                                     reinterpret_cast<HMENU>(idOrMenu), AlkGetModuleInstance(), param);
        });
    }
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplBaseT<TBase, TWinTraits> {
public:
    // Default class: a superclass of TBase's control class when it names one, else a class of
    // our own with the window colour as background.
    static CWndClassInfo& GetWndClassInfo()
    {
        static CWndClassInfo info{nullptr, TBase::GetWndClassName() ? 0u : UINT(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
                                  TBase::GetWndClassName() ? -1 : COLOR_WINDOW, TBase::GetWndClassName()};
        return info;
    }

    // A child: id is the control id. A top-level window: pass the menu handle cast to UINT_PTR
    // through idOrMenu (or 0). rcDefault lets the system choose position and size.
    HWND Create(HWND parent, const RECT& rc = rcDefault, LPCWSTR name = nullptr, DWORD style = 0, DWORD exStyle = 0,
                UINT_PTR idOrMenu = 0, LPVOID param = nullptr)
    {
        return this->CreateOf(T::GetWndClassInfo(), parent, rc, name, T::GetWndStyle(style), T::GetWndExStyle(exStyle),
                              idOrMenu, param);
    }
};

// A window that routes its messages to an alternate map of another object (a frame handling
// the messages of a control it subclassed, by ALT_MSG_MAP(id)). The object and the map id are
// given at construction; the object must outlive the window's routing.
class CContainedWindow : public CWindowImplRoot<CWindow> {
public:
    CContainedWindow(CMessageMap* object = nullptr, DWORD msgMapID = 0) : m_object(object), m_msgMapID(msgMapID) {}
    void SwitchObject(CMessageMap* object, DWORD msgMapID)
    {
        m_object = object;
        m_msgMapID = msgMapID;
    }
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD) override
    {
        return m_object ? m_object->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, m_msgMapID) : FALSE;
    }

private:
    CMessageMap* m_object;
    DWORD m_msgMapID;
};
