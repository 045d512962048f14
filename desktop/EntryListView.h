// CEntryListView: the main window's list of the active vehicle's entries, as the main frame's
// entry filter selects them.
//
// The view owns every entry it loaded or was given (its entry list); each row's item data points
// at its entry there. Rows are kept sorted by the column the user clicked last, in the direction
// of SortAscending (both kept in the settings across runs); every click on a header reverses
// the direction. The main frame creates the control with LVS_REPORT (the selection is shown
// only while the list has the focus) and a clickable header, WS_EX_STATICEDGE, and forwards to it the list's
// column-click and custom-draw notifications (OnColumnClick, OnCustomDraw).
//
// A vehicle may have tens of thousands of entries, so no work here is done per comparison or
// per row that the control could be spared: every row's texts are formatted once when the row is
// written (again only when the units change: RefreshTexts), the caption (the key of the
// description sort and of the date sort's tie-break) is kept beside the entry until the next
// Refresh, a sort compares kept keys only, and the rows' messages go straight to the control's
// own procedure (see InsertRow).
#pragma once

#include <unordered_map>

#include "business/AlkBiz.h"
#include "desktop/CustomListView.h"

class CEntryListView : public CCustomListView {
public:
    enum Column { ColDate = 0, ColDescription = 1, ColOdometer = 2, ColAmount = 3 };

    CEntryListView();
    ~CEntryListView() override;

    // Once, after the database has been connected: styles, the four columns and the type icons.
    void InitColumns();
    // Reloads the rows for the filter (null: the list stays empty) and selects the first row. A
    // load that fails leaves the list empty with the notice of why it could not be read.
    void Refresh(CEntryFilter* filter);
    // Takes ownership of a newly saved entry; its row is shown selected at its sorted place.
    void AddEntry(CEntry* entry);
    // Writes the row of an entry of the list. With replace the old row goes first and the new
    // one is selected and re-sorted; -1 when replacing an entry that has no row. Returns the
    // index at which the row was inserted.
    int UpdateItem(CEntry* entry, BOOL replace);
    // Formats every row's texts again, in place, after a change of the units the captions name;
    // the selection, the focus and the scroll position stay. Re-sorts by the saved column.
    void RefreshTexts();
    // Sorts the rows by a column; -1 for the column sorted last (nothing when there is none).
    void SortItems(int column);
    // The header click the frame forwards: reverses the direction and sorts by that column.
    LRESULT OnColumnClick(int id, LPNMHDR header, BOOL& handled);
    // Turns the list's auto-cleanup off (the entries stay the view's) and appends the entry of
    // every selected row, in row order. Returns the number of selected rows.
    int GetSelectedEntries(CObjectList* list);
    // Removes the selected rows from the control only; their entries stay until the next Refresh.
    void DeleteSelectedRows();
    // TRUE while rows are being sorted or removed: the frame ignores selection changes then.
    BOOL IsUpdating() const { return m_updating; }
    // The custom-draw notification the frame forwards: shades alternate rows.
    LRESULT OnCustomDraw(int id, LPNMHDR header, BOOL& handled);

    // The rows' order by a column, ascending (negative, 0, positive): by date (the time of day
    // included), then caption; by caption; by odometer, then amount; by amount. A descending
    // sort swaps the rows, so its tie-breaks reverse too. A row is anything with Date(),
    // Caption(), Odometer() and Amount(); Caption() is called only by the sorts that compare
    // captions.
    template <class TRow>
    static int CompareRows(const TRow& x, const TRow& y, int column);
    // Captions compare case-insensitively for the letters A to Z only and every other character
    // by its code, so the order does not depend on the user's locale.
    static int CompareCaptions(const wchar_t* a, const wchar_t* b);

    void PrepareContextMenu(HMENU popup) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void MeasureItem(LPMEASUREITEMSTRUCT) override {}

    // clang-format off
    BEGIN_MSG_MAP(CEntryListView)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(CCustomListView)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    // Sorts by the column and sets the header arrows; the wait cursor and the updating flag are
    // the caller's.
    void SortByColumn(int column);
    struct SortOrder;
    struct SortRow;
    static int CALLBACK CompareEntries(LPARAM first, LPARAM second, LPARAM order);
    template <typename T>
    static int Order(T x, T y)
    {
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    // Formats the entry's texts (its caption kept) and inserts its row at index; the row's index.
    int InsertRow(CEntry* entry, int index);
    // Formats the entry's caption (kept), odometer and amount and writes them to the row.
    void WriteTexts(const CEntry* entry, int row);
    // The caption kept for an entry; formatted and kept now for one that has none.
    const CString& CaptionOf(const CEntry* entry);

    CObjectListT<CEntry> m_entries;
    // The caption of every entry whose row was written since the last Refresh (rows deleted
    // since keep theirs: their entries live on in m_entries until then).
    std::unordered_map<const CEntry*, CString> m_captions;
    BOOL m_updating;
};

template <class TRow>
int CEntryListView::CompareRows(const TRow& x, const TRow& y, int column)
{
    switch (column) {
    case ColDate:
        if (int result = Order(x.Date(), y.Date())) return result;
        return CompareCaptions(x.Caption(), y.Caption());
    case ColDescription: return CompareCaptions(x.Caption(), y.Caption());
    case ColOdometer:
        if (int result = Order(x.Odometer(), y.Odometer())) return result;
        return Order(x.Amount(), y.Amount());
    case ColAmount: return Order(x.Amount(), y.Amount());
    default: return 0;
    }
}
