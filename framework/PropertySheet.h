// Property sheets and pages.
//
// CPropertySheetImpl<T>: a modal sheet. The caption comes from a string id (or text); pages
// are added in order with AddPage and the first is shown at start (or the start page given).
// The sheet shows OK and Cancel only (no Apply, no Help, no context-help button). DoModal runs
// it with the owner defaulting to the active window and answers 1 when it ended with OK, 0
// after Cancel, -1 when it could not be shown. While it runs, the sheet window's messages go
// to T's map (chain CHAIN_MSG_MAP(CPropertySheetImpl<T>)). Page handles made by AddPage belong
// to the sheet: the running sheet destroys them, and a sheet that never ran does.
//
// CPropertyPageImpl<T>: a page from the dialog template T::IDD (of the resource module); its
// tab text is the template's caption unless SetTitle gives one. The window exists from the
// first time the page is shown; pages never shown get no WM_INITDIALOG and no notifications.
// Chain CHAIN_MSG_MAP(CPropertyPageImpl<T>) for the sheet notifications, which call T's
// handlers (hide them to change the answer):
//   int  OnSetActive()     PSN_SETACTIVE: 0 accept, -1 refuse
//   BOOL OnKillActive()    PSN_KILLACTIVE: FALSE lets the page go, TRUE keeps it
//   int  OnApply()         PSN_APPLY: PSNRET_NOERROR, PSNRET_INVALID, PSNRET_INVALID_NOCHANGEPAGE
//   void OnReset()         PSN_RESET (cancelled)
//   BOOL OnQueryCancel()   PSN_QUERYCANCEL: TRUE lets the sheet cancel
//   LRESULT OnQuerySiblings(WPARAM, LPARAM)  PSM_QUERYSIBLINGS from another page: non-zero stops
// Only notifications from the page itself or its sheet are taken; the answers reach the sheet
// through DWLP_MSGRESULT. The page object must outlive the sheet's run.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "framework/WindowImpl.h"

class CPropertySheetWindow : public CWindow {
public:
    CPropertySheetWindow(HWND h = nullptr) : CWindow(h) {}
    int GetPageCount() const
    {
        HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
        return tab ? static_cast<int>(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0)) : 0;
    }
    HWND GetActivePage() const { return reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND)); }
    int GetActiveIndex() const
    {
        HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
        return tab ? static_cast<int>(::SendMessageW(tab, TCM_GETCURSEL, 0, 0)) : -1;
    }
    BOOL SetActivePage(int index) { return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, index, 0)); }
    void PressButton(int button) { SendMessage(PSM_PRESSBUTTON, button); }
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam) { return SendMessage(PSM_QUERYSIBLINGS, wParam, lParam); }
    void SetTitle(LPCWSTR title, UINT style = 0) { SendMessage(PSM_SETTITLEW, style, reinterpret_cast<LPARAM>(title)); }
};

class CPropertyPageWindow : public CWindow {
public:
    CPropertyPageWindow(HWND h = nullptr) : CWindow(h) {}
    CPropertySheetWindow GetPropertySheet() const { return CPropertySheetWindow(GetParent()); }
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageW(GetParent(), PSM_QUERYSIBLINGS, wParam, lParam);
    }
    void SetModified(BOOL changed = TRUE)
    {
        ::SendMessageW(GetParent(), changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
};

// The sheet machinery that does not depend on T.
class CPropertySheetBase {
public:
    // The sheet whose PropertySheet call is running on this thread.
    static CPropertySheetBase*& Running();
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);
    virtual void OnSheetInitialized(HWND hWnd) = 0;

protected:
    ~CPropertySheetBase() = default;
};

template <class T, class TBase = CPropertySheetWindow>
class CPropertySheetImpl : public CWindowImplRoot<TBase>, public CPropertySheetBase {
public:
    explicit CPropertySheetImpl(UINT titleId = 0, UINT startPage = 0, HWND parent = nullptr)
    {
        Init(titleId ? MAKEINTRESOURCEW(titleId) : nullptr, startPage, parent);
    }
    explicit CPropertySheetImpl(LPCWSTR title, UINT startPage = 0, HWND parent = nullptr)
    {
        Init(title, startPage, parent);
    }
    ~CPropertySheetImpl() override
    {
        if (!m_ran)
            for (HPROPSHEETPAGE page : m_pages) ::DestroyPropertySheetPage(page);
    }

