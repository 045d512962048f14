// Saving what an editor changed, and the other writes a user asks for (deletes, keywords). The
// editor has closed by the time its record is saved, so a save that fails (the file locked by a
// synchronisation, a full disk) would otherwise take what the user typed with it: the user is told
// why, and when trying again may succeed the same record is saved again on Retry; Cancel gives it
// up (the caller treats it as not saved).
//
// The message box runs a modal loop while the caller still holds the record: callers that edit a
// record of the main window's lists hold its reloads back (CMainFrame::CDeferReloads).
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "desktop/DataFileMessages.h"
#include "desktop/Startup.h"

// After a save of the program's connection failed: asks whether to save again (Retry and Cancel)
// when that may succeed, or says why the file could not be written (OK). True for Retry.
bool AskToSaveAgain();

// Runs a write of the program's connection that the user asked for (a save, a delete; write()
// gives CDataLayer's result) as often as the user asks after a failure: the last result, 0 when
// the user gave up. A write that fails is never passed over in silence: what the list or the
// editor shows would no longer be what the file holds.
template <class TWrite>
int WriteAskingAgain(TWrite write)
{
    for (;;) {
        TellOfDamage();
        if (const int done = write()) return done;
        if (!AskToSaveAgain()) return 0;
    }
}

// Saves the record through the program's data layer with fresh time stamps, as often as the user
// asks after a failure. The result of the last CDataLayer::Save.
template <class TRecord>
int SaveEditedRecord(TRecord* record)
{
    return WriteAskingAgain([record] { return g_DataLayer.Save(record, 0); });
}
