#include "desktop/EntryListView.h"

#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Gdi.h"
#include "resources/desktop/resource.h"

int CEntryListView::CompareCaptions(const wchar_t* a, const wchar_t* b)
{
    for (;; ++a, ++b) {
        wchar_t ca = *a, cb = *b;
        if (ca >= L'A' && ca <= L'Z') ca = static_cast<wchar_t>(ca - L'A' + L'a');
        if (cb >= L'A' && cb <= L'Z') cb = static_cast<wchar_t>(cb - L'A' + L'a');
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CEntryListView::CEntryListView() : m_updating(FALSE)
{
    m_contextSubMenu = 1;  // "EntryListView"
}

CEntryListView::~CEntryListView() = default;  // the entry list deletes every entry

void CEntryListView::InitColumns()
{
    SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_SUBITEMIMAGES);
    InsertColumn(ColDate, LoadResString(IDS_COLUMN_DATE), LVCFMT_LEFT, 100);
    InsertColumn(ColDescription, LoadResString(IDS_COLUMN_DESCRIPTION), LVCFMT_LEFT, 250);
    InsertColumn(ColOdometer, LoadResString(IDS_COLUMN_ODOMETER), LVCFMT_RIGHT, 75);
    InsertColumn(ColAmount, LoadResString(IDS_COLUMN_AMOUNT), LVCFMT_RIGHT, 75);
    // Image index = entry type - 1.
    AddIconResource(IDI_FUEL);
    AddIconResource(IDI_REPAIR);
    AddIconResource(IDI_TRIP);
    AddIconResource(IDI_EXPENSE);
    InstallImageList();
}

void CEntryListView::Refresh(CEntryFilter* filter)
{
    CWaitCursor wait;
    DeleteAllItems();
    m_captions.clear();
    m_entries.Clear();
    if (!filter) {
        ShowLoadResult(TRUE);
        return;
    }
    const BOOL loaded = g_DataLayer.Load(&m_entries, filter);
    ShowLoadResult(loaded);
    if (!loaded) return;  // the load left the list empty

    SetRedraw(FALSE);
    m_updating = TRUE;
    const int count = m_entries.GetCount();
    // The control sizes its row table once (a hint only, for a list that is not owner-data).
    DefWindowProc(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    m_captions.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) InsertRow(m_entries.Get(i), i);
    if (g_AppSettings.LastColSorted != -1) SortByColumn(g_AppSettings.LastColSorted);
    SetRedraw(TRUE);
    Invalidate(TRUE);
    m_updating = FALSE;

    SelectItem(0);  // the frame shows the first row's notes
    NudgeLayout();
}

void CEntryListView::AddEntry(CEntry* entry)
{
    m_entries.Add(entry);
    ClearSelection();
    SelectItem(UpdateItem(entry, FALSE));
    if (g_AppSettings.LastColSorted != -1) {
        CWaitCursor wait;
        SortByColumn(g_AppSettings.LastColSorted);
        m_updating = FALSE;
    }
    EnsureVisible(FindItemByParam(reinterpret_cast<LPARAM>(entry)), FALSE);
}

int CEntryListView::UpdateItem(CEntry* entry, BOOL replace)
{
    const LPARAM param = reinterpret_cast<LPARAM>(entry);
    if (replace) {
        const int old = FindItemByParam(param);
        if (old < 0) return -1;
        SetRedraw(FALSE);
        DeleteItem(old);
    }

    const int row = InsertRow(entry, GetItemCount());

    if (replace) {
        SelectItem(row);
        SortItems(-1);
        EnsureVisible(FindItemByParam(param), FALSE);
        SetRedraw(TRUE);
    }
    return row;
}

int CEntryListView::InsertRow(CEntry* entry, int index)
{
    const CString date = FormatDate(entry->GetDate());

    // Straight to the control's own procedure: this object's map handles none of the list-view
    // messages, and a message sent to the window first looks up the object bound to it (under
    // Wine a round trip to the server, dearer than what the control does with the row).
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(date));
    item.iImage = static_cast<int>(entry->GetType()) - 1;
    item.lParam = reinterpret_cast<LPARAM>(entry);
    const int row = static_cast<int>(DefWindowProc(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    WriteTexts(entry, row);
    return row;
}

void CEntryListView::WriteTexts(const CEntry* entry, int row)
{
    CString& caption = m_captions[entry];
    caption = FormatEntryCaption(*entry);  // anew: the entry or the units may have changed
    const CString odometer = FormatNumber(static_cast<float>(entry->GetOdometer()), false, false);
    const CString amount = FormatNumber(entry->GetAmount(), true, true);
    const CString* texts[] = {&caption, &odometer, &amount};
    for (int column = ColDescription; column <= ColAmount; ++column) {
        LVITEMW text{};
        text.iSubItem = column;
        text.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(*texts[column - ColDescription]));
        DefWindowProc(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&text));
    }
}

