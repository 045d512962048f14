// The entry list's order: hand-built entries whose order in every column and direction is
// written out, and a reference built the slow way on a plain list-view control beside the list:
// every text formatted for its row, every comparison of a sort formatting the captions it
// compares (by the list's own rule, which the written orders hold). The list keeps captions and
// talks to its control directly to be fast with many rows; whatever it keeps, its rows (texts,
// type icons, entries) must stay those of the reference through sorts in every column and
// direction, edits, additions, deletions and refreshes.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/EntryListView.h"
#include "desktop/Utility.h"
#include "ListsTestSupport.h"
#include "tests/support/ThreadLocale.h"

namespace {

const UINT kEntryListId = 301, kReferenceId = 302;

class CHost : public CWindowImpl<CHost, CWindow, CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0>> {
public:
    DECLARE_WND_CLASS(L"AlkEntryOrderTestHost")
    // clang-format off
    BEGIN_MSG_MAP(CHost)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()
    // clang-format on
};

// What a row shows, with the reference id of its entry.
struct Row {
    std::wstring texts[4];
    int image = -1;
    unsigned long refID = 0;
    bool operator==(const Row& other) const
    {
        for (int i = 0; i < 4; ++i)
            if (texts[i] != other.texts[i]) return false;
        return image == other.image && refID == other.refID;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row)
{
    std::string text;
    for (const std::wstring& t : row.texts) text += std::string(t.begin(), t.end()) + " | ";
    return out << text << "image " << row.image << ", entry " << row.refID;
}

std::vector<Row> RowsOf(CListViewCtrl& list)
{
    std::vector<Row> rows(static_cast<size_t>(list.GetItemCount()));
    for (int i = 0; i < list.GetItemCount(); ++i) {
        Row& row = rows[static_cast<size_t>(i)];
        for (int column = 0; column < 4; ++column)
            row.texts[column] = static_cast<const wchar_t*>(list.GetItemText(i, column));
        LVITEMW item{};
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        list.GetItem(&item);
        row.image = item.iImage;
        row.refID = item.lParam ? reinterpret_cast<const CEntry*>(item.lParam)->GetRefID() : 0;
    }
    return rows;
}

// An entry as the list's rule reads it, its caption formatted anew at each comparison.
struct SlowRow {
    const CEntry* entry;
    double Date() const { return entry->GetDate(); }
    CString Caption() const { return FormatEntryCaption(*entry); }
    long Odometer() const { return entry->GetOdometer(); }
    float Amount() const { return entry->GetAmount(); }
};

int CALLBACK SlowCompare(LPARAM first, LPARAM second, LPARAM column)
{
    const SlowRow x{reinterpret_cast<const CEntry*>(g_AppSettings.SortAscending ? first : second)};
    const SlowRow y{reinterpret_cast<const CEntry*>(g_AppSettings.SortAscending ? second : first)};
    return CEntryListView::CompareRows(x, y, static_cast<int>(column));
}

// The reference: a plain list-view control over entries of its own.
class CSlowReference {
public:
    bool Create(HWND parent)
    {
        m_list.m_hWnd = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 400, 300, parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReferenceId)), nullptr, nullptr);
        for (int column = 0; column < 4; ++column) m_list.InsertColumn(column, L"", LVCFMT_LEFT, 50);
        return m_list.m_hWnd != nullptr;
    }
    // Loads the filter's entries and fills the rows in loading order.
    void Load(CEntryFilter* filter)
    {
        m_list.DeleteAllItems();
        m_entries.Clear();
        ASSERT_TRUE(g_DataLayer.Load(&m_entries, filter));
        for (int i = 0; i < m_entries.GetCount(); ++i) Insert(m_entries.Get(i));
    }
    void Insert(CEntry* entry)
    {
        const int row =
            m_list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, m_list.GetItemCount(), FormatDate(entry->GetDate()),
                              0, 0, static_cast<int>(entry->GetType()) - 1, reinterpret_cast<LPARAM>(entry));
        m_list.SetItemText(row, 1, FormatEntryCaption(*entry));
        m_list.SetItemText(row, 2, FormatNumber(static_cast<float>(entry->GetOdometer()), false, false));
        m_list.SetItemText(row, 3, FormatNumber(entry->GetAmount(), true, true));
    }
    // Takes ownership of an entry and inserts its row.
    void Add(CEntry* entry)
    {
        m_entries.Add(entry);
        Insert(entry);
    }
    void Remove(const CEntry* entry) { m_list.DeleteItem(m_list.FindItemByData(reinterpret_cast<DWORD_PTR>(entry))); }
    void Sort(int column) { m_list.SortItems(&SlowCompare, column); }
    CEntry* Find(unsigned long refID)
    {
        for (int i = 0; i < m_entries.GetCount(); ++i)
            if (m_entries.Get(i)->GetRefID() == refID) return m_entries.Get(i);
        return nullptr;
    }
    std::vector<Row> Rows() { return RowsOf(m_list); }

