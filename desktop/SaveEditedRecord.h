// Saving what an editor changed. The editor has closed by the time its record is saved, so a save
// that fails (the file locked by a synchronisation, a full disk) would otherwise pass unnoticed:
// the user is told once, and the caller treats the record as not saved.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "desktop/Startup.h"

// The warning that a change was not saved, owned by the active window.
void ShowNotSavedWarning();

// Saves the record through the program's data layer with fresh time stamps; when that fails,
// shows the warning. The result of CDataLayer::Save.
template <class TRecord>
int SaveEditedRecord(TRecord* record)
{
    const int saved = g_DataLayer.Save(record, 0);
    if (!saved) ShowNotSavedWarning();
    return saved;
}
