// Wrappers of the common and standard controls. Each is a CWindow (it owns nothing: the
// control is destroyed with its parent or by DestroyWindow) with the control's class name
// (GetWndClassName, so CWindowImpl<T, CListViewCtrl> superclasses the control) and its
// messages as members. Image lists given to a control stay owned by the caller unless the
// control's style says otherwise (LVS_SHAREIMAGELISTS etc., as the platform defines).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "framework/Window.h"

// Create(parent, rect, text, style, exStyle, id) of a control class: a window of the class
// GetWndClassName names.
#define ALK_CONTROL_CREATE()                                                                                         \
    HWND Create(HWND parent, const RECT& rc = rcDefault, LPCWSTR name = nullptr, DWORD style = 0, DWORD exStyle = 0, \
                UINT id = 0, LPVOID param = nullptr)                                                                 \
    {                                                                                                                \
        return CWindow::Create(GetWndClassName(), parent, rc, name, style, exStyle, id, param);                      \
    }

// --- static, button, edit, combo box, list box ------------------------------------------------

class CStatic : public CWindow {
public:
    CStatic(HWND h = nullptr) : CWindow(h) {}
    CStatic& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"STATIC"; }
    ALK_CONTROL_CREATE()
    HBITMAP SetBitmap(HBITMAP bmp)
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)));
    }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
    HICON SetIcon(HICON icon)
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
};

class CButton : public CWindow {
public:
    CButton(HWND h = nullptr) : CWindow(h) {}
    CButton& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"BUTTON"; }
    ALK_CONTROL_CREATE()
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
    void Click() { SendMessage(BM_CLICK); }
};

class CEdit : public CWindow {
public:
    CEdit(HWND h = nullptr) : CWindow(h) {}
    CEdit& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"EDIT"; }
    ALK_CONTROL_CREATE()
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, start, end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    void SetSelAll(BOOL noScroll = FALSE) { SetSel(0, -1, noScroll); }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
        start = static_cast<int>(s);
        end = static_cast<int>(e);
    }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
    }
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
};

class CComboBox : public CWindow {
public:
    CComboBox(HWND h = nullptr) : CWindow(h) {}
    CComboBox& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"COMBOBOX"; }
    ALK_CONTROL_CREATE()
    int AddString(LPCWSTR s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int index, LPCWSTR s)
    {
        return static_cast<int>(SendMessage(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s)));
    }
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, index)); }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, index, static_cast<LPARAM>(data)));
    }
    int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, index)); }
    int GetLBText(int index, CString& text) const
    {
        int n = GetLBTextLen(index);
        if (n < 0) {
            text.Empty();
            return n;
        }
        int got = static_cast<int>(SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(n))));
        text.ReleaseBuffer(got < 0 ? 0 : got);
        return got;
    }
    int FindStringExact(int start, LPCWSTR s) const
    {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, start, reinterpret_cast<LPARAM>(s)));
    }
    int SelectString(int start, LPCWSTR s)
    {
        return static_cast<int>(SendMessage(CB_SELECTSTRING, start, reinterpret_cast<LPARAM>(s)));
    }
    BOOL ShowDropDown(BOOL show = TRUE) { return static_cast<BOOL>(SendMessage(CB_SHOWDROPDOWN, show)); }
    BOOL LimitText(int max) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, max)); }
};

class CListBox : public CWindow {
public:
    CListBox(HWND h = nullptr) : CWindow(h) {}
    CListBox& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"LISTBOX"; }
    ALK_CONTROL_CREATE()
    int AddString(LPCWSTR s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s))); }
    int InsertString(int index, LPCWSTR s)
    {
        return static_cast<int>(SendMessage(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s)));
    }
    int DeleteString(int index) { return static_cast<int>(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, index)); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, index)); }
    int SetItemData(int index, DWORD_PTR data)
    {
        return static_cast<int>(SendMessage(LB_SETITEMDATA, index, static_cast<LPARAM>(data)));
    }
    int GetTextLen(int index) const { return static_cast<int>(SendMessage(LB_GETTEXTLEN, index)); }
    int GetText(int index, CString& text) const
    {
        int n = GetTextLen(index);
        if (n < 0) {
            text.Empty();
            return n;
        }
        int got = static_cast<int>(SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(n))));
        text.ReleaseBuffer(got < 0 ? 0 : got);
        return got;
    }
    int FindStringExact(int start, LPCWSTR s) const
    {
        return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, start, reinterpret_cast<LPARAM>(s)));
    }
};

