#include "desktop/NotificationListView.h"

#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Gdi.h"
#include "resources/desktop/resource.h"

CNotificationListView::CNotificationListView()
{
    m_contextSubMenu = 1;  // "EntryListView"
}

CNotificationListView::~CNotificationListView() = default;  // the reminder list deletes every reminder

void CNotificationListView::InitColumns()
{
    SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_SUBITEMIMAGES);
    InsertColumn(ColDescription, LoadResString(IDS_COLUMN_DESCRIPTION), LVCFMT_LEFT, 150);
    InsertColumn(ColDate, LoadResString(IDS_COLUMN_DATE), LVCFMT_LEFT, 75);
    InsertColumn(ColOdometer, LoadResString(IDS_COLUMN_ODOMETER), LVCFMT_RIGHT, 75);
    AutoSizeColumn(ColDescription);
    for (int i = 0; i < ColumnCount; ++i) m_columnWidths[i] = GetColumnWidth(i);
    AddIconResource(IDI_REMINDER);
    InstallImageList();
}

int CNotificationListView::Refresh(unsigned long vehicleRefID)
{
    DeleteAllItems();
    m_reminders.Clear();
    const int loaded = g_DataLayer.Load(&m_reminders, vehicleRefID);
    ShowLoadResult(loaded);
    if (!loaded) return loaded;

    SetRedraw(FALSE);
    const int count = m_reminders.GetCount();
    for (int i = 0; i < count; ++i) UpdateItem(m_reminders.Get(i), FALSE);
    SetRedraw(TRUE);
    Invalidate(TRUE);
    NudgeLayout();
    return loaded;
}

int CNotificationListView::UpdateItem(CNotification* reminder, BOOL replace)
{
    const LPARAM param = reinterpret_cast<LPARAM>(reminder);
    if (replace) {
        const int old = FindItemByParam(param);
        if (old < 0) return -1;
        DeleteItem(old);
    }
    const int row = InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, 0, reminder->GetName(), 0, 0, 0, param);
    SetItemText(row, ColDate, FormatDate(reminder->GetDate()));
    SetItemText(row, ColOdometer, FormatNumber(static_cast<float>(reminder->GetOdometer()), false, false));
    if (replace) SelectItem(row);  // selects, focuses and scrolls it into view
    return row;
}

void CNotificationListView::AddItem(CNotification* reminder)
{
    m_reminders.Add(reminder);
    SelectItem(UpdateItem(reminder, FALSE));
}

void CNotificationListView::PrepareContextMenu(HMENU popup)
{
    if (!GetSelectedItemData()) {
        CMenuHandle menu(popup);
        menu.EnableMenuItem(ID_EDIT_SELECTED, MF_BYCOMMAND | MF_GRAYED);
        menu.EnableMenuItem(ID_DELETE_SELECTED, MF_BYCOMMAND | MF_GRAYED);
    }
}

LRESULT CNotificationListView::OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The control lays itself out for the new size first; the widths below fill what it leaves.
    const LRESULT result = DefWindowProc(msg, wParam, lParam);
    for (int i = 0; i < ColumnCount; ++i) {
        const int width = GetColumnWidth(i);
        if (width == m_columnWidths[i] || width == 0) continue;
        AutoSizeColumn((i + 1) % ColumnCount);
        m_columnWidths[i] = width;
        break;
    }
    return result;
}
