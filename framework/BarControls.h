// Wrappers of the bars of a frame: toolbar, status bar, rebar, and the tooltips they show.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/ControlCreate.h"

class CToolBarCtrl : public CWindow {
public:
    CToolBarCtrl(HWND h = nullptr) : CWindow(h) {}
    CToolBarCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return TOOLBARCLASSNAMEW; }
    ALK_CONTROL_CREATE()
    void SetButtonStructSize() { SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON)); }
    int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    BOOL AddButtons(int count, const TBBUTTON* buttons)
    {
        return static_cast<BOOL>(SendMessage(TB_ADDBUTTONSW, count, reinterpret_cast<LPARAM>(buttons)));
    }
    BOOL InsertButton(int index, const TBBUTTON* button)
    {
        return static_cast<BOOL>(SendMessage(TB_INSERTBUTTONW, index, reinterpret_cast<LPARAM>(button)));
    }
    BOOL DeleteButton(int index) { return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, index)); }
    BOOL GetButton(int index, TBBUTTON* button) const
    {
        return static_cast<BOOL>(SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(button)));
    }
    int CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }
    BOOL EnableButton(int id, BOOL enable = TRUE)
    {
        return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0)));
    }
    BOOL CheckButton(int id, BOOL check = TRUE)
    {
        return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(check, 0)));
    }
    BOOL IsButtonEnabled(int id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, id)); }
    BOOL IsButtonChecked(int id) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONCHECKED, id)); }
    BOOL PressButton(int id, BOOL press = TRUE)
    {
        return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(press, 0)));
    }
    int GetState(int id) const { return static_cast<int>(SendMessage(TB_GETSTATE, id)); }
    BOOL SetState(int id, UINT state) { return static_cast<BOOL>(SendMessage(TB_SETSTATE, id, MAKELPARAM(state, 0))); }
    BOOL GetItemRect(int index, LPRECT rc) const
    {
        return static_cast<BOOL>(SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(rc)));
    }
    BOOL GetButtonInfo(int id, TBBUTTONINFOW* info) const
    {
        return static_cast<int>(SendMessage(TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info))) != -1;
    }
    BOOL SetButtonInfo(int id, const TBBUTTONINFOW* info)
    {
        return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(info)));
    }
    // Points a button at an image of the image list.
    BOOL SetButtonImage(int id, int image)
    {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_IMAGE;
        info.iImage = image;
        return SetButtonInfo(id, &info);
    }
    HIMAGELIST SetImageList(HIMAGELIST list)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList() const { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST)); }
    BOOL SetBitmapSize(int cx, int cy)
    {
        return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy)));
    }
    BOOL SetButtonSize(int cx, int cy)
    {
        return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(cx, cy)));
    }
    DWORD GetButtonSize() const { return static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE)); }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    BOOL GetMaxSize(LPSIZE size) const
    {
        return static_cast<BOOL>(SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(size)));
    }
    int GetHotItem() const { return static_cast<int>(SendMessage(TB_GETHOTITEM)); }
    int SetHotItem(int index) { return static_cast<int>(SendMessage(TB_SETHOTITEM, index)); }
    int HitTest(POINT pt) const { return static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt))); }
    DWORD SetExtendedStyle(DWORD exStyle) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, exStyle)); }
    HWND GetToolTips() const { return reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)); }
};

class CStatusBarCtrl : public CWindow {
public:
    CStatusBarCtrl(HWND h = nullptr) : CWindow(h) {}
    CStatusBarCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return STATUSCLASSNAMEW; }
    ALK_CONTROL_CREATE()
    // rightEdges: right edge of each part in client coordinates; -1 runs to the window's edge.
    BOOL SetParts(int count, const int* rightEdges)
    {
        return static_cast<BOOL>(SendMessage(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
    }
    int GetParts(int count, int* rightEdges) const
    {
        return static_cast<int>(SendMessage(SB_GETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
    }
    BOOL SetText(int part, LPCWSTR text, int type = 0)
    {
        return static_cast<BOOL>(SendMessage(SB_SETTEXTW, (part & 0xFF) | type, reinterpret_cast<LPARAM>(text)));
    }
    CString GetText(int part) const
    {
        int n = LOWORD(SendMessage(SB_GETTEXTLENGTHW, part));
        CString text;
        SendMessage(SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.GetBuffer(n)));
        text.ReleaseBuffer(n);
        return text;
    }
    BOOL IsSimple() const { return static_cast<BOOL>(SendMessage(SB_ISSIMPLE)); }
    void SetSimple(BOOL simple = TRUE) { SendMessage(SB_SIMPLE, simple); }
};

class CReBarCtrl : public CWindow {
public:
    CReBarCtrl(HWND h = nullptr) : CWindow(h) {}
    CReBarCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return REBARCLASSNAMEW; }
    ALK_CONTROL_CREATE()
    UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
    BOOL InsertBand(int index, const REBARBANDINFOW* band)
    {
        return static_cast<BOOL>(SendMessage(RB_INSERTBANDW, index, reinterpret_cast<LPARAM>(band)));
    }
    BOOL DeleteBand(int index) { return static_cast<BOOL>(SendMessage(RB_DELETEBAND, index)); }
    // band->cbSize and fMask must be set.
    BOOL GetBandInfo(int index, REBARBANDINFOW* band) const
    {
        return static_cast<BOOL>(SendMessage(RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(band)));
    }
    BOOL SetBandInfo(int index, const REBARBANDINFOW* band)
    {
        return static_cast<BOOL>(SendMessage(RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(band)));
    }
    int IdToIndex(UINT id) const { return static_cast<int>(SendMessage(RB_IDTOINDEX, id)); }
    BOOL MoveBand(int from, int to) { return static_cast<BOOL>(SendMessage(RB_MOVEBAND, from, to)); }
    BOOL ShowBand(int index, BOOL show) { return static_cast<BOOL>(SendMessage(RB_SHOWBAND, index, show)); }
    void MaximizeBand(int index) { SendMessage(RB_MAXIMIZEBAND, index, 0); }
    void MinimizeBand(int index) { SendMessage(RB_MINIMIZEBAND, index); }
    UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }
    UINT GetRowCount() const { return static_cast<UINT>(SendMessage(RB_GETROWCOUNT)); }
    BOOL GetRect(int index, LPRECT rc) const
    {
        return static_cast<BOOL>(SendMessage(RB_GETRECT, index, reinterpret_cast<LPARAM>(rc)));
    }
    // Style flags (RBBS_*), width and id of a band by index; false when there is no such band.
    BOOL GetBand(int index, UINT& style, UINT& cx, UINT& id) const
    {
        REBARBANDINFOW band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (!GetBandInfo(index, &band)) return FALSE;
        style = band.fStyle;
        cx = band.cx;
        id = band.wID;
        return TRUE;
    }
    BOOL SetBand(int index, UINT style, UINT cx)
    {
        REBARBANDINFOW band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE | RBBIM_SIZE;
        band.fStyle = style;
        band.cx = cx;
        return SetBandInfo(index, &band);
    }
};

class CToolTipCtrl : public CWindow {
public:
    CToolTipCtrl(HWND h = nullptr) : CWindow(h) {}
    static LPCWSTR GetWndClassName() { return TOOLTIPS_CLASSW; }
    ALK_CONTROL_CREATE()
};
