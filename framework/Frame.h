// CFrameWindowImpl<T>: a top-level frame with bars at the top (a toolbar or a rebar holding
// bars in bands), a status bar at the bottom and one client window filling the rest.
//
// One resource id (DECLARE_FRAME_WND_CLASS(name, id)) gives the frame its menu, accelerator
// table, icon and caption (the string of that id). CreateEx loads them; the window owns the
// menu while it is set on it (a frame that hands its menu to a command bar and removes it
// from the window gets it destroyed when the frame is destroyed).
//
// The frame's map (chain it: CHAIN_MSG_MAP(CFrameWindowImpl<T>)) lays the bars and client out
// on WM_SIZE, shows a command's prompt (the text of its string before "\n") in the status bar
// while a menu item is highlighted, answers toolbar tooltips with the text after "\n", gives
// the focus to the client, reflects WM_DRAWITEM, WM_COMPAREITEM and WM_DELETEITEM to the
// control they name (so owner-drawn controls in splitters and panes draw themselves), and on
// WM_DESTROY of a top-level frame posts WM_QUIT, which ends
// the thread's message loop (m_bQuitOnDestroy false turns that off).
//
// m_hWndToolBar (the rebar or toolbar), m_hWndStatusBar and m_hWndClient are child windows the
// frame lays out; they are destroyed with it. PreTranslateMessage translates the frame's
// accelerators; a frame that registers itself as a message filter calls it.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

// Child ids and styles of the frame's bars.
#define ALK_IDW_TOOLBAR     0xE800
#define ALK_IDW_STATUS_BAR  0xE801
#define ALK_IDW_COMMAND_BAR 0xE802
#define ALK_IDW_BAND_FIRST  0xEB00
#define ALK_IDW_BAND_LAST   0xEBFF
#define ALK_IDS_IDLEMESSAGE 0xE001

#define ALK_SIMPLE_TOOLBAR_STYLE (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS)
#define ALK_SIMPLE_TOOLBAR_PANE_STYLE                                                                               \
    (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | \
     TBSTYLE_TOOLTIPS | TBSTYLE_FLAT)
#define ALK_SIMPLE_REBAR_STYLE \
    (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE)
#define ALK_SIMPLE_REBAR_NOBORDER_STYLE                                                                           \
    (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | \
     CCS_NODIVIDER)
#define ALK_SIMPLE_STATUSBAR_STYLE (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP)
#define ALK_SIMPLE_CMDBAR_PANE_STYLE                                                                                \
    (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | \
     TBSTYLE_FLAT | TBSTYLE_LIST)

struct CFrameWndClassInfo : CWndClassInfo {
    UINT commonResourceID = 0;
};

#define DECLARE_FRAME_WND_CLASS(className, resourceID) \
    static CFrameWndClassInfo& GetWndClassInfo()       \
    {                                                  \
        static CFrameWndClassInfo info = [] {          \
            CFrameWndClassInfo i;                      \
            i.name = className;                        \
            i.style = CS_DBLCLKS;                      \
            i.background = COLOR_WINDOW;               \
            i.superclassOf = nullptr;                  \
            i.commonResourceID = resourceID;           \
            return i;                                  \
        }();                                           \
        return info;                                   \
    }

// Text of a command's string: the part before "\n" (prompt) or after it (tooltip).
CString AlkCommandText(UINT id, bool tooltip);

// Builds a toolbar from a toolbar resource (the RT_TOOLBAR layout with the bitmap of the same
// id) as a child of parent. Separators come from the resource's 0 ids.
HWND AlkCreateToolBarFromResource(HWND parent, UINT resourceID, BOOL initialSeparator, DWORD style, UINT id);

// Adds a bar to a rebar as a new band sized to the bar's buttons; id 0 numbers bands from
// ALK_IDW_BAND_FIRST in the order of adding.
BOOL AlkAddReBarBand(HWND rebar, HWND band, int id, LPCWSTR title, BOOL newRow, int cxWidth, BOOL fullWidthAlways);

template <class T, class TBase = CWindow, class TWinTraits = CFrameWinTraits>
class CFrameWindowImpl : public CWindowImplBaseT<TBase, TWinTraits> {
public:
    HWND m_hWndToolBar = nullptr;
    HWND m_hWndStatusBar = nullptr;
    HWND m_hWndClient = nullptr;
    HACCEL m_hAccel = nullptr;
    HMENU m_hMenu = nullptr;
    bool m_bQuitOnDestroy = true;