private:
    CListViewCtrl m_list;
    CObjectListT<CEntry> m_entries;
};

// Numbers drawn the same way in every run.
struct Random {
    unsigned long state = 12345;
    unsigned long Next(unsigned long below)
    {
        state = state * 1103515245u + 12345u;
        return ((state >> 8) & 0xFFFFFF) % below;
    }
};

class EntryListOrder : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void SetUp() override
    {
        ASSERT_TRUE(m_file.Connected());
        ASSERT_TRUE(m_locale.IsSet());
        ASSERT_TRUE(m_host.Create(nullptr, CRect(100, 100, 800, 600), L"Entry order host"));
        m_host.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_entries.Create(m_host, CRect(10, 10, 600, 400), nullptr,
                                     WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_STATICEDGE,
                                     kEntryListId));
        m_entries.InitColumns();
        ASSERT_TRUE(m_reference.Create(m_host));
        m_car = CVehicleRecord(L"Car").Year(2004).Save(g_DataLayer);
        ASSERT_NE(0u, m_car);
        m_filter.SetVehicleID(m_car);
    }
    void TearDown() override { m_host.DestroyWindow(); }

    // Entries with many ties in every sort key: few dates, odometers and amounts, captions that
    // differ in case only or not at all, fuel captions made of numbers.
    void SaveRandomEntries(int count)
    {
        static const wchar_t* const names[] = {
            L"Oil change",    L"oil change", L"OIL CHANGE",          L"Brakes", L"brakes!",
            L"Tire rotation", L"",           L"Zebra crossing toll", L"_under", L"[x]"};
        static const wchar_t* const vendors[] = {L"", L"Shell", L"shell", L"Joe's", L"M\u00fcller", L"ARCO"};
        Random random;
        g_DataLayer.BeginTransaction();
        for (int i = 0; i < count; ++i) {
            const CEntry::Type type = static_cast<CEntry::Type>(1 + random.Next(4));
            CEntryRecord record(m_car, type);
            record.Date(40000 + random.Next(15) + (random.Next(4) == 0 ? 0.5 : 0))
                .Odometer(static_cast<long>(1000 + random.Next(60)))
                .Amount(static_cast<float>(random.Next(12)) * 2.5f)
                .Vendor(vendors[random.Next(6)]);
            if (type == CEntry::etFuel)
                record.Custom(static_cast<float>(5 + random.Next(3)), 3.0f + static_cast<float>(random.Next(3)) / 10);
            else
                record.Description(names[random.Next(10)]);
            ASSERT_NE(0u, record.Save(g_DataLayer));
        }
        ASSERT_EQ(CDataLayer::crCommitted, g_DataLayer.Commit());
    }
    // The view's entry of that reference id.
    CEntry* ViewEntry(unsigned long refID)
    {
        for (int row = 0; row < m_entries.GetItemCount(); ++row) {
            CEntry* entry = reinterpret_cast<CEntry*>(m_entries.GetItemData(row));
            if (entry && entry->GetRefID() == refID) return entry;
        }
        return nullptr;
    }
    std::vector<int> Selected()
    {
        std::vector<int> rows;
        for (int row = m_entries.GetNextItem(-1, LVNI_SELECTED); row >= 0;
             row = m_entries.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }
    int RowOf(unsigned long refID)
    {
        const std::vector<Row> rows = RowsOf(m_entries);
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].refID == refID) return static_cast<int>(i);
        return -1;
    }
    // Sorts both lists by the column in the direction and compares them.
    void SortBoth(int column, bool ascending)
    {
        g_AppSettings.SortAscending = ascending;
        m_entries.SortItems(column);
        m_reference.Sort(column);
        ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries)) << "column " << column << (ascending ? " up" : " down");
    }

    CSettingsScope m_settings;
    CThreadLocale m_locale{CThreadLocale::UnitedStates()};
    CTestDataFile m_file;
    CHost m_host;
    CEntryListView m_entries;
    CSlowReference m_reference;
    unsigned long m_car = 0;
    CEntryFilter m_filter;
};

