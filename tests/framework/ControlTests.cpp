// Control wrappers and the smaller pieces on real controls: an owner-drawn list view fed by
// reflected draw and measure messages, list view items, selection, sorting and header arrows,
// rebar bands, the hyperlink in both modes, rich edit settings, small controls, the registry
// key's typed reads, menus, the wait cursor and the file dialog.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Controls.h"
#include "framework/FileDialog.h"
#include "framework/Frame.h"
#include "framework/Gdi.h"
#include "framework/HyperLink.h"
#include "framework/OwnerDraw.h"
#include "framework/RegKey.h"
#include "framework/WindowImpl.h"
#include "TestResources.h"
#include "TestUtil.h"

namespace {

// A parent that reflects and records the commands it gets.
class CHost : public CWindowImpl<CHost> {
public:
    std::vector<std::pair<int, int>> commands;  // id, code
    // clang-format off
    BEGIN_MSG_MAP(CHost)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()
    // clang-format on
    LRESULT OnCommand(UINT, WPARAM wp, LPARAM, BOOL& handled)
    {
        commands.emplace_back(LOWORD(wp), HIWORD(wp));
        handled = FALSE;  // reflect it as well
        return 0;
    }
};

class ControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_DATE_CLASSES};
        ::InitCommonControlsEx(&icc);
        ::LoadLibraryW(L"RICHED20.DLL");
    }
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(nullptr, CRect(30, 30, 630, 430), L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
        PumpMessages();
    }
    void TearDown() override
    {
        if (host.IsWindow()) host.DestroyWindow();
    }
    CHost host;
};

// --- owner draw -------------------------------------------------------------------------------

class CDrawnRows : public CWindowImpl<CDrawnRows, CListViewCtrl>, public COwnerDraw<CDrawnRows> {
public:
    std::vector<UINT> drawn;
    int measured = 0;
    // clang-format off
    BEGIN_MSG_MAP(CDrawnRows)
        CHAIN_MSG_MAP_ALT(COwnerDraw<CDrawnRows>, 1)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    // clang-format on
    virtual void DrawItem(LPDRAWITEMSTRUCT dis)
    {
        drawn.push_back(dis->itemID);
        ::FillRect(dis->hDC, &dis->rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    }
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis)
    {
        ++measured;
        mis->itemHeight = 37;
    }
};

TEST_F(ControlTest, OwnerDrawnListGetsReflectedDrawAndMeasure)
{
    CDrawnRows rows;
    ASSERT_TRUE(rows.Create(host, CRect(0, 0, 300, 300), nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER, 0, 70));
    rows.InsertColumn(0, L"Stat", LVCFMT_LEFT, 250);
    rows.InsertItem(0, L"first");
    rows.InsertItem(1, L"second");
    // The list asks its height again when its font changes.
    rows.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    rows.Invalidate();
    rows.UpdateWindow();
    PumpMessages();
    EXPECT_GE(rows.measured, 1);
    RECT rc{};
    rows.GetItemRect(0, &rc, LVIR_BOUNDS);
    EXPECT_EQ(37, rc.bottom - rc.top) << "the measured height was used";
    EXPECT_NE(rows.drawn.end(), std::find(rows.drawn.begin(), rows.drawn.end(), 0u));
    EXPECT_NE(rows.drawn.end(), std::find(rows.drawn.begin(), rows.drawn.end(), 1u));
}

// --- list view ----------------------------------------------------------------------------------

int CALLBACK ByNumberDescending(LPARAM a, LPARAM b, LPARAM sign)
{
    return static_cast<int>((b - a) * sign);
}