    DECLARE_FRAME_WND_CLASS(nullptr, 0)

    // Creates the frame from T's resource id: menu, accelerators, icon, caption.
    HWND CreateEx(HWND parent = nullptr, const RECT& rc = rcDefault, DWORD style = 0, DWORD exStyle = 0,
                  LPVOID param = nullptr)
    {
        CFrameWndClassInfo& info = T::GetWndClassInfo();
        UINT id = info.commonResourceID;
        HINSTANCE res = AlkGetResourceInstance();
        CString title;
        if (id) {
            title.LoadString(id);
            if (!info.atom) {
                info.icon =
                    static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
                info.iconSmall = static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
            }
            m_hMenu = ::LoadMenuW(res, MAKEINTRESOURCEW(id));
            m_hAccel = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(id));
        }
        HWND hWnd =
            this->CreateOf(info, parent, rc, title.IsEmpty() ? nullptr : title.GetString(), T::GetWndStyle(style),
                           T::GetWndExStyle(exStyle), reinterpret_cast<UINT_PTR>(m_hMenu), param);
        if (!hWnd && m_hMenu) {
            ::DestroyMenu(m_hMenu);
            m_hMenu = nullptr;
        }
        return hWnd;
    }

    BOOL PreTranslateMessage(MSG* msg)
    {
        return m_hAccel && this->m_hWnd && ::TranslateAcceleratorW(this->m_hWnd, m_hAccel, msg);
    }

    // --- bars --------------------------------------------------------------------------------
    HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceID, BOOL initialSeparator = FALSE,
                                 DWORD style = ALK_SIMPLE_TOOLBAR_STYLE, UINT id = ALK_IDW_TOOLBAR)
    {
        return AlkCreateToolBarFromResource(parent, resourceID, initialSeparator, style, id);
    }
    // A toolbar straight under the frame (no rebar).
    BOOL CreateSimpleToolBar(UINT resourceID = 0, DWORD style = ALK_SIMPLE_TOOLBAR_STYLE, UINT id = ALK_IDW_TOOLBAR)
    {
        if (!resourceID) resourceID = T::GetWndClassInfo().commonResourceID;
        m_hWndToolBar = CreateSimpleToolBarCtrl(this->m_hWnd, resourceID, TRUE, style, id);
        return m_hWndToolBar != nullptr;
    }
    BOOL CreateSimpleReBar(DWORD style = ALK_SIMPLE_REBAR_STYLE, UINT id = ALK_IDW_TOOLBAR)
    {
        m_hWndToolBar = CreateSimpleReBarCtrl(this->m_hWnd, style, id);
        return m_hWndToolBar != nullptr;
    }
    static HWND CreateSimpleReBarCtrl(HWND parent, DWORD style = ALK_SIMPLE_REBAR_STYLE, UINT id = ALK_IDW_TOOLBAR)
    {
        HWND rebar =
            ::CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AlkGetModuleInstance(), nullptr);
        if (rebar) {
            REBARINFO info{};
            info.cbSize = sizeof info;
            ::SendMessageW(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
        }
        return rebar;
    }
    BOOL AddSimpleReBarBand(HWND band, LPCWSTR title = nullptr, BOOL newRow = FALSE, int cxWidth = 0,
                            BOOL fullWidthAlways = FALSE)
    {
        return AlkAddReBarBand(m_hWndToolBar, band, 0, title, newRow, cxWidth, fullWidthAlways);
    }
    static BOOL AddSimpleReBarBandCtrl(HWND rebar, HWND band, int id = 0, LPCWSTR title = nullptr, BOOL newRow = FALSE,
                                       int cxWidth = 0, BOOL fullWidthAlways = FALSE)
    {
        return AlkAddReBarBand(rebar, band, id, title, newRow, cxWidth, fullWidthAlways);
    }

    // A status bar with one text (default: the idle text, "Ready" when the string table has
    // none for ALK_IDS_IDLEMESSAGE).
    BOOL CreateSimpleStatusBar(LPCWSTR text = nullptr, DWORD style = ALK_SIMPLE_STATUSBAR_STYLE,
                               UINT id = ALK_IDW_STATUS_BAR)
    {
        CString idle;
        if (!text) {
            if (!idle.LoadString(ALK_IDS_IDLEMESSAGE)) idle = L"Ready";
            text = idle;
        }
        m_hWndStatusBar =
            ::CreateWindowExW(0, STATUSCLASSNAMEW, text, style, 0, 0, 0, 0, this->m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AlkGetModuleInstance(), nullptr);
        return m_hWndStatusBar != nullptr;
    }

    // Puts the bars at the top and bottom and the client in between.
    void UpdateLayout(BOOL resizeBars = TRUE)
    {
        RECT rc;
        this->GetClientRect(&rc);
        UpdateBarsPosition(rc, resizeBars);
        if (m_hWndClient)
            ::SetWindowPos(m_hWndClient, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void UpdateBarsPosition(RECT& rc, BOOL resizeBars = TRUE)
    {
        if (m_hWndToolBar && (::GetWindowLongW(m_hWndToolBar, GWL_STYLE) & WS_VISIBLE)) {
            if (resizeBars) ::SendMessageW(m_hWndToolBar, WM_SIZE, 0, 0);
            RECT bar;
            ::GetWindowRect(m_hWndToolBar, &bar);
            rc.top += bar.bottom - bar.top;
        }
        if (m_hWndStatusBar && (::GetWindowLongW(m_hWndStatusBar, GWL_STYLE) & WS_VISIBLE)) {
            if (resizeBars) ::SendMessageW(m_hWndStatusBar, WM_SIZE, 0, 0);
            RECT bar;
            ::GetWindowRect(m_hWndStatusBar, &bar);
            rc.bottom -= bar.bottom - bar.top;
        }
        if (rc.bottom < rc.top) rc.bottom = rc.top;
    }

    // clang-format off
    BEGIN_MSG_MAP(CFrameWindowImpl)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_MENUSELECT, OnMenuSelect)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnToolTipText)
        NOTIFY_CODE_HANDLER(RBN_HEIGHTCHANGE, OnReBarHeightChange)
        MESSAGE_HANDLER(WM_DRAWITEM, OnReflectOwnerDraw)
        MESSAGE_HANDLER(WM_COMPAREITEM, OnReflectOwnerDraw)
        MESSAGE_HANDLER(WM_DELETEITEM, OnReflectOwnerDraw)
    END_MSG_MAP()
    // clang-format on

