#include "framework/MessageMap.h"

LRESULT AlkReflectNotifications(HWND parent, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND child = nullptr;
    switch (uMsg) {
    case WM_COMMAND:
        if (lParam) child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY: child = reinterpret_cast<LPNMHDR>(lParam)->hwndFrom; break;
    case WM_PARENTNOTIFY:
        switch (LOWORD(wParam)) {
        case WM_CREATE:
        case WM_DESTROY: child = reinterpret_cast<HWND>(lParam); break;
        default: child = ::GetDlgItem(parent, HIWORD(wParam)); break;
        }
        break;
    case WM_DRAWITEM:
        if (wParam)  // menus (id 0) are drawn by their owner
            child = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam) child = ::GetDlgItem(parent, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)->CtlID);
        break;
    case WM_COMPAREITEM:
        if (wParam) child = reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        if (wParam) child = reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(lParam); break;
    default: break;
    }
    if (!child || !::IsWindow(child)) {
        handled = FALSE;
        return 1;
    }
    return ::SendMessageW(child, OCM__BASE + uMsg, wParam, lParam);
}

BOOL AlkDefaultReflectionHandler(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case OCM_COMMAND:
    case OCM_NOTIFY:
    case OCM_PARENTNOTIFY:
    case OCM_DRAWITEM:
    case OCM_MEASUREITEM:
    case OCM_COMPAREITEM:
    case OCM_DELETEITEM:
    case OCM_VKEYTOITEM:
    case OCM_CHARTOITEM:
    case OCM_HSCROLL:
    case OCM_VSCROLL:
    case OCM_CTLCOLORBTN:
    case OCM_CTLCOLORDLG:
    case OCM_CTLCOLOREDIT:
    case OCM_CTLCOLORLISTBOX:
    case OCM_CTLCOLORMSGBOX:
    case OCM_CTLCOLORSCROLLBAR:
    case OCM_CTLCOLORSTATIC: lResult = ::DefWindowProcW(hWnd, uMsg - OCM__BASE, wParam, lParam); return TRUE;
    default: return FALSE;
    }
}
