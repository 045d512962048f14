// CCeKey: a key that the ActiveSync platform hands out rather than the desktop's registry (a key
// of the device's registry reached through the remote API, a partnership's key from CeSvcOpen),
// closed with the platform's own function for it when the owner goes. The key is filled by the
// opening call through m_key; a failed open leaves it null and nothing is closed.
#pragma once

#include <windows.h>

class CCeKey {
public:
    typedef LONG(WINAPI* CloseFunction)(HKEY key);

    explicit CCeKey(CloseFunction close) : m_close(close) {}
    ~CCeKey()
    {
        if (m_key) m_close(m_key);
    }
    CCeKey(const CCeKey&) = delete;
    CCeKey& operator=(const CCeKey&) = delete;

    HKEY m_key = nullptr;

private:
    CloseFunction m_close;
};
