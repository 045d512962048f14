// Splitters: a window divided into two panes by a bar the user drags.
//
// CSplitterWindow puts its panes left and right of a vertical bar, CHorSplitterWindow above
// and below a horizontal one. The panes are child windows of the splitter that it positions but
// does not own (they are destroyed with it, as children). The bar's position is in pixels from
// the left or top edge of the splitter; -1 puts it in the middle (applied when the splitter
// first has a size). In single-pane mode one pane fills the splitter and the other is hidden;
// SPLIT_PANE_NONE shows both.
//
// WM_COMMAND, WM_NOTIFY, WM_MEASUREITEM and WM_DRAWITEM from the panes are sent on to the
// splitter's parent and the parent's answer goes back, so a frame sees its controls' messages
// through any number of splitters and pane containers.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

#define SPLIT_PANE_LEFT   0
#define SPLIT_PANE_RIGHT  1
#define SPLIT_PANE_TOP    SPLIT_PANE_LEFT
#define SPLIT_PANE_BOTTOM SPLIT_PANE_RIGHT
#define SPLIT_PANE_NONE   -1

// Sends a message to the parent and returns its answer (the forwarding of splitters and pane
// containers).
inline LRESULT AlkForwardToParent(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND parent = ::GetParent(hWnd);
    return parent ? ::SendMessageW(parent, uMsg, wParam, lParam) : 0;
}

template <bool Vertical>
class CSplitterWindowT : public CWindowImpl<CSplitterWindowT<Vertical>> {
public:
    DECLARE_WND_CLASS_EX(Vertical ? L"Alk.SplitterV" : L"Alk.SplitterH", CS_DBLCLKS, COLOR_3DFACE)

    HWND m_hWndPane[2] = {nullptr, nullptr};
    int m_cxySplitBar = 4;  // bar thickness
    int m_cxyMin = 0;       // smallest pane extent the bar may leave

    HWND Create(HWND parent, const RECT& rc = rcDefault, LPCWSTR name = nullptr,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, DWORD exStyle = 0,
                UINT_PTR id = 0, LPVOID param = nullptr)
    {
        return CWindowImpl<CSplitterWindowT<Vertical>>::Create(parent, rc, name, style, exStyle, id, param);
    }

    // --- panes -------------------------------------------------------------------------------
    void SetSplitterPanes(HWND first, HWND second, bool update = true)
    {
        m_hWndPane[0] = first;
        m_hWndPane[1] = second;
        if (update) UpdateSplitterLayout();
    }
    bool SetSplitterPane(int pane, HWND hWnd, bool update = true)
    {
        if (pane != 0 && pane != 1) return false;
        m_hWndPane[pane] = hWnd;
        if (update) UpdateSplitterLayout();
        return true;
    }
    HWND GetSplitterPane(int pane) const { return pane == 0 || pane == 1 ? m_hWndPane[pane] : nullptr; }

    // --- bar position --------------------------------------------------------------------------
    // pos -1: the middle. Kept within the splitter.
    bool SetSplitterPos(int pos = -1, bool update = true)
    {
        m_pos = pos;
        m_pendingMiddle = pos == -1;
        ResolvePosition();
        if (update) UpdateSplitterLayout();
        return true;
    }
    // The bar's position in pixels; -1 while a middle position waits for a size.
    int GetSplitterPos() const { return m_pendingMiddle ? -1 : m_pos; }

    // The rectangle the splitter divides (default: its client area).
    void SetSplitterRect(LPCRECT rc = nullptr, bool update = true)
    {
        if (rc)
            m_rect = *rc;
        else if (this->m_hWnd)
            this->GetClientRect(&m_rect);
        ResolvePosition();
        if (update) UpdateSplitterLayout();
    }
    void GetSplitterRect(LPRECT rc) const { *rc = m_rect; }

