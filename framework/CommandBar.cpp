#include "framework/CommandBar.h"

#include <algorithm>
#include <vector>

namespace {

const UINT kFirstButtonId = 0xEC00;  // button ids of the top-level items
const UINT_PTR kSubclassId = 0xA1C0;

// The bar whose popup is open on this thread, for the message hook.
thread_local CCommandBarCtrl* t_trackingBar = nullptr;
thread_local HHOOK t_hook = nullptr;

// Bars of this thread and the hook that sees Alt+letter typed in any window below their parent
// (the default procedure of a child window does not pass it on to the top-level window).
thread_local std::vector<CCommandBarCtrl*>* t_bars = nullptr;
thread_local HHOOK t_getMessageHook = nullptr;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE && t_bars) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == WM_SYSCHAR && msg->wParam != L' ') {
            HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
            for (CCommandBarCtrl* bar : *t_bars) {
                int index = bar->MnemonicFor(root, static_cast<wchar_t>(msg->wParam));
                if (index < 0) continue;
                msg->message = WM_NULL;  // taken: the bar opens the popup once this message is done
                ::PostMessageW(bar->m_hWnd, CCommandBarCtrl::OpenMenuMessageId(), static_cast<WPARAM>(index), 0);
                break;
            }
        }
    }
    return ::CallNextHookEx(t_getMessageHook, code, wParam, lParam);
}

void RegisterBar(CCommandBarCtrl* bar)
{
    if (!t_bars) t_bars = new std::vector<CCommandBarCtrl*>();
    t_bars->push_back(bar);
    if (!t_getMessageHook)
        t_getMessageHook = ::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
}

void UnregisterBar(CCommandBarCtrl* bar)
{
    if (!t_bars) return;
    t_bars->erase(std::remove(t_bars->begin(), t_bars->end(), bar), t_bars->end());
    if (t_bars->empty()) {
        if (t_getMessageHook) ::UnhookWindowsHookEx(t_getMessageHook);
        t_getMessageHook = nullptr;
        delete t_bars;
        t_bars = nullptr;
    }
}

LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && t_trackingBar) {
        try {
            if (t_trackingBar->MenuFilter(reinterpret_cast<MSG*>(lParam))) return 1;
        } catch (...) {}
    }
    return ::CallNextHookEx(t_hook, code, wParam, lParam);
}

// Watches the mouse while a popup is open (a thread timer: menu loops dispatch those).
void CALLBACK HoverTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (t_trackingBar) t_trackingBar->CheckHover();
}

// Carries the messages of a parent whose map does not chain them to the bar's parent map.
LRESULT CALLBACK ParentSubclass(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR refData)
{
    auto* bar = reinterpret_cast<CCommandBarCtrl*>(refData);
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = bar->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result, CCommandBarCtrl::kParentMap);
    } catch (...) {
        handled = FALSE;
    }
    return handled ? result : ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

}  // namespace

CCommandBarCtrl::~CCommandBarCtrl()
{
    LeaveParent();
    UnregisterBar(this);
}

void CCommandBarCtrl::LeaveParent()
{
    if (m_parent && m_parentSubclassed) ::RemoveWindowSubclass(m_parent, ParentSubclass, kSubclassId);
    m_parentSubclassed = false;
    m_parent = nullptr;
}

int CCommandBarCtrl::MnemonicFor(HWND root, wchar_t ch) const
{
    if (!m_hWnd || !m_menu || root != m_parent || !::IsWindowVisible(m_hWnd) || m_openIndex >= 0) return -1;
    return FindMnemonic(ch);
}

LRESULT CCommandBarCtrl::OnOpenMenuMessage(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (m_keyboardMode) LeaveKeyboardMode();
    OpenMenu(static_cast<int>(wParam), true);
    return 0;
}

