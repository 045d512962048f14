// Reminders of the active vehicle: making or editing one, and the due check.
//
// A reminder falls due when the active vehicle's odometer (ActiveOdometer of the settings) has
// reached its odometer, or when its date (UTC) is now or past. Nothing is remembered of a check: a
// due reminder shows again at every check until it is deleted or moved on.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"

// Shows "Edit Reminder" for the reminder (the caller's), owned by the active window, and saves it
// when the user confirmed a change. A reminder not yet stored is given its defaults first: due in
// 60 days at this time of day (UTC), or 3000 past the active vehicle's odometer, for the active
// vehicle. The result of CDataLayer::Save, non-zero for "saved"; 0 when the dialog was cancelled,
// nothing changed or the save failed (the user is told; the edited values stay in the reminder).
int EditNotification(CNotification* reminder);

// The due check: each due reminder of the active vehicle, in the file's order, in its own
// "Reminder" dialog; the ones the user asks to delete are deleted (a failure is not reported).
// vehicle is the active vehicle, shown in the dialogs; nothing is checked while none is active.
void CheckDueNotifications(CVehicle* vehicle);
