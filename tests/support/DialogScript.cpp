#include "tests/support/DialogScript.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

// Marks the windows waiting steps have met. Wine hands a new window the handle of one just
// destroyed; the new one lacks the mark.
const wchar_t kMet[] = L"AlkDialogScriptMet";

CDialogScript*& Current()
{
    static CDialogScript* current = nullptr;
    return current;
}

bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    return window && _wcsicmp(cls, name) == 0;
}

// The active window when it is a shown dialog, sheet or box (one is active before it shows).
HWND ActiveModal()
{
    HWND active = GetActiveWindow();
    return IsClass(active, L"#32770") && IsWindowVisible(active) ? active : nullptr;
}

LPARAM KeyData(UINT vk, bool up)
{
    return 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16) |
           (up ? static_cast<LPARAM>(0xC0000000u) : 0);
}

void PostClick(HWND control, const RECT& rc, bool doubleClick)
{
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    for (UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        PostMessageW(control, down, MK_LBUTTON, at);
        PostMessageW(control, WM_LBUTTONUP, 0, at);
        if (!doubleClick) break;
    }
}

}  // namespace

CDialogScript::CDialogScript()
{
    Current() = this;
    m_timer = SetTimer(nullptr, 0, 10, &CDialogScript::Tick);
}

CDialogScript::CDialogScript(const std::vector<Action>& eachWindow) : CDialogScript()
{
    for (const Action& action : eachWindow) Window(action);
}

CDialogScript::~CDialogScript()
{
    KillTimer(nullptr, m_timer);
    if (Current() == this) Current() = nullptr;
}

HWND CDialogScript::Control(HWND window, int id)
{
    if (HWND control = window ? GetDlgItem(window, id) : nullptr) return control;
    if (!IsClass(window ? GetDlgItem(window, 0x3020) : nullptr, WC_TABCONTROLW)) return nullptr;  // not a sheet
    HWND page = reinterpret_cast<HWND>(SendMessageW(window, PSM_GETCURRENTPAGEHWND, 0, 0));
    return page ? GetDlgItem(page, id) : nullptr;
}

std::wstring CDialogScript::Text(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool CDialogScript::IsMessageBox(HWND window)
{
    if (!IsClass(window, L"#32770") || !GetDlgItem(window, 0xFFFF)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsClass(child, L"Static") && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            GetDlgCtrlID(child) != 0xFFFF)
            return true;
    return false;
}

void CDialogScript::Record(HWND window, int button)
{
    Seen seen;
    seen.caption = Text(window);
    seen.button = button;
    if (IsMessageBox(window)) {
        seen.text = Text(GetDlgItem(window, 0xFFFF));
        // The system's icons by id: information, exclamation, error, question.
        const struct {
            WORD id;
            UINT flag;
        } icons[] = {
            {32516, MB_ICONINFORMATION}, {32515, MB_ICONEXCLAMATION}, {32513, MB_ICONERROR}, {32514, MB_ICONQUESTION}};
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const HICON shown = IsWindowVisible(child) && IsClass(child, L"Static")
                                    ? reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))
                                    : nullptr;
            for (const auto& icon : icons)
                if (shown && shown == LoadIconW(nullptr, MAKEINTRESOURCEW(icon.id))) seen.icon = icon.flag;
        }
    }
    m_met.push_back(seen);
    SetPropW(window, kMet, reinterpret_cast<HANDLE>(1));
    m_last = window;
}

bool CDialogScript::IsNew(HWND window) const
{
    return window && !(window == m_last && GetPropW(window, kMet));
}

CDialogScript& CDialogScript::Add(const std::wstring& what, std::function<bool()> run)
{
    m_steps.push_back(Step{what, std::move(run)});
    return *this;
}

CDialogScript& CDialogScript::Act(const std::wstring& what, int id, std::function<void(HWND)> act)
{
    return Add(what, [this, what, id, act] {
        HWND window = ActiveModal();
        if (!window) return false;
        HWND control = id ? Control(window, id) : window;
        // As a user could: visible and enabled, in a window that takes input.
        if (control && IsWindowVisible(control) && IsWindowEnabled(control) && IsWindowEnabled(window))
            act(control);
        else
            Fail(what + L": no usable control in \"" + Text(window) + L"\"");
        return true;
    });
}

CDialogScript& CDialogScript::WaitFor(const std::wstring& caption)
{
    return Add(L"WaitFor " + caption, [this, caption] {
        HWND window = ActiveModal();
        if (!window || Text(window) != caption) return false;
        if (IsNew(window)) Record(window, 0);
        return true;
    });
}

CDialogScript& CDialogScript::Window(Action action)
{
    return Add(L"Window", [this, action] {
        HWND window = ActiveModal();
        if (!IsNew(window)) return false;
        Record(window, 0);
        if (action) action(window);
        return true;
    });
}

CDialogScript& CDialogScript::Answer(int button, Action first)
{
    return Add(L"Answer " + std::to_wstring(button), [this, button, first] {
        HWND box = ActiveModal();
        if (!IsNew(box) || !IsMessageBox(box)) return false;
        Record(box, button);
        if (first) first(box);
        if (HWND pressed = GetDlgItem(box, button))
            PostMessageW(pressed, BM_CLICK, 0, 0);
        else
            Fail(L"the box \"" + m_met.back().text + L"\" has no button " + std::to_wstring(button));
        return true;
    });
}

