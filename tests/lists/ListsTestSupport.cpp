#include "ListsTestSupport.h"

#include <gtest/gtest.h>

namespace {

int g_fileCount = 0;

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

// The bold interface font, made once for the whole test program as the program makes it.
struct BoldFont {
    BoldFont() { CreateBoldFont(); }
    ~BoldFont() { DeleteObject(g_hBoldFont); }
} g_boldFont;

}  // namespace

std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

CTestDataFile::CTestDataFile() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"alk-lists-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++g_fileCount);
    RemoveTree(m_folder);
    CreateDirectoryW(m_folder.c_str(), nullptr);
    const std::wstring file = m_folder + L"\\test.dat";
    const std::wstring source = TestProgramFolder() + L"Default.ENU";
    EXPECT_TRUE(CopyFileW(source.c_str(), file.c_str(), FALSE)) << "no template beside the tests";
    m_connected = g_DataLayer.Connect(file.c_str()) == CDataLayer::csConnected;
    EXPECT_TRUE(m_connected);
}

CTestDataFile::~CTestDataFile() {
    g_DataLayer.Disconnect();
    RemoveTree(m_folder);
}

unsigned long CTestDataFile::AddVehicle(const wchar_t* name, int year) {
    CVehicle* vehicle = new CVehicle;
    vehicle->SetName(name);
    vehicle->SetYear(year);
    EXPECT_EQ(1, g_DataLayer.Save(vehicle, 0));
    const unsigned long refID = vehicle->GetRefID();
    delete vehicle;
    return refID;
}

void CTestDataFile::AddEntry(unsigned long vehicle, CEntry::Type type, long odometer, float amount,
                             float custom1, float custom2, const wchar_t* vendor,
                             const wchar_t* description, double date) {
    CEntry* entry = new CEntry;
    entry->SetVehicleID(vehicle);
    entry->SetType(type);
    entry->SetOdometer(odometer);
    entry->SetAmount(amount);
    entry->SetCustom1(custom1);
    entry->SetCustom2(custom2);
    entry->SetVendor(vendor);
    entry->SetName(description);
    entry->SetDate(date);
    EXPECT_EQ(1, g_DataLayer.Save(entry, 0));
    delete entry;
}

CSettingsScope::CSettingsScope()
    : m_unitDistance(g_AppSettings.UnitDistance),
      m_unitVolume(g_AppSettings.UnitVolume),
      m_unitEconomy(g_AppSettings.UnitFuelEconomy),
      m_sortAscending(g_AppSettings.SortAscending),
      m_lastColSorted(g_AppSettings.LastColSorted),
      m_shadeRows(g_AppSettings.ShadeRows),
      m_odd(g_AppSettings.OddRowColor),
      m_even(g_AppSettings.EvenRowColor) {}

CSettingsScope::~CSettingsScope() {
    g_AppSettings.UnitDistance = m_unitDistance;
    g_AppSettings.UnitVolume = m_unitVolume;
    g_AppSettings.UnitFuelEconomy = m_unitEconomy;
    g_AppSettings.SortAscending = m_sortAscending;
    g_AppSettings.LastColSorted = m_lastColSorted;
    g_AppSettings.ShadeRows = m_shadeRows;
    g_AppSettings.OddRowColor = m_odd;
    g_AppSettings.EvenRowColor = m_even;
}
