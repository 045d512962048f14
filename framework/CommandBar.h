// CCommandBarCtrl: a flat, list-style toolbar that shows a window's menu, so the menu can live
// in a rebar band, and that puts command icons beside menu items.
//
// AttachMenu(menu) makes one button per top-level item and, when the menu is the parent
// window's own, takes it off the window's menu bar. The menu stays the caller's (a frame frees
// the menu it loaded when it is destroyed). A
// click on a button, Alt or F10 followed by the arrow keys, or Alt+mnemonic opens that item's
// popup with the bar's parent as the menu's owner: the parent receives WM_INITMENUPOPUP (so a
// CUpdateUI there updates the items), WM_MENUSELECT and the chosen WM_COMMAND. Left and Right,
// or moving the mouse to another button, switch popups while one is open.
//
// AddIcon(icon, command) shows the icon beside every menu item with that command (the bar's
// own menu and popups it tracks for others), drawn at the small-icon size. The bar borrows the
// icon: the caller keeps it alive as long as the bar.
//
// TrackPopupMenu(menu, flags, x, y) tracks a popup for another window of the program (a list's
// context menu) with the icons applied; commands and WM_INITMENUPOPUP go to the bar's parent.
//
// To see Alt and F10, the highlighted menu item and the menus' owner-drawn icons the bar needs
// some of its parent's messages (WM_SYSCOMMAND, WM_MENUSELECT, WM_MEASUREITEM, WM_DRAWITEM), before
// the parent's own handlers see them. They reach the bar's parent map (ALT_MSG_MAP(kParentMap))
// in one of two ways:
//   - the parent's map chains them there as its first entry:
//         CHAIN_MSG_MAP_ALT_MEMBER(m_cmdBar, CCommandBarCtrl::kParentMap)
//     the way a frame with many busy children should (the main window does): a call per message;
//   - for any other parent the bar subclasses it (SetWindowSubclass). A subclassed window reads
//     its subclass data from a window property three times a message, and under Wine each read is
//     a round trip to the window server: a list of many rows sends its parent a notification a
//     row, and the frame above gets every one.
// Create asks the parent which it is (ParentChainsMessageId(), answered by the parent map, so only
// a parent that chains answers it) and subclasses only when no answer comes. The parent map takes
// the messages of the bar's parent alone, and none once the bar's window is gone.
//
// To see Alt+letter typed in any window below the parent the bar keeps a WH_GETMESSAGE hook on
// its thread. The hook and a subclass go when the bar is destroyed.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>

#include "framework/Controls.h"
#include "framework/Frame.h"
#include "framework/WindowImpl.h"

class CCommandBarCtrl : public CWindowImpl<CCommandBarCtrl, CToolBarCtrl> {
public:
    DECLARE_WND_SUPERCLASS(L"Alk.CommandBar", TOOLBARCLASSNAMEW)

    CCommandBarCtrl() = default;
    ~CCommandBarCtrl() override;

    HWND Create(HWND parent, const RECT& rc = rcDefault, LPCWSTR name = nullptr,
                DWORD style = ALK_SIMPLE_CMDBAR_PANE_STYLE, DWORD exStyle = 0, UINT id = ALK_IDW_COMMAND_BAR,
                LPVOID param = nullptr);

    BOOL AttachMenu(HMENU menu);
    HMENU GetMenu() const { return m_menu; }

    // The icon is borrowed; replaces an earlier icon of the same command.
    BOOL AddIcon(HICON icon, UINT command);
    BOOL RemoveAllImages();

    // Returns what ::TrackPopupMenuEx returns (the command with TPM_RETURNCMD).
    BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, LPTPMPARAMS params = nullptr);

    // Opens the popup of a top-level item (what a click does); returns when it closed.
    void OpenMenu(int index, bool byKeyboard);
    // The top-level item whose popup is open, -1 when none.
    int GetOpenMenuIndex() const { return m_openIndex; }
    bool IsKeyboardMode() const { return m_keyboardMode; }

    // clang-format off
    BEGIN_MSG_MAP(CCommandBarCtrl)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSysKeyDown)
        MESSAGE_HANDLER(WM_CHAR, OnChar)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(OpenMenuMessageId(), OnOpenMenuMessage)
    ALT_MSG_MAP(kParentMap)
        if (!m_parent || hWnd != m_parent) return FALSE;  // another window's, or the bar is gone
        MESSAGE_HANDLER(WM_SYSCOMMAND, OnParentSysCommand)
        MESSAGE_HANDLER(WM_MENUSELECT, OnParentMenuSelect)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnParentMeasureItem)
        MESSAGE_HANDLER(WM_DRAWITEM, OnParentDrawItem)
        MESSAGE_HANDLER(WM_NCDESTROY, OnParentNcDestroy)
        MESSAGE_HANDLER(ParentChainsMessageId(), OnParentChains)
    END_MSG_MAP()
    // clang-format on

    // The id of the map of the parent's messages (see the top of this file).
    enum { kParentMap = 1 };
    // Sent by Create to the parent, lParam the bar: the bar's parent map answers with lParam, and
    // that answer means that the parent's map chains its messages there (no subclass then).
    static UINT ParentChainsMessageId()
    {
        static const UINT id = ::RegisterWindowMessageW(L"Alk.CommandBar.ParentChains");
        return id;
    }
    // True when the parent subclass carries the parent's messages to the bar (not its map).
    bool IsParentSubclassed() const { return m_parentSubclassed; }

    // The top-level item whose mnemonic is ch when root is the bar's parent; -1 otherwise.
    int MnemonicFor(HWND root, wchar_t ch) const;
    static UINT OpenMenuMessageId()
    {
        static const UINT id = ::RegisterWindowMessageW(L"Alk.CommandBar.OpenMenu");
        return id;
    }

    // Entries of the menu message hook and the mouse watch while a popup is open.
    bool MenuFilter(MSG* msg);
    void CheckHover();

private:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKillFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTALLKEYS; }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOpenMenuMessage(UINT, WPARAM, LPARAM, BOOL&);
    // The parent's messages (hWnd of the map is the parent's then).
    LRESULT OnParentSysCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentMenuSelect(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentNcDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentChains(UINT, WPARAM, LPARAM, BOOL&);
    // Takes the parent subclass off (when there is one) and forgets the parent.
    void LeaveParent();

    void EnterKeyboardMode();
    void LeaveKeyboardMode();
    int FindMnemonic(wchar_t ch) const;
    void ApplyIcons(HMENU menu);
    int ButtonCount() const
    {
        return static_cast<int>(const_cast<CCommandBarCtrl*>(this)->SendMessage(TB_BUTTONCOUNT));
    }

    HWND m_parent = nullptr;  // while the bar's window exists
    bool m_parentSubclassed = false;
    HMENU m_menu = nullptr;
    std::map<UINT, HICON> m_icons;
    bool m_keyboardMode = false;
    HWND m_focusBefore = nullptr;
    int m_openIndex = -1;
    int m_nextIndex = -1;  // popup to open after the current one closes
    bool m_nextByKeyboard = false;
    HMENU m_trackedPopup = nullptr;
    HMENU m_selectedMenu = nullptr;  // from WM_MENUSELECT: the menu with the highlighted item
    UINT m_selectedFlags = 0;
    POINT m_lastMouse{-1, -1};
};
