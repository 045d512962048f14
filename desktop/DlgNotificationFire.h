// CDlgNotificationFire: "Reminder", one due reminder of the active vehicle shown by the due check:
// the vehicle, the description, the reminder's odometer and date beside the vehicle's current
// odometer and today's local date. "Delete this reminder" ends it with IDOK, "Remind me later"
// (also Esc and the close box) with IDCANCEL; the caller acts on the answer.
#pragma once

#include <windows.h>

#include "business/AlkBiz.h"
#include "framework/Dialog.h"
#include "resources/desktop/resource.h"

class CDlgNotificationFire : public CDialogImpl<CDlgNotificationFire> {
public:
    enum { IDD = IDD_NOTIFICATION_FIRE };

    // Both borrowed from the caller for the life of the dialog.
    CDlgNotificationFire(CNotification* reminder, CVehicle* vehicle) : m_reminder(reminder), m_vehicle(vehicle) {}
    ~CDlgNotificationFire() override = default;

    CNotification* m_reminder;
    CVehicle* m_vehicle;

    // clang-format off
    BEGIN_MSG_MAP(CDlgNotificationFire)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnButton)
        COMMAND_ID_HANDLER(IDCANCEL, OnButton)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnButton(WORD, WORD id, HWND, BOOL&);
};
