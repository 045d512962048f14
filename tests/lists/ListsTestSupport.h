// Support of the list tests: the bold font made as the program makes it, a database copied from
// the template for each test, and helpers that store entries.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "business/AlkBiz.h"
#include "desktop/AppSettings.h"
#include "desktop/Startup.h"  // the program's data layer and bold font
#include "tests/support/TestFiles.h"

// A fresh copy of the template in a folder of its own, connected to g_DataLayer for the life of
// the object; the folder goes with it.
class CTestDataFile {
public:
    CTestDataFile();
    ~CTestDataFile();
    CTestDataFile(const CTestDataFile&) = delete;
    CTestDataFile& operator=(const CTestDataFile&) = delete;

    bool Connected() const { return m_connected; }
    // A folder for other files of the test (pictures ...).
    const std::wstring& Folder() const { return m_folder.Path(); }

    // Saves a vehicle and returns its reference id.
    unsigned long AddVehicle(const wchar_t* name, int year = 2004);
    // Saves an entry of the vehicle; the entry is freed before returning.
    void AddEntry(unsigned long vehicle, CEntry::Type type, long odometer, float amount, float custom1 = 0,
                  float custom2 = 0, const wchar_t* vendor = L"", const wchar_t* description = L"",
                  double date = 40000);

private:
    CScratchFolder m_folder;
    bool m_connected = false;
};

// Keeps the settings fields the tests change and puts them back.
class CSettingsScope {
public:
    CSettingsScope();
    ~CSettingsScope();
    CSettingsScope(const CSettingsScope&) = delete;
    CSettingsScope& operator=(const CSettingsScope&) = delete;

private:
    int m_unitDistance, m_unitVolume, m_unitEconomy, m_sortAscending, m_lastColSorted, m_shadeRows;
    COLORREF m_odd, m_even;
};
