// Helpers of the framework tests: pumping messages and acting on modal windows from a timer.
#pragma once

#include <windows.h>

#include <functional>

#include "tests/support/MessagePump.h"

// Runs action once from a thread timer, which fires inside whatever modal loop this thread is
// in by then (a dialog's, a property sheet's, a menu's). The action gets the active window.
class TimerAction {
public:
    explicit TimerAction(std::function<void(HWND)> action, UINT delayMs = 50)
    {
        Current() = this;
        m_action = std::move(action);
        m_id = ::SetTimer(nullptr, 0, delayMs, &TimerAction::Fire);
    }
    ~TimerAction()
    {
        if (m_id) ::KillTimer(nullptr, m_id);
        Current() = nullptr;
    }
    bool Fired() const { return m_fired; }

private:
    static TimerAction*& Current()
    {
        static TimerAction* current = nullptr;
        return current;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
    {
        TimerAction* self = Current();
        ::KillTimer(nullptr, id);
        if (!self || self->m_fired) return;
        self->m_id = 0;
        self->m_fired = true;
        self->m_action(::GetActiveWindow());
    }

    std::function<void(HWND)> m_action;
    UINT_PTR m_id = 0;
    bool m_fired = false;
};

// Sends a WM_COMMAND as a control (or menu, with ctl null) would.
inline LRESULT SendCommand(HWND to, UINT id, UINT code = 0, HWND ctl = nullptr)
{
    return ::SendMessageW(to, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(ctl));
}

// Sends a WM_NOTIFY with a bare header.
inline LRESULT SendNotify(HWND to, HWND from, UINT_PTR id, UINT code)
{
    NMHDR hdr{from, id, code};
    return ::SendMessageW(to, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
}

// Runs steps one per timer tick (about every 60 ms), from whatever modal loop is running.
#include <vector>
class TimerSequence {
public:
    explicit TimerSequence(std::vector<std::function<void()>> steps, UINT periodMs = 60) : m_steps(std::move(steps))
    {
        Current() = this;
        m_id = ::SetTimer(nullptr, 0, periodMs, &TimerSequence::Tick);
    }
    ~TimerSequence()
    {
        if (m_id) ::KillTimer(nullptr, m_id);
        Current() = nullptr;
    }
    size_t Done() const { return m_next; }

private:
    static TimerSequence*& Current()
    {
        static TimerSequence* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        TimerSequence* self = Current();
        if (!self) return;
        if (self->m_next >= self->m_steps.size()) {
            ::KillTimer(nullptr, id);
            self->m_id = 0;
            return;
        }
        // A step may enter a modal loop (a menu, a dialog): the next step runs from inside it.
        self->m_steps[self->m_next++]();
    }

    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_id = 0;
};
