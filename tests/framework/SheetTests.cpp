// Property sheets with real pages: caption from the string table, OK and Cancel only, pages
// created when first shown, PSN_SETACTIVE / PSN_APPLY answers (a refusal keeps the sheet open
// on the page), PSM_QUERYSIBLINGS between pages, and the sheet's result.
#include <vector>

#include <gtest/gtest.h>

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "TestResources.h"
#include "TestUtil.h"

namespace {

class CTestSheet : public CPropertySheetImpl<CTestSheet> {
public:
    CTestSheet() : CPropertySheetImpl<CTestSheet>(IDS_SHEET_CAPTION) {}
    // clang-format off
    BEGIN_MSG_MAP(CTestSheet)
        CHAIN_MSG_MAP(CPropertySheetImpl<CTestSheet>)
    END_MSG_MAP()
    // clang-format on
};

class CNumberPage : public CPropertyPageImpl<CNumberPage>, public CWinDataExchange<CNumberPage> {
public:
    enum { IDD = IDD_PAGE_ONE };
    int number = 12;
    int inits = 0, applies = 0, setActives = 0, killActives = 0;
    bool refuseToLeave = false;
    std::vector<UINT> exchangeErrors;

    // clang-format off
    BEGIN_MSG_MAP(CNumberPage)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(CPropertyPageImpl<CNumberPage>)
    END_MSG_MAP()
    // clang-format on
    // clang-format off
    BEGIN_DDX_MAP(CNumberPage)
        DDX_INT(IDC_PAGE_EDIT, number)
    END_DDX_MAP()
    // clang-format on

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++inits;
        DoDataExchange(FALSE);
        return TRUE;
    }
    int OnSetActive()
    {
        ++setActives;
        return 0;
    }
    int OnApply()
    {
        ++applies;
        return DoDataExchange(TRUE) ? PSNRET_NOERROR : PSNRET_INVALID;
    }
    BOOL OnKillActive()
    {
        ++killActives;
        return refuseToLeave;
    }
    LRESULT OnQuerySiblings(WPARAM wParam, LPARAM) { return wParam == 7 ? number * 2 : 0; }
    void OnDataExchangeError(UINT id, BOOL save)
    {
        exchangeErrors.push_back(id);
        CWinDataExchange<CNumberPage>::OnDataExchangeError(id, save);
    }
};

class CAskingPage : public CPropertyPageImpl<CAskingPage> {
public:
    enum { IDD = IDD_PAGE_TWO };
    int inits = 0, applies = 0;
    LRESULT siblingAnswer = -1;

    // clang-format off
    BEGIN_MSG_MAP(CAskingPage)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(CPropertyPageImpl<CAskingPage>)
    END_MSG_MAP()
    // clang-format on
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++inits;
        return TRUE;
    }
    int OnSetActive()
    {
        siblingAnswer = QuerySiblings(7, 0);
        return 0;
    }
    int OnApply()
    {
        ++applies;
        return PSNRET_NOERROR;
    }
};

