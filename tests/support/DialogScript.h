// CDialogScript: works the modal windows of the test thread (dialogs, property sheets, message
// boxes) as a user does, while the code under test sits in their modal loops. The test writes
// the steps, then calls the code that opens the windows:
//
//   CDialogScript ui;
//   ui.WaitFor(L"Entry Properties").Focus(IDC_FUEL_QUANTITY).Type(L"40").Tab().Type(L"1.25");
//   ui.Click(IDC_FUEL_CALC).Do([&](HWND sheet) { total = CDialogScript::Text(sheet, IDC_ENTRY_AMOUNT); });
//   ui.Enter();
//   EXPECT_EQ(1, EditEntry(&entry));
//
// The steps run one at a time from a thread timer, which fires inside whatever modal loop the
// thread is in, and only when the queue holds nothing else: input posted by one step is handled
// before the next. Typed characters are WM_CHAR messages to the focused control (digits-only
// fields, upper-case styles and length limits apply; no text is set directly); keys are posted
// to the focused control, so that the window's own loop turns Tab, Enter and Escape into focus
// moves and commands; buttons get BM_CLICK (which moves the focus as a mouse click does), tabs
// and list items a mouse click. Steps act on the active window, and on its current page when it
// is a property sheet; a step waits until a dialog is active and shown.
//
// A step that waits longer than the time-out (10 s unless set), or acts on a control a user could
// not use, fails the script: it then stops, records why, and cancels whatever modal window is
// left, so the test's call returns. So does a window left open for the time-out after the last
// step.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CDialogScript {
public:
    using Action = std::function<void(HWND)>;

    // What a waiting step met: the window's caption and, for a message box, its text, its icon
    // (MB_ICON...; 0 for none) and the button pressed.
    struct Seen {
        std::wstring caption;
        std::wstring text;
        UINT icon = 0;
        int button = 0;
    };

    CDialogScript();
    // One Window step for each action.
    explicit CDialogScript(const std::vector<Action>& eachWindow);
    ~CDialogScript();
    CDialogScript(const CDialogScript&) = delete;
    CDialogScript& operator=(const CDialogScript&) = delete;

    // Until the active window has this caption.
    CDialogScript& WaitFor(const std::wstring& caption);
    // The next window to become active, other than the one the last waiting step met (that one
    // counts again once another has been met): the action gets it.
    CDialogScript& Window(Action action);
    // The next message box, as Window finds it: recorded, then the button pressed. With an
    // action, the action gets the box before the button is pressed (what another program does
    // while the box is up).
    CDialogScript& Answer(int button, Action first = nullptr);

    CDialogScript& Type(const std::wstring& text);
    CDialogScript& Key(UINT vk);
    CDialogScript& Tab() { return Key(VK_TAB); }
    CDialogScript& Enter() { return Key(VK_RETURN); }
    CDialogScript& Escape() { return Key(VK_ESCAPE); }
    // A property sheet's next page, as Ctrl+Tab turns it.
    CDialogScript& CtrlTab();
    // The focus onto a control as tabbing onto it gives it (an edit's text selected).
    CDialogScript& Focus(int id);
    CDialogScript& Click(int id);
    // A mouse click (or double click) in the middle of a control (links), of a list box's item
    // (index 0 and up), or of a property sheet's tab.
    CDialogScript& ClickAt(int id, bool doubleClick = false);
    CDialogScript& ClickItem(int id, int index, bool doubleClick = false);
    CDialogScript& ClickTab(int index);
    // A date picker set as the user sets it (DTM_SETSYSTEMTIME).
    CDialogScript& SetDate(int id, const SYSTEMTIME& date);
    // Anything else with the active window (reading it, sending it a message); the action must
    // not run a modal loop itself.
    CDialogScript& Do(Action action);
    // Until the active window meets the condition, asked on every tick (another thread's work
    // for the window: a worker giving a dialog back).
    CDialogScript& Until(std::function<bool(HWND)> condition);
    // How long a step may wait, in milliseconds (10 s unless set).
    void SetTimeout(DWORD ms) { m_timeoutMs = ms; }

    bool Finished() const { return m_next == m_steps.size() && m_failure.empty(); }
    size_t Done() const { return m_next; }
    // Empty, or what went wrong.
    const std::wstring& Failure() const { return m_failure; }
    const std::vector<Seen>& Met() const { return m_met; }

    // A control of the window or of its current property page; null when there is none.
    static HWND Control(HWND window, int id);
    static std::wstring Text(HWND window);
    static std::wstring Text(HWND window, int id) { return Text(Control(window, id)); }
    // A message box: a dialog with its text (control 0xFFFF) and an icon control of its own.
    static bool IsMessageBox(HWND window);

private:
    struct Step {
        std::wstring what;
        std::function<bool()> run;  // false: not yet, again on the next tick
    };
    CDialogScript& Add(const std::wstring& what, std::function<bool()> run);
    // A step acting on a usable control of the active window.
    CDialogScript& Act(const std::wstring& what, int id, std::function<void(HWND)> act);
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();
    void Fail(const std::wstring& why);
    void Record(HWND window, int button);
    bool IsNew(HWND window) const;

    std::vector<Step> m_steps;
    size_t m_next = 0;
    std::vector<Seen> m_met;
    HWND m_last = nullptr;  // the window the last waiting step met
    std::wstring m_failure;
    DWORD m_since = 0;  // when the current wait (or the idle time after the last step) began
    DWORD m_timeoutMs = 10000;
    HWND m_unwinding = nullptr;  // after a failure: the window being closed, m_unwind its tries
    unsigned m_unwind = 0;
    bool m_busy = false;
    UINT_PTR m_timer = 0;
};
