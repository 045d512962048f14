// CCustomListView: the report-style list view under the main window's lists (vehicles, entries,
// reminders, quick statistics).
//
// What every list gets from it:
// - a notice, string "There are no items in this list.", drawn in place of the background while
//   the list holds no rows; after a load that failed, why the list could not be read instead (an
//   unreadable list is never shown as an empty one);
// - no horizontal scroll bar: the style is taken off whenever the window moves or is sized;
// - its context menu, a popup of the context-menu resource chosen by the derived class, tracked
//   through the main frame's command bar so that the bar's icons show and the commands reach
//   the frame; PrepareContextMenu greys what does not apply before it shows;
// - a small-icon image list, owned by the object (the control only borrows it: the lists set
//   LVS_SHAREIMAGELISTS before they install it);
// - DrawItem and MeasureItem for lists with owner-drawn rows, called for the draw-item and
//   measure-item messages the parent reflects back to the control;
// - a column header painted while it has no columns yet (the entry list's, until a database is
//   connected): some header controls paint only their items and the space after them, and would
//   leave the strip showing whatever was on the screen.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/CommandBar.h"
#include "framework/Controls.h"
#include "framework/OwnerDraw.h"
#include "framework/String.h"
#include "framework/WindowImpl.h"

// A list-view control whose messages go to T's map, with the owner-draw messages reflected to
// it turned into calls of T's DrawItem and MeasureItem.
template <class T>
class COwnerDrawnListViewCtrl
    : public CWindowImpl<T, CListViewCtrl, CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0>>,
      public COwnerDraw<T> {
public:
    // clang-format off
    BEGIN_MSG_MAP(COwnerDrawnListViewCtrl)
        CHAIN_MSG_MAP_ALT(COwnerDraw<T>, 1)
    END_MSG_MAP()
    // clang-format on
};

class CCustomListView : public COwnerDrawnListViewCtrl<CCustomListView> {
public:
    CCustomListView();
    ~CCustomListView() override;

    // The command bar the context menu is tracked through (borrowed; the frame's).
    void SetCommandBar(CCommandBarCtrl* commandBar) { m_commandBar = commandBar; }

    // Index of the first row whose item data is param; -1 when none.
    int FindItemByParam(LPARAM param) const;
    // Item data of the first selected row; null when none is selected.
    void* GetSelectedItemData() const;
    // Unselects every row.
    void ClearSelection();
    // Widens the column to take the width the other columns leave in the client area (less 5
    // pixels). Nothing for -1 or a list without a header.
    void AutoSizeColumn(int column);
    // Moves the control down a pixel and back: after a bulk change it recomputes its scroll bars
    // and repaints.
    void NudgeLayout();
    // After a load of the list's records: the notice of an empty list, or (not loaded) why the
    // load of the program's connection failed.
    void ShowLoadResult(BOOL loaded);
    // The notice drawn while the list holds no rows.
    const CString& GetNotice() const { return m_notice; }

    // Adjusts the context popup before it shows (greys the commands that do not apply).
    virtual void PrepareContextMenu(HMENU popup) = 0;
    // Owner-drawn rows; lists with ordinary rows leave them empty.
    virtual void DrawItem(LPDRAWITEMSTRUCT item) = 0;
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item) = 0;

    // clang-format off
    BEGIN_MSG_MAP(CCustomListView)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnHeaderCustomDraw)
        CHAIN_MSG_MAP(COwnerDrawnListViewCtrl<CCustomListView>)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    // clang-format on

protected:
    // Popup of the context-menu resource serving as this list's context menu; -1 for none.
    int m_contextSubMenu;
    CCommandBarCtrl* m_commandBar;
    // Images of SmallIconSize, 32-bit colour with a mask.
    CImageList m_imageList;

    // Adds an icon resource of the program at SmallIconSize to the image list; its index, or -1.
    int AddIconResource(UINT id);
    // Gives the control the image list as its small-image list, for the control to borrow.
    void InstallImageList();

private:
    LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    // The header's own custom draw, which it sends to the list (its parent).
    LRESULT OnHeaderCustomDraw(int, LPNMHDR header, BOOL& handled);
    void DrawEmptyNotice(HDC dc);

    CString m_notice;
};
