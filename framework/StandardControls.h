// Wrappers of the standard controls: static, button, edit, combo box and list box.
#pragma once

#include <windows.h>

#include "framework/ControlCreate.h"

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
