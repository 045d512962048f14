// CDialogImpl<T>: a dialog made from the template T::IDD, its messages routed to T's message
// map (see framework/MessageMap.h; a handler's result goes to DWLP_MSGRESULT, or is the
// procedure's answer for WM_INITDIALOG, WM_CTLCOLOR* and the few others that answer directly).
//
// The template comes from the resource module (framework/Module.h): the executable's, or a
// DLL's own when the DLL links the framework. DoModal runs the platform's modal loop; its owner
// defaults to the active window. EndDialog ends a modal dialog; called from another thread it
// asks the dialog's own thread to end it. Create makes a modeless dialog, which DestroyWindow
// ends. The object must outlive its dialog window.
#pragma once

#include <windows.h>

#include "framework/WindowImpl.h"

template <class T, class TBase = CWindow>
class CDialogImpl : public CWindowImplRoot<TBase> {
public:
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return this->CreateBound(static_cast<INT_PTR>(-1), [&] {
            m_modal = true;
            INT_PTR result = ::DialogBoxParamW(AlkGetResourceInstance(), MAKEINTRESOURCEW(T::IDD), owner,
                                               &CWindowImplRootBase::DialogProc, initParam);
            m_modal = false;
            return result;
        });
    }

    BOOL EndDialog(int result)
    {
        ALK_ASSERT(this->m_hWnd != nullptr);
        if (!this->m_hWnd) return FALSE;
        if (::GetWindowThreadProcessId(this->m_hWnd, nullptr) != ::GetCurrentThreadId())
            return ::PostMessageW(this->m_hWnd, CWindowImplRootBase::EndDialogMessage(), static_cast<WPARAM>(result),
                                  0);
        return ::EndDialog(this->m_hWnd, result);
    }

    HWND Create(HWND parent, LPARAM initParam = 0)
    {
        return this->CreateBound(static_cast<HWND>(nullptr), [&] {
            return ::CreateDialogParamW(AlkGetResourceInstance(), MAKEINTRESOURCEW(T::IDD), parent,
                                        &CWindowImplRootBase::DialogProc, initParam);
        });
    }

    bool IsModal() const { return m_modal; }

    // Messages the map leaves get the dialog manager's default (not DefWindowProc).
    LRESULT DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

private:
    bool m_modal = false;
};