// --- list view and header ---------------------------------------------------------------------

class CHeaderCtrl : public CWindow {
public:
    CHeaderCtrl(HWND h = nullptr) : CWindow(h) {}
    CHeaderCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return WC_HEADERW; }
    ALK_CONTROL_CREATE()
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int index, HDITEMW* item) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMW, index, reinterpret_cast<LPARAM>(item)));
    }
    BOOL SetItem(int index, const HDITEMW* item)
    {
        return static_cast<BOOL>(SendMessage(HDM_SETITEMW, index, reinterpret_cast<LPARAM>(item)));
    }
    BOOL GetItemRect(int index, LPRECT rc) const
    {
        return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rc)));
    }
    // The alignment and arrow flags (HDF_*) of an item's format; -1 when the item is missing.
    int GetItemFormat(int index) const
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        return GetItem(index, &item) ? item.fmt : -1;
    }
    BOOL SetItemFormat(int index, int fmt)
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        item.fmt = fmt;
        return SetItem(index, &item);
    }
};

class CListViewCtrl : public CWindow {
public:
    CListViewCtrl(HWND h = nullptr) : CWindow(h) {}
    CListViewCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return WC_LISTVIEWW; }
    ALK_CONTROL_CREATE()

    // columns
    int InsertColumn(int index, LPCWSTR title, int format = LVCFMT_LEFT, int width = -1, int subItem = -1)
    {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_FMT;
        col.pszText = const_cast<LPWSTR>(title);
        col.fmt = format;
        if (width != -1) {
            col.mask |= LVCF_WIDTH;
            col.cx = width;
        }
        if (subItem != -1) {
            col.mask |= LVCF_SUBITEM;
            col.iSubItem = subItem;
        }
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col)));
    }
    BOOL DeleteColumn(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, index)); }
    int GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, index)); }
    BOOL SetColumnWidth(int index, int width)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, index, width));
    }
    BOOL GetColumn(int index, LVCOLUMNW* col) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(col)));
    }
    CHeaderCtrl GetHeader() const { return CHeaderCtrl(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))); }

    // items
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(const LVITEMW* item)
    {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
    }
    int InsertItem(int index, LPCWSTR text, int image = -1)
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text);
        if (image != -1) {
            item.mask |= LVIF_IMAGE;
            item.iImage = image;
        }
        return InsertItem(&item);
    }
    int InsertItem(UINT mask, int index, LPCWSTR text, UINT state, UINT stateMask, int image, LPARAM param)
    {
        LVITEMW item{};
        item.mask = mask;
        item.iItem = index;
        item.pszText = const_cast<LPWSTR>(text);
        item.state = state;
        item.stateMask = stateMask;
        item.iImage = image;
        item.lParam = param;
        return InsertItem(&item);
    }
    BOOL DeleteItem(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, index)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL GetItem(LVITEMW* item) const
    {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
    }
    BOOL SetItem(const LVITEMW* item)
    {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
    }
    BOOL SetItemText(int index, int subItem, LPCWSTR text)
    {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = const_cast<LPWSTR>(text);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    }
    int GetItemText(int index, int subItem, LPWSTR buf, int max) const
    {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buf;
        item.cchTextMax = max;
        return static_cast<int>(SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    }
    CString GetItemText(int index, int subItem) const
    {
        CString text;
        for (int size = 128;; size *= 2) {
            int n = GetItemText(index, subItem, text.GetBuffer(size), size + 1);
            text.ReleaseBuffer(n);
            if (n < size || size > 65536) break;
        }
        return text;
    }
    DWORD_PTR GetItemData(int index) const
    {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
    }
    BOOL SetItemData(int index, DWORD_PTR data)
    {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        item.lParam = static_cast<LPARAM>(data);
        return SetItem(&item);
    }
    // The first item after start (-1: from the beginning) whose item data equals data; -1 if none.
    int FindItemByData(DWORD_PTR data, int start = -1) const
    {
        LVFINDINFOW find{};
        find.flags = LVFI_PARAM;
        find.lParam = static_cast<LPARAM>(data);
        return static_cast<int>(SendMessage(LVM_FINDITEMW, start, reinterpret_cast<LPARAM>(&find)));
    }
    int FindItem(const LVFINDINFOW* find, int start = -1) const
    {
        return static_cast<int>(SendMessage(LVM_FINDITEMW, start, reinterpret_cast<LPARAM>(find)));
    }
    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask));
    }
    BOOL SetItemState(int index, UINT state, UINT mask)
    {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)));
    }
    // Selects (and focuses) one item; with -1 nothing changes and FALSE is returned.
    BOOL SelectItem(int index)
    {
        if (index < 0) return FALSE;
        BOOL ok = SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(index, FALSE);
        return ok;
    }
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags));
    }
    int GetSelectedIndex() const { return GetNextItem(-1, LVNI_SELECTED); }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    BOOL EnsureVisible(int index, BOOL partialOK)
    {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, index, partialOK));
    }
    BOOL GetItemRect(int index, LPRECT rc, UINT code) const
    {
        rc->left = static_cast<LONG>(code);
        return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(rc)));
    }
    int HitTest(LVHITTESTINFO* info) const
    {
        return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
    int HitTest(POINT pt, UINT* flags = nullptr) const
    {
        LVHITTESTINFO info{};
        info.pt = pt;
        int index = HitTest(&info);
        if (flags) *flags = info.flags;
        return index;
    }
    BOOL SortItems(PFNLVCOMPARE compare, LPARAM param)
    {
        return static_cast<BOOL>(
            SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(param), reinterpret_cast<LPARAM>(compare)));
    }
    BOOL RedrawItems(int first, int last) { return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, first, last)); }

    // look
    DWORD GetExtendedListViewStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedListViewStyle(DWORD exStyle, DWORD mask = 0)
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, exStyle));
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int which)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList(int which) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, which));
    }
    COLORREF GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
    BOOL SetBkColor(COLORREF c) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, c)); }
    BOOL SetTextBkColor(COLORREF c) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, c)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
};

