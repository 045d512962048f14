// The message queue of a test thread.
#pragma once

#include <windows.h>

// Dispatches whatever is queued for this thread, then returns (no idle processing; a WM_QUIT in
// the queue is dispatched like any other message, and so dropped).
inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