    BOOL AddPage(HPROPSHEETPAGE page)
    {
        if (!page) return FALSE;
        m_pages.push_back(page);
        return TRUE;
    }
    template <class TPage>
    BOOL AddPage(TPage& page)
    {
        return AddPage(page.Create());
    }

    INT_PTR DoModal(HWND owner = ::GetActiveWindow())
    {
        if (m_pages.empty() || this->m_hWnd) return -1;
        m_psh.hwndParent = owner;
        m_psh.nPages = static_cast<UINT>(m_pages.size());
        m_psh.phpage = m_pages.data();
        CPropertySheetBase*& running = CPropertySheetBase::Running();
        CPropertySheetBase* outer = running;
        running = this;
        m_ran = true;
        INT_PTR result = ::PropertySheetW(&m_psh);
        running = outer;
        m_pages.clear();
        if (this->m_hWnd) this->UnsubclassWindow();
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }

    void SetTitle(LPCWSTR title) { m_psh.pszCaption = title; }
    void SetActivePage(UINT index) { m_psh.nStartPage = index; }

    PROPSHEETHEADERW m_psh{};

    // clang-format off
    BEGIN_MSG_MAP(CPropertySheetImpl)
    END_MSG_MAP()
    // clang-format on

    void OnSheetInitialized(HWND hWnd) override { this->SubclassWindow(hWnd); }

private:
    void Init(LPCWSTR title, UINT startPage, HWND parent)
    {
        m_psh.dwSize = sizeof m_psh;
        m_psh.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
        m_psh.hInstance = AlkGetResourceInstance();
        m_psh.pszCaption = title;
        m_psh.nStartPage = startPage;
        m_psh.hwndParent = parent;
        m_psh.pfnCallback = &CPropertySheetBase::SheetCallback;
    }

    std::vector<HPROPSHEETPAGE> m_pages;
    bool m_ran = false;
};

template <class T, class TBase = CPropertyPageWindow>
class CPropertyPageImpl : public CWindowImplRoot<TBase> {
public:
    explicit CPropertyPageImpl(LPCWSTR title = nullptr)
    {
        m_psp.dwSize = sizeof m_psp;
        m_psp.dwFlags = 0;
        m_psp.hInstance = AlkGetResourceInstance();
        m_psp.pszTemplate = MAKEINTRESOURCEW(T::IDD);
        m_psp.pfnDlgProc = &CWindowImplRootBase::PageDialogProc;
        m_psp.lParam = reinterpret_cast<LPARAM>(static_cast<CWindowImplRootBase*>(this));
        if (title) SetTitle(title);
    }

    // Tab text other than the template's caption (a string id or text).
    void SetTitle(LPCWSTR title)
    {
        m_psp.pszTitle = title;
        m_psp.dwFlags |= PSP_USETITLE;
    }
    void SetTitle(UINT titleId) { SetTitle(MAKEINTRESOURCEW(titleId)); }

    // A page handle for a sheet (the sheet that receives it owns it).
    HPROPSHEETPAGE Create() { return ::CreatePropertySheetPageW(&m_psp); }

    // Default answers.
    int OnSetActive() { return 0; }
    BOOL OnKillActive() { return FALSE; }
    int OnApply() { return PSNRET_NOERROR; }
    void OnReset() {}
    BOOL OnQueryCancel() { return TRUE; }
    LRESULT OnQuerySiblings(WPARAM, LPARAM) { return 0; }

    // Messages the map leaves get the dialog manager's default.
    LRESULT DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

    PROPSHEETPAGEW m_psp{};

    // clang-format off
    BEGIN_MSG_MAP(CPropertyPageImpl)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(PSM_QUERYSIBLINGS, OnQuerySiblingsMessage)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
    {
        auto* hdr = reinterpret_cast<LPNMHDR>(lParam);
        T* self = static_cast<T*>(this);
        if (hdr->hwndFrom != this->m_hWnd && hdr->hwndFrom != this->GetParent()) {
            bHandled = FALSE;
            return 0;
        }
        switch (hdr->code) {
        case PSN_SETACTIVE: return self->OnSetActive();
        case PSN_KILLACTIVE: return self->OnKillActive();
        case PSN_APPLY: return self->OnApply();
        case PSN_RESET: self->OnReset(); return 0;
        case PSN_QUERYCANCEL: return !self->OnQueryCancel();
        default: bHandled = FALSE; return 0;
        }
    }
    LRESULT OnQuerySiblingsMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        return static_cast<T*>(this)->OnQuerySiblings(wParam, lParam);
    }
};