// --- bars -------------------------------------------------------------------------------------

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

// --- small controls ---------------------------------------------------------------------------

class CUpDownCtrl : public CWindow {
public:
    CUpDownCtrl(HWND h = nullptr) : CWindow(h) {}
    CUpDownCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return UPDOWN_CLASSW; }
    ALK_CONTROL_CREATE()
    void SetRange32(int lower, int upper) { SendMessage(UDM_SETRANGE32, lower, upper); }
    void GetRange32(int& lower, int& upper) const
    {
        SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    }
    int SetPos32(int pos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    int GetPos32(BOOL* error = nullptr) const
    {
        return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
    }
    BOOL SetAccel(int count, const UDACCEL* accel)
    {
        return static_cast<BOOL>(SendMessage(UDM_SETACCEL, count, reinterpret_cast<LPARAM>(accel)));
    }
    UINT GetAccel(int count, UDACCEL* accel) const
    {
        return static_cast<UINT>(SendMessage(UDM_GETACCEL, count, reinterpret_cast<LPARAM>(accel)));
    }
    HWND SetBuddy(HWND buddy)
    {
        return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)));
    }
    HWND GetBuddy() const { return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)); }
};

class CDateTimePickerCtrl : public CWindow {
public:
    CDateTimePickerCtrl(HWND h = nullptr) : CWindow(h) {}
    CDateTimePickerCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return DATETIMEPICK_CLASSW; }
    ALK_CONTROL_CREATE()
    // GDT_VALID, GDT_NONE or GDT_ERROR.
    DWORD GetSystemTime(SYSTEMTIME* st) const
    {
        return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(st)));
    }
    BOOL SetSystemTime(DWORD flags, const SYSTEMTIME* st)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, flags, reinterpret_cast<LPARAM>(st)));
    }
    BOOL SetFormat(LPCWSTR format)
    {
        return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
    }
};

