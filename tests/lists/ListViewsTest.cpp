// The vehicle, entry and quick-statistics lists as real list-view controls in a host window that
// does what the main frame does for them: reflects their notifications, forwards the entry
// list's header clicks and custom draw, and tracks their context menus through a command bar.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/EntryListView.h"
#include "desktop/QuickStatsListView.h"
#include "desktop/Utility.h"
#include "desktop/VehicleListView.h"
#include "framework/Gdi.h"
#include "ListsTestSupport.h"
#include "resources/desktop/resource.h"
#include "tests/support/ThreadLocale.h"

namespace {

const UINT kVehicleListId = 201, kEntryListId = 202, kStatsListId = 203;

// What a context menu showed: the states of its items, and where it opened.
struct MenuSeen {
    bool shown = false;
    std::vector<UINT> commands;
    std::vector<bool> grayed;
    RECT window{};

    bool Grayed(UINT command) const
    {
        for (size_t i = 0; i < commands.size(); ++i)
            if (commands[i] == command) return grayed[i];
        ADD_FAILURE() << "no command " << command;
        return false;
    }
};

class CHost : public CWindowImpl<CHost, CWindow, CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0>> {
public:
    DECLARE_WND_CLASS(L"AlkListsTestHost")

    CEntryListView* entries = nullptr;
    CQuickStatsListView* stats = nullptr;
    MenuSeen menu;
    // Item pre-paint of the entry list: row and the text background it answered.
    std::vector<std::pair<int, COLORREF>> shading;
    // IsUpdating at each selection change of the entry list.
    std::vector<BOOL> updatingAtChange;

    // clang-format off
    BEGIN_MSG_MAP(CHost)
        MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
        MESSAGE_HANDLER(WM_ENTERIDLE, OnEnterIdle)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        NOTIFY_HANDLER(kEntryListId, LVN_COLUMNCLICK, OnColumnClick)
        NOTIFY_HANDLER(kEntryListId, NM_CUSTOMDRAW, OnCustomDraw)
        NOTIFY_HANDLER(kEntryListId, LVN_ITEMCHANGED, OnItemChanged)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        HMENU popup = reinterpret_cast<HMENU>(wParam);
        menu.commands.clear();
        menu.grayed.clear();
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const UINT id = GetMenuItemID(popup, i);
            if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
            menu.commands.push_back(id);
            menu.grayed.push_back((GetMenuState(popup, i, MF_BYPOSITION) & MF_GRAYED) != 0);
        }
        return 0;
    }
    LRESULT OnEnterIdle(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        if (wParam == MSGF_MENU && !menu.shown) {
            menu.shown = true;
            if (HWND popup = FindWindowW(L"#32768", nullptr)) ::GetWindowRect(popup, &menu.window);
            EndMenu();
        }
        return 0;
    }
    LRESULT OnMeasureItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (wParam != kStatsListId || !stats) {
            handled = FALSE;
            return 0;
        }
        stats->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        return TRUE;
    }
    LRESULT OnColumnClick(int id, LPNMHDR header, BOOL& handled)
    {
        return entries ? entries->OnColumnClick(id, header, handled) : 0;
    }
    LRESULT OnCustomDraw(int id, LPNMHDR header, BOOL& handled)
    {
        if (!entries) return CDRF_DODEFAULT;
        NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        const LRESULT result = entries->OnCustomDraw(id, header, handled);
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            shading.emplace_back(static_cast<int>(draw->nmcd.dwItemSpec), draw->clrTextBk);
        return result;
    }
    LRESULT OnItemChanged(int, LPNMHDR header, BOOL&)
    {
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if (entries && (change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            updatingAtChange.push_back(entries->IsUpdating());
        return 0;
    }
};

class ListsOnScreen : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void SetUp() override
    {
        ASSERT_TRUE(m_file.Connected());
        ASSERT_TRUE(m_locale.IsSet());
        ASSERT_TRUE(m_host.Create(nullptr, CRect(200, 150, 900, 700), L"Lists host"));
        m_host.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_bar.Create(m_host, CRect(0, 0, 400, 24)));
        m_car = CVehicleRecord(L"Car").Year(2004).Save(g_DataLayer);
        ASSERT_NE(0u, m_car);
        m_filter.SetVehicleID(m_car);
    }
    void TearDown() override { m_host.DestroyWindow(); }

    void CreateVehicleList()
    {
        ASSERT_TRUE(m_vehicles.Create(m_host, CRect(10, 40, 260, 300), nullptr,
                                      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                                          LVS_SORTASCENDING | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER,
                                      WS_EX_STATICEDGE, kVehicleListId));
        m_vehicles.SetCommandBar(&m_bar);
        m_vehicles.Initialize();
    }
    void CreateEntryList()
    {
        m_host.entries = &m_entries;
        ASSERT_TRUE(m_entries.Create(m_host, CRect(270, 40, 690, 400), nullptr,
                                     WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_STATICEDGE,
                                     kEntryListId));
        m_entries.SetCommandBar(&m_bar);
        m_entries.InitColumns();
    }
    std::vector<std::wstring> Column(CListViewCtrl& list, int column)
    {
        std::vector<std::wstring> texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts.push_back(static_cast<const wchar_t*>(list.GetItemText(row, column)));
        return texts;
    }
    std::vector<int> Selected(CListViewCtrl& list)
    {
        std::vector<int> rows;
        for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
            rows.push_back(row);
        return rows;
    }
    // Opens the list's context menu as a right click or the context-menu key does.
    MenuSeen ContextMenu(CListViewCtrl& list, LPARAM position)
    {
        m_host.menu = MenuSeen();
        list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), position);
        return m_host.menu;
    }
    // A real click on a column header of the entry list.
    void ClickHeader(int column)
    {
        CHeaderCtrl header = m_entries.GetHeader();
        CRect item;
        ASSERT_TRUE(header.GetItemRect(column, &item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        header.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        header.SendMessage(WM_LBUTTONUP, 0, at);
        PumpMessages();
    }
    int Arrow(int column) { return m_entries.GetHeader().GetItemFormat(column) & (HDF_SORTUP | HDF_SORTDOWN); }
    void Repair(long odometer, float amount, const wchar_t* description, double date = 40000)
    {
        EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etRepair)
                          .Date(date)
                          .Odometer(odometer)
                          .Amount(amount)
                          .Description(description)
                          .Save(g_DataLayer));
    }
    // Erases the list into a bitmap as the control's own painting would; the rows of the bitmap
    // that hold text-coloured pixels, and their leftmost and rightmost columns.
    struct Ink {
        int top = -1, bottom = -1, left = -1, right = -1;
        LRESULT erased = 0;
    };
    Ink EraseInk(CListViewCtrl& list)
    {
        CRect client;
        list.GetClientRect(&client);
        CClientDC screen(list);
        CMemoryDC dc(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.Width(), client.Height());
        HGDIOBJ old = dc.SelectObject(bitmap);
        dc.FillSolidRect(client, RGB(255, 0, 255));
        Ink ink;
        ink.erased = list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
        const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x)
                if (dc.GetPixel(x, y) == text) {
                    if (ink.top < 0) ink.top = y;
                    ink.bottom = y;
                    if (ink.left < 0 || x < ink.left) ink.left = x;
                    if (x > ink.right) ink.right = x;
                }
        dc.SelectObject(old);
        DeleteObject(bitmap);
        return ink;
    }

    CSettingsScope m_settings;
    CThreadLocale m_locale{CThreadLocale::UnitedStates()};
    CTestDataFile m_file;
    CHost m_host;
    CCommandBarCtrl m_bar;
    CVehicleListView m_vehicles;
    CEntryListView m_entries;
    unsigned long m_car = 0;
    CEntryFilter m_filter;
};

