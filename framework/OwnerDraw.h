// COwnerDraw<T>: turns draw-item, measure-item, compare-item and delete-item messages into
// calls of T's DrawItem, MeasureItem, CompareItem and OwnerDrawDeleteItem (T may declare them
// virtual; the last is not called DeleteItem so that it does not collide with the list and
// combo controls' own DeleteItem).
//
// Map 0 takes the messages as a parent receives them (WM_DRAWITEM ...); alternate map 1 takes
// them reflected to the control itself (OCM_DRAWITEM ...): an owner-drawn control chains
// CHAIN_MSG_MAP_ALT(COwnerDraw<T>, 1) and its parent uses REFLECT_NOTIFICATIONS(). Menu items
// (control id 0) are left to whoever owns the menu. Draw and measure answer TRUE.
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"

template <class T>
class COwnerDraw {
public:
    // clang-format off
    BEGIN_MSG_MAP(COwnerDraw<T>)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(WM_COMPAREITEM, OnCompareItem)
        MESSAGE_HANDLER(WM_DELETEITEM, OnDeleteItem)
    ALT_MSG_MAP(1)
        MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(OCM_COMPAREITEM, OnCompareItem)
        MESSAGE_HANDLER(OCM_DELETEITEM, OnDeleteItem)
    END_MSG_MAP()
    // clang-format on

    // Defaults: nothing drawn, heights left as the control proposes, items equal.
    void DrawItem(LPDRAWITEMSTRUCT) {}
    void MeasureItem(LPMEASUREITEMSTRUCT) {}
    int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
    void OwnerDrawDeleteItem(LPDELETEITEMSTRUCT) {}

protected:
    ~COwnerDraw() = default;

    LRESULT OnDrawItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
    {
        if (uMsg == WM_DRAWITEM && wParam == 0) {  // a menu
            bHandled = FALSE;
            return 0;
        }
        static_cast<T*>(this)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        return TRUE;
    }
    LRESULT OnMeasureItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
    {
        if (uMsg == WM_MEASUREITEM && wParam == 0) {
            bHandled = FALSE;
            return 0;
        }
        static_cast<T*>(this)->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    }
    LRESULT OnCompareItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        return static_cast<T*>(this)->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
    }
    LRESULT OnDeleteItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        static_cast<T*>(this)->OwnerDrawDeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        return TRUE;
    }
};
