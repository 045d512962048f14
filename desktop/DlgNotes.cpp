#include "desktop/DlgNotes.h"

namespace {

const int kMargin = 10;  // pixels around the field

}  // namespace

LRESULT CDlgNotes::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    // Notes have no length limit in the file: neither has the field (0 is the edit's largest).
    SendDlgItemMessage(IDC_NOTES_TEXT, EM_LIMITTEXT, 0);
    DoDataExchange(FALSE);
    return TRUE;
}

LRESULT CDlgNotes::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    CWindow field(GetDlgItem(IDC_NOTES_TEXT));
    const int width = LOWORD(lParam) - 2 * kMargin;
    const int height = HIWORD(lParam) - 2 * kMargin;
    if (field.m_hWnd) field.MoveWindow(kMargin, kMargin, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
    return 0;
}

int CDlgNotes::OnApply()
{
    return DoDataExchange(TRUE) ? PSNRET_NOERROR : PSNRET_INVALID;
}