// --- vehicle list --------------------------------------------------------------------------------

TEST_F(ListsOnScreen, VehiclesShowInCaptionOrderWithTheirRecords)
{
    const unsigned long van = CVehicleRecord(L"Van").Year(1999).Save(g_DataLayer);
    CVehicleRecord(L"bike").Year(2010).Save(g_DataLayer);
    CreateVehicleList();

    EXPECT_EQ((std::vector<std::wstring>{L"bike (2010)", L"Car (2004)", L"Van (1999)"}), Column(m_vehicles, 0));
    const wchar_t* names[] = {L"bike", L"Car", L"Van"};
    for (int row = 0; row < m_vehicles.GetItemCount(); ++row) {
        const CVehicle* vehicle = reinterpret_cast<const CVehicle*>(m_vehicles.GetItemData(row));
        ASSERT_NE(nullptr, vehicle);
        EXPECT_STREQ(names[row], vehicle->GetName());
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        m_vehicles.GetItem(&item);
        EXPECT_EQ(0, item.iImage);
    }
    ASSERT_NE(nullptr, m_vehicles.FindVehicle(van));
    EXPECT_STREQ(L"Van", m_vehicles.FindVehicle(van)->GetName());
    EXPECT_EQ(nullptr, m_vehicles.FindVehicle(van + 1000));
    EXPECT_EQ(nullptr, m_vehicles.GetSelectedItemData());

    // One small icon, borrowed by the control.
    HIMAGELIST images = m_vehicles.GetImageList(LVSIL_SMALL);
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(1, ImageList_GetImageCount(images));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(g_AppSettings.SmallIconSize, cx);
    EXPECT_TRUE(m_vehicles.GetStyle() & LVS_SHAREIMAGELISTS);

    // The one column fills the control at every size, without a horizontal scroll bar.
    for (int width : {180, 320, 240}) {
        m_vehicles.SetWindowPos(nullptr, 0, 0, width, 200, SWP_NOMOVE | SWP_NOZORDER);
        CRect client;
        m_vehicles.GetClientRect(&client);
        EXPECT_EQ(client.Width(), m_vehicles.GetColumnWidth(0)) << width;
        EXPECT_FALSE(m_vehicles.GetStyle() & WS_HSCROLL);
    }
}

