// Wrappers of the list view and its column header.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/ControlCreate.h"

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
