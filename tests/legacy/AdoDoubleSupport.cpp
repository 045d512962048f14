#include "AdoDoubleSupport.h"

#include <oleauto.h>

#include <cwchar>

#include "tests/support/TestFiles.h"

const wchar_t kDisconnectText[] =
    L"IMPORTANT: If you are syncing Autolark with a Pocket PC or Smartphone, please ensure that ActiveSync is NOT "
    L"connected at this time. Disconnect your mobile device from the desktop before continuing.";
const wchar_t kCannotImportText[] = L"Data cannot be imported from the specified file. Please try again.";

bool RegisterAdoDouble()
{
    HMODULE server = LoadLibraryW((ProgramFolder() + L"AdoDouble.dll").c_str());
    if (!server) return false;
    typedef HRESULT(WINAPI * Register)();
    auto registerServer =
        reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(server, "DllRegisterServer")));
    const bool registered = registerServer && SUCCEEDED(registerServer());
    FreeLibrary(server);
    return registered;
}

double OleDate(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    double date = 0;
    SystemTimeToVariantTime(&time, &date);
    return date;
}

// --- journal -------------------------------------------------------------------------------------

CJournal::CJournal(const std::wstring& path) : m_path(path)
{
    DeleteFileW(m_path.c_str());
    SetEnvironmentVariableW(L"ALK_ADO_JOURNAL", m_path.c_str());
}

CJournal::~CJournal()
{
    SetEnvironmentVariableW(L"ALK_ADO_JOURNAL", nullptr);
    DeleteFileW(m_path.c_str());
}

void CJournal::Clear() const
{
    DeleteFileW(m_path.c_str());
}

std::vector<std::wstring> CJournal::Lines() const
{
    std::vector<std::wstring> lines;
    HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(file);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(start, end - start);
        int units = MultiByteToWideChar(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring wide(static_cast<size_t>(units), L'\0');
        if (units) MultiByteToWideChar(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &wide[0], units);
        lines.push_back(wide);
        start = end + 1;
    }
    return lines;
}

int CJournal::Find(const std::wstring& line) const
{
    const std::vector<std::wstring> lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) return static_cast<int>(i);
    }
    return -1;
}

int CJournal::FindPrefix(const std::wstring& prefix) const
{
    const std::vector<std::wstring> lines = Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    }
    return -1;
}

// --- message boxes -------------------------------------------------------------------------------

namespace {

// The icon a message box shows, by comparing its icon with the system's.
UINT BoxIcon(HWND box)
{
    struct Icon {
        LPCWSTR id;
        UINT style;
    };
    static const Icon kIcons[] = {{MAKEINTRESOURCEW(32513), MB_ICONHAND},
                                  {MAKEINTRESOURCEW(32515), MB_ICONEXCLAMATION},
                                  {MAKEINTRESOURCEW(32516), MB_ICONINFORMATION},
                                  {MAKEINTRESOURCEW(32514), MB_ICONQUESTION}};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HICON shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (!shown) continue;
        for (const Icon& icon : kIcons) {
            if (shown == LoadIconW(nullptr, icon.id)) return icon.style;
        }
    }
    return 0;
}

}  // namespace

CBoxWatcher::CBoxWatcher(const std::wstring& caption, std::function<void(HWND)> beforeAnswer)
    : m_caption(caption), m_beforeAnswer(std::move(beforeAnswer)), m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    m_thread = std::thread([this] { Watch(); });
}

CBoxWatcher::~CBoxWatcher()
{
    SetEvent(m_stop);
    m_thread.join();
    CloseHandle(m_stop);
}

void CBoxWatcher::Watch()
{
    while (WaitForSingleObject(m_stop, 10) == WAIT_TIMEOUT) {
        HWND box = FindWindowW(L"#32770", m_caption.c_str());
        if (!box || !IsWindowVisible(box)) continue;
        wchar_t text[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_boxes.push_back(Box{text, BoxIcon(box)});
        }
        if (m_beforeAnswer) m_beforeAnswer(box);
        // The box's only (or first) button.
        HWND button = FindWindowExW(box, nullptr, L"Button", nullptr);
        const int id = button ? GetDlgCtrlID(button) : IDOK;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        // One box at a time: the next one is looked for once this one has gone.
        while (IsWindow(box) && WaitForSingleObject(m_stop, 5) == WAIT_TIMEOUT) {}
    }
}

std::vector<CBoxWatcher::Box> CBoxWatcher::Boxes() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_boxes;
}

std::vector<std::wstring> CBoxWatcher::Texts() const
{
    std::vector<std::wstring> texts;
    for (const Box& box : Boxes()) texts.push_back(box.text);
    return texts;
}

void CBoxWatcher::Clear()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_boxes.clear();
}
