#include "sdk/ado/Journal.h"

#include <windows.h>

#include <vector>

void JournalWrite(const std::wstring& line)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(ALK_ADO_JOURNAL_VARIABLE, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;

    std::wstring text = line + L"\n";
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return;
    std::vector<char> utf8(bytes);
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);

    // Appends from any thread of any process: FILE_APPEND_DATA writes each line at the end.
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(bytes), &written, nullptr);
    CloseHandle(file);
}