TEST_F(ControlTest, ListViewItemsSelectionSortAndHeaderArrows)
{
    CListViewCtrl list;
    ASSERT_TRUE(list.Create(host, CRect(0, 0, 400, 300), nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 71));
    list.SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP), list.GetExtendedListViewStyle());
    EXPECT_EQ(0, list.InsertColumn(0, L"Date", LVCFMT_LEFT, 100));
    EXPECT_EQ(1, list.InsertColumn(1, L"Amount", LVCFMT_RIGHT, 80));
    const wchar_t* names[] = {L"b", L"c", L"a"};
    for (int i = 0; i < 3; ++i) {
        int row = list.InsertItem(list.GetItemCount(), names[i]);
        list.SetItemText(row, 1, std::to_wstring(i * 10).c_str());
        list.SetItemData(row, static_cast<DWORD_PTR>(100 + i));
    }
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_STREQ(L"20", list.GetItemText(2, 1));
    EXPECT_EQ(2, list.FindItemByData(102));
    EXPECT_EQ(-1, list.FindItemByData(999));

    EXPECT_TRUE(list.SelectItem(1));
    EXPECT_EQ(1, list.GetSelectedIndex());
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED));
    list.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(-1, list.GetSelectedIndex());

    ASSERT_TRUE(list.SortItems(ByNumberDescending, 1));
    EXPECT_EQ(102u, list.GetItemData(0));
    EXPECT_EQ(100u, list.GetItemData(2));
    EXPECT_STREQ(L"a", list.GetItemText(0, 0));

    CHeaderCtrl header = list.GetHeader();
    ASSERT_TRUE(header.m_hWnd);
    EXPECT_EQ(2, header.GetItemCount());
    EXPECT_TRUE(header.SetItemFormat(1, HDF_RIGHT | HDF_STRING | HDF_SORTDOWN));
    int fmt = header.GetItemFormat(1);
    EXPECT_TRUE(fmt & HDF_SORTDOWN);
    EXPECT_EQ(HDF_RIGHT, fmt & HDF_JUSTIFYMASK);
    EXPECT_FALSE(header.GetItemFormat(0) & (HDF_SORTUP | HDF_SORTDOWN));

    RECT rc{};
    ASSERT_TRUE(list.GetItemRect(1, &rc, LVIR_BOUNDS));
    POINT inside{rc.left + 5, (rc.top + rc.bottom) / 2};
    UINT flags = 0;
    EXPECT_EQ(1, list.HitTest(inside, &flags));
    EXPECT_TRUE(flags & LVHT_ONITEM);

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    EXPECT_EQ(0, images.AddIcon(icon));
    list.SetImageList(images, LVSIL_SMALL);
    EXPECT_EQ(images.m_hImageList, list.GetImageList(LVSIL_SMALL));
    list.DestroyWindow();
    images.RemoveAll();
    EXPECT_EQ(0, images.GetImageCount());
    images.Destroy();
    ::DestroyIcon(icon);
}

TEST_F(ControlTest, ReBarBandsMoveAndKeepTheirIds)
{
    HWND rebar = CFrameWindowImpl<CHost>::CreateSimpleReBarCtrl(host);
    ASSERT_TRUE(rebar);
    HWND a =
        ::CreateWindowExW(0, L"STATIC", L"a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, rebar, nullptr, nullptr, nullptr);
    HWND b =
        ::CreateWindowExW(0, L"STATIC", L"b", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, rebar, nullptr, nullptr, nullptr);
    ASSERT_TRUE(AlkAddReBarBand(rebar, a, 0, nullptr, FALSE, 0, FALSE));
    ASSERT_TRUE(AlkAddReBarBand(rebar, b, 0, nullptr, TRUE, 150, FALSE));
    CReBarCtrl bar(rebar);
    EXPECT_EQ(0, bar.IdToIndex(ALK_IDW_BAND_FIRST));
    EXPECT_EQ(1, bar.IdToIndex(ALK_IDW_BAND_FIRST + 1));
    UINT style = 0, cx = 0, id = 0;
    bar.GetBand(1, style, cx, id);
    EXPECT_EQ(150u, cx);
    EXPECT_TRUE(bar.MoveBand(1, 0));
    EXPECT_EQ(0, bar.IdToIndex(ALK_IDW_BAND_FIRST + 1));
    bar.GetBand(0, style, cx, id);
    EXPECT_TRUE(bar.SetBand(0, style & ~RBBS_BREAK, 120));
    bar.GetBand(0, style, cx, id);
    EXPECT_FALSE(style & RBBS_BREAK);
    EXPECT_EQ(static_cast<UINT>(ALK_IDW_BAND_FIRST + 1), id);
}

// --- hyperlink ----------------------------------------------------------------------------------

TEST_F(ControlTest, HyperLinkInCommandButtonModeSendsItsId)
{
    HWND stat = ::CreateWindowExW(0, L"STATIC", L"What is this?", WS_CHILD | WS_VISIBLE, 10, 10, 120, 20, host,
                                  reinterpret_cast<HMENU>(1023), nullptr, nullptr);
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(stat));
    link.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    EXPECT_STREQ(L"What is this?", link.GetLabel());
    EXPECT_STREQ(L"What is this?", link.GetHyperLink()) << "the target defaults to the label";
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));  // released outside: nothing
    link.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1023, BN_CLICKED}, {1023, BN_CLICKED}}), host.commands);
    link.SetHyperLink(L"C:\\manual.pdf");
    EXPECT_STREQ(L"C:\\manual.pdf", link.GetHyperLink());
    link.SetLabel(L"Manual");
    CString text;
    link.GetWindowText(text);
    EXPECT_STREQ(L"Manual", text);
}

