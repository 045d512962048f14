// Helpers of the editor and dialog tests: the program's connection on a copy of the template, with
// a second connection of the test's own to read what was stored; the settings at their defaults
// in a United States locale; settings read and written by bytes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/Startup.h"
#include "resources/desktop/resource.h"
#include "tests/mainframe/MainFrameTestSupport.h"
#include "tests/support/SettingsScope.h"
#include "tests/support/ThreadLocale.h"

namespace alk_editor_test {

using namespace alk_mainframe_test;
using UI = CDialogScript;

const LCID kGermany = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

// A value under the settings key as bytes (none when it is missing), and written as bytes.
inline std::vector<BYTE> SettingBytes(const wchar_t* name, DWORD* type = nullptr)
{
    BYTE data[64];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, name, RRF_RT_ANY, type, data, &size)) return {};
    return std::vector<BYTE>(data, data + size);
}
inline void SetSettingBytes(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
template <class T>
std::vector<BYTE> BytesOf(T value)
{
    return std::vector<BYTE>(reinterpret_cast<BYTE*>(&value), reinterpret_cast<BYTE*>(&value) + sizeof value);
}

inline int FocusedId()
{
    return GetDlgCtrlID(GetFocus());
}

#define EXPECT_SCRIPT(ui) EXPECT_TRUE((ui).Finished()) << testing::PrintToString((ui).Failure())

class EditorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PrepareWindowClasses(); }
    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_TRUE(locale.IsSet() && db.Ok());
        ASSERT_EQ(CDataLayer::csConnected, g_DataLayer.Connect(db.Path().c_str()));
        car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    }
    void TearDown() override
    {
        g_DataLayer.Disconnect();
        DeleteSettingsKey();
    }

    // An entry as the file holds it, through the test's own connection.
    std::unique_ptr<CEntry> Stored(long id)
    {
        std::unique_ptr<CEntry> entry(new CEntry);
        entry->SetID(id);
        EXPECT_TRUE(db.Db().Load(entry.get())) << "entry " << id;
        return entry;
    }
    // An entry saved through the test's connection and loaded through the program's, as the
    // entry list loads it.
    std::unique_ptr<CEntry> Loaded(CEntryRecord& record)
    {
        EXPECT_NE(0u, record.Save(db.Db()));
        std::unique_ptr<CEntry> entry(new CEntry);
        entry->SetID(record.Get().GetID());
        EXPECT_TRUE(g_DataLayer.Load(entry.get()));
        return entry;
    }
    // A new entry of the car, as the main window makes one.
    std::unique_ptr<CEntry> New(CEntry::Type type = CEntry::etFuel)
    {
        std::unique_ptr<CEntry> entry(new CEntry);
        entry->SetVehicleID(car);
        entry->SetType(type);
        entry->SetOdometer(12000);
        return entry;
    }

    CSettingsScope settings;
    CThreadLocale locale{CThreadLocale::UnitedStates()};
    SampleDatabase db{L"editor"};
    unsigned long car = 0;
};

}  // namespace alk_editor_test