TEST_F(ListsOnScreen, AddedAndRenamedVehiclesTakeTheirSortedPlace)
{
    CVehicleRecord(L"Van").Year(2004).Save(g_DataLayer);
    CreateVehicleList();

    CVehicle* added = new CVehicle;
    added->SetName(L"Bus");
    added->SetYear(2001);
    m_vehicles.AddVehicle(added);
    EXPECT_EQ((std::vector<std::wstring>{L"Bus (2001)", L"Car (2004)", L"Van (2004)"}), Column(m_vehicles, 0));
    EXPECT_EQ(std::vector<int>{0}, Selected(m_vehicles));
    EXPECT_EQ(0, m_vehicles.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_EQ(added, m_vehicles.GetSelectedItemData());

    added->SetName(L"Zebra");
    EXPECT_EQ(2, m_vehicles.RefreshVehicle(added, TRUE));
    EXPECT_EQ((std::vector<std::wstring>{L"Car (2004)", L"Van (2004)", L"Zebra (2001)"}), Column(m_vehicles, 0));
    EXPECT_EQ(std::vector<int>{2}, Selected(m_vehicles));
    EXPECT_EQ(added, m_vehicles.GetSelectedItemData());

    // A vehicle without a row is not written.
    CVehicle stranger;
    stranger.SetName(L"Stranger");
    EXPECT_EQ(-1, m_vehicles.RefreshVehicle(&stranger, TRUE));
    EXPECT_EQ(3, m_vehicles.GetItemCount());

    // Reloading drops what the database does not hold.
    EXPECT_TRUE(m_vehicles.LoadVehicles());
    EXPECT_EQ((std::vector<std::wstring>{L"Car (2004)", L"Van (2004)"}), Column(m_vehicles, 0));
    g_DataLayer.Disconnect();
    EXPECT_FALSE(m_vehicles.LoadVehicles());
    EXPECT_EQ(0, m_vehicles.GetItemCount());
}

TEST_F(ListsOnScreen, VehicleMenuGreysEditAndDeleteWithoutASelectedVehicle)
{
    CVehicleRecord(L"Van").Year(2004).Save(g_DataLayer);
    CreateVehicleList();

    MenuSeen none = ContextMenu(m_vehicles, MAKELPARAM(50, 50));
    ASSERT_TRUE(none.shown);
    EXPECT_EQ((std::vector<UINT>{ID_EDIT_SELECTED, ID_DELETE_SELECTED, ID_NEW_VEHICLE}), none.commands);
    EXPECT_TRUE(none.Grayed(ID_EDIT_SELECTED));
    EXPECT_TRUE(none.Grayed(ID_DELETE_SELECTED));
    EXPECT_FALSE(none.Grayed(ID_NEW_VEHICLE));

    m_vehicles.SelectItem(1);
    MenuSeen one = ContextMenu(m_vehicles, MAKELPARAM(50, 50));
    ASSERT_TRUE(one.shown);
    EXPECT_FALSE(one.Grayed(ID_EDIT_SELECTED));
    EXPECT_FALSE(one.Grayed(ID_DELETE_SELECTED));
}

TEST_F(ListsOnScreen, ContextKeyOpensTheMenuAtTheSelectedRowsIcon)
{
    CVehicleRecord(L"Van").Year(2004).Save(g_DataLayer);
    CVehicleRecord(L"Truck").Year(2004).Save(g_DataLayer);
    CreateVehicleList();
    m_vehicles.SelectItem(1);
    SetCursorPos(5, 5);  // outside every row

    MenuSeen seen = ContextMenu(m_vehicles, MAKELPARAM(-1, -1));
    ASSERT_TRUE(seen.shown);
    CRect icon;
    ASSERT_TRUE(m_vehicles.GetItemRect(1, &icon, LVIR_ICON));
    POINT corner{icon.left, icon.bottom};
    m_vehicles.ClientToScreen(&corner);
    EXPECT_EQ(corner.x, seen.window.left);
    EXPECT_EQ(corner.y, seen.window.top);

    // No selection: the client area's top-left corner.
    m_vehicles.ClearSelection();
    seen = ContextMenu(m_vehicles, MAKELPARAM(-1, -1));
    POINT origin{0, 0};
    m_vehicles.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, seen.window.left);
    EXPECT_EQ(origin.y, seen.window.top);
}