protected:
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        if (wParam != SIZE_MINIMIZED) static_cast<T*>(this)->UpdateLayout();
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        if (m_hWndClient) return 1;  // the client covers it: no flicker
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        if (m_hWndClient && ::IsWindowVisible(m_hWndClient)) ::SetFocus(m_hWndClient);
        bHandled = FALSE;
        return 1;
    }
    LRESULT OnMenuSelect(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
    {
        bHandled = FALSE;
        if (!m_hWndStatusBar) return 1;
        UINT flags = HIWORD(wParam);
        if (flags == 0xFFFF && lParam == 0) {  // the menu closed
            ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, FALSE, 0);
            return 1;
        }
        CString prompt;
        if (!(flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) && LOWORD(wParam))
            prompt = AlkCommandText(LOWORD(wParam), false);
        ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, TRUE, 0);
        ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(prompt.GetString()));
        return 1;
    }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        bHandled = FALSE;
        if (m_bQuitOnDestroy && !(this->GetStyle() & (WS_CHILD | WS_POPUP))) ::PostQuitMessage(1);
        return 0;
    }
    LRESULT OnNcDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        // A menu handed to a command bar is no longer the window's: free it here.
        if (m_hMenu && ::GetMenu(this->m_hWnd) != m_hMenu) ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        if (m_hAccel) ::DestroyAcceleratorTable(m_hAccel);
        m_hAccel = nullptr;
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnToolTipText(int, LPNMHDR hdr, BOOL& bHandled)
    {
        auto* info = reinterpret_cast<LPNMTTDISPINFOW>(hdr);
        if (info->uFlags & TTF_IDISHWND) {
            bHandled = FALSE;
            return 0;
        }
        CString tip = AlkCommandText(static_cast<UINT>(hdr->idFrom), true);
        lstrcpynW(info->szText, tip, sizeof info->szText / sizeof info->szText[0]);
        info->lpszText = info->szText;
        return 0;
    }
    // Owner-drawn controls anywhere below the frame (in splitters and pane containers, which
    // forward these messages up) get them back reflected, as OCM_DRAWITEM etc.
    LRESULT OnReflectOwnerDraw(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
    {
        return AlkReflectNotifications(this->m_hWnd, uMsg, wParam, lParam, bHandled);
    }
    LRESULT OnReBarHeightChange(int, LPNMHDR, BOOL& bHandled)
    {
        static_cast<T*>(this)->UpdateLayout(FALSE);
        bHandled = FALSE;
        return 0;
    }
};