CString TabText(HWND sheet, int index)
{
    HWND tab = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

bool ButtonShown(HWND sheet, int id)
{
    HWND b = ::GetDlgItem(sheet, id);
    return b && ::IsWindowVisible(b);
}

TEST(SheetTest, RunsWithItsPagesAndEndsWithOK)
{
    CTestSheet sheet;
    CNumberPage one;
    CAskingPage two;
    sheet.AddPage(one);
    sheet.AddPage(two);
    CString caption, tab0, tab1, shownNumber;
    bool apply = true, help = true, ok = false, cancel = false, twoExistedAtStart = true;
    int pages = 0;
    HWND sheetWindow = nullptr;
    TimerSequence steps({[&] {
                             sheetWindow = ::GetActiveWindow();
                             CWindow(sheetWindow).GetWindowText(caption);
                             pages = CPropertySheetWindow(sheetWindow).GetPageCount();
                             tab0 = TabText(sheetWindow, 0);
                             tab1 = TabText(sheetWindow, 1);
                             apply = ButtonShown(sheetWindow, 0x3021);
                             help = ButtonShown(sheetWindow, 0x040E);
                             ok = ButtonShown(sheetWindow, IDOK);
                             cancel = ButtonShown(sheetWindow, IDCANCEL);
                             twoExistedAtStart = two.m_hWnd != nullptr;
                             CWindow(one).GetDlgItemText(IDC_PAGE_EDIT, shownNumber);
                             ::SetDlgItemTextW(one, IDC_PAGE_EDIT, L"21");
                             CPropertySheetWindow(sheetWindow).SetActivePage(1);
                         },
                         [&] { CPropertySheetWindow(sheetWindow).PressButton(PSBTN_OK); }});
    EXPECT_EQ(1, sheet.DoModal(nullptr));
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_STREQ(L"Test Sheet", caption);
    EXPECT_EQ(2, pages);
    EXPECT_STREQ(L"First Page", tab0) << "tab text from the page template";
    EXPECT_STREQ(L"Second Page", tab1);
    EXPECT_FALSE(apply);
    EXPECT_FALSE(help);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(cancel);
    EXPECT_FALSE(twoExistedAtStart) << "a page is created when first shown";
    EXPECT_STREQ(L"12", shownNumber);
    EXPECT_EQ(1, one.inits);
    EXPECT_EQ(1, two.inits);
    EXPECT_EQ(24, two.siblingAnswer) << "the first page answered PSM_QUERYSIBLINGS (from its field) through the sheet";
    EXPECT_EQ(1, one.applies);
    EXPECT_EQ(1, two.applies);
    EXPECT_EQ(21, one.number);
}

TEST(SheetTest, ARefusedApplyKeepsTheSheetOpenOnThePage)
{
    CTestSheet sheet;
    CNumberPage one;
    CAskingPage two;
    sheet.AddPage(one);
    sheet.AddPage(two);
    HWND sheetWindow = nullptr;
    bool openAfterRefusal = false;
    bool activeIsFirst = false, focusOnField = false;
    TimerSequence steps({[&] {
                             sheetWindow = ::GetActiveWindow();
                             ::SetDlgItemTextW(one, IDC_PAGE_EDIT, L"twelve");
                             CPropertySheetWindow(sheetWindow).SetActivePage(1);
                         },
                         [&] { CPropertySheetWindow(sheetWindow).PressButton(PSBTN_OK); },
                         [&] {
                             openAfterRefusal = ::IsWindow(sheetWindow) && ::IsWindowVisible(sheetWindow);
                             activeIsFirst = CPropertySheetWindow(sheetWindow).GetActivePage() == one.m_hWnd;
                             focusOnField = ::GetFocus() == ::GetDlgItem(one, IDC_PAGE_EDIT);
                             ::SetDlgItemTextW(one, IDC_PAGE_EDIT, L"5");
                             CPropertySheetWindow(sheetWindow).PressButton(PSBTN_OK);
                         }});
    EXPECT_EQ(1, sheet.DoModal(nullptr));
    EXPECT_EQ(3u, steps.Done());
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_TRUE(activeIsFirst) << "the sheet went back to the refusing page";
    EXPECT_TRUE(focusOnField) << "beep and focus on the bad field";
    EXPECT_EQ((std::vector<UINT>{IDC_PAGE_EDIT}), one.exchangeErrors);
    EXPECT_EQ(2, one.applies);
    EXPECT_EQ(5, one.number);
}

TEST(SheetTest, APageThatRefusesToLeaveKeepsItsTab)
{
    CTestSheet sheet;
    CNumberPage one;
    CAskingPage two;
    sheet.AddPage(one);
    sheet.AddPage(two);
    one.refuseToLeave = true;
    int indexAfterRefusal = -1, indexAfterConsent = -1;
    TimerSequence steps({[&] {
        CPropertySheetWindow s(::GetActiveWindow());
        s.SetActivePage(1);
        indexAfterRefusal = s.GetActiveIndex();
        one.refuseToLeave = false;
        s.SetActivePage(1);
        indexAfterConsent = s.GetActiveIndex();
        s.PressButton(PSBTN_CANCEL);
    }});
    EXPECT_EQ(0, sheet.DoModal(nullptr));
    EXPECT_EQ(0, indexAfterRefusal) << "PSN_KILLACTIVE answered TRUE";
    EXPECT_EQ(1, indexAfterConsent);
    EXPECT_EQ(2, one.killActives);
    EXPECT_EQ(1, two.inits);
}

TEST(SheetTest, CancelAppliesNothingAndAnswersZero)
{
    CTestSheet sheet;
    CNumberPage one;
    CAskingPage two;
    sheet.AddPage(one);
    sheet.AddPage(two);
    TimerSequence steps({[&] { CPropertySheetWindow(::GetActiveWindow()).PressButton(PSBTN_CANCEL); }});
    EXPECT_EQ(0, sheet.DoModal(nullptr));
    EXPECT_EQ(0, one.applies);
    EXPECT_EQ(0, two.inits) << "never shown, never created";
    EXPECT_EQ(12, one.number);
}

TEST(SheetTest, PagesNotShownGetNoApply)
{
    CTestSheet sheet;
    CNumberPage one;
    CAskingPage two;
    sheet.AddPage(one);
    sheet.AddPage(two);
    TimerSequence steps({[&] { CPropertySheetWindow(::GetActiveWindow()).PressButton(PSBTN_OK); }});
    EXPECT_EQ(1, sheet.DoModal(nullptr));
    EXPECT_EQ(1, one.applies);
    EXPECT_EQ(0, two.applies);
    EXPECT_EQ(0, two.inits);
}

}  // namespace