HWND CCommandBarCtrl::Create(HWND parent, const RECT& rc, LPCWSTR name, DWORD style, DWORD exStyle, UINT id,
                             LPVOID param)
{
    HWND h = CWindowImpl<CCommandBarCtrl, CToolBarCtrl>::Create(parent, rc, name, style, exStyle, id, param);
    if (!h) return nullptr;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETIMAGELIST, 0, 0);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    m_parent = parent;
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    const bool chained = ::SendMessageW(parent, ParentChainsMessageId(), 0, self) == self;
    if (!chained)
        m_parentSubclassed =
            ::SetWindowSubclass(parent, ParentSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    RegisterBar(this);
    return h;
}

LRESULT CCommandBarCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    LeaveParent();
    UnregisterBar(this);
    handled = FALSE;
    return 0;
}

BOOL CCommandBarCtrl::AttachMenu(HMENU menu)
{
    if (!m_hWnd) return FALSE;
    for (int n = ButtonCount(); n > 0; --n) SendMessage(TB_DELETEBUTTON, n - 1);
    m_menu = menu;
    if (!menu) return TRUE;
    // The menu now shows in the bar, not in the window's menu bar.
    if (m_parent && ::GetMenu(m_parent) == menu) ::SetMenu(m_parent, nullptr);
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
        TBBUTTON b{};
        b.iBitmap = I_IMAGENONE;
        b.idCommand = static_cast<int>(kFirstButtonId + i);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        b.iString = reinterpret_cast<INT_PTR>(text);
        SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
    }
    SendMessage(TB_AUTOSIZE);
    ApplyIcons(menu);
    return TRUE;
}

BOOL CCommandBarCtrl::AddIcon(HICON icon, UINT command)
{
    if (!icon) return FALSE;
    m_icons[command] = icon;
    if (m_menu) ApplyIcons(m_menu);
    return TRUE;
}

BOOL CCommandBarCtrl::RemoveAllImages()
{
    m_icons.clear();
    return TRUE;
}

// Items with an icon get the owner-drawn bitmap; the parent's WM_MEASUREITEM / WM_DRAWITEM for
// them are answered by the parent subclass.
void CCommandBarCtrl::ApplyIcons(HMENU menu)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
        if (!::GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
        if (info.hSubMenu) {
            ApplyIcons(info.hSubMenu);
            continue;
        }
        if (m_icons.count(info.wID) && info.hbmpItem != HBMMENU_CALLBACK) {
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_BITMAP;
            set.hbmpItem = HBMMENU_CALLBACK;
            ::SetMenuItemInfoW(menu, i, TRUE, &set);
        }
    }
}

BOOL CCommandBarCtrl::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, LPTPMPARAMS params)
{
    if (!menu) return FALSE;
    ApplyIcons(menu);
    HWND owner = m_parent ? m_parent : GetParent();
    return ::TrackPopupMenuEx(menu, flags, x, y, owner, params);
}

void CCommandBarCtrl::OpenMenu(int index, bool byKeyboard)
{
    if (!m_menu || m_openIndex >= 0) return;
    HWND owner = m_parent ? m_parent : GetParent();
    for (;;) {
        HMENU popup = ::GetSubMenu(m_menu, index);
        if (!popup) break;
        ApplyIcons(popup);
        RECT rc{};
        SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
        ClientToScreen(&rc);
        SendMessage(TB_PRESSBUTTON, kFirstButtonId + index, MAKELPARAM(TRUE, 0));
        m_openIndex = index;
        m_nextIndex = -1;
        m_trackedPopup = popup;
        m_selectedMenu = nullptr;
        m_selectedFlags = 0;
        GetCursorPos(&m_lastMouse);
        if (byKeyboard) {
            // The menu loop reads this from the queue and highlights the first item.
            ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        CCommandBarCtrl* outerBar = t_trackingBar;
        HHOOK outerHook = t_hook;
        t_trackingBar = this;
        t_hook = ::SetWindowsHookExW(WH_MSGFILTER, MenuHook, nullptr, ::GetCurrentThreadId());
        // Not every menu loop shows its mouse moves to the message hook: a timer, which the
        // loop dispatches, looks where the mouse is.
        UINT_PTR hoverTimer = ::SetTimer(nullptr, 0, 50, HoverTimer);
        TPMPARAMS tpm{};
        tpm.cbSize = sizeof tpm;
        tpm.rcExclude = rc;
        ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, rc.left, rc.bottom,
                           owner, &tpm);
        ::KillTimer(nullptr, hoverTimer);
        if (t_hook) ::UnhookWindowsHookEx(t_hook);
        t_hook = outerHook;
        t_trackingBar = outerBar;
        if (m_hWnd) SendMessage(TB_PRESSBUTTON, kFirstButtonId + index, MAKELPARAM(FALSE, 0));
        m_openIndex = -1;
        m_trackedPopup = nullptr;
        if (m_nextIndex < 0 || !m_hWnd) break;
        index = m_nextIndex;
        byKeyboard = m_nextByKeyboard;
    }
    m_nextIndex = -1;
    if (m_hWnd && m_keyboardMode) LeaveKeyboardMode();
}

