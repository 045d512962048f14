// CHyperLink: a static control shown as a link (underlined, link colour, hand cursor) that
// opens its target with the shell when clicked, or, in command-button mode
// (HLINK_COMMANDBUTTON), sends WM_COMMAND with its id and BN_CLICKED to its parent instead.
//
// The label is drawn on one line, or wrapped at word breaks where the control is at least two
// lines high.
//
// Use SubclassWindow on a dialog's static (the link takes it over until the window goes) or
// Create. The label defaults to the control's text, the target to the label. The link owns the
// underlined font it draws with and frees it when destroyed. Enter or Space follows the link
// when it has the focus.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/WindowImpl.h"

#define HLINK_UNDERLINED    0x00000000
#define HLINK_COMMANDBUTTON 0x00000004

class CHyperLink : public CWindowImpl<CHyperLink, CStatic> {
public:
    DECLARE_WND_SUPERCLASS(L"Alk.HyperLink", L"STATIC")

    CHyperLink() = default;
    ~CHyperLink() override;

    BOOL SubclassWindow(HWND hWnd);

    BOOL SetHyperLink(LPCWSTR target)
    {
        m_target = target ? target : L"";
        return TRUE;
    }
    LPCWSTR GetHyperLink() const { return m_target.IsEmpty() ? m_label.GetString() : m_target.GetString(); }
    BOOL SetLabel(LPCWSTR label);
    LPCWSTR GetLabel() const { return m_label; }
    DWORD GetHyperLinkExtendedStyle() const { return m_extendedStyle; }
    DWORD SetHyperLinkExtendedStyle(DWORD style, DWORD mask = 0)
    {
        DWORD old = m_extendedStyle;
        m_extendedStyle = mask ? (m_extendedStyle & ~mask) | (style & mask) : style;
        return old;
    }

    // Follows the link: the command to the parent, or the shell's "open" of the target.
    // False when the shell could not open it.
    bool Navigate();

    // clang-format off
    BEGIN_MSG_MAP(CHyperLink)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
        MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()
    // clang-format on

private:
    void Prepare();
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        Prepare();
        handled = FALSE;
        return 0;
    }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTCHARS | DLGC_BUTTON; }
    LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL&)
    {
        Invalidate();
        return 0;
    }
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&) { return HTCLIENT; }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    CString m_label;
    CString m_target;
    DWORD m_extendedStyle = HLINK_UNDERLINED;
    HFONT m_font = nullptr;  // owned: the underlined form of the control's font
    bool m_pressed = false;
};
