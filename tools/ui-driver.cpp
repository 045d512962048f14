// alk_ui_driver: works the windows of a running Autolark from outside, one step per call, so a
// script can open the program's windows one after another and capture each (tools/make-manual-shots).
//
//   alk_ui_driver wait WINDOW [MS]          until the window is shown and its thread idle (20 s
//                                           unless MS); prints its handle
//   alk_ui_driver gone WINDOW [MS]          until no such window is shown
//   alk_ui_driver command WINDOW ID         posts WM_COMMAND ID (a menu command, a button)
//   alk_ui_driver click WINDOW ID           a button clicked (BM_CLICK)
//   alk_ui_driver check WINDOW ID           a check box ticked, its window told as by a click
//   alk_ui_driver text WINDOW ID TEXT       a control's text set (WM_SETTEXT)
//   alk_ui_driver clickrow WINDOW ID ROW    a mouse click in the middle of a list-view row (counted
//                                           from 0), scrolled into view first, as a user clicks it
//   alk_ui_driver place WINDOW X Y W H      the window moved and sized (screen pixels)
//   alk_ui_driver close WINDOW              a dialog's Cancel, a property sheet's Cancel, or
//                                           WM_CLOSE for the main window
//
// WINDOW is "main" for the main window, else the exact caption of a dialog, property sheet or
// message box (class #32770). Controls are found by id anywhere below the window, so a property
// sheet's controls are those of its current page. Exit codes: 0 done, 1 the window or control was
// not found in time, 2 a bad command line.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t kMainClass[] = L"Alk.MainFrame";

struct Search {
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    if (!IsWindowVisible(window)) return TRUE;
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    if (*search->caption == L"main") {
        if (wcscmp(className, kMainClass) != 0) return TRUE;
    } else {
        if (wcscmp(className, L"#32770") != 0) return TRUE;
        wchar_t text[256];
        GetWindowTextW(window, text, 256);
        if (*search->caption != text) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindShown(const std::wstring& caption)
{
    Search search{&caption, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The window, waited for up to ms; null after that.
HWND WaitFor(const std::wstring& caption, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindShown(caption)) return window;
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(50);
    }
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    if (GetDlgCtrlID(window) != search->id || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// A shown control with that id anywhere below the window (EnumChildWindows walks every level).
HWND FindControl(HWND window, int id)
{
    ChildSearch search{id, nullptr};
    EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Returns once the window's thread has handled everything sent before and has had time to
// paint what that changed.
void Settle(HWND window)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(300);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

// The rectangle of a list-view row, through a buffer in the list's process (the message carries
// a pointer).
bool RowRect(HWND list, int row, RECT* rect)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    bool ok = false;
    if (void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)) {
        RECT query{};
        query.left = LVIR_BOUNDS;
        SIZE_T moved = 0;
        if (WriteProcessMemory(process, remote, &query, sizeof query, &moved) &&
            SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)) &&
            ReadProcessMemory(process, remote, rect, sizeof *rect, &moved)) {
            ok = true;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

int Usage()
{
    fwprintf(stderr,
             L"usage: alk_ui_driver wait|gone WINDOW [MS] | command|click|check WINDOW ID | text WINDOW ID TEXT |\n"
             L"       clickrow WINDOW ID ROW | place WINDOW X Y W H | close WINDOW\n");
    return 2;
}

int Missing(const wchar_t* what, const std::wstring& name)
{
    fwprintf(stderr, L"alk_ui_driver: no %ls %ls\n", what, name.c_str());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return Usage();
    const std::wstring step = argv[1];
    const std::wstring caption = argv[2];
    auto number = [&](int index) { return index < argc ? static_cast<int>(wcstol(argv[index], nullptr, 0)) : 0; };

    if (step == L"gone") {
        const DWORD ms = argc > 3 ? static_cast<DWORD>(number(3)) : 20000;
        const DWORD start = GetTickCount();
        while (FindShown(caption)) {
            if (GetTickCount() - start > ms) return Missing(L"end of window", caption);
            Sleep(50);
        }
        return 0;
    }

    HWND window = WaitFor(caption, step == L"wait" && argc > 3 ? static_cast<DWORD>(number(3)) : 20000);
    if (!window) return Missing(L"window", caption);

    if (step == L"wait") {
        Settle(window);
        wprintf(L"%p\n", static_cast<void*>(window));
        return 0;
    }
    if (step == L"command" && argc == 4) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(number(3), 0), 0);
        return 0;
    }
    if (step == L"place" && argc == 7) {
        SetWindowPos(window, nullptr, number(3), number(4), number(5), number(6), SWP_NOZORDER | SWP_NOACTIVATE);
        Settle(window);
        return 0;
    }
    if (step == L"close" && argc == 3) {
        wchar_t className[64];
        GetClassNameW(window, className, 64);
        if (wcscmp(className, kMainClass) == 0)
            PostMessageW(window, WM_CLOSE, 0, 0);
        else if (FindWindowExW(window, nullptr, WC_TABCONTROLW, nullptr))  // a property sheet
            PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        else
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }

    if (argc < 4) return Usage();
    HWND control = FindControl(window, number(3));
    if (!control) return Missing(L"control", argv[3]);
    if (step == L"click" && argc == 4) {
        PostMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (step == L"check" && argc == 4) {
        // BM_CLICK from another process does not reach a check box's state under every system.
        SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(number(3), BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        Settle(window);
        return 0;
    }
    if (step == L"text" && argc == 5) {
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return 0;
    }
    if (step == L"clickrow" && argc == 5) {
        const int row = number(4);
        SendMessageW(control, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
        RECT rect{};
        if (!RowRect(control, row, &rect)) return Missing(L"row", argv[4]);
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(control, WM_LBUTTONUP, 0, at);
        Settle(window);
        return 0;
    }
    return Usage();
}
