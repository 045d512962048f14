// The desktop program's settings: the user's preferences and the remembered state of the last run,
// kept in memory, read from HKEY_CURRENT_USER at start and written back at the end of the run and
// when the Options dialog is confirmed. Views and dialogs read and change the fields directly.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "common/SharedNames.h"  // ALK_SETTINGS_KEY, the key under HKEY_CURRENT_USER
#include "framework/String.h"

class CAppSettings {
public:
    // Longest DBPath in characters, without the terminator: the data layer's own limit, so that
    // every file it connects is remembered and read back at the next start.
    enum { MaxPath = CDataLayer::MaxPath };
    // Longest Excel number format Load accepts, in characters without the terminator.
    enum { MaxFormat = 259 };

    CAppSettings();
    // Saves, but only after a Load: a run that ended before reading the settings (a second
    // instance) must not overwrite what the first one keeps.
    ~CAppSettings();

    CAppSettings(const CAppSettings&) = delete;
    CAppSettings& operator=(const CAppSettings&) = delete;

    // Reads every stored value that exists with the expected type; everything else keeps its
    // current value. Returns the status of opening the key (non-zero: nothing was read).
    LONG Load();
    // Writes every stored value. "ViewDateRangeType" is left alone while a custom range (5) is
    // chosen, so the next run starts with the preset chosen before it.
    void Save();
    // Writes "DBPath" alone (after each successful connection of a database file).
    void SaveDBPath();

    // Stored in the registry, under the value of the same name.
    DWORD LastActiveVehicle;  // reference id of the active vehicle, 0 = none
    // Never stored: the active vehicle's current odometer, 0 with no active vehicle.
    LONG ActiveOdometer;
    int SortAscending;  // entry list: non-zero ascending
    // Never stored: shade alternate rows of the entry list.
    int ShadeRows;
    int UnitSetupMsgShown;  // the first-run units notice has been shown
    // Never stored: row backgrounds of the entry list (odd rows 1, 3, ...; even rows 0, 2, ...).
    COLORREF OddRowColor;
    COLORREF EvenRowColor;
    CEntry::Type ViewEntryType;                     // entry-type filter, etNone = all types
    CEntryFilter::DateRangeType ViewDateRangeType;  // date-range filter; drCustom is never stored
    wchar_t DBPath[MaxPath + 1];
    int LastColSorted;  // index of the entry list's sorted column
    // Never stored: icon sizes in pixels (large icons; small icons, width and height).
    int IconSize;
    int SmallIconSize;
    float MileageRate;       // money per distance unit for trip expenses
    int UnitDistance;        // 0 miles, 1 kilometres
    int UnitVolume;          // 0 US gallons, 1 UK gallons, 2 litres
    int UnitFuelEconomy;     // 0 mpg (US), 1 mpg (UK), 2 km per litre, 3 miles per litre
    int ShowVehiclePicture;  // non-zero: the picture pane is shown
    int ExcelFormatCells;    // apply the four number formats below when exporting
    CString ExcelFmt_Date;
    CString ExcelFmt_Integer;
    CString ExcelFmt_Float;
    CString ExcelFmt_Currency;
    // Never stored by Save: a "DBPath" found too long for DBPath by Load (DBPath then stays
    // empty), so that the start can say why that file cannot be opened. While DBPath is empty,
    // Save leaves the stored value as it is: the file stays remembered until another one is
    // connected (SaveDBPath, which empties this).
    CString LongDBPath;

private:
    bool m_loaded;
};

// The program's one settings object, alive for the whole process.
extern CAppSettings g_AppSettings;
