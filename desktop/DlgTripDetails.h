// CDlgTripDetails: the "Details" page of a trip's sheet: date, description, start and end
// odometer and the elapsed distance between them. The page keeps the three numbers consistent
// while the user types: leaving the distance moves the end, leaving either odometer recomputes
// the distance. The expense page asks it for the distance (PSM_QUERYSIBLINGS: end - start as the
// fields hold them, negative when the end lies below the start).
//
// The distance is not stored: the entry keeps the two odometers, and its odometer is the end.
#pragma once

#include <windows.h>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Controls.h"
#include "framework/PropertySheet.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

// No decimal field here: the locale exchange is for its date, which gives back an untouched
// date and time exactly.
class CDlgTripDetails : public CPropertyPageImpl<CDlgTripDetails>, public CWinDataExchangeLocale<CDlgTripDetails> {
public:
    enum { IDD = IDD_TRIP_DETAILS };

    CDlgTripDetails() = default;
    ~CDlgTripDetails() override = default;

    // The entry's fields: filled before the sheet runs, read after it ended with OK.
    double m_date = 0;  // OLE date with the time of day
    CString m_description;
    long m_start = 0;  // signed 32-bit odometers
    long m_end = 0;
    CDateTimePickerCtrl m_datePicker;
    long m_distance = 0;  // end - start while the page runs; not stored

    // clang-format off
    BEGIN_MSG_MAP(CDlgTripDetails)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_HANDLER(IDC_TRIP_DISTANCE, EN_KILLFOCUS, OnDistanceLeft)
        COMMAND_HANDLER(IDC_TRIP_START, EN_KILLFOCUS, OnOdometerLeft)
        COMMAND_HANDLER(IDC_TRIP_END, EN_KILLFOCUS, OnOdometerLeft)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        CHAIN_MSG_MAP(CPropertyPageImpl<CDlgTripDetails>)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CDlgTripDetails)
        DDX_TEXT(IDC_TRIP_DESCRIPTION, m_description)
        DDX_INT(IDC_TRIP_START, m_start)
        DDX_INT(IDC_TRIP_END, m_end)
        DDX_INT(IDC_TRIP_DISTANCE, m_distance)
    END_DDX_MAP()
    // clang-format on

    // PSN_KILLACTIVE: the page is left only with readable fields and the end not below the start;
    // the field being typed in then has its partner recomputed.
    BOOL OnKillActive();
    // PSN_APPLY: a description required, the end not below the start, the date from the picker.
    int OnApply();
    // PSM_QUERYSIBLINGS: end - start of the fields.
    LRESULT OnQuerySiblings(WPARAM, LPARAM);

private:
    // The two rules that keep the numbers consistent, on the fields. A positive distance puts
    // the end that far beyond the start, anything else puts it on the start; an end above the
    // start gives their difference, anything else a distance of 0.
    void EndFromDistance();
    void DistanceFromOdometers();

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    // Focus leaving a field keeps the others consistent, while the page is shown. A page being
    // hidden (another page turned to, the sheet closing after OK) has had PSN_KILLACTIVE, which
    // did the same for the field that had the focus: reading the fields again then would only
    // change what OK accepted, or beep into a window that is going away.
    LRESULT OnDistanceLeft(WORD, WORD, HWND, BOOL&);
    LRESULT OnOdometerLeft(WORD, WORD, HWND, BOOL&);
    // A Cancel command that reaches the page itself is consumed; the sheet's own Cancel is not.
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) { return 0; }
    void ShowMessage(UINT text);
};
