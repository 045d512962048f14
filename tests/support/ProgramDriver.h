// A program of the build with windows (Autolark.exe, the sample-database tool) run as a process of
// its own in the test's Wine prefix and driven the way a user or another program drives it: its
// settings written before it starts, its top-level windows found by class and caption, its
// dialogs and boxes answered with posted messages, its list views read across the process
// boundary, its end waited for and its exit code read. Nothing here fails a test by itself: a
// window that does not come is null, a program that does not end gives -1.
//
// The free functions work on the windows of any process, this one included.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Waits for a condition, looking every 20 ms; false when the time ran out first.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// A window below parent (at any depth) with that control id, and of that class when one is
// given (compared without case); null when there is none.
HWND FindControl(HWND parent, int id, const wchar_t* cls = nullptr);
// The text of a window or control of any process (WM_GETTEXT is carried across processes), up
// to 1023 characters.
std::wstring ControlText(HWND window);
// The text of a message box: its static control, id 0xFFFF.
std::wstring MessageBoxText(HWND box);
// Rows of a list view; -1 for a null window.
int RowCount(HWND list);

// A value under the settings key (or the key given) of HKEY_CURRENT_USER, made when missing, as
// the program reads it at start.
void WriteSetting(const wchar_t* name, DWORD value, const wchar_t* key = nullptr);
void WriteSetting(const wchar_t* name, const std::wstring& text, const wchar_t* key = nullptr);
// The settings of a program that has run before on the file, its first-run notice seen
// ("DBPath", "UnitSetupMsgShown" 1, "LastActiveVehicle").
void RememberDatabase(const std::wstring& path, unsigned long activeVehicle = 0);

class CProgramDriver {
public:
    CProgramDriver() = default;
    CProgramDriver(const CProgramDriver&) = delete;
    CProgramDriver& operator=(const CProgramDriver&) = delete;
    // A program still running (a test that failed half-way) is asked to close, each of its
    // top-level windows sent WM_CLOSE, then ended after 5 s; it has gone, and let go of the
    // test's files, when the object has.
    ~CProgramDriver();

    // Starts the program (a Windows path) with the arguments after its quoted name, its windows
    // shown; false when it could not start. One program per object.
    bool Start(const std::wstring& exe, const std::wstring& arguments = L"");
    // Its exit code, or -1 when it has not ended within the time.
    long Wait(DWORD timeoutMs = 20000);
    // The exit code of a program whose main frame closed: the frame's quit message carries 1.
    static constexpr long kQuitCode = 1;
    // Closes its main window as the user does (WM_CLOSE) and waits for the end: Wait's answer.
    long Close(HWND main, DWORD timeoutMs = 20000);
    // Ends it at once, as a crash or the task manager would, and waits until it has gone.
    void Kill(UINT exitCode = 1);
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }

    // A visible top-level window of the program with that class and, when given, that caption;
    // except: a window to pass over (a dialog still open under the one looked for). Null when
    // there is none.
    HWND Find(const wchar_t* cls, const wchar_t* caption = nullptr, HWND except = nullptr) const;
    HWND WaitForWindow(const wchar_t* cls, const wchar_t* caption = nullptr, DWORD timeoutMs = 20000) const;
    // A visible message box of the program with that caption and text.
    HWND FindBox(const wchar_t* caption, const std::wstring& text) const;
    HWND WaitForBox(const wchar_t* caption, const std::wstring& text, DWORD timeoutMs = 20000) const;
    // Autolark's main window (class "Alk.MainFrame", caption "Autolark") once shown(window)
    // holds; null when it did not within the time.
    HWND WaitForMainWindow(const std::function<bool(HWND)>& shown, DWORD timeoutMs = 20000) const;

    // The text of a cell of one of the program's list views: the item and its text buffer must
    // live in the program's memory. Up to 255 characters.
    std::wstring ItemText(HWND list, int row, int column) const;
    // The texts of a column, top to bottom.
    std::vector<std::wstring> ColumnTexts(HWND list, int column) const;

private:
    HWND Search(const wchar_t* cls, const wchar_t* caption, const wchar_t* text, HWND except) const;

    PROCESS_INFORMATION m_info{};
};
