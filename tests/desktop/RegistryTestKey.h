// Tests of the settings key: a fixture that starts and ends every test without the key, and raw
// readers and writers of its values.
#pragma once

#include <windows.h>

#include <shlwapi.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"

namespace alk_test {

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    DWORD Dword() const
    {
        DWORD v = 0;
        if (bytes.size() == sizeof(v)) memcpy(&v, bytes.data(), sizeof(v));
        return v;
    }
    std::wstring Text() const
    {  // without the terminator
        std::wstring t(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        if (!t.empty() && t.back() == L'\0') t.pop_back();
        return t;
    }
};

// The bytes exactly as stored (RegGetValue would add a missing terminator).
inline RawValue ReadRaw(const wchar_t* path, const wchar_t* name)
{
    RawValue v;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    BYTE data[2048];
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key, name, nullptr, &v.type, data, &size) == ERROR_SUCCESS) {
        v.exists = true;
        v.bytes.assign(data, data + size);
    }
    RegCloseKey(key);
    return v;
}

inline void WriteRaw(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, size_t size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)));
    RegCloseKey(key);
}
inline void WriteDword(const wchar_t* path, const wchar_t* name, DWORD value)
{
    WriteRaw(path, name, REG_DWORD, &value, sizeof(value));
}
inline void WriteText(const wchar_t* path, const wchar_t* name, const std::wstring& text)
{
    WriteRaw(path, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

inline bool KeyExists(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

class SettingsKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
        ASSERT_FALSE(KeyExists(ALK_SETTINGS_KEY));
    }
    void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY); }
};

}  // namespace alk_test
