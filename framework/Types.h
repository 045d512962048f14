// CPoint, CSize, CRect: the platform's POINT, SIZE and RECT with constructors and the few
// helpers the windows and drawing code use. Plain values; they own nothing.
#pragma once

#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int cx, int cy)
    {
        x = cx;
        y = cy;
    }
    CPoint(POINT pt)
    {
        x = pt.x;
        y = pt.y;
    }
    // From a mouse message's lParam (signed coordinates).
    explicit CPoint(LPARAM lp)
    {
        x = static_cast<short>(LOWORD(lp));
        y = static_cast<short>(HIWORD(lp));
    }
    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
};

class CSize : public SIZE {
public:
    CSize() { cx = cy = 0; }
    CSize(int w, int h)
    {
        cx = w;
        cy = h;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rc) { ::CopyRect(this, &rc); }
    CRect(POINT pt, SIZE sz)
    {
        left = pt.x;
        top = pt.y;
        right = pt.x + sz.cx;
        bottom = pt.y + sz.cy;
    }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    bool IsRectEmpty() const { return ::IsRectEmpty(this) != FALSE; }
    bool PtInRect(POINT pt) const { return ::PtInRect(this, pt) != FALSE; }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
};
