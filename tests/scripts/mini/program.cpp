// Stands for the desktop program, which tools/run builds (target Autolark) and starts: it makes a
// top-level window and closes it again, and ends as the program does, with the quit code its
// frame posts when the main window closes (1), or 0 when the window cannot be made. Started with
// "exit N" it ends with N at once, as a program that crashed or could not load does.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) PostQuitMessage(1);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    int code = 0;
    if (std::swscanf(commandLine, L"exit %d", &code) == 1) return code;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Mini.Program";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Mini", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 0;
    PostMessageW(window, WM_CLOSE, 0, 0);
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
}
