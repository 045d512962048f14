#include "desktop/AppSettings.h"

#include <cstring>

CAppSettings g_AppSettings;

namespace {

// Reads a string value into a buffer of CAppSettings::MaxPath characters. Taken only when it is a
// string, ends in its terminator and fits with that terminator.
bool ReadString(HKEY key, const wchar_t* name, wchar_t (&text)[CAppSettings::MaxPath])
{
    DWORD type = 0;
    DWORD size = sizeof(text);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    if (size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0) return false;
    return text[size / sizeof(wchar_t) - 1] == L'\0';
}

void ReadString(HKEY key, const wchar_t* name, CString& field)
{
    wchar_t text[CAppSettings::MaxPath];
    if (ReadString(key, name, text)) field = text;
}

// A REG_DWORD of exactly 4 bytes, else the field keeps its value.
template <typename T>
void ReadDword(HKEY key, const wchar_t* name, T& field)
{
    static_assert(sizeof(T) == sizeof(DWORD), "stored as a 32-bit value");
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(value))
        std::memcpy(&field, &value, sizeof(value));
}

void WriteString(HKEY key, const wchar_t* name, const wchar_t* text)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

void WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// Opens the settings key for writing, creating it when missing; nullptr when that fails.
HKEY OpenForWriting()
{
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, KEY_WRITE, &key) != ERROR_SUCCESS) key = nullptr;
    RegCloseKey(created);
    return key;
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

    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS) return status;

    wchar_t path[MaxPath];
    if (ReadString(key, L"DBPath", path)) wcscpy(DBPath, path);

    ReadDword(key, L"LastActiveVehicle", LastActiveVehicle);
    ReadDword(key, L"SortAscending", SortAscending);
    ReadDword(key, L"LastColSorted", LastColSorted);
    ReadDword(key, L"ViewEntryType", ViewEntryType);
    ReadDword(key, L"ViewDateRangeType", ViewDateRangeType);
    ReadDword(key, L"UnitDistance", UnitDistance);
    ReadDword(key, L"UnitVolume", UnitVolume);
    ReadDword(key, L"UnitFuelEconomy", UnitFuelEconomy);
    ReadDword(key, L"UnitSetupMsgShown", UnitSetupMsgShown);

    // "MileageRate": the 4 bytes of an IEEE single, little-endian, as REG_BINARY.
    {
        float rate = 0;
        DWORD type = 0;
        DWORD size = sizeof(rate);
        if (RegQueryValueExW(key, L"MileageRate", nullptr, &type, reinterpret_cast<BYTE*>(&rate), &size) ==
                ERROR_SUCCESS &&
            type == REG_BINARY && size == sizeof(rate))
            MileageRate = rate;
    }

    ReadDword(key, L"ShowVehiclePicture", ShowVehiclePicture);
    ReadDword(key, L"ExcelFormatCells", ExcelFormatCells);

    ReadString(key, L"ExcelFmt_Date", ExcelFmt_Date);
    ReadString(key, L"ExcelFmt_Integer", ExcelFmt_Integer);
    ReadString(key, L"ExcelFmt_Float", ExcelFmt_Float);
    ReadString(key, L"ExcelFmt_Currency", ExcelFmt_Currency);

    RegCloseKey(key);
    return status;
}

void CAppSettings::Save()
{
    HKEY key = OpenForWriting();
    if (!key) return;

    DBPath[MaxPath] = L'\0';  // callers fill the buffer directly
    WriteString(key, L"DBPath", DBPath);
    WriteDword(key, L"LastActiveVehicle", LastActiveVehicle);
    WriteDword(key, L"SortAscending", static_cast<DWORD>(SortAscending));
    WriteDword(key, L"LastColSorted", static_cast<DWORD>(LastColSorted));
    WriteDword(key, L"ViewEntryType", static_cast<DWORD>(ViewEntryType));
    WriteDword(key, L"UnitDistance", static_cast<DWORD>(UnitDistance));
    WriteDword(key, L"UnitVolume", static_cast<DWORD>(UnitVolume));
    WriteDword(key, L"UnitFuelEconomy", static_cast<DWORD>(UnitFuelEconomy));
    WriteDword(key, L"UnitSetupMsgShown", static_cast<DWORD>(UnitSetupMsgShown));
    RegSetValueExW(key, L"MileageRate", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&MileageRate),
                   sizeof(MileageRate));
    if (ViewDateRangeType != CEntryFilter::drCustom)
        WriteDword(key, L"ViewDateRangeType", static_cast<DWORD>(ViewDateRangeType));
    // Shown is stored as -1 (0xFFFFFFFF), hidden as 0; Load takes any non-zero value as shown.
    WriteDword(key, L"ShowVehiclePicture", ShowVehiclePicture ? 0xFFFFFFFFu : 0u);
    WriteDword(key, L"ExcelFormatCells", static_cast<DWORD>(ExcelFormatCells));
    WriteString(key, L"ExcelFmt_Date", ExcelFmt_Date);
    WriteString(key, L"ExcelFmt_Integer", ExcelFmt_Integer);
    WriteString(key, L"ExcelFmt_Float", ExcelFmt_Float);
    WriteString(key, L"ExcelFmt_Currency", ExcelFmt_Currency);

    RegCloseKey(key);
}

void CAppSettings::SaveDBPath()
{
    HKEY key = OpenForWriting();
    if (!key) return;
    DBPath[MaxPath] = L'\0';
    WriteString(key, L"DBPath", DBPath);
    RegCloseKey(key);
}
