// The desktop program's settings object for the length of a test: when the scope begins every
// field of g_AppSettings takes the value of a newly made settings object (the program's defaults),
// and when it ends every field gets back what it held before. A test then sets only what it needs.
//
// The registry is not touched (the objects here are never loaded, so none of them saves). Header
// only: the desktop's tests link alk_desktop, which defines g_AppSettings.
#pragma once

#include <windows.h>

#include <cstring>

#include "desktop/AppSettings.h"

class CSettingsScope {
public:
    CSettingsScope()
    {
        CopyFields(m_saved, g_AppSettings);
        const CAppSettings defaults;
        CopyFields(g_AppSettings, defaults);
    }
    ~CSettingsScope() { CopyFields(g_AppSettings, m_saved); }
    CSettingsScope(const CSettingsScope&) = delete;
    CSettingsScope& operator=(const CSettingsScope&) = delete;

    // Every field of the settings (a field added to CAppSettings belongs here too).
    static void CopyFields(CAppSettings& to, const CAppSettings& from)
    {
        to.LastActiveVehicle = from.LastActiveVehicle;
        to.ActiveOdometer = from.ActiveOdometer;
        to.SortAscending = from.SortAscending;
        to.ShadeRows = from.ShadeRows;
        to.UnitSetupMsgShown = from.UnitSetupMsgShown;
        to.OddRowColor = from.OddRowColor;
        to.EvenRowColor = from.EvenRowColor;
        to.ViewEntryType = from.ViewEntryType;
        to.ViewDateRangeType = from.ViewDateRangeType;
        std::memcpy(to.DBPath, from.DBPath, sizeof to.DBPath);
        to.LastColSorted = from.LastColSorted;
        to.IconSize = from.IconSize;
        to.SmallIconSize = from.SmallIconSize;
        to.MileageRate = from.MileageRate;
        to.UnitDistance = from.UnitDistance;
        to.UnitVolume = from.UnitVolume;
        to.UnitFuelEconomy = from.UnitFuelEconomy;
        to.ShowVehiclePicture = from.ShowVehiclePicture;
        to.ExcelFormatCells = from.ExcelFormatCells;
        to.ExcelFmt_Date = from.ExcelFmt_Date;
        to.ExcelFmt_Integer = from.ExcelFmt_Integer;
        to.ExcelFmt_Float = from.ExcelFmt_Float;
        to.ExcelFmt_Currency = from.ExcelFmt_Currency;
        to.LongDBPath = from.LongDBPath;
    }

private:
    CAppSettings m_saved;
};