CDialogScript& CDialogScript::Type(const std::wstring& text)
{
    return Act(L"Type " + text, 0, [text](HWND window) {
        HWND focus = GetFocus();
        if (!IsChild(window, focus)) focus = window;
        for (wchar_t ch : text) PostMessageW(focus, WM_CHAR, ch, KeyData(LOBYTE(VkKeyScanW(ch)), false));
    });
}

CDialogScript& CDialogScript::Key(UINT vk)
{
    return Act(L"Key " + std::to_wstring(vk), 0, [vk](HWND window) {
        HWND focus = GetFocus();
        if (!IsChild(window, focus)) focus = window;
        PostMessageW(focus, WM_KEYDOWN, vk, KeyData(vk, false));
        PostMessageW(focus, WM_KEYUP, vk, KeyData(vk, true));
    });
}

CDialogScript& CDialogScript::CtrlTab()
{
    // Windows' modal sheet loop hands Ctrl+Tab to the sheet, which turns the page; Wine's loop
    // leaves it to IsDialogMessage, which ignores it. The script hands the key to the sheet as
    // Windows' loop does (the sheet reads Ctrl from the thread's key state), and leaves the focus
    // on the tabs when it was on the page that went, as Windows does.
    return Act(L"CtrlTab", 0, [this](HWND sheet) {
        MSG key{GetFocus() ? GetFocus() : sheet, WM_KEYDOWN, VK_TAB, KeyData(VK_TAB, false), 0, {0, 0}};
        BYTE saved[256], keys[256];
        GetKeyboardState(saved);
        memcpy(keys, saved, sizeof keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        SetKeyboardState(keys);
        if (!SendMessageW(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&key)))
            Fail(L"CtrlTab: \"" + Text(sheet) + L"\" did not take the key");
        SetKeyboardState(saved);
        if (!IsWindowVisible(GetFocus()))
            SetFocus(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0)));
    });
}

CDialogScript& CDialogScript::Focus(int id)
{
    return Act(L"Focus " + std::to_wstring(id), id, [](HWND control) {
        PostMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    });
}

CDialogScript& CDialogScript::Click(int id)
{
    return Act(L"Click " + std::to_wstring(id), id, [](HWND button) { PostMessageW(button, BM_CLICK, 0, 0); });
}

CDialogScript& CDialogScript::ClickAt(int id, bool doubleClick)
{
    return Act(L"ClickAt " + std::to_wstring(id), id, [doubleClick](HWND control) {
        RECT rc;
        GetClientRect(control, &rc);
        PostClick(control, rc, doubleClick);
    });
}

CDialogScript& CDialogScript::ClickItem(int id, int index, bool doubleClick)
{
    return Act(L"ClickItem " + std::to_wstring(id), id, [this, index, doubleClick](HWND list) {
        RECT rc{};
        if (SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
            Fail(L"ClickItem: no item " + std::to_wstring(index));
        else
            PostClick(list, rc, doubleClick);
    });
}

CDialogScript& CDialogScript::ClickTab(int index)
{
    return Act(L"ClickTab " + std::to_wstring(index), 0, [this, index](HWND sheet) {
        HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
        RECT rc{};
        if (!tabs || !SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)))
            Fail(L"ClickTab: \"" + Text(sheet) + L"\" has no tab " + std::to_wstring(index));
        else
            PostClick(tabs, rc, false);
    });
}

CDialogScript& CDialogScript::SetDate(int id, const SYSTEMTIME& date)
{
    return Act(L"SetDate " + std::to_wstring(id), id, [this, date](HWND picker) {
        SYSTEMTIME set = date;
        if (!SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&set)))
            Fail(L"SetDate: the picker refused the date");
    });
}

CDialogScript& CDialogScript::Do(Action action)
{
    return Add(L"Do", [action] {
        HWND window = ActiveModal();
        if (window) action(window);
        return window != nullptr;
    });
}

CDialogScript& CDialogScript::Until(std::function<bool(HWND)> condition)
{
    return Add(L"Until", [condition] {
        HWND window = ActiveModal();
        return window && condition(window);
    });
}

void CALLBACK CDialogScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (CDialogScript* script = Current()) script->OnTick();
}

void CDialogScript::Fail(const std::wstring& why)
{
    if (m_failure.empty()) m_failure = L"step " + std::to_wstring(m_next + 1) + L": " + why;
}

void CDialogScript::OnTick()
{
    if (m_busy) return;  // a step's own message handling brought the timer back in
    m_busy = true;
    const DWORD now = GetTickCount();
    HWND active = ActiveModal();
    if (!m_failure.empty()) {
        // Whatever the window is, one of these ends it, tried in this order on each window: a
        // sheet under a message box its OK opened gets Cancel first once the box has gone.
        static const int kEnders[] = {IDCANCEL, IDNO, IDOK};
        if (active != m_unwinding) {
            m_unwinding = active;
            m_unwind = 0;
        }
        if (active) PostMessageW(active, WM_COMMAND, MAKEWPARAM(kEnders[m_unwind++ % 3], BN_CLICKED), 0);
    } else if (m_next < m_steps.size() ? m_steps[m_next].run() : !active) {
        if (m_next < m_steps.size()) ++m_next;
        m_since = 0;
    } else if (!m_since) {
        m_since = now;
    } else if (now - m_since > m_timeoutMs) {
        Fail((m_next < m_steps.size() ? m_steps[m_next].what + L" timed out" : L"a window was left open") +
             L"; the active window was \"" + Text(GetActiveWindow()) + L"\"");
    }
    m_busy = false;
}
