// The rapi.dll double as its callers use it: partnerships enumerated and opened by profile
// number, their strings read; the device's registry and files answered only while connected,
// every call counted.
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "sdk/activesync/CeServices.h"
#include "sdk/activesync/DeviceState.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

TEST(RapiDoubleTest, PartnershipsAreEnumeratedOpenedAndRead)
{
    DeviceState device;
    for (const wchar_t* name : {L"1", L"-1", L"2"}) {
        const std::wstring key = std::wstring(ALK_SDK_PARTNERS_KEY) + L"\\" + name;
        ASSERT_EQ(ERROR_SUCCESS, SHSetValueW(HKEY_CURRENT_USER, key.c_str(), L"DeviceType", REG_SZ, name,
                                             static_cast<DWORD>((wcslen(name) + 1) * sizeof(wchar_t))));
    }
    std::vector<DWORD> profiles;
    DWORD profile = 0;
    for (DWORD i = 0; SUCCEEDED(CeSvcEnumProfiles(i, &profile)); ++i) profiles.push_back(profile);
    ASSERT_EQ(3u, profiles.size());
    EXPECT_NE(profiles.end(), std::find(profiles.begin(), profiles.end(), 0xFFFFFFFFu));

    HCESVC key = nullptr;
    ASSERT_EQ(S_OK, CeSvcOpen(CESVC_PARTNERSHIP, 0xFFFFFFFF, FALSE, &key));
    char text[8] = {};
    EXPECT_EQ(S_OK, CeSvcGetString(key, "DeviceType", text, sizeof text));
    EXPECT_STREQ("-1", text);
    EXPECT_TRUE(FAILED(CeSvcGetString(key, "DeviceType", text, 2))) << "does not fit";
    EXPECT_TRUE(FAILED(CeSvcGetString(key, "Missing", text, sizeof text)));
    EXPECT_EQ(S_OK, CeSvcClose(key));
    EXPECT_TRUE(FAILED(CeSvcOpen(CESVC_PARTNERSHIP, 7, FALSE, &key)));
    EXPECT_EQ(nullptr, key);
    EXPECT_TRUE(FAILED(CeSvcOpen(4, 1, FALSE, &key))) << "another service";
    ASSERT_EQ(S_OK, CeSvcOpen(CESVC_PARTNERSHIP, 7, TRUE, &key));
    CeSvcClose(key);
}

TEST(RapiDoubleTest, TheDeviceAnswersOnlyWhileConnected)
{
    DeviceState device;
    const DWORD calls = DeviceState::RapiCalls();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              CeRegOpenKeyEx(HKEY_CURRENT_USER, L"Software\\Brellox Software\\Autolark", 0, KEY_ALL_ACCESS, &key));
    wchar_t path[MAX_PATH] = {};
    DWORD type = 0, size = sizeof path;
    ASSERT_EQ(ERROR_SUCCESS, CeRegQueryValueEx(key, L"DBPath", nullptr, &type, reinterpret_cast<BYTE*>(path), &size));
    EXPECT_STREQ(L"\\Autolark\\Autolark.dat", path);
    EXPECT_EQ(ERROR_SUCCESS, CeRegCloseKey(key));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, CeGetFileAttributes(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, CeGetFileAttributes(L"\\Autolark\\Gone.dat"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, CeGetFileAttributes(L"Autolark\\Autolark.dat")) << "not a device path";
    EXPECT_EQ(calls + 6, DeviceState::RapiCalls());

    DeviceState::SetDword(L"Connected", 0);
    EXPECT_EQ(ERROR_NOT_CONNECTED, CeRegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, CeGetFileAttributes(path));
    EXPECT_EQ(calls + 8, DeviceState::RapiCalls());
}