// --- empty-list notice ---------------------------------------------------------------------------

TEST_F(ListsOnScreen, EmptyListNoticeComesAndGoesWithTheRows)
{
    CreateEntryList();
    m_entries.Refresh(&m_filter);
    ASSERT_EQ(0, m_entries.GetItemCount());

    CRect header;
    m_entries.GetHeader().GetItemRect(0, &header);
    CRect client;
    m_entries.GetClientRect(&client);
    Ink ink = EraseInk(m_entries);
    EXPECT_EQ(1, ink.erased);
    ASSERT_GE(ink.top, 0) << "no notice drawn";
    EXPECT_GE(ink.top, header.bottom + 10);
    EXPECT_LT(ink.bottom, header.bottom + 10 + 20);  // one line of the GUI font
    // Centred: as much room on the left as on the right (within the window frame's 2 pixels).
    EXPECT_NEAR(ink.left, client.Width() - 1 - ink.right, 4);

    Repair(1000, 10, L"A");
    m_entries.Refresh(&m_filter);
    ASSERT_EQ(1, m_entries.GetItemCount());
    ink = EraseInk(m_entries);
    EXPECT_EQ(-1, ink.top) << "notice drawn over rows";

    m_entries.SelectItem(0);
    m_entries.DeleteSelectedRows();
    ink = EraseInk(m_entries);
    EXPECT_EQ(1, ink.erased);
    EXPECT_GE(ink.top, header.bottom + 10);

    // A list without a header starts the notice 10 pixels from the top.
    CreateVehicleList();
    g_DataLayer.Disconnect();
    m_vehicles.LoadVehicles();
    ink = EraseInk(m_vehicles);
    EXPECT_GE(ink.top, 10);
    EXPECT_LT(ink.top, 20);
}

// --- entry list ----------------------------------------------------------------------------------

TEST_F(ListsOnScreen, EntryRowsShowTheirColumnsAndTypeIcons)
{
    CreateEntryList();
    CHeaderCtrl header = m_entries.GetHeader();
    ASSERT_EQ(4, header.GetItemCount());
    const wchar_t* titles[] = {L"Date", L"Description", L"Odometer", L"Amount"};
    const int widths[] = {100, 250, 75, 75};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT};
    for (int i = 0; i < 4; ++i) {
        wchar_t title[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        ASSERT_TRUE(m_entries.GetColumn(i, &column));
        EXPECT_STREQ(titles[i], title);
        EXPECT_EQ(formats[i], column.fmt & LVCFMT_JUSTIFYMASK);
        if (i != 1) {
            EXPECT_EQ(widths[i], m_entries.GetColumnWidth(i));
        }
    }
    EXPECT_EQ(4, ImageList_GetImageCount(m_entries.GetImageList(LVSIL_SMALL)));

    g_AppSettings.LastColSorted = -1;  // loading order
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etExpense)
                      .Date(40003)
                      .Odometer(1500)
                      .Amount(12.5f)
                      .Vendor(L"Wash & Go")
                      .Description(L"Car wash")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40001)
                      .Odometer(1000)
                      .Amount(31)
                      .Custom(10, 3.1f)
                      .Vendor(L"Gas")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etTrip)
                      .Date(40002)
                      .Odometer(1200)
                      .Amount(0)
                      .Custom(1100, 1200)
                      .Vendor(L"Business")
                      .Description(L"Meeting")
                      .Save(g_DataLayer));
    Repair(1100, 250, L"Brakes", 40000);
    m_entries.Refresh(&m_filter);
    ASSERT_EQ(4, m_entries.GetItemCount());
    EXPECT_EQ((std::vector<std::wstring>{L"1,500", L"1,000", L"1,200", L"1,100"}), Column(m_entries, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"$12.50", L"$31.00", L"$0.00", L"$250.00"}), Column(m_entries, 3));
    EXPECT_EQ((std::vector<std::wstring>{L"7/9/2009", L"7/7/2009", L"7/8/2009", L"7/6/2009"}), Column(m_entries, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"Car wash (Wash & Go)", L"10.00 gal @ $3.10 (Gas)", L"Meeting (Business)",
                                         L"Brakes"}),
              Column(m_entries, 1));
    for (int row = 0; row < 4; ++row) {
        const CEntry* entry = reinterpret_cast<const CEntry*>(m_entries.GetItemData(row));
        ASSERT_NE(nullptr, entry);
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        m_entries.GetItem(&item);
        EXPECT_EQ(static_cast<int>(entry->GetType()) - 1, item.iImage);
    }
    // The first row is selected and focused for the notes pane.
    EXPECT_EQ(std::vector<int>{0}, Selected(m_entries));
    EXPECT_EQ(0, m_entries.GetNextItem(-1, LVNI_FOCUSED));
    EXPECT_FALSE(m_entries.IsUpdating());

    // The description column takes what the others leave.
    m_entries.SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    CRect client;
    m_entries.GetClientRect(&client);
    EXPECT_EQ(client.Width() - 100 - 75 - 75 - 5, m_entries.GetColumnWidth(1));

    // Narrower than its columns: still no horizontal scroll bar.
    m_entries.SetWindowPos(nullptr, 0, 0, 150, 300, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_FALSE(m_entries.GetStyle() & WS_HSCROLL);

    // No filter: no rows.
    m_entries.Refresh(nullptr);
    EXPECT_EQ(0, m_entries.GetItemCount());
}

