// GDI objects, device contexts, menus and the wait cursor.
//
// CFont, CBitmap, CPen, CBrush, CMenu own their handle and free it in the destructor (or with
// DeleteObject / DestroyMenu); the ...Handle forms (CFontHandle, CMenuHandle, CDCHandle) only
// borrow. Attach takes ownership, Detach gives it up.
// CPaintDC (BeginPaint/EndPaint) and CClientDC (GetDC/ReleaseDC) release their DC when they go
// out of scope. Objects selected into a DC must be selected out before they are destroyed.
#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/Types.h"

template <class THandle, bool Owns>
class CGdiObjectT {
public:
    THandle m_hObject = nullptr;

    CGdiObjectT(THandle h = nullptr) : m_hObject(h) {}
    ~CGdiObjectT()
    {
        if (Owns) DeleteObject();
    }
    CGdiObjectT(const CGdiObjectT&) = delete;
    CGdiObjectT& operator=(const CGdiObjectT&) = delete;

    operator THandle() const { return m_hObject; }
    bool IsNull() const { return m_hObject == nullptr; }
    void Attach(THandle h)
    {
        if (Owns && m_hObject && m_hObject != h) ::DeleteObject(m_hObject);
        m_hObject = h;
    }
    THandle Detach()
    {
        THandle h = m_hObject;
        m_hObject = nullptr;
        return h;
    }
    BOOL DeleteObject()
    {
        if (!m_hObject) return FALSE;
        BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
};

template <bool Owns>
class CFontT : public CGdiObjectT<HFONT, Owns> {
public:
    CFontT(HFONT h = nullptr) : CGdiObjectT<HFONT, Owns>(h) {}
    HFONT CreateFontIndirect(const LOGFONTW* lf)
    {
        this->Attach(::CreateFontIndirectW(lf));
        return this->m_hObject;
    }
    int GetLogFont(LOGFONTW* lf) const { return ::GetObjectW(this->m_hObject, sizeof(LOGFONTW), lf); }
};
using CFont = CFontT<true>;
using CFontHandle = CFontT<false>;

template <bool Owns>
class CBitmapT : public CGdiObjectT<HBITMAP, Owns> {
public:
    CBitmapT(HBITMAP h = nullptr) : CGdiObjectT<HBITMAP, Owns>(h) {}
    HBITMAP LoadBitmap(UINT id, HINSTANCE instance)
    {
        this->Attach(static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
        return this->m_hObject;
    }
    BOOL GetSize(SIZE& size) const
    {
        BITMAP bm{};
        if (!::GetObjectW(this->m_hObject, sizeof bm, &bm)) return FALSE;
        size.cx = bm.bmWidth;
        size.cy = bm.bmHeight;
        return TRUE;
    }
};
using CBitmap = CBitmapT<true>;
using CBitmapHandle = CBitmapT<false>;

template <bool Owns>
class CPenT : public CGdiObjectT<HPEN, Owns> {
public:
    CPenT(HPEN h = nullptr) : CGdiObjectT<HPEN, Owns>(h) {}
    HPEN CreatePen(int style, int width, COLORREF color)
    {
        this->Attach(::CreatePen(style, width, color));
        return this->m_hObject;
    }
};
using CPen = CPenT<true>;
using CPenHandle = CPenT<false>;

template <bool Owns>
class CBrushT : public CGdiObjectT<HBRUSH, Owns> {
public:
    CBrushT(HBRUSH h = nullptr) : CGdiObjectT<HBRUSH, Owns>(h) {}
    HBRUSH CreateSolidBrush(COLORREF color)
    {
        this->Attach(::CreateSolidBrush(color));
        return this->m_hObject;
    }
};
using CBrush = CBrushT<true>;
using CBrushHandle = CBrushT<false>;

// A borrowed device context with the drawing calls the program uses.
class CDCHandle {
public:
    HDC m_hDC;

