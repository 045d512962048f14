// CPaneContainer: a caption strip over one client window, with an optional close button.
//
// The caption holds at most 79 characters (longer titles are cut); SetTitle redraws it. The
// client is a child window the container sizes to fill the rest; the container does not own
// it beyond the usual destruction of children. The close button (on unless switched off with
// SetPaneContainerExtendedStyle(PANECNT_NOCLOSEBUTTON) or EnableCloseButton(false)) sends
// WM_COMMAND ID_PANE_CLOSE to the container's parent with the container as the control handle;
// nothing is closed by the container itself.
//
// As splitters do, the container sends its client's WM_COMMAND, WM_NOTIFY, WM_MEASUREITEM and
// WM_DRAWITEM to its parent and returns the parent's answer.
#pragma once

#include <windows.h>

#include "framework/Gdi.h"
#include "framework/Splitter.h"
#include "framework/WindowImpl.h"

#define ID_PANE_CLOSE         0xE152  // 57682
#define PANECNT_NOCLOSEBUTTON 0x00000001

class CPaneContainer : public CWindowImpl<CPaneContainer> {
public:
    DECLARE_WND_CLASS_EX(L"Alk.PaneContainer", CS_DBLCLKS, COLOR_3DFACE)

    enum { kMaxTitle = 79 };

    HWND Create(HWND parent, LPCWSTR title = nullptr,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, DWORD exStyle = 0,
                UINT_PTR id = 0, LPVOID param = nullptr)
    {
        SetTitleText(title);
        return CWindowImpl<CPaneContainer>::Create(parent, rcDefault, nullptr, style, exStyle, id, param);
    }
    HWND Create(HWND parent, UINT titleId, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                DWORD exStyle = 0, UINT_PTR id = 0, LPVOID param = nullptr)
    {
        CString title;
        title.LoadString(titleId);
        return Create(parent, title, style, exStyle, id, param);
    }

    BOOL SetTitle(LPCWSTR title)
    {
        SetTitleText(title);
        if (m_hWnd) {
            RECT rc = CaptionRect();
            InvalidateRect(&rc, TRUE);
        }
        return TRUE;
    }
    LPCWSTR GetTitle() const { return m_title; }
    int GetTitleLength() const { return static_cast<int>(wcslen(m_title)); }

    HWND SetClient(HWND client)
    {
        HWND old = m_client;
        m_client = client;
        if (m_hWnd) UpdateLayout();
        return old;
    }
    HWND GetClient() const { return m_client; }

    DWORD GetPaneContainerExtendedStyle() const { return m_extendedStyle; }
    DWORD SetPaneContainerExtendedStyle(DWORD style, DWORD mask = 0)
    {
        DWORD old = m_extendedStyle;
        m_extendedStyle = mask ? (m_extendedStyle & ~mask) | (style & mask) : style;
        if (m_hWnd) UpdateCloseButton();
        return old;
    }
    void EnableCloseButton(bool enable)
    {
        SetPaneContainerExtendedStyle(enable ? 0 : PANECNT_NOCLOSEBUTTON, PANECNT_NOCLOSEBUTTON);
    }
    bool HasCloseButton() const { return m_closeButton && ::IsWindowVisible(m_closeButton); }
    HWND GetCloseButton() const { return m_closeButton; }

    int GetCaptionHeight() const { return m_captionHeight; }

    void UpdateLayout()
    {
        if (!m_hWnd) return;
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const int width = client.right, height = client.bottom;
        const int size = m_captionHeight - 4;
        if (m_closeButton)
            ::SetWindowPos(m_closeButton, nullptr, width - size - 2, 2, size, size, SWP_NOZORDER | SWP_NOACTIVATE);
        if (m_client)
            ::SetWindowPos(m_client, nullptr, 0, m_captionHeight, width,
                           height > m_captionHeight ? height - m_captionHeight : 0, SWP_NOZORDER | SWP_NOACTIVATE);
        RECT caption{0, 0, width, m_captionHeight};
        ::InvalidateRect(m_hWnd, &caption, TRUE);
    }