TEST_F(ListsOnScreen, HeaderClicksFlipTheDirectionAndTheArrows)
{
    CreateEntryList();
    Repair(3000, 30, L"Tire rotation", 40010);
    Repair(1000, 50, L"oil change", 40010);
    Repair(2000, 20, L"Alignment", 40005);
    m_entries.Refresh(&m_filter);

    // Ascending by date; equal dates by caption, ignoring case.
    EXPECT_EQ((std::vector<std::wstring>{L"Alignment", L"oil change", L"Tire rotation"}), Column(m_entries, 1));
    EXPECT_EQ(HDF_SORTUP, Arrow(0));
    EXPECT_EQ(0, Arrow(2));

    ClickHeader(2);  // Odometer: the direction flips, so descending
    EXPECT_FALSE(g_AppSettings.SortAscending);
    EXPECT_EQ(2, g_AppSettings.LastColSorted);
    EXPECT_EQ((std::vector<std::wstring>{L"3,000", L"2,000", L"1,000"}), Column(m_entries, 2));
    EXPECT_EQ(0, Arrow(0));
    EXPECT_EQ(HDF_SORTDOWN, Arrow(2));
    // Alignment and titles stay.
    EXPECT_EQ(HDF_RIGHT, m_entries.GetHeader().GetItemFormat(2) & HDF_JUSTIFYMASK);
    EXPECT_EQ(HDF_LEFT, m_entries.GetHeader().GetItemFormat(0) & HDF_JUSTIFYMASK);

    ClickHeader(2);
    EXPECT_TRUE(g_AppSettings.SortAscending);
    EXPECT_EQ((std::vector<std::wstring>{L"1,000", L"2,000", L"3,000"}), Column(m_entries, 2));
    EXPECT_EQ(HDF_SORTUP, Arrow(2));

    ClickHeader(0);  // descending by date: the caption tie-break reverses too
    EXPECT_EQ((std::vector<std::wstring>{L"Tire rotation", L"oil change", L"Alignment"}), Column(m_entries, 1));
    EXPECT_EQ(HDF_SORTDOWN, Arrow(0));
    ClickHeader(1);
    EXPECT_EQ((std::vector<std::wstring>{L"Alignment", L"oil change", L"Tire rotation"}), Column(m_entries, 1));
    EXPECT_EQ(1, g_AppSettings.LastColSorted);
}

TEST_F(ListsOnScreen, EqualOdometersSortByAmount)
{
    g_AppSettings.LastColSorted = 2;
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40000)
                      .Odometer(5000)
                      .Amount(40)
                      .Custom(10, 4)
                      .Vendor(L"B")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40000)
                      .Odometer(4000)
                      .Amount(99)
                      .Custom(10, 9.9f)
                      .Vendor(L"C")
                      .Save(g_DataLayer));
    EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                      .Date(40000)
                      .Odometer(5000)
                      .Amount(35)
                      .Custom(10, 3.5f)
                      .Vendor(L"A")
                      .Save(g_DataLayer));
    CreateEntryList();
    m_entries.Refresh(&m_filter);
    EXPECT_EQ((std::vector<std::wstring>{L"$99.00", L"$35.00", L"$40.00"}), Column(m_entries, 3));
    g_AppSettings.SortAscending = FALSE;
    m_entries.SortItems(-1);  // the saved column
    EXPECT_EQ((std::vector<std::wstring>{L"$40.00", L"$35.00", L"$99.00"}), Column(m_entries, 3));
    // Other columns than the four keep the order.
    m_entries.SortItems(7);
    EXPECT_EQ((std::vector<std::wstring>{L"$40.00", L"$35.00", L"$99.00"}), Column(m_entries, 3));
}