    CDCHandle(HDC dc = nullptr) : m_hDC(dc) {}
    operator HDC() const { return m_hDC; }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    HFONT SelectFont(HFONT font) { return static_cast<HFONT>(::SelectObject(m_hDC, font)); }
    HPEN SelectPen(HPEN pen) { return static_cast<HPEN>(::SelectObject(m_hDC, pen)); }
    HBRUSH SelectBrush(HBRUSH brush) { return static_cast<HBRUSH>(::SelectObject(m_hDC, brush)); }
    HBITMAP SelectBitmap(HBITMAP bmp) { return static_cast<HBITMAP>(::SelectObject(m_hDC, bmp)); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int DrawText(LPCWSTR text, int count, LPRECT rc, UINT format)
    {
        return ::DrawTextW(m_hDC, text, count, rc, format);
    }
    BOOL TextOut(int x, int y, LPCWSTR text, int count = -1)
    {
        if (count < 0) count = static_cast<int>(wcslen(text));
        return ::TextOutW(m_hDC, x, y, text, count);
    }
    BOOL GetTextExtent(LPCWSTR text, int count, LPSIZE size) const
    {
        if (count < 0) count = static_cast<int>(wcslen(text));
        return ::GetTextExtentPoint32W(m_hDC, text, count, size);
    }
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
    int FillRect(LPCRECT rc, HBRUSH brush) { return ::FillRect(m_hDC, rc, brush); }
    BOOL FillSolidRect(LPCRECT rc, COLORREF color)
    {
        COLORREF old = ::SetBkColor(m_hDC, color);
        BOOL ok = ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
        ::SetBkColor(m_hDC, old);
        return ok;
    }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL DrawEdge(LPRECT rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
    BOOL DrawFrameControl(LPRECT rc, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rc, type, state); }
    BOOL DrawIconEx(int x, int y, HICON icon, int cx, int cy)
    {
        return ::DrawIconEx(m_hDC, x, y, icon, cx, cy, 0, nullptr, DI_NORMAL);
    }
    BOOL BitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src, sx, sy, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
};

class CPaintDC : public CDCHandle {
public:
    PAINTSTRUCT m_ps{};
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

private:
    HWND m_hWnd;
};

class CClientDC : public CDCHandle {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::GetDC(hWnd); }
    ~CClientDC() { ::ReleaseDC(m_hWnd, m_hDC); }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

private:
    HWND m_hWnd;
};

// A memory DC compatible with another; deleted with the object.
class CMemoryDC : public CDCHandle {
public:
    explicit CMemoryDC(HDC compatible) { m_hDC = ::CreateCompatibleDC(compatible); }
    ~CMemoryDC() { ::DeleteDC(m_hDC); }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
};

// --- menus ------------------------------------------------------------------------------------

template <bool Owns>
class CMenuT {
public:
    HMENU m_hMenu = nullptr;

    CMenuT(HMENU h = nullptr) : m_hMenu(h) {}
    ~CMenuT()
    {
        if (Owns) DestroyMenu();
    }
    CMenuT(const CMenuT&) = delete;
    CMenuT& operator=(const CMenuT&) = delete;

    operator HMENU() const { return m_hMenu; }
    bool IsNull() const { return m_hMenu == nullptr; }
    bool IsMenu() const { return ::IsMenu(m_hMenu) != FALSE; }
    void Attach(HMENU h)
    {
        if (Owns && m_hMenu && m_hMenu != h) ::DestroyMenu(m_hMenu);
        m_hMenu = h;
    }
    HMENU Detach()
    {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        return h;
    }
    BOOL DestroyMenu()
    {
        if (!m_hMenu) return FALSE;
        BOOL ok = ::DestroyMenu(m_hMenu);
        m_hMenu = nullptr;
        return ok;
    }

    // From the resource module unless an instance is given.
    BOOL LoadMenu(UINT id, HINSTANCE instance = nullptr);
    BOOL CreatePopupMenu()
    {
        Attach(::CreatePopupMenu());
        return m_hMenu != nullptr;
    }

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    HMENU GetSubMenu(int pos) const { return ::GetSubMenu(m_hMenu, pos); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    BOOL EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
    DWORD CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    BOOL GetMenuItemInfo(UINT item, BOOL byPos, MENUITEMINFOW* info) const
    {
        return ::GetMenuItemInfoW(m_hMenu, item, byPos, info);
    }
    BOOL SetMenuItemInfo(UINT item, BOOL byPos, const MENUITEMINFOW* info)
    {
        return ::SetMenuItemInfoW(m_hMenu, item, byPos, info);
    }
    int GetMenuString(UINT item, CString& text, UINT flags) const
    {
        int n = ::GetMenuStringW(m_hMenu, item, nullptr, 0, flags);
        int got = ::GetMenuStringW(m_hMenu, item, text.GetBuffer(n), n + 1, flags);
        text.ReleaseBuffer(got);
        return got;
    }
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, LPCRECT rc = nullptr)
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, rc);
    }
};
using CMenu = CMenuT<true>;
using CMenuHandle = CMenuT<false>;

HINSTANCE AlkGetResourceInstance();

template <bool Owns>
BOOL CMenuT<Owns>::LoadMenu(UINT id, HINSTANCE instance)
{
    Attach(::LoadMenuW(instance ? instance : AlkGetResourceInstance(), MAKEINTRESOURCEW(id)));
    return m_hMenu != nullptr;
}

// Shows the hourglass while it lives; the cursor it replaced comes back on destruction (or
// Restore).
class CWaitCursor {
public:
    explicit CWaitCursor(bool set = true)
    {
        if (set) Set();
    }
    ~CWaitCursor() { Restore(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Set()
    {
        HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514) /* IDC_WAIT */));
        if (!m_active) m_old = old;
        m_active = true;
    }
    void Restore()
    {
        if (!m_active) return;
        ::SetCursor(m_old);
        m_active = false;
    }

private:
    HCURSOR m_old = nullptr;
    bool m_active = false;
};
