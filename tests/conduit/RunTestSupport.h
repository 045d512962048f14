// What the end-to-end runs of the conduit share: "DBPath" pointed at a test database (the old
// value put back afterwards), a top-level window that counts the reload message, and records of
// both sides as comparable texts.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "business/AlkBiz.h"
#include "sdk/hotsync/handheld/HandheldRecord.h"

namespace alk_conduit_test {

// Sets (or, with a null data, deletes) "DBPath" for the life of the object.
class CDbPathScope {
public:
    CDbPathScope()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Brellox Software\\Autolark", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &m_key, nullptr);
        DWORD size = sizeof m_old;
        m_had = RegQueryValueExA(m_key, "DBPath", nullptr, &m_oldType, m_old, &size) == ERROR_SUCCESS;
        m_oldSize = size;
    }
    ~CDbPathScope()
    {
        if (m_had)
            RegSetValueExA(m_key, "DBPath", 0, m_oldType, m_old, m_oldSize);
        else
            RegDeleteValueA(m_key, "DBPath");
        RegCloseKey(m_key);
    }
    CDbPathScope(const CDbPathScope&) = delete;
    CDbPathScope& operator=(const CDbPathScope&) = delete;

    void Set(const std::string& path, DWORD type = REG_SZ)
    {
        RegSetValueExA(m_key, "DBPath", 0, type, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
    }
    void SetRaw(DWORD type, const void* data, DWORD size)
    {
        RegSetValueExA(m_key, "DBPath", 0, type, static_cast<const BYTE*>(data), size);
    }
    void Delete() { RegDeleteValueA(m_key, "DBPath"); }

private:
    HKEY m_key = nullptr;
    bool m_had = false;
    DWORD m_oldType = REG_NONE, m_oldSize = 0;
    BYTE m_old[2048] = {};
};

// A hidden top-level window of this thread that counts WM_RELOAD_DATA, the broadcast of a
// committed run. Count pumps this thread's messages for a moment first.
class CReloadListener {
public:
    CReloadListener()
    {
        m_message = RegisterWindowMessageA("{5E75CC96-F6A3-4ebd-BB10-3F30C53EAC89}");
        WNDCLASSA wc{};
        wc.lpfnWndProc = &CReloadListener::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AlkReloadListener";
        RegisterClassA(&wc);
        m_window =
            CreateWindowA("AlkReloadListener", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CReloadListener() { DestroyWindow(m_window); }
    CReloadListener(const CReloadListener&) = delete;
    CReloadListener& operator=(const CReloadListener&) = delete;

    int Count(DWORD waitMs = 500)
    {
        const DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        } while (GetTickCount() - start < waitMs);
        return m_count;
    }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        CReloadListener* self = reinterpret_cast<CReloadListener*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self && msg == self->m_message && wParam == 0 && lParam == 0) ++self->m_count;
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }

    UINT m_message = 0;
    HWND m_window = nullptr;
    int m_count = 0;
};

// The engine's connection to a file named in the ANSI code page (the engine takes UTF-8 names).
struct sqlite3* OpenFile(const std::string& ansiPath, int flags);

// A record of either side as one text of every field but the row id, dates to the six decimals
// the file keeps, the entry's numbers as the 32-bit floats the desktop keeps.
std::string RecordText(CBaseObject* record);
std::string RecordText(const CHandheldRecord& record);

}  // namespace alk_conduit_test