TEST_F(ListsOnScreen, AddedEntryIsSelectedAloneAtItsSortedPlaceAndInView)
{
    g_AppSettings.LastColSorted = 3;
    for (int i = 0; i < 40; ++i) Repair(1000 + i, 10.0f + i, L"Service");
    CreateEntryList();
    m_entries.Refresh(&m_filter);
    m_entries.SelectItem(3);
    m_entries.SelectItem(5);
    m_entries.EnsureVisible(0, FALSE);

    CEntry* fuel = new CEntry;
    fuel->SetVehicleID(m_car);
    fuel->SetType(CEntry::etFuel);
    fuel->SetAmount(43.5f);
    fuel->SetCustom1(10);
    fuel->SetCustom2(4.35f);
    fuel->SetOdometer(1041);
    m_entries.AddEntry(fuel);

    const int row = m_entries.FindItemByParam(reinterpret_cast<LPARAM>(fuel));
    EXPECT_EQ(34, row);  // after 10 .. 43 (34 amounts), before 44 ...
    EXPECT_EQ(std::vector<int>{row}, Selected(m_entries));
    CRect item, client;
    m_entries.GetItemRect(row, &item, LVIR_BOUNDS);
    m_entries.GetClientRect(&client);
    EXPECT_GE(item.top, 0);
    EXPECT_LE(item.bottom, client.bottom);
    EXPECT_FALSE(m_entries.IsUpdating());

    // Replacing re-sorts the changed entry; a stranger has no row.
    fuel->SetAmount(5);
    EXPECT_GE(m_entries.UpdateItem(fuel, TRUE), 0);
    EXPECT_EQ(0, m_entries.FindItemByParam(reinterpret_cast<LPARAM>(fuel)));
    EXPECT_EQ(std::vector<int>{0}, Selected(m_entries));
    EXPECT_EQ(L"$5.00", std::wstring(m_entries.GetItemText(0, 3)));
    CEntry stranger;
    EXPECT_EQ(-1, m_entries.UpdateItem(&stranger, TRUE));
    EXPECT_EQ(41, m_entries.GetItemCount());
}

TEST_F(ListsOnScreen, DeletingSelectedRowsKeepsUpdatingRaisedAndTheEntries)
{
    for (int i = 0; i < 5; ++i) Repair(1000 + i, 10.0f + i, L"Service");
    CreateEntryList();
    m_entries.Refresh(&m_filter);
    m_entries.ClearSelection();
    for (int row : {1, 2, 4}) m_entries.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);

    std::vector<CBaseObject*> taken;
    {
        CObjectList selected;
        EXPECT_EQ(3, m_entries.GetSelectedEntries(&selected));
        ASSERT_EQ(3, selected.GetCount());
        EXPECT_EQ(reinterpret_cast<CBaseObject*>(m_entries.GetItemData(1)), selected.GetItem(0));
        EXPECT_EQ(reinterpret_cast<CBaseObject*>(m_entries.GetItemData(4)), selected.GetItem(2));
        for (int i = 0; i < 3; ++i) taken.push_back(selected.GetItem(i));

        m_host.updatingAtChange.clear();
        m_entries.DeleteSelectedRows();
        EXPECT_EQ((std::vector<std::wstring>{L"$10.00", L"$13.00"}), Column(m_entries, 3));
        EXPECT_EQ(3u, m_host.updatingAtChange.size());
        for (BOOL updating : m_host.updatingAtChange) EXPECT_TRUE(updating);
        EXPECT_FALSE(m_entries.IsUpdating());
    }
    // The list is gone and deleted none of them (its auto-cleanup was off): the entries stay the
    // view's until the next refresh. Had it freed them, new records of their size would take
    // their places.
    EXPECT_EQ(1002, static_cast<CEntry*>(taken[1])->GetOdometer());
    std::vector<std::unique_ptr<CEntry>> fresh;
    for (int i = 0; i < 3; ++i) {
        fresh.emplace_back(new CEntry);
        for (CBaseObject* entry : taken) EXPECT_NE(entry, fresh.back().get());
    }

    CObjectList none;
    m_entries.ClearSelection();
    EXPECT_EQ(0, m_entries.GetSelectedEntries(&none));
    EXPECT_EQ(0, none.GetCount());
}

TEST_F(ListsOnScreen, EntryMenuFollowsTheNumberOfSelectedRows)
{
    Repair(1000, 10, L"A");
    Repair(1001, 11, L"B");
    CreateEntryList();
    m_entries.Refresh(&m_filter);

    m_entries.ClearSelection();
    MenuSeen none = ContextMenu(m_entries, MAKELPARAM(400, 300));
    ASSERT_TRUE(none.shown);
    EXPECT_EQ((std::vector<UINT>{ID_EDIT_SELECTED, ID_DELETE_SELECTED}), none.commands);
    EXPECT_TRUE(none.Grayed(ID_EDIT_SELECTED));
    EXPECT_TRUE(none.Grayed(ID_DELETE_SELECTED));

    m_entries.SelectItem(0);
    MenuSeen one = ContextMenu(m_entries, MAKELPARAM(400, 300));
    EXPECT_FALSE(one.Grayed(ID_EDIT_SELECTED));
    EXPECT_FALSE(one.Grayed(ID_DELETE_SELECTED));

    m_entries.SelectItem(1);
    MenuSeen two = ContextMenu(m_entries, MAKELPARAM(400, 300));
    EXPECT_TRUE(two.Grayed(ID_EDIT_SELECTED));
    EXPECT_FALSE(two.Grayed(ID_DELETE_SELECTED));
}