bool CCommandBarCtrl::MenuFilter(MSG* msg)
{
    int count = ButtonCount();
    switch (msg->message) {
    case WM_KEYDOWN:
        if (msg->wParam == VK_LEFT && (m_selectedMenu == nullptr || m_selectedMenu == m_trackedPopup)) {
            m_nextIndex = (m_openIndex + count - 1) % count;
            m_nextByKeyboard = true;
            ::EndMenu();
            return true;
        }
        if (msg->wParam == VK_RIGHT && !(m_selectedFlags & MF_POPUP)) {
            m_nextIndex = (m_openIndex + 1) % count;
            m_nextByKeyboard = true;
            ::EndMenu();
            return true;
        }
        break;
    case WM_MOUSEMOVE: {
        // Where the mouse was, in screen coordinates (lParam's frame differs between systems).
        POINT pt = msg->pt;
        if (pt.x == m_lastMouse.x && pt.y == m_lastMouse.y) break;
        m_lastMouse = pt;
        POINT client = pt;
        ScreenToClient(&client);
        int hit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client)));
        if (hit >= 0 && hit < count && hit != m_openIndex) {
            m_nextIndex = hit;
            m_nextByKeyboard = false;
            ::EndMenu();
            return true;
        }
        break;
    }
    default: break;
    }
    return false;
}

void CCommandBarCtrl::CheckHover()
{
    if (m_openIndex >= 0 && m_nextIndex < 0) {
        MSG probe{};
        probe.message = WM_MOUSEMOVE;
        ::GetCursorPos(&probe.pt);
        MenuFilter(&probe);
    }
}

LRESULT CCommandBarCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int hit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    if (hit < 0 || hit >= ButtonCount()) {
        handled = FALSE;
        return 0;
    }
    if (m_keyboardMode) LeaveKeyboardMode();
    OpenMenu(hit, false);
    return 0;
}

void CCommandBarCtrl::EnterKeyboardMode()
{
    if (ButtonCount() == 0) return;
    m_keyboardMode = true;
    HWND focus = ::GetFocus();
    if (focus != m_hWnd) m_focusBefore = focus;
    ::SetFocus(m_hWnd);
    SendMessage(TB_SETHOTITEM, 0);
}

void CCommandBarCtrl::LeaveKeyboardMode()
{
    if (!m_keyboardMode) return;
    m_keyboardMode = false;
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1));
    HWND back = m_focusBefore;
    m_focusBefore = nullptr;
    if (::GetFocus() == m_hWnd) ::SetFocus(back && ::IsWindow(back) ? back : m_parent);
}

LRESULT CCommandBarCtrl::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!m_keyboardMode) {
        handled = FALSE;
        return 0;
    }
    int count = ButtonCount();
    int hot = static_cast<int>(SendMessage(TB_GETHOTITEM));
    if (hot < 0) hot = 0;
    switch (wParam) {
    case VK_LEFT: SendMessage(TB_SETHOTITEM, (hot + count - 1) % count); break;
    case VK_RIGHT: SendMessage(TB_SETHOTITEM, (hot + 1) % count); break;
    case VK_DOWN:
    case VK_UP:
    case VK_RETURN: OpenMenu(hot, true); break;
    case VK_ESCAPE: LeaveKeyboardMode(); break;
    default: break;
    }
    return 0;
}

