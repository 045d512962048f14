#include "desktop/Reminders.h"

#include <climits>

#include "common/Assert.h"
#include "desktop/AppSettings.h"
#include "desktop/DlgNotification.h"
#include "desktop/DlgNotificationFire.h"
#include "desktop/SaveEditedRecord.h"
#include "desktop/Startup.h"

namespace {

const int kDefaultDays = 60;
const long kDefaultDistance = 3000;

// The odometer a new reminder proposes; near the top of the range it stays at the largest odometer
// a reminder can hold rather than wrapping round to a negative one.
long DefaultOdometer(long active)
{
    return active > LONG_MAX - kDefaultDistance ? LONG_MAX : active + kDefaultDistance;
}

}  // namespace

int EditNotification(CNotification* reminder)
{
    if (reminder->GetID() == 0) {
        reminder->SetDate(CUtcClock::NowAsOLEDate() + kDefaultDays);
        reminder->SetVehicleID(g_AppSettings.LastActiveVehicle);
        reminder->SetOdometer(DefaultOdometer(g_AppSettings.ActiveOdometer));
    }

    CDlgNotification dialog;
    dialog.m_date = reminder->GetDate();
    dialog.m_description = reminder->GetName();
    dialog.m_odometer = reminder->GetOdometer();
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return 0;

    // Each setter raises the dirty flag only for a value that differs.
    reminder->SetDate(dialog.m_date);
    reminder->SetName(dialog.m_description);
    reminder->SetOdometer(dialog.m_odometer);
    if (!reminder->IsDirty()) return 0;
    return SaveEditedRecord(reminder);
}

void CheckDueNotifications(CVehicle* vehicle)
{
    const unsigned long active = g_AppSettings.LastActiveVehicle;
    if (!active) return;
    ALK_ASSERT(vehicle && vehicle->GetRefID() == active);
    if (!vehicle) return;

    // The check's own copies: deleting one leaves the list as it is, so none is skipped.
    CObjectListT<CNotification> reminders;
    if (!g_DataLayer.Load(&reminders, active)) return;
    const double now = CUtcClock::NowAsOLEDate();
    const long odometer = g_AppSettings.ActiveOdometer;
    const int count = reminders.GetCount();
    for (int i = 0; i < count; ++i) {
        CNotification* reminder = reminders.Get(i);
        // A date that does not compare with now (not a number) never falls due.
        const bool due = odometer >= reminder->GetOdometer() || reminder->GetDate() <= now;
        if (!due) continue;
        CDlgNotificationFire dialog(reminder, vehicle);
        if (dialog.DoModal(::GetActiveWindow()) != IDOK) continue;
        WriteAskingAgain([reminder] { return g_DataLayer.Delete(reminder); });
    }
}