class CProgressBarCtrl : public CWindow {
public:
    CProgressBarCtrl(HWND h = nullptr) : CWindow(h) {}
    CProgressBarCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return PROGRESS_CLASSW; }
    ALK_CONTROL_CREATE()
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, lower, upper); }
    int SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, pos)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, step)); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, delta)); }
};

// Rich edit 2.0 (RICHEDIT20W): the caller loads RICHED20.DLL before creating one.
class CRichEditCtrl : public CWindow {
public:
    CRichEditCtrl(HWND h = nullptr) : CWindow(h) {}
    CRichEditCtrl& operator=(HWND h)
    {
        m_hWnd = h;
        return *this;
    }
    static LPCWSTR GetWndClassName() { return L"RichEdit20W"; }
    ALK_CONTROL_CREATE()
    BOOL SetAutoURLDetect(BOOL on = TRUE) { return SendMessage(EM_AUTOURLDETECT, on) == 0; }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    DWORD GetEventMask() const { return static_cast<DWORD>(SendMessage(EM_GETEVENTMASK)); }
    DWORD SetEventMask(DWORD mask) { return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, mask)); }
    // TM_PLAINTEXT etc.; only on an empty control.
    BOOL SetTextMode(UINT mode) { return SendMessage(EM_SETTEXTMODE, mode) == 0; }
    UINT GetTextMode() const { return static_cast<UINT>(SendMessage(EM_GETTEXTMODE)); }
    void GetSel(CHARRANGE& range) const { SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range)); }
    int SetSel(CHARRANGE& range)
    {
        return static_cast<int>(SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)));
    }
    int SetSel(LONG start, LONG end)
    {
        CHARRANGE range{start, end};
        return SetSel(range);
    }
    void SetSelAll() { SetSel(0, -1); }
    CString GetSelText() const
    {
        CHARRANGE range{};
        GetSel(range);
        int n = range.cpMax > range.cpMin ? range.cpMax - range.cpMin : 0;
        CString text;
        int got = static_cast<int>(SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.GetBuffer(n))));
        text.ReleaseBuffer(got < 0 ? 0 : got);
        return text;
    }
    WORD GetSelectionType() const { return static_cast<WORD>(SendMessage(EM_SELECTIONTYPE)); }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
    }
    void Copy() { SendMessage(WM_COPY); }
};

// --- image list -------------------------------------------------------------------------------

// Owns its image list unless made from a handle with owns = false (the default for Attach).
class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList(HIMAGELIST h = nullptr) : m_hImageList(h) {}
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() {}  // like a handle: Destroy frees the list explicitly

    operator HIMAGELIST() const { return m_hImageList; }
    bool IsNull() const { return m_hImageList == nullptr; }

    HIMAGELIST Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList;
    }
    BOOL Destroy()
    {
        if (!m_hImageList) return FALSE;
        BOOL ok = ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    void Attach(HIMAGELIST h) { m_hImageList = h; }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int AddIcon(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(HBITMAP bmp, HBITMAP mask = nullptr) { return ImageList_Add(m_hImageList, bmp, mask); }
    int Add(HBITMAP bmp, COLORREF maskColor) { return ImageList_AddMasked(m_hImageList, bmp, maskColor); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL RemoveAll() { return ImageList_Remove(m_hImageList, -1); }
    HICON GetIcon(int index, UINT flags = ILD_NORMAL) const { return ImageList_GetIcon(m_hImageList, index, flags); }
    BOOL GetIconSize(int& cx, int& cy) const { return ImageList_GetIconSize(m_hImageList, &cx, &cy); }
    BOOL Draw(HDC dc, int index, int x, int y, UINT style)
    {
        return ImageList_Draw(m_hImageList, index, dc, x, y, style);
    }
};
