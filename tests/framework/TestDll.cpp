// A DLL that links the framework and holds resources of its own, as the conduit and the
// ActiveSync provider do: its strings and dialog come from its own module, not the program's.
#include <windows.h>

#include "common/Assert.h"
#include "framework/Dialog.h"
#include "framework/Module.h"
#include "framework/String.h"
#include "framework/WindowImpl.h"
#include "TestDllResources.h"

namespace {

class COwnDialog : public CDialogImpl<COwnDialog> {
public:
    enum { IDD = IDD_DLL_DIALOG };
    CString caption;
    // clang-format off
    BEGIN_MSG_MAP(COwnDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()
    // clang-format on
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        GetWindowText(caption);
        EndDialog(IDOK);
        return TRUE;
    }
};

}  // namespace

// Copies the DLL's string IDS_DLL_TEXT into buf; returns its length (0 when not found).
extern "C" __declspec(dllexport) int DllLoadOwnString(wchar_t* buf, int size)
{
    CString s;
    if (!s.LoadString(IDS_DLL_TEXT)) return 0;
    lstrcpynW(buf, s, size);
    return s.GetLength();
}

// Breaks an invariant of the DLL's own code: the program's handler hears of it. Returns 1 after the
// assertion, as the defensive code behind one goes on.
extern "C" __declspec(dllexport) int DllFailAnAssertion()
{
    ALK_ASSERT(!"an invariant of the DLL");
    return 1;
}

// Runs the DLL's own dialog template; copies its caption into buf; returns DoModal's result.
extern "C" __declspec(dllexport) int DllRunOwnDialog(wchar_t* buf, int size)
{
    COwnDialog dlg;
    INT_PTR r = dlg.DoModal(nullptr);
    lstrcpynW(buf, dlg.caption, size);
    return static_cast<int>(r);
}

namespace {

class CDllWindow : public CWindowImpl<CDllWindow> {
public:
    DECLARE_WND_CLASS(L"AlkTest.DllWindow")
    // clang-format off
    BEGIN_MSG_MAP(CDllWindow)
    END_MSG_MAP()
    // clang-format on
};

}  // namespace

// Creates and destroys a window of a class the DLL registers; 1 when the window was made.
extern "C" __declspec(dllexport) int DllMakeWindow()
{
    CDllWindow w;
    if (!w.Create(nullptr, CRect(0, 0, 50, 50), L"dll window", WS_POPUP)) return 0;
    w.DestroyWindow();
    return 1;
}