TEST_F(ListsOnScreen, RowsAreShadedAtItemPrePaint)
{
    g_AppSettings.OddRowColor = RGB(255, 255, 255);
    g_AppSettings.EvenRowColor = RGB(206, 239, 165);
    for (int i = 0; i < 4; ++i) Repair(1000 + i, 10, L"Service");
    CreateEntryList();
    m_entries.Refresh(&m_filter);
    m_host.shading.clear();
    m_entries.Invalidate(TRUE);
    m_entries.UpdateWindow();

    std::vector<COLORREF> byRow(4, CLR_NONE);
    for (const auto& seen : m_host.shading)
        if (seen.first >= 0 && seen.first < 4) byRow[seen.first] = seen.second;
    EXPECT_EQ((std::vector<COLORREF>{RGB(206, 239, 165), RGB(255, 255, 255), RGB(206, 239, 165), RGB(255, 255, 255)}),
              byRow);

    // The stages answered, and shading off.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = m_entries;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    BOOL handled = TRUE;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, m_entries.OnCustomDraw(kEntryListId, &draw.nmcd.hdr, handled));
    draw.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
    EXPECT_EQ(CDRF_DODEFAULT, m_entries.OnCustomDraw(kEntryListId, &draw.nmcd.hdr, handled));
    g_AppSettings.ShadeRows = FALSE;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.nmcd.dwItemSpec = 2;
    draw.clrTextBk = RGB(1, 2, 3);
    EXPECT_EQ(CDRF_DODEFAULT, m_entries.OnCustomDraw(kEntryListId, &draw.nmcd.hdr, handled));
    EXPECT_EQ(RGB(1, 2, 3), draw.clrTextBk);
}

// --- quick statistics ------------------------------------------------------------------------------

// Reads the values the pane draws.
class CStatsPane : public CQuickStatsListView {
public:
    using CQuickStatsListView::GetValueText;
};

class QuickStatsPane : public ListsOnScreen {
protected:
    void CreateStatsList()
    {
        m_host.stats = &m_pane;
        ASSERT_TRUE(
            m_pane.Create(m_host, CRect(10, 310, 260, 640), nullptr,
                          WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                          WS_EX_STATICEDGE, kStatsListId));
        m_pane.InitRows();
    }
    std::vector<std::wstring> Values()
    {
        std::vector<std::wstring> values;
        for (int row = 0; row < m_pane.GetItemCount(); ++row)
            values.push_back(static_cast<const wchar_t*>(m_pane.GetValueText(row)));
        return values;
    }
    void Fuel(long odometer, float quantity, float cost, const wchar_t* vendor)
    {
        EXPECT_NE(0u, CEntryRecord(m_car, CEntry::etFuel)
                          .Date(40000)
                          .Odometer(odometer)
                          .Amount(cost)
                          .Custom(quantity, cost / quantity)
                          .Vendor(vendor)
                          .Save(g_DataLayer));
    }

    CStatsPane m_pane;
    CQuickStats m_stats;
};

TEST_F(QuickStatsPane, RowsAreLabelledAndShowNotAvailableWithoutFigures)
{
    CreateStatsList();
    EXPECT_EQ((std::vector<std::wstring>{L"Date range:", L"Average fuel economy:", L"Most recent fuel economy:",
                                         L"Average fuel cost:", L"Distance traveled:", L"Total fuel consumed:",
                                         L"Total fuel expense:", L"Total overall expense:", L"Fuel consumption rate:",
                                         L"Cost of ownership:"}),
              Column(m_pane, 0));
    EXPECT_EQ(std::vector<std::wstring>(10, L"N/A"), Values());

    // Two lines of text and 3 pixels per row, as the control lays them out.
    TEXTMETRICW bold{}, gui{};
    {
        CClientDC dc(m_pane);
        HGDIOBJ old = dc.SelectObject(g_hBoldFont);
        dc.GetTextMetrics(&bold);
        dc.SelectObject(GetStockObject(DEFAULT_GUI_FONT));
        dc.GetTextMetrics(&gui);
        dc.SelectObject(old);
    }
    CRect row;
    m_pane.GetItemRect(0, &row, LVIR_BOUNDS);
    EXPECT_EQ(bold.tmHeight + bold.tmExternalLeading + gui.tmHeight + gui.tmExternalLeading + 3, row.Height());
    // The frame posts a size change after the rows are made: the one column then fills the pane.
    m_pane.SendMessage(WM_SIZE, 0, 0);
    CRect client;
    m_pane.GetClientRect(&client);
    EXPECT_EQ(client.Width(), m_pane.GetColumnWidth(0));
    m_pane.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    m_pane.GetClientRect(&client);
    EXPECT_EQ(client.Width(), m_pane.GetColumnWidth(0));
    EXPECT_FALSE(m_pane.GetStyle() & WS_HSCROLL);
}