TEST_F(ControlTest, HyperLinkOpensItsTargetWithTheShell)
{
    CHyperLink link;
    ASSERT_TRUE(link.Create(host, CRect(10, 40, 200, 60), L"missing", WS_CHILD | WS_VISIBLE, 0, 1024));
    link.SetHyperLink(L"C:\\no\\such\\file.autolark-test");
    EXPECT_FALSE(link.Navigate()) << "the shell's failure is reported";
    EXPECT_TRUE(host.commands.empty()) << "no command in link mode";
}

// --- rich edit and small controls -----------------------------------------------------------------

TEST_F(ControlTest, RichEditTakesTheNotesSettings)
{
    CRichEditCtrl notes;
    ASSERT_TRUE(notes.Create(host, CRect(0, 0, 300, 100), nullptr,
                             WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN, 0,
                             33771));
    EXPECT_TRUE(notes.SetTextMode(TM_PLAINTEXT));
    EXPECT_TRUE(notes.GetTextMode() & TM_PLAINTEXT);
    EXPECT_TRUE(notes.SetAutoURLDetect(TRUE));
    notes.SetReadOnly(TRUE);
    EXPECT_TRUE(notes.GetStyle() & ES_READONLY);
    notes.SetEventMask(ENM_LINK | ENM_MOUSEEVENTS);
    EXPECT_EQ(static_cast<DWORD>(ENM_LINK | ENM_MOUSEEVENTS), notes.GetEventMask());
    notes.SetWindowText(L"see http://example.com now");
    notes.SetSel(4, 22);
    EXPECT_STREQ(L"http://example.com", notes.GetSelText());
    CHARRANGE range{};
    notes.GetSel(range);
    EXPECT_EQ(4, range.cpMin);
    EXPECT_EQ(22, range.cpMax);
}

TEST_F(ControlTest, UpDownDatePickerProgressAndCombo)
{
    CEdit buddy;
    buddy.Create(host, CRect(0, 0, 80, 20), L"", WS_CHILD | WS_VISIBLE | ES_NUMBER, 0, 1028);
    CUpDownCtrl spin;
    ASSERT_TRUE(spin.Create(host, CRect(80, 0, 100, 20), nullptr,
                            WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS,
                            0, 1041));
    spin.SetBuddy(buddy);
    spin.SetRange32(0, 1000000);
    UDACCEL accel{1, 10};
    spin.SetAccel(1, &accel);
    int lo = -1, hi = -1;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(1000000, hi);
    UDACCEL back{};
    EXPECT_EQ(1u, spin.GetAccel(1, &back));
    EXPECT_EQ(10u, back.nInc);
    spin.SetPos32(123456);
    CString text;
    buddy.GetWindowText(text);
    EXPECT_STREQ(L"123456", text) << "no thousands separator in the buddy";

    CDateTimePickerCtrl picker;
    ASSERT_TRUE(
        picker.Create(host, CRect(0, 30, 150, 50), nullptr, WS_CHILD | WS_VISIBLE | DTS_SHORTDATEFORMAT, 0, 1012));
    SYSTEMTIME st{2026, 3, 0, 14, 9, 30, 0, 0};
    EXPECT_TRUE(picker.SetSystemTime(GDT_VALID, &st));
    SYSTEMTIME got{};
    EXPECT_EQ(static_cast<DWORD>(GDT_VALID), picker.GetSystemTime(&got));
    EXPECT_EQ(2026, got.wYear);
    EXPECT_EQ(3, got.wMonth);
    EXPECT_EQ(14, got.wDay);

    CProgressBarCtrl progress;
    ASSERT_TRUE(progress.Create(host, CRect(0, 60, 200, 75), nullptr, WS_CHILD | WS_VISIBLE, 0, 1036));
    progress.SetRange32(0, 70000);
    progress.SetStep(1);
    for (int i = 0; i < 3; ++i) progress.StepIt();
    EXPECT_EQ(3, progress.GetPos()) << "a 32-bit range beyond 65535";

    CComboBox combo;
    ASSERT_TRUE(
        combo.Create(host, CRect(0, 80, 150, 200), nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_SORT, 0, 1025));
    combo.AddString(L"Shell");
    combo.AddString(L"Esso");
    EXPECT_EQ(0, combo.FindStringExact(-1, L"Esso")) << "sorted";
    CString item;
    combo.GetLBText(1, item);
    EXPECT_STREQ(L"Shell", item);
}