TEST_F(EntryListOrder, EachColumnAndDirectionGivesTheWrittenOrder)
{
    // Nine entries; no two tie in any sort. The fuel captions begin with their quantity
    // ("12.00 ...", "5.00 ..."), the others are their descriptions.
    struct Made {
        const char* label;
        CEntry::Type type;
        const wchar_t* description;
        double date;
        long odometer;
        float amount;
        float quantity;
    };
    const Made made[] = {
        {"brakes", CEntry::etRepair, L"brakes", 40002, 1200, 50, 0},
        {"Brakes!", CEntry::etRepair, L"Brakes!", 40001, 1100, 100, 0},
        {"oil", CEntry::etExpense, L"oil change", 40001, 1100, 30, 0},
        {"_under", CEntry::etExpense, L"_under", 40001.5, 1300, 35, 0},
        {"Zebra", CEntry::etExpense, L"Zebra toll", 40003, 1100, 60, 0},
        {"[x]", CEntry::etRepair, L"[x]", 40002, 1000, 20, 0},
        {"fuel 5", CEntry::etFuel, nullptr, 40002, 1250, 15.5f, 5},
        {"fuel 12", CEntry::etFuel, nullptr, 40003, 1400, 24, 12},
        {"Oel", CEntry::etRepair, L"\u00d6lwechsel", 40001.25, 1200, 45, 0},
    };
    std::map<unsigned long, std::string> labels;
    for (const Made& m : made) {
        CEntryRecord record(m_car, m.type);
        record.Date(m.date).Odometer(m.odometer).Amount(m.amount);
        if (m.description)
            record.Description(m.description);
        else
            record.Custom(m.quantity, m.amount / m.quantity);
        const unsigned long refID = record.Save(g_DataLayer);
        ASSERT_NE(0u, refID);
        labels[refID] = m.label;
    }
    auto shown = [&] {
        std::vector<std::string> order;
        for (const Row& row : RowsOf(m_entries)) order.push_back(labels[row.refID]);
        return order;
    };

    using Order = std::vector<std::string>;
    struct Expected {
        int column;
        Order ascending;
    };
    const Expected expected[] = {
        // By date, the time of day included although the row shows the same date; ties by caption.
        {CEntryListView::ColDate, {"Brakes!", "oil", "Oel", "_under", "fuel 5", "[x]", "brakes", "fuel 12", "Zebra"}},
        // By caption as text: digits, then "[" and "_", then letters whatever their case, then
        // characters beyond ASCII by their code; a caption before its longer continuation.
        {CEntryListView::ColDescription,
         {"fuel 12", "fuel 5", "[x]", "_under", "brakes", "Brakes!", "oil", "Zebra", "Oel"}},
        // By odometer, ties by amount.
        {CEntryListView::ColOdometer,
         {"[x]", "oil", "Zebra", "Brakes!", "Oel", "brakes", "fuel 5", "_under", "fuel 12"}},
        // By amount as a number ($100.00 after $15.50).
        {CEntryListView::ColAmount, {"fuel 5", "[x]", "fuel 12", "oil", "_under", "Oel", "brakes", "Zebra", "Brakes!"}},
    };

    g_AppSettings.LastColSorted = -1;
    m_entries.Refresh(&m_filter);
    ASSERT_EQ(9, m_entries.GetItemCount());
    for (const Expected& e : expected) {
        g_AppSettings.SortAscending = TRUE;
        m_entries.SortItems(e.column);
        EXPECT_EQ(e.ascending, shown()) << "column " << e.column << " up";
        // Descending is the ascending order reversed, tie-breaks included.
        g_AppSettings.SortAscending = FALSE;
        m_entries.SortItems(e.column);
        EXPECT_EQ(Order(e.ascending.rbegin(), e.ascending.rend()), shown()) << "column " << e.column << " down";
    }

    // A refresh sorts its new rows the same way.
    g_AppSettings.LastColSorted = CEntryListView::ColDescription;
    g_AppSettings.SortAscending = TRUE;
    m_entries.Refresh(&m_filter);
    EXPECT_EQ(expected[1].ascending, shown());
}

