#include "TestFiles.h"

namespace {

int g_folderCount = 0;

std::string Narrow(const std::wstring& text, UINT codePage)
{
    const int bytes = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string result(bytes, '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    result.resize(bytes - 1);
    return result;
}

}  // namespace

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

bool CopyTemplate(const std::wstring& path)
{
    const std::wstring source = ProgramFolder() + L"Default.ENU";
    // A file of that name left read-only by an earlier run that was stopped half-way.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return CopyFileW(source.c_str(), path.c_str(), FALSE) != FALSE;
}

std::string WinePath(const char* unixPath)
{
    std::string path = "Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? '\\' : *p;
    return path;
}

std::wstring WinePathW(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::string ToAnsi(const std::wstring& text)
{
    return Narrow(text, CP_ACP);
}

std::string ToUtf8(const std::wstring& text)
{
    return Narrow(text, CP_UTF8);
}

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char block[65536];
    DWORD read = 0;
    while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) bytes.append(block, read);
    CloseHandle(file);
    return bytes;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

CScratchFolder::CScratchFolder(const std::wstring& prefix, const std::wstring& leaf)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_top = std::wstring(temp) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++g_folderCount);
    RemoveTree(m_top);
    CreateDirectoryW(m_top.c_str(), nullptr);
    m_path = m_top;
    if (!leaf.empty()) {
        m_path += L"\\" + leaf;
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
}

CScratchFolder::~CScratchFolder()
{
    RemoveTree(m_top);
}
