#include "tests/support/ProgramDriver.h"

#include <commctrl.h>

#include <cwchar>

#include "common/SharedNames.h"
#include "framework/RegKey.h"

namespace {

struct WindowSearch {
    DWORD process;
    const wchar_t* cls;
    const wchar_t* caption;  // null: any
    const wchar_t* text;     // a message box's; null: any
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (owner != search->process || window == search->except || !IsWindowVisible(window) ||
        wcscmp(cls, search->cls) != 0)
        return TRUE;
    if (search->caption) {
        wchar_t caption[1024] = {};
        GetWindowTextW(window, caption, 1024);
        if (wcscmp(caption, search->caption) != 0) return TRUE;
    }
    if (search->text && MessageBoxText(window) != search->text) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK PostClose(HWND window, LPARAM process)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(process)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

struct ControlSearch {
    int id;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ControlSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (GetDlgCtrlID(window) != search->id || (search->cls && _wcsicmp(name, search->cls) != 0)) return TRUE;
    search->found = window;
    return FALSE;
}

void WriteValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    CRegKey settings;
    if (settings.Create(HKEY_CURRENT_USER, key ? key : ALK_SETTINGS_KEY) == ERROR_SUCCESS)
        RegSetValueExW(settings, name, 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount();;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

HWND FindControl(HWND parent, int id, const wchar_t* cls)
{
    ControlSearch search{id, cls, nullptr};
    EnumChildWindows(parent, &MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ControlText(HWND window)
{
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring MessageBoxText(HWND box)
{
    return ControlText(GetDlgItem(box, 0xFFFF));
}

int RowCount(HWND list)
{
    return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

void WriteSetting(const wchar_t* name, DWORD value, const wchar_t* key)
{
    WriteValue(key, name, REG_DWORD, &value, sizeof value);
}

void WriteSetting(const wchar_t* name, const std::wstring& text, const wchar_t* key)
{
    WriteValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RememberDatabase(const std::wstring& path, unsigned long activeVehicle)
{
    WriteSetting(L"DBPath", path);
    WriteSetting(L"UnitSetupMsgShown", 1);
    WriteSetting(L"LastActiveVehicle", activeVehicle);
}

CProgramDriver::~CProgramDriver()
{
    if (!m_info.hProcess) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(&PostClose, static_cast<LPARAM>(m_info.dwProcessId));
        if (WaitForSingleObject(m_info.hProcess, 5000) == WAIT_TIMEOUT) Kill(99);
    }
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
}

bool CProgramDriver::Start(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_info) != FALSE;
}

long CProgramDriver::Wait(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

long CProgramDriver::Close(HWND main, DWORD timeoutMs)
{
    PostMessageW(main, WM_CLOSE, 0, 0);
    return Wait(timeoutMs);
}

void CProgramDriver::Kill(UINT exitCode)
{
    TerminateProcess(m_info.hProcess, exitCode);
    WaitForSingleObject(m_info.hProcess, 10000);
}

HWND CProgramDriver::Search(const wchar_t* cls, const wchar_t* caption, const wchar_t* text, HWND except) const
{
    WindowSearch search{m_info.dwProcessId, cls, caption, text, except, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CProgramDriver::Find(const wchar_t* cls, const wchar_t* caption, HWND except) const
{
    return Search(cls, caption, nullptr, except);
}

HWND CProgramDriver::WaitForWindow(const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = Find(cls, caption)) != nullptr; }, timeoutMs);
    return found;
}

HWND CProgramDriver::FindBox(const wchar_t* caption, const std::wstring& text) const
{
    return Search(L"#32770", caption, text.c_str(), nullptr);
}

HWND CProgramDriver::WaitForBox(const wchar_t* caption, const std::wstring& text, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindBox(caption, text)) != nullptr; }, timeoutMs);
    return found;
}

HWND CProgramDriver::WaitForMainWindow(const std::function<bool(HWND)>& shown, DWORD timeoutMs) const
{
    HWND main = nullptr;
    const bool done = WaitFor(
        [&] {
            main = Find(L"Alk.MainFrame", L"Autolark");
            return main && shown(main);
        },
        timeoutMs);
    return done ? main : nullptr;
}

std::wstring CProgramDriver::ItemText(HWND list, int row, int column) const
{
    struct Block {
        LVITEMW item;
        wchar_t text[256];
    };
    auto* remote =
        static_cast<Block*>(VirtualAllocEx(m_info.hProcess, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return L"<no memory>";
    Block local{};
    local.item.iSubItem = column;
    local.item.pszText = remote->text;
    local.item.cchTextMax = 256;
    WriteProcessMemory(m_info.hProcess, remote, &local, sizeof local, nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(m_info.hProcess, remote, &local, sizeof local, nullptr);
    VirtualFreeEx(m_info.hProcess, remote, 0, MEM_RELEASE);
    local.text[255] = L'\0';
    return local.text;
}

std::vector<std::wstring> CProgramDriver::ColumnTexts(HWND list, int column) const
{
    std::vector<std::wstring> texts;
    const int rows = RowCount(list);
    for (int row = 0; row < rows; ++row) texts.push_back(ItemText(list, row, column));
    return texts;
}