TEST_F(EntryListOrder, EverySortColumnAndDirectionGivesTheReferenceRows)
{
    SaveRandomEntries(250);
    g_AppSettings.LastColSorted = -1;
    m_entries.Refresh(&m_filter);
    m_reference.Load(&m_filter);
    ASSERT_EQ(250, m_entries.GetItemCount());
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));

    // Each sort starts from the order the last one left: ties keep it, as in the reference.
    for (int column : {1, 0, 3, 2})
        for (bool ascending : {true, false}) {
            SortBoth(column, ascending);
            if (HasFatalFailure()) return;
        }

    // A refresh sorted by each column, from loading order.
    for (int column = 0; column < 4; ++column) {
        g_AppSettings.LastColSorted = column;
        g_AppSettings.SortAscending = column % 2 == 0;
        m_entries.Refresh(&m_filter);
        m_reference.Load(&m_filter);
        m_reference.Sort(column);
        ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries)) << "refresh by " << column;
        EXPECT_EQ(std::vector<int>{0}, Selected());
    }
}

TEST_F(EntryListOrder, EditedAddedAndDeletedEntriesAfterASortKeepTheReferenceRows)
{
    SaveRandomEntries(200);
    g_AppSettings.LastColSorted = 1;
    g_AppSettings.SortAscending = TRUE;
    m_entries.Refresh(&m_filter);
    m_reference.Load(&m_filter);
    m_reference.Sort(1);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));

    // Edited: a new caption and amount; the row moves to its new place, selected.
    m_entries.ClearSelection();
    const unsigned long edited = m_reference.Rows()[17].refID;
    for (CEntry* entry : {ViewEntry(edited), m_reference.Find(edited)}) {
        ASSERT_NE(nullptr, entry);
        entry->SetType(CEntry::etRepair);
        entry->SetName(L"aaa first of all");
        entry->SetVendor(L"");
        entry->SetAmount(1000);
    }
    ASSERT_GE(m_entries.UpdateItem(ViewEntry(edited), TRUE), 0);
    m_reference.Remove(m_reference.Find(edited));
    m_reference.Insert(m_reference.Find(edited));
    m_reference.Sort(1);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));
    EXPECT_EQ(std::vector<int>{RowOf(edited)}, Selected());
    EXPECT_EQ(L"aaa first of all", RowsOf(m_entries)[static_cast<size_t>(RowOf(edited))].texts[1]);

    // Added: a fuel entry, given to the list, selected alone at its place.
    auto fuel = [] {
        CEntry* entry = new CEntry;
        entry->SetRefID(900001);
        entry->SetType(CEntry::etFuel);
        entry->SetDate(40007);
        entry->SetOdometer(1030);
        entry->SetAmount(15);
        entry->SetCustom1(5);
        entry->SetCustom2(3);
        entry->SetVendor(L"Shell");
        return entry;
    };
    m_entries.AddEntry(fuel());
    m_reference.Add(fuel());
    m_reference.Sort(1);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));
    EXPECT_EQ(std::vector<int>{RowOf(900001)}, Selected());

    // Deleted: three rows, one of them the added entry.
    const std::vector<Row> before = m_reference.Rows();
    m_entries.ClearSelection();
    for (unsigned long refID : {before[3].refID, before[150].refID, 900001ul}) {
        m_entries.SetItemState(RowOf(refID), LVIS_SELECTED, LVIS_SELECTED);
        m_reference.Remove(m_reference.Find(refID));
    }
    m_entries.DeleteSelectedRows();
    ASSERT_EQ(198, m_entries.GetItemCount());
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));

    // The lists go on agreeing in every column and direction after the changes.
    for (int column : {0, 2, 3, 1})
        for (bool ascending : {false, true}) {
            SortBoth(column, ascending);
            if (HasFatalFailure()) return;
        }

    // The edit replaced in the other direction, by date, with ties on its new date.
    g_AppSettings.SortAscending = FALSE;
    m_entries.SortItems(0);
    m_reference.Sort(0);
    m_entries.ClearSelection();
    for (CEntry* entry : {ViewEntry(edited), m_reference.Find(edited)}) {
        entry->SetDate(40003);
        entry->SetName(L"Brakes");
    }
    ASSERT_GE(m_entries.UpdateItem(ViewEntry(edited), TRUE), 0);
    m_reference.Remove(m_reference.Find(edited));
    m_reference.Insert(m_reference.Find(edited));
    m_reference.Sort(0);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));
    EXPECT_EQ(std::vector<int>{RowOf(edited)}, Selected());
}

