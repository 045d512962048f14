#include "sdk/activesync/manager/DeviceFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "sdk/activesync/DeviceState.h"

bool CDeviceFolder::Open(std::string* error)
{
    wchar_t root[MAX_PATH];
    DWORD size = sizeof root;
    char ansi[MAX_PATH * 2];
    if (RegGetValueW(HKEY_CURRENT_USER, ALK_SDK_DEVICE_KEY, L"Root", RRF_RT_REG_SZ, nullptr, root, &size) !=
            ERROR_SUCCESS ||
        !root[0] || !WideCharToMultiByte(CP_ACP, 0, root, -1, ansi, sizeof ansi, nullptr, nullptr)) {
        *error = "the device state names no Root folder";
        return false;
    }
    m_path = ansi;
    while (!m_path.empty() && m_path.back() == '\\') m_path.pop_back();
    m_path += "\\Objects";
    CreateDirectoryA(m_path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(m_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = "no device folder " + m_path;
        return false;
    }
    return true;
}

std::vector<std::string> CDeviceFolder::List() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "\\*.pkt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        uint32_t number = 0;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && NumberOf(found.cFileName, &number)) {
            names.push_back(NameOf(number));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool CDeviceFolder::Read(const std::string& name, std::vector<uint8_t>* bytes) const
{
    bytes->clear();
    HANDLE file = CreateFileA((m_path + "\\" + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 64 * 1024 * 1024;
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes->empty() || (ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) &&
                                read == bytes->size());
    }
    CloseHandle(file);
    return ok;
}

bool CDeviceFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    // Beside it first: a write that fails half-way leaves the device's object as it was, and
    // no half an object that would look new to the next run.
    const std::string path = m_path + "\\" + name, temporary = path + ".new";
    HANDLE file =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    CloseHandle(file);
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}

bool CDeviceFolder::Remove(const std::string& name) const
{
    const std::string path = m_path + "\\" + name;
    return DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string CDeviceFolder::NameOf(uint32_t number)
{
    char name[16];
    std::snprintf(name, sizeof name, "%08X.pkt", static_cast<unsigned>(number));
    return name;
}

bool CDeviceFolder::NumberOf(const std::string& name, uint32_t* number)
{
    if (name.size() != 12 || _stricmp(name.c_str() + 8, ".pkt") != 0) return false;
    uint32_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const char c = name[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    *number = value;
    return true;
}

uint64_t CDeviceFolder::Hash(const std::vector<uint8_t>& bytes)
{
    uint64_t hash = 14695981039346656037ULL;
    for (uint8_t b : bytes) {
        hash ^= b;
        hash *= 1099511628211ULL;
    }
    return hash;
}
