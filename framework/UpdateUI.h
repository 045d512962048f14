// CUpdateUI<T>: enabling and checking of commands in menus and toolbars from one table.
//
//   BEGIN_UPDATE_UI_MAP(CMainFrame)
//       UPDATE_ELEMENT(ID_NEW_ENTRY, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
//       UPDATE_ELEMENT(ID_VIEW_PICTURE, UPDUI_MENUPOPUP)
//   END_UPDATE_UI_MAP()
//
// UIEnable and UISetCheck change the state kept for an id. Menus take it when a popup opens:
// chain the class's map (CHAIN_MSG_MAP(CUpdateUI<T>)) so that WM_INITMENUPOPUP reaches it; it
// sets every item of the opening popup whose id is in the table (UPDUI_MENUPOPUP) and leaves
// the others alone, so ids outside the table stay as the menu has them (enabled, unless
// someone greyed them). Toolbars take it in UIUpdateToolBar, which a frame calls from OnIdle,
// for the toolbars given to UIAddToolBar (borrowed handles) and the entries marked
// UPDUI_TOOLBAR; only changed entries are sent, unless forced.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "framework/MessageMap.h"

#define UPDUI_ENABLED  0x0000
#define UPDUI_DISABLED 0x0100
#define UPDUI_CHECKED  0x0200
#define UPDUI_CHECKED2 0x0400
#define UPDUI_RADIO    0x0800
#define UPDUI_DEFAULT  0x1000

#define UPDUI_MENUPOPUP   0x0001
#define UPDUI_MENUBAR     0x0002
#define UPDUI_CHILDWINDOW 0x0004
#define UPDUI_TOOLBAR     0x0008
#define UPDUI_STATUSBAR   0x0010

struct CUpdateUIMapEntry {
    WORD id;
    WORD type;  // UPDUI_MENUPOPUP, UPDUI_TOOLBAR ...
};

#define BEGIN_UPDATE_UI_MAP(thisClass)               \
    static const CUpdateUIMapEntry* GetUpdateUIMap() \
    {                                                \
        static const CUpdateUIMapEntry theMap[] = {
#define UPDATE_ELEMENT(id, type) {static_cast<WORD>(id), static_cast<WORD>(type)},
#define END_UPDATE_UI_MAP()      \
    {                            \
        static_cast<WORD>(-1), 0 \
    }                            \
    }                            \
    ;                            \
    return theMap;               \
    }

template <class T>
class CUpdateUI {
public:
    CUpdateUI()
    {
        for (const CUpdateUIMapEntry* e = T::GetUpdateUIMap(); e->id != static_cast<WORD>(-1); ++e)
            m_entries.push_back(Entry{e->id, e->type, 0, true});
    }

    // clang-format off
    BEGIN_MSG_MAP(CUpdateUI<T>)
        MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    END_MSG_MAP()
    // clang-format on

    BOOL UIEnable(int id, BOOL enable, BOOL forceUpdate = FALSE)
    {
        return Change(id, UPDUI_DISABLED, enable ? 0 : UPDUI_DISABLED, forceUpdate);
    }
    // check: 0 unchecked, 1 checked, 2 indeterminate (toolbars show it as pressed).
    BOOL UISetCheck(int id, int check, BOOL forceUpdate = FALSE)
    {
        WORD bits = check == 1 ? UPDUI_CHECKED : check == 2 ? UPDUI_CHECKED2 : 0;
        return Change(id, UPDUI_CHECKED | UPDUI_CHECKED2, bits, forceUpdate);
    }
    BOOL UISetRadio(int id, BOOL radio, BOOL forceUpdate = FALSE)
    {
        return Change(id, UPDUI_RADIO, radio ? UPDUI_RADIO : 0, forceUpdate);
    }
    // The state bits of an id (UPDUI_DISABLED, UPDUI_CHECKED ...); 0 when not in the table.
    DWORD UIGetState(int id) const
    {
        const Entry* e = Find(id);
        return e ? e->state : 0;
    }

    BOOL UIAddToolBar(HWND toolBar)
    {
        if (!toolBar) return FALSE;
        m_toolBars.push_back(toolBar);
        for (Entry& e : m_entries) e.toolBarDirty = true;
        return TRUE;
    }

    // Applies changed entries to the toolbars (every entry with force).
    BOOL UIUpdateToolBar(BOOL force = FALSE)
    {
        for (Entry& e : m_entries) {
            if (!(e.type & UPDUI_TOOLBAR) || (!e.toolBarDirty && !force)) continue;
            for (HWND tb : m_toolBars) {
                if (!::IsWindow(tb)) continue;
                ::SendMessageW(tb, TB_ENABLEBUTTON, e.id, MAKELPARAM(!(e.state & UPDUI_DISABLED), 0));
                ::SendMessageW(tb, TB_CHECKBUTTON, e.id,
                               MAKELPARAM((e.state & (UPDUI_CHECKED | UPDUI_CHECKED2)) != 0, 0));
            }
            e.toolBarDirty = false;
        }
        return TRUE;
    }

    // Applies the table to one menu (and its submenus): what WM_INITMENUPOPUP does.
    void UIUpdateMenu(HMENU menu)
    {
        int count = ::GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
            if (!::GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
            if (info.hSubMenu) continue;  // updated when it opens
            const Entry* e = Find(static_cast<int>(info.wID));
            if (!e || !(e->type & UPDUI_MENUPOPUP)) continue;
            ::EnableMenuItem(menu, i, MF_BYPOSITION | ((e->state & UPDUI_DISABLED) ? MF_GRAYED : MF_ENABLED));
            MENUITEMINFOW check{};
            check.cbSize = sizeof check;
            check.fMask = MIIM_STATE | MIIM_FTYPE;
            ::GetMenuItemInfoW(menu, i, TRUE, &check);
            check.fState &= ~(MFS_CHECKED | MFS_DEFAULT);
            if (e->state & (UPDUI_CHECKED | UPDUI_CHECKED2)) check.fState |= MFS_CHECKED;
            if (e->state & UPDUI_DEFAULT) check.fState |= MFS_DEFAULT;
            if (e->state & UPDUI_RADIO)
                check.fType |= MFT_RADIOCHECK;
            else
                check.fType &= ~MFT_RADIOCHECK;
            ::SetMenuItemInfoW(menu, i, TRUE, &check);
        }
    }

protected:
    LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
    {
        bHandled = FALSE;              // others (a command bar, the frame) may want it too
        if (HIWORD(lParam)) return 0;  // the system menu
        UIUpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    }

private:
    struct Entry {
        WORD id;
        WORD type;
        WORD state;
        bool toolBarDirty;
    };

    const Entry* Find(int id) const
    {
        for (const Entry& e : m_entries)
            if (e.id == static_cast<WORD>(id)) return &e;
        return nullptr;
    }
    BOOL Change(int id, WORD mask, WORD bits, BOOL force)
    {
        Entry* e = const_cast<Entry*>(Find(id));
        if (!e) return FALSE;
        WORD state = static_cast<WORD>((e->state & ~mask) | bits);
        if (state != e->state || force) {
            e->state = state;
            e->toolBarDirty = true;
        }
        if (force) UIUpdateToolBar();
        return TRUE;
    }

    std::vector<Entry> m_entries;
    std::vector<HWND> m_toolBars;
};