TEST_F(EntryListOrder, RefreshWhileSortedByDescriptionShowsWhatIsStoredNow)
{
    SaveRandomEntries(150);
    g_AppSettings.LastColSorted = 1;
    g_AppSettings.SortAscending = FALSE;
    m_entries.Refresh(&m_filter);
    m_reference.Load(&m_filter);
    m_reference.Sort(1);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));

    // Change what is stored: new names, vendors and types for a third of the entries. The
    // list's old entries go at the refresh; new ones may take their places in memory, and must
    // not be shown or sorted by what their predecessors there held.
    CObjectListT<CEntry> stored;
    ASSERT_TRUE(g_DataLayer.Load(&stored, &m_filter));
    g_DataLayer.BeginTransaction();
    for (int i = 0; i < stored.GetCount(); i += 3) {
        CEntry* entry = stored.Get(i);
        entry->SetType(i % 2 ? CEntry::etExpense : CEntry::etFuel);
        entry->SetName(i % 2 ? L"renamed" : L"");
        entry->SetVendor(i % 6 == 0 ? L"New vendor" : L"");
        entry->SetCustom1(7);
        entry->SetCustom2(2.5f);
        ASSERT_TRUE(g_DataLayer.Save(entry, 0));
    }
    ASSERT_EQ(CDataLayer::crCommitted, g_DataLayer.Commit());

    for (bool ascending : {true, false}) {
        g_AppSettings.SortAscending = ascending;
        m_entries.Refresh(&m_filter);
        m_reference.Load(&m_filter);
        m_reference.Sort(1);
        ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries)) << (ascending ? "up" : "down");
        EXPECT_EQ(std::vector<int>{0}, Selected());
        EXPECT_FALSE(m_entries.IsUpdating());
    }
    // Units changed between refreshes: the fuel captions are formatted anew.
    g_AppSettings.UnitVolume = 2;
    m_entries.Refresh(&m_filter);
    m_reference.Load(&m_filter);
    m_reference.Sort(1);
    ASSERT_EQ(m_reference.Rows(), RowsOf(m_entries));
}

}  // namespace
