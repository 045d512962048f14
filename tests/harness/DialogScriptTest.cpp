// The tests' dialog script when a step fails: every window it leaves open is closed, so the call
// under test returns and the test fails at once instead of hanging until the run's time-out.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "tests/support/DialogScript.h"

namespace {

// A dialog whose OK is refused with a message box and whose Cancel closes it, as an entry sheet
// refuses a field. Past a few OKs it gives up, so a script that loops fails instead of hanging.
struct Refusing {
    int okPresses = 0;
};

INT_PTR CALLBACK RefusingProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp)
{
    auto* state = reinterpret_cast<Refusing*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: SetWindowLongPtrW(dialog, DWLP_USER, lp); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            if (++state->okPresses > 5) {
                EndDialog(dialog, -1);
            } else {
                MessageBoxW(dialog, L"Not yet.", L"Refused", MB_OK);
            }
        } else if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    return FALSE;
}

// An in-memory template: the caption and two push buttons, OK and Cancel.
std::vector<WORD> RefusingTemplate()
{
    std::vector<WORD> t;
    auto text = [&t](const wchar_t* s) {
        do t.push_back(static_cast<WORD>(*s));
        while (*s++);
    };
    auto dword = [&t](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER);
    dword(0);                                     // extended style
    t.insert(t.end(), {2, 0, 0, 160, 60, 0, 0});  // items, x, y, cx, cy, no menu, default class
    text(L"Refusing");
    for (int id : {IDOK, IDCANCEL}) {
        if (t.size() % 2) t.push_back(0);  // each item on a DWORD boundary
        dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
        dword(0);
        t.insert(t.end(), {static_cast<WORD>(id == IDOK ? 20 : 90), 30, 50, 14, static_cast<WORD>(id), 0xFFFF, 0x0080});
        text(id == IDOK ? L"OK" : L"Cancel");
        t.push_back(0);  // no creation data
    }
    return t;
}

TEST(DialogScript, AFailureUnderAMessageBoxClosesTheBoxThenItsDialog)
{
    const std::vector<WORD> dialog = RefusingTemplate();
    Refusing state;
    CDialogScript ui;
    ui.SetTimeout(500);
    ui.WaitFor(L"Refusing").Click(IDOK).WaitFor(L"A window that never opens");
    const DWORD start = GetTickCount();
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), nullptr,
                                RefusingProc, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, state.okPresses) << "the unwinding pressed the dialog's OK";
    EXPECT_FALSE(ui.Finished());
    EXPECT_EQ(L"step 3: WaitFor A window that never opens timed out; the active window was \"Refused\"", ui.Failure());
    EXPECT_LT(GetTickCount() - start, 5000u);
}

}  // namespace
