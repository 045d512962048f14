// CWindow: a thin wrapper of a window handle.
//
// It owns nothing: copying a CWindow copies the handle, and destroying the object leaves the
// window alone (DestroyWindow does that). Members are the plain platform calls on m_hWnd; the
// control classes of framework/Controls.h derive from it and add their own messages.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/Types.h"

// Position and size chosen by the system (CW_USEDEFAULT); for a child, an empty rectangle.
static const RECT rcDefault = {static_cast<LONG>(CW_USEDEFAULT), static_cast<LONG>(CW_USEDEFAULT), 0, 0};

class CWindow {
public:
    HWND m_hWnd;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd)
    {
        m_hWnd = hWnd;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    static LPCWSTR GetWndClassName() { return nullptr; }

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach()
    {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }

    HWND Create(LPCWSTR className, HWND parent, const RECT& rc, LPCWSTR name = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT id = 0, LPVOID param = nullptr)
    {
        bool systemPlaced = rc.left == static_cast<LONG>(CW_USEDEFAULT);
        m_hWnd = ::CreateWindowExW(
            exStyle, className, name, style, rc.left, systemPlaced ? CW_USEDEFAULT : rc.top,
            systemPlaced ? CW_USEDEFAULT : rc.right - rc.left, systemPlaced ? CW_USEDEFAULT : rc.bottom - rc.top,
            parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), param);
        return m_hWnd;
    }
    BOOL DestroyWindow()
    {
        if (!::DestroyWindow(m_hWnd)) return FALSE;
        m_hWnd = nullptr;
        return TRUE;
    }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsChild(HWND h) const { return ::IsChild(m_hWnd, h); }

    // --- messages ----------------------------------------------------------------------------
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    BOOL SendNotifyMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::SendNotifyMessageW(m_hWnd, msg, wp, lp);
    }
    // Sends msg to every child (and, with deep, their children).
    void SendMessageToDescendants(UINT msg, WPARAM wp = 0, LPARAM lp = 0, bool deep = true) const
    {
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            ::SendMessageW(child, msg, wp, lp);
            if (deep && ::GetWindow(child, GW_CHILD)) CWindow(child).SendMessageToDescendants(msg, wp, lp, true);
        }
    }

    // --- styles, text, ids ---------------------------------------------------------------------
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Adds and removes style bits; with flags, applies them at once through SetWindowPos.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) { return ModifyLong(GWL_STYLE, remove, add, flags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) { return ModifyLong(GWL_EXSTYLE, remove, add, flags); }
    LONG_PTR GetWindowLongPtr(int index) const { return ::GetWindowLongPtrW(m_hWnd, index); }
    LONG_PTR SetWindowLongPtr(int index, LONG_PTR value) { return ::SetWindowLongPtrW(m_hWnd, index, value); }

    BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }
    int GetWindowText(LPWSTR buf, int max) const { return ::GetWindowTextW(m_hWnd, buf, max); }
    BOOL GetWindowText(CString& text) const
    {
        int n = ::GetWindowTextLengthW(m_hWnd);
        int got = ::GetWindowTextW(m_hWnd, text.GetBuffer(n), n + 1);
        text.ReleaseBuffer(got > 0 ? got : 0);
        return got > 0 || n == 0;
    }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id)); }

    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON icon, BOOL big = TRUE)
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL SetMenu(HMENU menu) { return ::SetMenu(m_hWnd, menu); }

    // --- family ------------------------------------------------------------------------------
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND SetParent(HWND parent) { return ::SetParent(m_hWnd, parent); }
    HWND GetTopLevelParent() const
    {
        HWND h = m_hWnd, parent;
        while (h && (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != nullptr) h = parent;
        return h;
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetWindow(UINT cmd) const { return ::GetWindow(m_hWnd, cmd); }
    // The process that made the window; 0 for no window.
    DWORD GetWindowProcessID() const
    {
        DWORD process = 0;
        return ::GetWindowThreadProcessId(m_hWnd, &process) ? process : 0;
    }
    HWND GetNextDlgGroupItem(HWND ctl, BOOL previous = FALSE) const
    {
        return ::GetNextDlgGroupItem(m_hWnd, ctl, previous);
    }
    HWND GetNextDlgTabItem(HWND ctl, BOOL previous = FALSE) const { return ::GetNextDlgTabItem(m_hWnd, ctl, previous); }

    // --- dialog items --------------------------------------------------------------------------
    BOOL SetDlgItemText(int id, LPCWSTR text) { return ::SetDlgItemTextW(m_hWnd, id, text); }
    UINT GetDlgItemText(int id, LPWSTR buf, int max) const { return ::GetDlgItemTextW(m_hWnd, id, buf, max); }
    BOOL GetDlgItemText(int id, CString& text) const { return CWindow(GetDlgItem(id)).GetWindowText(text); }
    BOOL SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE)
    {
        return ::SetDlgItemInt(m_hWnd, id, value, isSigned);
    }
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, ok, isSigned);
    }
    BOOL CheckDlgButton(int id, UINT check) { return ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    BOOL CheckRadioButton(int first, int last, int check) { return ::CheckRadioButton(m_hWnd, first, last, check); }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0)
    {
        return ::SendDlgItemMessageW(m_hWnd, id, msg, wp, lp);
    }
    HWND GotoDlgCtrl(HWND ctl) const
    {
        // WM_NEXTDLGCTL moves the focus the way a dialog does (default button kept right).
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl), TRUE);
        return ctl;
    }

    // --- geometry and state --------------------------------------------------------------------
    BOOL GetWindowRect(LPRECT rc) const { return ::GetWindowRect(m_hWnd, rc); }
    BOOL GetClientRect(LPRECT rc) const { return ::GetClientRect(m_hWnd, rc); }
    BOOL ClientToScreen(LPPOINT pt) const { return ::ClientToScreen(m_hWnd, pt); }
    BOOL ClientToScreen(LPRECT rc) const
    {
        return ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rc)) &&
               ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rc) + 1);
    }
    BOOL ScreenToClient(LPPOINT pt) const { return ::ScreenToClient(m_hWnd, pt); }
    BOOL ScreenToClient(LPRECT rc) const
    {
        return ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rc)) &&
               ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rc) + 1);
    }
    int MapWindowPoints(HWND to, LPPOINT pts, UINT count) const { return ::MapWindowPoints(m_hWnd, to, pts, count); }
    int MapWindowPoints(HWND to, LPRECT rc) const
    {
        return ::MapWindowPoints(m_hWnd, to, reinterpret_cast<LPPOINT>(rc), 2);
    }
    BOOL MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, x, y, w, h, repaint);
    }
    BOOL MoveWindow(LPCRECT rc, BOOL repaint = TRUE)
    {
        return ::MoveWindow(m_hWnd, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, repaint);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, x, y, w, h, flags);
    }
    BOOL SetWindowPos(HWND after, LPCRECT rc, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, flags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const { return ::GetWindowPlacement(m_hWnd, wp); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND SetActiveWindow() { return ::SetActiveWindow(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    BOOL BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }

    // Centres the window over another (default: its owner or parent; the work area when there
    // is none), kept inside the work area of that monitor.
    BOOL CenterWindow(HWND center = nullptr)
    {
        if (!center) {
            center = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
        }
        RECT area;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        RECT rc, around;
        GetWindowRect(&rc);
        bool child = (GetStyle() & WS_CHILD) != 0;
        if (child) {
            HWND parent = ::GetParent(m_hWnd);
            ::GetClientRect(parent, &area);
            if (center) {
                ::GetClientRect(center, &around);
                ::MapWindowPoints(center, parent, reinterpret_cast<LPPOINT>(&around), 2);
            } else {
                around = area;
            }
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rc), 2);
        } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
            ::GetWindowRect(center, &around);
        } else {
            around = area;
        }
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        int x = (around.left + around.right - w) / 2;
        int y = (around.top + around.bottom - h) / 2;
        if (x + w > area.right) x = area.right - w;
        if (x < area.left) x = area.left;
        if (y + h > area.bottom) y = area.bottom - h;
        if (y < area.top) y = area.top;
        return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // --- painting ------------------------------------------------------------------------------
    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL InvalidateRect(LPCRECT rc, BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, rc, erase); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rc = nullptr, HRGN rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rc, rgn, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }
    HDC GetDC() { return ::GetDC(m_hWnd); }
    int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }

    // --- timers and boxes ----------------------------------------------------------------------
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK)
    {
        return ::MessageBoxW(m_hWnd, text, caption, type);
    }

private:
    BOOL ModifyLong(int index, DWORD remove, DWORD add, UINT flags)
    {
        DWORD old = static_cast<DWORD>(::GetWindowLongW(m_hWnd, index));
        DWORD value = (old & ~remove) | add;
        if (value == old) return FALSE;
        ::SetWindowLongW(m_hWnd, index, static_cast<LONG>(value));
        if (flags)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
        return TRUE;
    }
};
