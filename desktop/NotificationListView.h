// CNotificationListView: the list of the "Manage Reminders" dialog, one row per reminder of a
// vehicle: its description with the reminder icon, its date and its odometer.
//
// The view owns every reminder it loaded or was given (its reminder list); each row's item data
// points at its reminder there. New and changed rows go to the top, so after a load the last
// reminder of the file's order is the first row. The dialog subclasses its list control (report
// view, single selection, header not clickable) with the view and gives it a command bar for its
// context menu ("EntryListView": Edit and Delete).
//
// The three column widths are recorded when the columns are made. Each time the list changes size
// the first column found at a width other than the one recorded (and not hidden at zero) is
// taken as moved by the user: the column after it (after the last, the first) takes up what is
// left of the width, and the moved column's width is recorded.
#pragma once

#include "business/AlkBiz.h"
#include "desktop/CustomListView.h"

class CNotificationListView : public CCustomListView {
public:
    enum { ColDescription = 0, ColDate = 1, ColOdometer = 2, ColumnCount = 3 };

    CNotificationListView();
    ~CNotificationListView() override;

    // Once, on the subclassed control: styles, the three columns (the first widened to fill the
    // list), their widths recorded, and the reminder icon as image 0.
    void InitColumns();
    // Removes every row and reminder, then loads the vehicle's reminders and shows a row for each.
    // The result of the load; a failed load leaves the list empty.
    int Refresh(unsigned long vehicleRefID);
    // Inserts the reminder's row at the top. With replace the reminder's old row goes first and
    // the new one is selected, focused and shown; -1 when the reminder has no row. Returns the
    // new row's index.
    int UpdateItem(CNotification* reminder, BOOL replace);
    // Takes ownership of a newly saved reminder; its row goes to the top, selected and shown.
    void AddItem(CNotification* reminder);

    void PrepareContextMenu(HMENU popup) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void MeasureItem(LPMEASUREITEMSTRUCT) override {}

    // clang-format off
    BEGIN_MSG_MAP(CNotificationListView)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(CCustomListView)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);

    CObjectListT<CNotification> m_reminders;
    int m_columnWidths[ColumnCount] = {};  // in pixels, as last recorded
};
