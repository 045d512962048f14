#include "desktop/DlgTripDetails.h"

#include <climits>

#include "desktop/Utility.h"

namespace {

// Odometers are 32-bit and may come from a handheld anywhere in that range: their sums and
// differences are taken in 64 bits and held at the range's ends.
long Clamped(long long value)
{
    return value < LONG_MIN ? LONG_MIN : value > LONG_MAX ? LONG_MAX : static_cast<long>(value);
}

}  // namespace

LRESULT CDlgTripDetails::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CWindow(GetParent()).CenterWindow();
    m_datePicker = GetDlgItem(IDC_ENTRY_DATE);
    DDX_Date(IDC_ENTRY_DATE, m_date, FALSE);
    m_distance = Clamped(static_cast<long long>(m_end) - m_start);  // negative when the end lies below
    SetupSpinControl(GetDlgItem(IDC_TRIP_START_SPIN), 1000000, 10);
    SetupSpinControl(GetDlgItem(IDC_TRIP_END_SPIN), 1000000, 10);
    SetupSpinControl(GetDlgItem(IDC_TRIP_DISTANCE_SPIN), 10000, 1);
    DoDataExchange(FALSE);  // a failure beeps and leaves the focus on its field
    return TRUE;
}

void CDlgTripDetails::EndFromDistance()
{
    m_end = m_distance >= 1 ? Clamped(static_cast<long long>(m_start) + m_distance) : m_start;
}

void CDlgTripDetails::DistanceFromOdometers()
{
    m_distance = m_end > m_start ? Clamped(static_cast<long long>(m_end) - m_start) : 0;
}

LRESULT CDlgTripDetails::OnDistanceLeft(WORD, WORD, HWND, BOOL&)
{
    if (!IsWindowVisible() || !DoDataExchange(TRUE)) return 0;
    EndFromDistance();
    DoDataExchange(FALSE, IDC_TRIP_END);
    return 0;
}

LRESULT CDlgTripDetails::OnOdometerLeft(WORD, WORD, HWND, BOOL&)
{
    if (!IsWindowVisible() || !DoDataExchange(TRUE)) return 0;
    DistanceFromOdometers();
    DoDataExchange(FALSE, IDC_TRIP_DISTANCE);
    return 0;
}

BOOL CDlgTripDetails::OnKillActive()
{
    if (!DoDataExchange(TRUE)) return TRUE;
    if (m_start > m_end) {
        ShowMessage(IDS_END_ODOMETER_TOO_LOW);
        return TRUE;
    }
    // Leaving the page (a tab turned, OK, Enter) with the focus still in a number field takes no
    // focus away from it, so its partner is recomputed here as leaving the field would have
    // done, and shown: OK reads the fields from the controls again, and Enter right after typing
    // a distance must store the end that distance gives.
    const HWND focus = ::GetFocus();
    if (focus && focus == GetDlgItem(IDC_TRIP_DISTANCE)) {
        EndFromDistance();
        DoDataExchange(FALSE, IDC_TRIP_END);
    } else if (focus && (focus == GetDlgItem(IDC_TRIP_START) || focus == GetDlgItem(IDC_TRIP_END))) {
        DistanceFromOdometers();
        DoDataExchange(FALSE, IDC_TRIP_DISTANCE);
    }
    return FALSE;
}

int CDlgTripDetails::OnApply()
{
    if (!DoDataExchange(TRUE)) return PSNRET_INVALID;
    if (m_description.IsEmpty()) {
        ShowMessage(IDS_DESCRIPTION_REQUIRED);
        GotoDlgCtrl(GetDlgItem(IDC_TRIP_DESCRIPTION));
        return PSNRET_INVALID;
    }
    if (m_start > m_end) {  // an end equal to the start is a trip of no distance
        ShowMessage(IDS_END_ODOMETER_TOO_LOW);
        return PSNRET_INVALID;
    }
    DDX_Date(IDC_ENTRY_DATE, m_date, TRUE);
    return PSNRET_NOERROR;
}

LRESULT CDlgTripDetails::OnQuerySiblings(WPARAM, LPARAM)
{
    return Clamped(static_cast<long long>(m_end) - m_start);
}

void CDlgTripDetails::ShowMessage(UINT text)
{
    CWindow(GetParent())
        .MessageBox(LoadResString(text), LoadResString(IDS_ENTRY_PROPERTIES), MB_OK | MB_ICONINFORMATION);
}