// --- registry -------------------------------------------------------------------------------------

TEST(RegKeyTest, TypedReadsAcceptOnlyTheRightTypeAndSize)
{
    const wchar_t* path = L"Software\\Autolark Framework Tests";
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path));
    float rate = 0.36f;
    key.SetBinaryValue(L"Rate", &rate, sizeof rate);
    key.SetDWORDValue(L"Count", 7);
    key.SetStringValue(L"Path", L"C:\\data\\My Vehicles.dat");
    key.SetStringValue(L"Expand", L"%HOME%\\x", REG_EXPAND_SZ);
    BYTE longBinary[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    key.SetBinaryValue(L"Long", longBinary, sizeof longBinary);
    // Three characters without their terminator. The character after them must not be a NUL:
    // RegSetValueEx counts a NUL that directly follows the data of a string value as its
    // terminator (a caller that forgot it gets it added), so what lay behind a three-element
    // array on the stack decided what was stored.
    const wchar_t unterminated[4] = {L'a', L'b', L'c', L'x'};
    ::RegSetValueExW(key, L"Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 3 * sizeof(wchar_t));

    CRegKey reader;
    ASSERT_EQ(ERROR_SUCCESS, reader.Open(HKEY_CURRENT_USER, path, KEY_READ));
    DWORD dw = 99;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryDWORDValue(L"Count", dw));
    EXPECT_EQ(7u, dw);
    dw = 99;
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryDWORDValue(L"Rate", dw)) << "binary is not a DWORD";
    EXPECT_EQ(99u, dw);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reader.QueryDWORDValue(L"Missing", dw));

    float readRate = 0;
    ULONG bytes = sizeof readRate;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryBinaryValue(L"Rate", &readRate, &bytes));
    EXPECT_EQ(0.36f, readRate);
    readRate = 1;
    bytes = sizeof readRate;
    EXPECT_EQ(ERROR_MORE_DATA, reader.QueryBinaryValue(L"Long", &readRate, &bytes)) << "longer than the buffer";
    EXPECT_EQ(1.0f, readRate);
    bytes = sizeof readRate;
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryBinaryValue(L"Count", &readRate, &bytes)) << "a DWORD is not binary";

    wchar_t buf[260] = L"keep";
    ULONG chars = 260;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryStringValue(L"Path", buf, &chars));
    EXPECT_STREQ(L"C:\\data\\My Vehicles.dat", buf);
    EXPECT_EQ(24u, chars);
    chars = 260;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryStringValue(L"Expand", buf, &chars));
    EXPECT_STREQ(L"%HOME%\\x", buf) << "not expanded";
    wchar_t small[5] = L"keep";
    chars = 5;
    EXPECT_EQ(ERROR_MORE_DATA, reader.QueryStringValue(L"Path", small, &chars));
    EXPECT_STREQ(L"keep", small);
    chars = 260;
    wcscpy(buf, L"keep");
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryStringValue(L"Unterminated", buf, &chars));
    EXPECT_STREQ(L"keep", buf);
    chars = 260;
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryStringValue(L"Count", buf, &chars));

    reader.Close();
    key.Close();
    CRegKey software;
    ASSERT_EQ(ERROR_SUCCESS, software.Open(HKEY_CURRENT_USER, L"Software"));
    EXPECT_EQ(ERROR_SUCCESS, software.RecurseDeleteKey(L"Autolark Framework Tests"));
    EXPECT_NE(ERROR_SUCCESS, CRegKey().Open(HKEY_CURRENT_USER, path, KEY_READ));
}