TEST_F(QuickStatsPane, WorkedExampleReadsAsTheUserSeesIt)
{
    Fuel(1000, 10, 30, L"First Gas");
    Fuel(1300, 12, 36, L"Second Gas");
    Fuel(1600, 10, 31, L"Third Gas");
    CreateStatsList();
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    m_pane.SetStats(&m_stats);
    EXPECT_EQ((std::vector<std::wstring>{L"All Dates", L"27.27 mi/gal", L"30.00 mi/gal (Second Gas)", L"$3.03 per gal",
                                         L"600 miles", L"22.00 gal", L"$97.00", L"$97.00", L"3.67 gal per 100 miles",
                                         L"$16.17 per 100 miles"}),
              Values());

    // Units changed without recomputing: new names, old numbers.
    g_AppSettings.UnitDistance = 1;
    g_AppSettings.UnitVolume = 2;
    g_AppSettings.UnitFuelEconomy = 2;
    EXPECT_EQ(L"27.27 km/ltr", Values()[1]);
    EXPECT_EQ(L"600 kilometres", Values()[4]);
    EXPECT_EQ(L"3.67 ltr per 100 kilometres", Values()[8]);

    m_pane.ClearStats();
    EXPECT_EQ(std::vector<std::wstring>(10, L"N/A"), Values());
}

TEST_F(QuickStatsPane, RepairAndFuelPairAndEconomiesThatCannotBeComputed)
{
    Repair(5000, 250, L"Brakes");
    Fuel(5150, 10, 40, L"Gas");
    CreateStatsList();
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    m_pane.SetStats(&m_stats);
    const std::vector<std::wstring> values = Values();
    EXPECT_EQ(L"N/A", values[1]);
    EXPECT_EQ(L"N/A", values[2]);
    EXPECT_EQ(L"$4.00 per gal", values[3]);
    EXPECT_EQ(L"150 miles", values[4]);
    EXPECT_EQ(L"0.00 gal", values[5]);
    EXPECT_EQ(L"0.00 gal per 100 miles", values[8]);
    EXPECT_EQ(L"$193.33 per 100 miles", values[9]);
}

TEST_F(QuickStatsPane, EconomyUnitLabels)
{
    const wchar_t* expected[] = {L"mi/gal", L"mi/gal", L"km/ltr", L"mi/ltr", L"", L""};
    const int units[] = {0, 1, 2, 3, 4, -1};
    for (int i = 0; i < 6; ++i) {
        g_AppSettings.UnitFuelEconomy = units[i];
        EXPECT_STREQ(expected[i], CQuickStatsListView::GetFuelEconomyUnit()) << units[i];
    }
}

TEST_F(QuickStatsPane, RowsAreDrawnWithSelectionFillAndSeparator)
{
    Fuel(1000, 10, 30, L"A");
    CreateStatsList();
    ASSERT_TRUE(m_stats.Compute(&m_filter));
    m_pane.SetStats(&m_stats);
    m_pane.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);

    CRect client;
    m_pane.GetClientRect(&client);
    CClientDC screen(m_pane);
    CMemoryDC dc(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.Width(), client.Height());
    HGDIOBJ old = dc.SelectObject(bitmap);
    dc.FillSolidRect(client, RGB(255, 0, 255));
    for (int row : {0, 1}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = kStatsListId;
        item.itemID = row;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = row == 1 ? ODS_SELECTED : 0;
        item.hwndItem = m_pane;
        item.hDC = dc;
        m_pane.GetItemRect(row, &item.rcItem, LVIR_BOUNDS);
        m_pane.DrawItem(&item);

        const CRect rc(item.rcItem);
        const COLORREF fill = GetSysColor(row == 1 ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        const COLORREF ink = GetSysColor(row == 1 ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        EXPECT_EQ(fill, dc.GetPixel(rc.right - 2, rc.top + 1)) << row;
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), dc.GetPixel(2, rc.bottom - 1)) << row;
        // Text in both halves of the row: the label above, the value below.
        int upper = 0, lower = 0;
        for (int y = rc.top; y < rc.bottom - 1; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (dc.GetPixel(x, y) == ink) ++(y < (rc.top + rc.bottom) / 2 ? upper : lower);
        EXPECT_GT(upper, 0) << row;
        EXPECT_GT(lower, 0) << row;
    }
    dc.SelectObject(old);
    DeleteObject(bitmap);
}

}  // namespace
