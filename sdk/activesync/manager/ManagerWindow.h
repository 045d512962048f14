// The manager double's own top-level window (never shown): the owner the store's message boxes
// and dialogs get through IReplNotify::GetWindow. While a CBoxAnswerer lives, each message box
// of this thread is logged (caption, text, whether its owner is the manager's window) and
// answered with OK, so a run never waits for a person.
#pragma once

#include <windows.h>

#include <vector>

#include "sdk/activesync/manager/ManagerLog.h"

class CManagerWindow {
public:
    CManagerWindow();
    ~CManagerWindow();
    CManagerWindow(const CManagerWindow&) = delete;
    CManagerWindow& operator=(const CManagerWindow&) = delete;
    // Null without a display.
    HWND Handle() const { return m_window; }

private:
    HWND m_window = nullptr;
};

class CBoxAnswerer {
public:
    CBoxAnswerer(CManagerLog& log, HWND manager);
    ~CBoxAnswerer();
    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;

    int Answered() const { return m_answered; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    void Answer(HWND box);

    CManagerLog& m_log;
    HWND m_manager;
    HHOOK m_hook = nullptr;
    std::vector<HWND> m_seen;
    int m_answered = 0;
};