void CEntryListView::RefreshTexts()
{
    const int rows = GetItemCount();
    if (rows == 0) return;
    CWaitCursor wait;
    SetRedraw(FALSE);
    m_updating = TRUE;
    for (int row = 0; row < rows; ++row) {
        if (const CEntry* entry = reinterpret_cast<const CEntry*>(GetItemData(row))) WriteTexts(entry, row);
    }
    // The captions are the description sort's key and the date sort's tie-break.
    if (g_AppSettings.LastColSorted != -1) SortByColumn(g_AppSettings.LastColSorted);
    SetRedraw(TRUE);
    Invalidate(TRUE);
    m_updating = FALSE;
}

const CString& CEntryListView::CaptionOf(const CEntry* entry)
{
    auto kept = m_captions.find(entry);
    if (kept != m_captions.end()) return kept->second;
    return m_captions.emplace(entry, FormatEntryCaption(*entry)).first->second;
}

void CEntryListView::SortItems(int column)
{
    CWaitCursor wait;
    if (column == -1) column = g_AppSettings.LastColSorted;
    if (column == -1) return;
    m_updating = TRUE;
    SortByColumn(column);
    m_updating = FALSE;
}

// What a comparison needs besides the two entries: the direction is read once per sort.
struct CEntryListView::SortOrder {
    CEntryListView* view;
    int column;
    bool ascending;
};

void CEntryListView::SortByColumn(int column)
{
    SortOrder order{this, column, g_AppSettings.SortAscending != FALSE};
    CListViewCtrl::SortItems(&CEntryListView::CompareEntries, reinterpret_cast<LPARAM>(&order));

    CHeaderCtrl header = GetHeader();
    const int columns = header.GetItemCount();
    for (int i = 0; i < columns; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!header.GetItem(i, &item)) continue;
        int format = (item.fmt & HDF_JUSTIFYMASK) | HDF_STRING;
        if (i == column) format |= g_AppSettings.SortAscending ? HDF_SORTUP : HDF_SORTDOWN;
        item.fmt = format;
        header.SetItem(i, &item);
    }
    g_AppSettings.LastColSorted = column;
}

// A row as CompareRows reads it: the entry's fields and the caption kept for it.
struct CEntryListView::SortRow {
    CEntryListView* view;
    const CEntry* entry;
    double Date() const { return entry->GetDate(); }
    const wchar_t* Caption() const { return view->CaptionOf(entry); }
    long Odometer() const { return entry->GetOdometer(); }
    float Amount() const { return entry->GetAmount(); }
};

int CALLBACK CEntryListView::CompareEntries(LPARAM first, LPARAM second, LPARAM order)
{
    const SortOrder& sort = *reinterpret_cast<const SortOrder*>(order);
    // Descending swaps the operands, so the tie-breaks reverse with the direction.
    const SortRow x{sort.view, reinterpret_cast<const CEntry*>(sort.ascending ? first : second)};
    const SortRow y{sort.view, reinterpret_cast<const CEntry*>(sort.ascending ? second : first)};
    return CompareRows(x, y, sort.column);
}

LRESULT CEntryListView::OnColumnClick(int, LPNMHDR header, BOOL&)
{
    const NMLISTVIEW* click = reinterpret_cast<const NMLISTVIEW*>(header);
    g_AppSettings.SortAscending = !g_AppSettings.SortAscending;
    SortItems(click->iSubItem);
    return 0;
}

int CEntryListView::GetSelectedEntries(CObjectList* list)
{
    const int selected = static_cast<int>(GetSelectedCount());
    if (selected == 0) return 0;  // the caller's list is left as it was
    list->AllowAutoCleanup(0);    // the entries stay the view's
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        list->AddItem(reinterpret_cast<CEntry*>(GetItemData(row)));
    return selected;
}

void CEntryListView::DeleteSelectedRows()
{
    CWaitCursor wait;
    if (GetSelectedCount() == 0) return;
    m_updating = TRUE;
    SetRedraw(FALSE);
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(-1, LVNI_SELECTED)) {
        if (!DeleteItem(row)) break;
    }
    SetRedraw(TRUE);
    Invalidate(TRUE);
    m_updating = FALSE;
}

LRESULT CEntryListView::OnCustomDraw(int, LPNMHDR header, BOOL&)
{
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        if (g_AppSettings.ShadeRows) {
            // Row 0, the top row, is an even row.
            draw->clrTextBk = (draw->nmcd.dwItemSpec % 2) ? g_AppSettings.OddRowColor : g_AppSettings.EvenRowColor;
        }
        return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
    }
}

void CEntryListView::PrepareContextMenu(HMENU popup)
{
    CMenuHandle menu(popup);
    const UINT selected = GetSelectedCount();
    if (selected == 0) {
        menu.EnableMenuItem(ID_EDIT_SELECTED, MF_BYCOMMAND | MF_GRAYED);
        menu.EnableMenuItem(ID_DELETE_SELECTED, MF_BYCOMMAND | MF_GRAYED);
    } else if (selected > 1) {
        menu.EnableMenuItem(ID_EDIT_SELECTED, MF_BYCOMMAND | MF_GRAYED);
    }
}

LRESULT CEntryListView::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
    AutoSizeColumn(ColDescription);
    if (GetItemCount() == 0) Invalidate(TRUE);
    return 0;
}