// The 8-bit side names the same keys and values: what one form writes, the other reads, and the
// typed reads keep their rules in both forms.
TEST(RegKeyTest, EightBitNamesReachTheSameKeysAndValues)
{
    const char* path = "Software\\Autolark Framework Tests 8";
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path));
    EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", "C:\\data\\Cars.dat"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(nullptr, "default"));
    EXPECT_EQ(ERROR_SUCCESS, key.SetDWORDValue("Count", 7));
    const char unterminated[4] = {'a', 'b', 'c', 'x'};
    ::RegSetValueExA(key, "Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 3);
    CRegKey sub;
    ASSERT_EQ(ERROR_SUCCESS, sub.Create(key, "Below\\Deeper"));
    sub.Close();
    key.Close();

    CRegKey wide;
    ASSERT_EQ(ERROR_SUCCESS, wide.Open(HKEY_CURRENT_USER, L"Software\\Autolark Framework Tests 8", KEY_READ));
    wchar_t text[64] = {};
    ULONG chars = 64;
    EXPECT_EQ(ERROR_SUCCESS, wide.QueryStringValue(L"Path", text, &chars));
    EXPECT_STREQ(L"C:\\data\\Cars.dat", text);
    chars = 64;
    EXPECT_EQ(ERROR_SUCCESS, wide.QueryStringValue(L"", text, &chars)) << "the default value";
    EXPECT_STREQ(L"default", text);
    wide.Close();

    CRegKey reader;
    ASSERT_EQ(ERROR_SUCCESS, reader.Open(HKEY_CURRENT_USER, path, KEY_READ));
    DWORD count = 0;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryDWORDValue("Count", count));
    EXPECT_EQ(7u, count);
    char narrow[64] = "keep";
    chars = 64;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryStringValue("Path", narrow, &chars));
    EXPECT_STREQ("C:\\data\\Cars.dat", narrow);
    EXPECT_EQ(17u, chars) << "characters with the terminator";
    char small[8] = "keep";
    chars = 8;
    EXPECT_EQ(ERROR_MORE_DATA, reader.QueryStringValue("Path", small, &chars));
    EXPECT_STREQ("keep", small);
    chars = 64;
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryStringValue("Unterminated", narrow, &chars));
    EXPECT_EQ(ERROR_INVALID_DATA, reader.QueryStringValue("Count", narrow, &chars));
    DWORD type = 0, bytes = sizeof narrow;
    EXPECT_EQ(ERROR_SUCCESS, reader.QueryValue("Unterminated", &type, narrow, &bytes)) << "as stored";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(0, std::memcmp(narrow, "abc", 3));
    reader.Close();

    CRegKey software;
    ASSERT_EQ(ERROR_SUCCESS, software.Open(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(ERROR_SUCCESS, software.RecurseDeleteKey("Autolark Framework Tests 8"));
    EXPECT_NE(ERROR_SUCCESS, CRegKey().Open(HKEY_CURRENT_USER, path, KEY_READ));
}

// --- menus, cursor, file dialog ---------------------------------------------------------------------

TEST(SmallPiecesTest, MenuFromResourceAndWaitCursor)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    EXPECT_EQ(3, menu.GetMenuItemCount());
    CMenuHandle view(menu.GetSubMenu(1));
    CString text;
    view.GetMenuString(ID_VIEW_B, text, MF_BYCOMMAND);
    EXPECT_STREQ(L"View &B", text);
    view.EnableMenuItem(ID_VIEW_B, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_TRUE(view.GetMenuState(ID_VIEW_B, MF_BYCOMMAND) & MF_GRAYED);

    HCURSOR arrow = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ::SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)), ::GetCursor());
    }
    EXPECT_EQ(arrow, ::GetCursor());
}

TEST(SmallPiecesTest, FileDialogShowsTheInitialNameAndCancels)
{
    wchar_t filter[] = L"Data Files (*.dat)\0*.dat\0\0";
    CFileDialog dlg(FALSE, nullptr, L"My Vehicles.dat", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    CString shownName;
    bool found = false;
    TimerSequence steps({[] {},
                         [&] {
                             HWND box = ::GetActiveWindow();
                             found = box != nullptr;
                             // The file name box of the explorer-style dialog.
                             HWND name = ::GetDlgItem(box, 0x47c);
                             if (name) CWindow(name).GetWindowText(shownName);
                             if (shownName.IsEmpty()) CWindow(::GetDlgItem(box, 0x480)).GetWindowText(shownName);
                             ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                         }},
                        200);
    EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
    EXPECT_TRUE(found);
    EXPECT_STREQ(L"My Vehicles.dat", shownName);
}

}  // namespace