    // --- single pane ---------------------------------------------------------------------------
    bool SetSinglePaneMode(int pane = SPLIT_PANE_NONE)
    {
        if (pane != SPLIT_PANE_NONE && pane != 0 && pane != 1) return false;
        m_singlePane = pane;
        if (pane != SPLIT_PANE_NONE) {
            // The focus leaves a pane that is being hidden.
            HWND hidden = m_hWndPane[1 - pane];
            HWND focus = ::GetFocus();
            if (hidden && focus && (focus == hidden || ::IsChild(hidden, focus)) && m_hWndPane[pane])
                ::SetFocus(m_hWndPane[pane]);
        }
        UpdateSplitterLayout();
        return true;
    }
    int GetSinglePaneMode() const { return m_singlePane; }

    // --- active pane ---------------------------------------------------------------------------
    // The pane that has (or contains) the focus; SPLIT_PANE_NONE when neither.
    int GetActivePane() const
    {
        HWND focus = ::GetFocus();
        for (int i = 0; i < 2; ++i)
            if (m_hWndPane[i] && focus && (focus == m_hWndPane[i] || ::IsChild(m_hWndPane[i], focus))) return i;
        return SPLIT_PANE_NONE;
    }
    bool SetActivePane(int pane)
    {
        if (pane != 0 && pane != 1) return false;
        if (m_singlePane != SPLIT_PANE_NONE && m_singlePane != pane) return false;
        if (!m_hWndPane[pane]) return false;
        ::SetFocus(m_hWndPane[pane]);
        m_defaultActive = pane;
        return true;
    }
    bool SetDefaultActivePane(int pane)
    {
        if (pane != 0 && pane != 1) return false;
        m_defaultActive = pane;
        return true;
    }
    bool SetDefaultActivePane(HWND hWnd)
    {
        for (int i = 0; i < 2; ++i)
            if (m_hWndPane[i] == hWnd) return SetDefaultActivePane(i);
        return false;
    }
    int GetDefaultActivePane() const { return m_defaultActive; }

