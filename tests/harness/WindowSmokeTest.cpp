// A real top-level window under Wine and Xvfb: created, shown, given a common control, closed by
// a posted WM_CLOSE and torn down by its own message loop.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

struct Trace {
    bool created = false;
    bool closed = false;
    bool destroyed = false;
};

LRESULT CALLBACK SmokeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Trace* trace = reinterpret_cast<Trace*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        break;
    }
    case WM_CREATE: trace->created = true; return 0;
    case WM_CLOSE:
        trace->closed = true;
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        trace->destroyed = true;
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(WindowSmoke, TheDisplayIsTheVirtualDesktop)
{
    EXPECT_EQ(1280, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(1024, GetSystemMetrics(SM_CYSCREEN));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(32, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
}

TEST(WindowSmoke, WindowIsCreatedShownAndClosedByItsLoop)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));

    WNDCLASSW wc = {};
    wc.lpfnWndProc = SmokeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"AlkHarnessSmoke";
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ASSERT_NE(0, RegisterClassW(&wc));

    Trace trace;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Harness smoke", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr,
                                nullptr, wc.hInstance, &trace);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(trace.created);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 200, 100, hwnd, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(nullptr, list);
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(L"Name");
    col.cx = 100;
    EXPECT_EQ(0, SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col)));

    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(WM_QUIT, msg.message);
    EXPECT_EQ(7, static_cast<int>(msg.wParam));
    EXPECT_TRUE(trace.closed);
    EXPECT_TRUE(trace.destroyed);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindow(list));
}

}  // namespace
