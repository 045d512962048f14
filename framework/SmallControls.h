// Wrappers of the small common controls (up-down, date and time picker, progress bar) and of
// the rich edit control.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "framework/ControlCreate.h"

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
