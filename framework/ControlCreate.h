// What every control wrapper shares. Each wrapper is a CWindow (it owns nothing: the control is
// destroyed with its parent or by DestroyWindow) with the control's class name (GetWndClassName,
// so CWindowImpl<T, CListViewCtrl> superclasses the control) and its messages as members. Image
// lists given to a control stay owned by the caller unless the control's style says otherwise
// (LVS_SHAREIMAGELISTS etc., as the platform defines).
#pragma once

#include <windows.h>

#include "framework/Window.h"

// Create(parent, rect, text, style, exStyle, id) of a control class: a window of the class
// GetWndClassName names.
#define ALK_CONTROL_CREATE()                                                                                         \
    HWND Create(HWND parent, const RECT& rc = rcDefault, LPCWSTR name = nullptr, DWORD style = 0, DWORD exStyle = 0, \
                UINT id = 0, LPVOID param = nullptr)                                                                 \
    {                                                                                                                \
        return CWindow::Create(GetWndClassName(), parent, rc, name, style, exStyle, id, param);                      \
    }