    // Places the panes and the bar.
    void UpdateSplitterLayout()
    {
        if (!this->m_hWnd) return;
        if (m_singlePane != SPLIT_PANE_NONE) {
            HWND shown = m_hWndPane[m_singlePane], hidden = m_hWndPane[1 - m_singlePane];
            if (hidden) ::ShowWindow(hidden, SW_HIDE);
            if (shown) {
                ::SetWindowPos(shown, nullptr, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                               m_rect.bottom - m_rect.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
        } else {
            for (int i = 0; i < 2; ++i) {
                if (!m_hWndPane[i]) continue;
                RECT rc = PaneRect(i);
                ::SetWindowPos(m_hWndPane[i], nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
        }
        this->InvalidateRect(nullptr, TRUE);
    }

    // The bar's rectangle in client coordinates (empty in single-pane mode).
    RECT GetSplitterBarRect() const
    {
        RECT rc = m_rect;
        if (m_singlePane != SPLIT_PANE_NONE || m_pos < 0) return RECT{0, 0, 0, 0};
        if (Vertical) {
            rc.left = m_rect.left + m_pos;
            rc.right = rc.left + m_cxySplitBar;
        } else {
            rc.top = m_rect.top + m_pos;
            rc.bottom = rc.top + m_cxySplitBar;
        }
        return rc;
    }

    // clang-format off
    BEGIN_MSG_MAP(CSplitterWindowT)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDoubleClick)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_COMMAND, OnForward)
        MESSAGE_HANDLER(WM_NOTIFY, OnForward)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnForward)
        MESSAGE_HANDLER(WM_DRAWITEM, OnForward)
    END_MSG_MAP()
    // clang-format on

private:
    int Extent() const { return Vertical ? m_rect.right - m_rect.left : m_rect.bottom - m_rect.top; }

    void ResolvePosition()
    {
        int extent = Extent();
        if (extent <= 0) return;  // no size yet: resolve later
        if (m_pendingMiddle) {
            m_pos = (extent - m_cxySplitBar) / 2;
            m_pendingMiddle = false;
        }
        int maxPos = extent - m_cxySplitBar - m_cxyMin;
        if (m_pos > maxPos) m_pos = maxPos;
        if (m_pos < m_cxyMin) m_pos = m_cxyMin;
        if (m_pos < 0) m_pos = 0;
    }

    RECT PaneRect(int pane) const
    {
        RECT rc = m_rect;
        int pos = m_pos < 0 ? 0 : m_pos;
        if (Vertical) {
            if (pane == 0)
                rc.right = m_rect.left + pos;
            else
                rc.left = m_rect.left + pos + m_cxySplitBar;
        } else {
            if (pane == 0)
                rc.bottom = m_rect.top + pos;
            else
                rc.top = m_rect.top + pos + m_cxySplitBar;
        }
        if (rc.right < rc.left) rc.right = rc.left;
        if (rc.bottom < rc.top) rc.bottom = rc.top;
        return rc;
    }

    bool OverBar(POINT pt) const
    {
        RECT bar = GetSplitterBarRect();
        return ::PtInRect(&bar, pt) != FALSE;
    }

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        this->GetClientRect(&m_rect);
        ResolvePosition();
        handled = FALSE;
        return 0;
    }
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled)
    {
        if (wParam != SIZE_MINIMIZED) SetSplitterRect();
        handled = FALSE;
        return 0;
    }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
    {
        CPaintDC dc(this->m_hWnd);
        if (m_singlePane == SPLIT_PANE_NONE) {
            RECT bar = GetSplitterBarRect();
            ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_3DFACE));
        }
        return 0;
    }
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&)
    {
        return 1;  // panes cover everything but the bar, which WM_PAINT draws
    }
    LRESULT OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (reinterpret_cast<HWND>(wParam) == this->m_hWnd && LOWORD(lParam) == HTCLIENT) {
            POINT pt;
            ::GetCursorPos(&pt);
            this->ScreenToClient(&pt);
            if (OverBar(pt)) {
                ::SetCursor(::LoadCursorW(
                    nullptr,
                    Vertical ? MAKEINTRESOURCEW(32644) /* IDC_SIZEWE */ : MAKEINTRESOURCEW(32645) /* IDC_SIZENS */));
                return TRUE;
            }
        }
        handled = FALSE;
        return 0;
    }
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (OverBar(pt)) {
            this->SetCapture();
            m_dragging = true;
            m_dragOffset = (Vertical ? pt.x - m_rect.left : pt.y - m_rect.top) - m_pos;
            ::SetCursor(::LoadCursorW(
                nullptr,
                Vertical ? MAKEINTRESOURCEW(32644) /* IDC_SIZEWE */ : MAKEINTRESOURCEW(32645) /* IDC_SIZENS */));
        }
        return 0;
    }
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        if (!m_dragging) return 0;
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        int pos = (Vertical ? pt.x - m_rect.left : pt.y - m_rect.top) - m_dragOffset;
        if (pos != m_pos) {
            SetSplitterPos(pos < 0 ? 0 : pos);
            this->UpdateWindow();
        }
        return 0;
    }
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&)
    {
        if (m_dragging) ::ReleaseCapture();
        return 0;
    }
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&)
    {
        m_dragging = false;
        return 0;
    }
    LRESULT OnLButtonDoubleClick(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (OverBar(pt)) SetSplitterPos(-1);
        return 0;
    }
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
    {
        int pane = m_singlePane != SPLIT_PANE_NONE ? m_singlePane : m_defaultActive;
        if (pane >= 0 && m_hWndPane[pane]) ::SetFocus(m_hWndPane[pane]);
        return 0;
    }
    LRESULT OnForward(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        return AlkForwardToParent(this->m_hWnd, uMsg, wParam, lParam);
    }

    RECT m_rect{0, 0, 0, 0};
    int m_pos = -1;
    bool m_pendingMiddle = true;
    int m_singlePane = SPLIT_PANE_NONE;
    int m_defaultActive = SPLIT_PANE_LEFT;
    bool m_dragging = false;
    int m_dragOffset = 0;
};

using CSplitterWindow = CSplitterWindowT<true>;
using CHorSplitterWindow = CSplitterWindowT<false>;