LRESULT CCommandBarCtrl::OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // Alt or F10 again: the default procedure turns the key into SC_KEYMENU for the top-level
    // window, which the parent hook answers by leaving the bar.
    handled = FALSE;
    return 0;
}

LRESULT CCommandBarCtrl::OnChar(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!m_keyboardMode) {
        handled = FALSE;
        return 0;
    }
    int index = FindMnemonic(static_cast<wchar_t>(wParam));
    if (index >= 0)
        OpenMenu(index, true);
    else
        ::MessageBeep(0);
    return 0;
}

LRESULT CCommandBarCtrl::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (m_keyboardMode && m_openIndex < 0) {
        m_keyboardMode = false;
        m_focusBefore = nullptr;
        SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1));
    }
    handled = FALSE;
    return 0;
}

int CCommandBarCtrl::FindMnemonic(wchar_t ch) const
{
    if (!m_menu) return -1;
    wchar_t wanted = static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
    int count = ::GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(m_menu, i, text, 128, MF_BYPOSITION);
        for (const wchar_t* p = text; *p; ++p) {
            if (*p != L'&') continue;
            if (p[1] == L'&') {
                ++p;
                continue;
            }
            wchar_t m = static_cast<wchar_t>(
                reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(p[1])))));
            if (m == wanted) return i;
            break;
        }
    }
    return -1;
}

// --- the parent's messages ---------------------------------------------------------------------

LRESULT CCommandBarCtrl::OnParentChains(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    // Each bar a parent chains answers for itself, with itself (an answer no other handler gives).
    if (lParam == reinterpret_cast<LPARAM>(this)) return lParam;
    handled = FALSE;
    return 0;
}

LRESULT CCommandBarCtrl::OnParentSysCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if ((wParam & 0xFFF0) == SC_KEYMENU && m_menu && ::IsWindowVisible(m_hWnd)) {
        if (lParam == 0) {  // Alt or F10 alone
            if (m_keyboardMode)
                LeaveKeyboardMode();
            else
                EnterKeyboardMode();
            return 0;
        }
        if (lParam != L' ' && lParam != L'-') {  // Alt+mnemonic; Alt+Space stays the system menu
            int index = FindMnemonic(static_cast<wchar_t>(lParam));
            if (index >= 0)
                OpenMenu(index, true);
            else
                ::MessageBeep(0);
            return 0;
        }
    }
    handled = FALSE;
    return 0;
}

LRESULT CCommandBarCtrl::OnParentMenuSelect(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (m_openIndex >= 0) {
        m_selectedMenu = reinterpret_cast<HMENU>(lParam);
        m_selectedFlags = HIWORD(wParam) == 0xFFFF ? 0 : HIWORD(wParam);
    }
    handled = FALSE;  // the frame's prompt in the status bar still follows the highlight
    return 0;
}

LRESULT CCommandBarCtrl::OnParentMeasureItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    if (wParam == 0 && mis->CtlType == ODT_MENU && m_icons.count(mis->itemID)) {
        mis->itemWidth = static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON));
        mis->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYSMICON));
        return TRUE;
    }
    handled = FALSE;
    return 0;
}

LRESULT CCommandBarCtrl::OnParentDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    const auto icon = wParam == 0 && dis->CtlType == ODT_MENU ? m_icons.find(dis->itemID) : m_icons.end();
    if (icon == m_icons.end()) {
        handled = FALSE;
        return 0;
    }
    int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    int x = dis->rcItem.left + ((dis->rcItem.right - dis->rcItem.left) - cx) / 2;
    int y = dis->rcItem.top + ((dis->rcItem.bottom - dis->rcItem.top) - cy) / 2;
    ::DrawIconEx(dis->hDC, x < dis->rcItem.left ? dis->rcItem.left : x, y, icon->second, cx, cy, 0, nullptr, DI_NORMAL);
    return TRUE;
}

LRESULT CCommandBarCtrl::OnParentNcDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    LeaveParent();
    handled = FALSE;
    return 0;
}
