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
// To see Alt, F10 and the menus' owner-drawn icons the bar hooks its parent with a window
// subclass (SetWindowSubclass); to see Alt+letter typed in any window below the parent it keeps
// a WH_GETMESSAGE hook on its thread. Both go when the bar is destroyed.
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
    END_MSG_MAP()
    // clang-format on

    // Entry of the parent subclass (public for the subclass procedure).
    LRESULT ParentMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
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

    void EnterKeyboardMode();
    void LeaveKeyboardMode();
    int FindMnemonic(wchar_t ch) const;
    void ApplyIcons(HMENU menu);
    int ButtonCount() const
    {
        return static_cast<int>(const_cast<CCommandBarCtrl*>(this)->SendMessage(TB_BUTTONCOUNT));
    }

    HWND m_parent = nullptr;
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
