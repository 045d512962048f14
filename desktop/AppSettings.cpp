#include "desktop/AppSettings.h"

#include <cstring>
#include <vector>

#include "framework/RegKey.h"

CAppSettings g_AppSettings;

namespace {

// A string value of at most maxChars characters and its terminator; anything else leaves the
// text alone.
bool ReadString(CRegKey& key, const wchar_t* name, wchar_t* text, ULONG maxChars)
{
    ULONG chars = maxChars + 1;
    return key.QueryStringValue(name, text, &chars) == ERROR_SUCCESS;
}

void ReadString(CRegKey& key, const wchar_t* name, CString& field)
{
    wchar_t text[CAppSettings::MaxFormat + 1];
    if (ReadString(key, name, text, CAppSettings::MaxFormat)) field = text;
}

// A REG_DWORD of exactly 4 bytes, else the field keeps its value.
template <typename T>
void ReadDword(CRegKey& key, const wchar_t* name, T& field)
{
    static_assert(sizeof(T) == sizeof(DWORD), "stored as a 32-bit value");
    DWORD value = 0;
    if (key.QueryDWORDValue(name, value) == ERROR_SUCCESS) std::memcpy(&field, &value, sizeof(value));
}

}  // namespace

CAppSettings::CAppSettings()
    : LastActiveVehicle(0),
      ActiveOdometer(0),
      SortAscending(1),
      ShadeRows(1),
      UnitSetupMsgShown(0),
      OddRowColor(GetSysColor(COLOR_WINDOW)),
      EvenRowColor(RGB(206, 239, 165)),
      ViewEntryType(CEntry::etNone),
      ViewDateRangeType(CEntryFilter::drAll),
      DBPath(),
      LastColSorted(0),
      IconSize(GetSystemMetrics(SM_CXICON)),
      SmallIconSize(GetSystemMetrics(SM_CXSMICON)),
      MileageRate(0.36f),
      UnitDistance(0),
      UnitVolume(0),
      UnitFuelEconomy(0),
      ShowVehiclePicture(1),
      ExcelFormatCells(1),
      ExcelFmt_Date(L"[$-409]d-mmm-yy;@"),
      ExcelFmt_Integer(L"#,##0"),
      ExcelFmt_Float(L"0.00"),
      ExcelFmt_Currency(L"$#,##0.00"),
      m_loaded(false)
{}

CAppSettings::~CAppSettings()
{
    if (m_loaded) Save();
}

LONG CAppSettings::Load()
{
    // Even when the key is missing (the first run) the settings count as loaded: the end of the
    // run then creates the key with every value.
    m_loaded = true;

    CRegKey key;
    LONG status = key.Open(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, KEY_READ);
    if (status != ERROR_SUCCESS) return status;

    // A path too long for DBPath (DBPath keeps what it held) is kept aside in LongDBPath.
    ULONG chars = MaxPath + 1;
    if (key.QueryStringValue(ALK_DB_PATH_VALUE, DBPath, &chars) == ERROR_MORE_DATA) {
        std::vector<wchar_t> longer(chars);
        if (key.QueryStringValue(ALK_DB_PATH_VALUE, longer.data(), &chars) == ERROR_SUCCESS) LongDBPath = longer.data();
    }
    ReadDword(key, L"LastActiveVehicle", LastActiveVehicle);
    ReadDword(key, L"SortAscending", SortAscending);
    ReadDword(key, L"LastColSorted", LastColSorted);
    // A view the menus offer; a value outside them (written by something else) keeps the default:
    // it would check an unrelated command and show no entries. A custom range is never stored.
    DWORD view = 0;
    if (key.QueryDWORDValue(L"ViewEntryType", view) == ERROR_SUCCESS && view <= CEntry::etExpense)
        ViewEntryType = static_cast<CEntry::Type>(view);
    if (key.QueryDWORDValue(L"ViewDateRangeType", view) == ERROR_SUCCESS && view <= CEntryFilter::drYearToDate)
        ViewDateRangeType = static_cast<CEntryFilter::DateRangeType>(view);
    ReadDword(key, L"UnitDistance", UnitDistance);
    ReadDword(key, L"UnitVolume", UnitVolume);
    ReadDword(key, L"UnitFuelEconomy", UnitFuelEconomy);
    ReadDword(key, L"UnitSetupMsgShown", UnitSetupMsgShown);

    // "MileageRate": the 4 bytes of an IEEE single, little-endian, as REG_BINARY.
    float rate = 0;
    ULONG size = sizeof(rate);
    if (key.QueryBinaryValue(L"MileageRate", &rate, &size) == ERROR_SUCCESS && size == sizeof(rate)) MileageRate = rate;

    ReadDword(key, L"ShowVehiclePicture", ShowVehiclePicture);
    ReadDword(key, L"ExcelFormatCells", ExcelFormatCells);

    ReadString(key, L"ExcelFmt_Date", ExcelFmt_Date);
    ReadString(key, L"ExcelFmt_Integer", ExcelFmt_Integer);
    ReadString(key, L"ExcelFmt_Float", ExcelFmt_Float);
    ReadString(key, L"ExcelFmt_Currency", ExcelFmt_Currency);
    return status;
}

