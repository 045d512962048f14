#include "framework/HyperLink.h"

CHyperLink::~CHyperLink()
{
    if (m_font) ::DeleteObject(m_font);
}

BOOL CHyperLink::SubclassWindow(HWND hWnd)
{
    if (!CWindowImpl<CHyperLink, CStatic>::SubclassWindow(hWnd)) return FALSE;
    Prepare();
    return TRUE;
}

void CHyperLink::Prepare()
{
    // Clicks must reach the static: SS_NOTIFY; keyboard users reach it with WS_TABSTOP.
    ModifyStyle(0, SS_NOTIFY | WS_TABSTOP);
    if (m_label.IsEmpty()) GetWindowText(m_label);
    if (!m_font) {
        HFONT base = GetFont();
        LOGFONTW lf{};
        ::GetObjectW(base ? base : ::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        m_font = ::CreateFontIndirectW(&lf);
    }
}

BOOL CHyperLink::SetLabel(LPCWSTR label)
{
    m_label = label ? label : L"";
    if (m_hWnd) {
        SetWindowText(m_label);
        Invalidate();
    }
    return TRUE;
}

bool CHyperLink::Navigate()
{
    if (m_extendedStyle & HLINK_COMMANDBUTTON) {
        ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return true;
    }
    HINSTANCE result = ::ShellExecuteW(GetParent(), L"open", GetHyperLink(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

LRESULT CHyperLink::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    CPaintDC dc(m_hWnd);
    RECT rc;
    GetClientRect(&rc);
    // The parent paints our background as it does for statics.
    HBRUSH brush = reinterpret_cast<HBRUSH>(::SendMessageW(
        GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &rc, brush ? brush : ::GetSysColorBrush(COLOR_3DFACE));
    HGDIOBJ old = ::SelectObject(dc, m_font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, IsWindowEnabled() ? RGB(0, 0, 255) : ::GetSysColor(COLOR_GRAYTEXT));
    // A control high enough for a second line wraps the label at word breaks, as a multi-line
    // static does; a one-line control keeps it on its line.
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    const UINT lines = rc.bottom - rc.top >= 2 * metrics.tmHeight ? DT_WORDBREAK : DT_SINGLELINE;
    RECT text = rc;
    ::DrawTextW(dc, m_label, -1, &text, DT_LEFT | lines | DT_NOPREFIX | DT_CALCRECT);
    ::DrawTextW(dc, m_label, -1, &text, DT_LEFT | lines | DT_NOPREFIX);
    if (::GetFocus() == m_hWnd) {
        ::IntersectRect(&text, &text, &rc);  // the label may be longer than the control
        ::DrawFocusRect(dc, &text);
    }
    ::SelectObject(dc, old);
    return 0;
}

LRESULT CHyperLink::OnSetCursor(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
    return TRUE;
}

LRESULT CHyperLink::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    m_pressed = true;
    SetFocus();
    SetCapture();
    return 0;
}

LRESULT CHyperLink::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (!m_pressed) return 0;
    m_pressed = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT rc;
    GetClientRect(&rc);
    if (::PtInRect(&rc, pt)) Navigate();
    return 0;
}

LRESULT CHyperLink::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (wParam == VK_RETURN || wParam == VK_SPACE) {
        Navigate();
        return 0;
    }
    handled = FALSE;
    return 0;
}

LRESULT CHyperLink::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (m_font) ::DeleteObject(m_font);
    m_font = nullptr;
    handled = FALSE;
    return 0;
}