    // clang-format off
    BEGIN_MSG_MAP(CPaneContainer)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_NOTIFY, OnForward)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnForward)
    END_MSG_MAP()
    // clang-format on

private:
    void SetTitleText(LPCWSTR title) { lstrcpynW(m_title, title ? title : L"", kMaxTitle + 1); }
    RECT CaptionRect() const
    {
        RECT rc;
        GetClientRect(&rc);
        rc.bottom = rc.top + m_captionHeight;
        return rc;
    }
    void UpdateCloseButton()
    {
        if (m_closeButton) ::ShowWindow(m_closeButton, (m_extendedStyle & PANECNT_NOCLOSEBUTTON) ? SW_HIDE : SW_SHOW);
    }

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&)
    {
        HDC dc = ::GetDC(m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc, &tm);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
        m_captionHeight = tm.tmHeight + 8;
        if (m_captionHeight < ::GetSystemMetrics(SM_CYSMICON) + 4)
            m_captionHeight = ::GetSystemMetrics(SM_CYSMICON) + 4;
        m_closeButton = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, m_hWnd,
                                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ID_PANE_CLOSE)),
                                          AlkGetModuleInstance(), nullptr);
        UpdateCloseButton();
        return 0;
    }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&)
    {
        UpdateLayout();
        return 0;
    }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
    {
        CPaintDC dc(m_hWnd);
        RECT rc = CaptionRect();
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_3DFACE));
        RECT text = rc;
        text.left += 4;
        if (HasCloseButton()) text.right -= m_captionHeight;
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextW(dc, m_title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        ::SelectObject(dc, old);
        return 0;
    }
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
    {
        if (m_client) ::SetFocus(m_client);
        return 0;
    }
    LRESULT OnCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        if (m_closeButton && reinterpret_cast<HWND>(lParam) == m_closeButton) {
            if (HIWORD(wParam) == BN_CLICKED)
                ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(ID_PANE_CLOSE, 0), reinterpret_cast<LPARAM>(m_hWnd));
            return 0;
        }
        return AlkForwardToParent(m_hWnd, uMsg, wParam, lParam);
    }
    LRESULT OnDrawItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (m_closeButton && dis->hwndItem == m_closeButton) {
            // A cross drawn with lines: no symbol font needed.
            RECT rc = dis->rcItem;
            ::FillRect(dis->hDC, &rc, ::GetSysColorBrush(COLOR_3DFACE));
            if (dis->itemState & ODS_SELECTED) ::DrawEdge(dis->hDC, &rc, BDR_SUNKENOUTER, BF_RECT);
            int inset = (rc.right - rc.left) / 4 + ((dis->itemState & ODS_SELECTED) ? 1 : 0);
            HPEN pen = ::CreatePen(PS_SOLID, 2, ::GetSysColor(COLOR_BTNTEXT));
            HGDIOBJ old = ::SelectObject(dis->hDC, pen);
            ::MoveToEx(dis->hDC, rc.left + inset, rc.top + inset, nullptr);
            ::LineTo(dis->hDC, rc.right - inset, rc.bottom - inset);
            ::MoveToEx(dis->hDC, rc.right - inset, rc.top + inset, nullptr);
            ::LineTo(dis->hDC, rc.left + inset, rc.bottom - inset);
            ::SelectObject(dis->hDC, old);
            ::DeleteObject(pen);
            return TRUE;
        }
        return AlkForwardToParent(m_hWnd, uMsg, wParam, lParam);
    }
    LRESULT OnForward(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        return AlkForwardToParent(m_hWnd, uMsg, wParam, lParam);
    }

    wchar_t m_title[kMaxTitle + 1] = {};
    HWND m_client = nullptr;
    HWND m_closeButton = nullptr;
    DWORD m_extendedStyle = 0;
    int m_captionHeight = 20;
};
