// Helpers for tests of the desktop program's settings key: a fixture that starts and ends every
// test without the key, and direct readers and writers of its raw values.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "desktop/AppSettings.h"

namespace alk_test {

inline void DeleteKey(const wchar_t* path) {
    SHDeleteKeyW(HKEY_CURRENT_USER, path);
}

inline bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    DWORD Dword() const {
        DWORD value = 0;
        if (bytes.size() == sizeof(value))
            memcpy(&value, bytes.data(), sizeof(value));
        return value;
    }
    std::wstring Text() const {
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        if (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return text;
    }
};

inline RawValue ReadRaw(const wchar_t* path, const wchar_t* name) {
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.exists = RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    return value;
}

inline void WriteRaw(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

inline void WriteDword(const wchar_t* path, const wchar_t* name, DWORD value) {
    WriteRaw(path, name, REG_DWORD, &value, sizeof(value));
}

inline void WriteText(const wchar_t* path, const wchar_t* name, const std::wstring& text) {
    WriteRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Every test starts and ends with no settings key at all.
class SettingsKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKey(ALK_SETTINGS_KEY);
        ASSERT_FALSE(KeyExists(ALK_SETTINGS_KEY));
    }
    void TearDown() override { DeleteKey(ALK_SETTINGS_KEY); }
};

}  // namespace alk_test
