#include "sdk/activesync/manager/ManagerWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char kClassName[] = "AlkActiveSyncManagerDouble";

// The answerer of this thread (one at a time).
thread_local CBoxAnswerer* t_answerer = nullptr;

}  // namespace

CManagerWindow::CManagerWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when a window before registered it
    m_window = CreateWindowExA(0, kClassName, "ActiveSync", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                               nullptr, nullptr, wc.hInstance, nullptr);
}

CManagerWindow::~CManagerWindow()
{
    if (m_window) DestroyWindow(m_window);
}

CBoxAnswerer::CBoxAnswerer(CManagerLog& log, HWND manager) : m_log(log), m_manager(manager)
{
    t_answerer = this;
    m_hook = SetWindowsHookExA(WH_CBT, &CBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
}

CBoxAnswerer::~CBoxAnswerer()
{
    if (m_hook) UnhookWindowsHookEx(m_hook);
    t_answerer = nullptr;
}

LRESULT CALLBACK CBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && t_answerer) t_answerer->Answer(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CBoxAnswerer::Answer(HWND box)
{
    char className[32] = {};
    GetClassNameA(box, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || std::find(m_seen.begin(), m_seen.end(), box) != m_seen.end()) return;
    m_seen.push_back(box);
    char caption[256] = {}, text[2048] = {};
    GetWindowTextA(box, caption, sizeof caption);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text control
    const HWND owner = GetWindow(box, GW_OWNER);
    char ownerText[32];
    if (!owner) {
        std::strcpy(ownerText, "none");
    } else if (owner == m_manager) {
        std::strcpy(ownerText, "manager");
    } else {
        std::snprintf(ownerText, sizeof ownerText, "other");
    }
    m_log.Line("box caption=\"%s\" text=\"%s\" owner=%s", caption, text, ownerText);
    ++m_answered;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}