void CAppSettings::Save()
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, ALK_SETTINGS_KEY) != ERROR_SUCCESS) return;

    DBPath[MaxPath] = L'\0';  // callers fill the buffer directly
    if (DBPath[0] || LongDBPath.IsEmpty()) key.SetStringValue(ALK_DB_PATH_VALUE, DBPath);
    key.SetDWORDValue(L"LastActiveVehicle", LastActiveVehicle);
    key.SetDWORDValue(L"SortAscending", static_cast<DWORD>(SortAscending));
    key.SetDWORDValue(L"LastColSorted", static_cast<DWORD>(LastColSorted));
    key.SetDWORDValue(L"ViewEntryType", static_cast<DWORD>(ViewEntryType));
    key.SetDWORDValue(L"UnitDistance", static_cast<DWORD>(UnitDistance));
    key.SetDWORDValue(L"UnitVolume", static_cast<DWORD>(UnitVolume));
    key.SetDWORDValue(L"UnitFuelEconomy", static_cast<DWORD>(UnitFuelEconomy));
    key.SetDWORDValue(L"UnitSetupMsgShown", static_cast<DWORD>(UnitSetupMsgShown));
    key.SetBinaryValue(L"MileageRate", &MileageRate, sizeof(MileageRate));
    if (ViewDateRangeType != CEntryFilter::drCustom)
        key.SetDWORDValue(L"ViewDateRangeType", static_cast<DWORD>(ViewDateRangeType));
    // Shown is stored as -1 (0xFFFFFFFF), hidden as 0; Load takes any non-zero value as shown.
    key.SetDWORDValue(L"ShowVehiclePicture", ShowVehiclePicture ? 0xFFFFFFFFu : 0u);
    key.SetDWORDValue(L"ExcelFormatCells", static_cast<DWORD>(ExcelFormatCells));
    key.SetStringValue(L"ExcelFmt_Date", ExcelFmt_Date);
    key.SetStringValue(L"ExcelFmt_Integer", ExcelFmt_Integer);
    key.SetStringValue(L"ExcelFmt_Float", ExcelFmt_Float);
    key.SetStringValue(L"ExcelFmt_Currency", ExcelFmt_Currency);
}

void CAppSettings::SaveDBPath()
{
    CRegKey key;
    if (key.Create(HKEY_CURRENT_USER, ALK_SETTINGS_KEY) != ERROR_SUCCESS) return;
    DBPath[MaxPath] = L'\0';
    key.SetStringValue(ALK_DB_PATH_VALUE, DBPath);
    LongDBPath.Empty();
}
