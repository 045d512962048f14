#include "ListsTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The bold interface font, made once for the whole test program as the program makes it.
struct BoldFont {
    BoldFont() { CreateBoldFont(); }
    ~BoldFont() { DeleteObject(g_hBoldFont); }
} g_boldFont;

}  // namespace

CTestDataFile::CTestDataFile() : m_folder(L"alk-lists")
{
    const std::wstring file = m_folder.File(L"test.dat");
    EXPECT_TRUE(CopyTemplate(file)) << "no template beside the tests";
    m_connected = g_DataLayer.Connect(file.c_str()) == CDataLayer::csConnected;
    EXPECT_TRUE(m_connected);
}

// The folder goes after the disconnection, with the member.
CTestDataFile::~CTestDataFile()
{
    g_DataLayer.Disconnect();
}

unsigned long CTestDataFile::AddVehicle(const wchar_t* name, int year)
{
    CVehicle* vehicle = new CVehicle;
    vehicle->SetName(name);
    vehicle->SetYear(year);
    EXPECT_EQ(1, g_DataLayer.Save(vehicle, 0));
    const unsigned long refID = vehicle->GetRefID();
    delete vehicle;
    return refID;
}

void CTestDataFile::AddEntry(unsigned long vehicle, CEntry::Type type, long odometer, float amount, float custom1,
                             float custom2, const wchar_t* vendor, const wchar_t* description, double date)
{
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
      m_even(g_AppSettings.EvenRowColor)
{}

CSettingsScope::~CSettingsScope()
{
    g_AppSettings.UnitDistance = m_unitDistance;
    g_AppSettings.UnitVolume = m_unitVolume;
    g_AppSettings.UnitFuelEconomy = m_unitEconomy;
    g_AppSettings.SortAscending = m_sortAscending;
    g_AppSettings.LastColSorted = m_lastColSorted;
    g_AppSettings.ShadeRows = m_shadeRows;
    g_AppSettings.OddRowColor = m_odd;
    g_AppSettings.EvenRowColor = m_even;
}
