// CDialogImpl and CWinDataExchange on a real modal dialog: each exchange kind loaded into the
// controls and saved back, bad input refused with the focus on the field, the range check,
// decimals in decimal notation only, exchanging one control, a derived class replacing the float
// exchange, ending a dialog from another thread.
#include <iterator>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "TestResources.h"
#include "tests/support/Assertions.h"
#include "TestUtil.h"

namespace {

template <class T>
class CExchangeDialogT : public CDialogImpl<T> {
public:
    enum { IDD = IDD_EXCHANGE };

    CString text = L"Corner Garage";
    int number = -1250;
    unsigned count = 4000000000u;
    float decimal = 3.25f;
    int check = BST_CHECKED;
    int radio = 1;
    std::vector<UINT> exchangeErrors, validateErrors;
    BOOL initResult = -1;
    bool endedByOK = false;

    // clang-format off
    BEGIN_MSG_MAP(CExchangeDialogT)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    // clang-format on

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        initResult = static_cast<T*>(this)->DoDataExchange(FALSE);
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        if (static_cast<T*>(this)->DoDataExchange(TRUE)) {
            endedByOK = true;
            this->EndDialog(IDOK);
        }
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        this->EndDialog(IDCANCEL);
        return 0;
    }
};

class CExchangeDialog : public CExchangeDialogT<CExchangeDialog>, public CWinDataExchange<CExchangeDialog> {
public:
    // clang-format off
    BEGIN_DDX_MAP(CExchangeDialog)
        DDX_TEXT(IDC_TEXT, text)
        DDX_INT(IDC_NUMBER, number)
        DDX_FLOAT_RANGE(IDC_DECIMAL, decimal, 0, 100)
        DDX_UINT(IDC_UNSIGNED, count)
        DDX_CHECK(IDC_CHECK, check)
        DDX_RADIO(IDC_RADIO_A, radio)
    END_DDX_MAP()
    // clang-format on

    // Record, then keep the default beep and focus.
    void OnDataExchangeError(UINT id, BOOL save)
    {
        exchangeErrors.push_back(id);
        CWinDataExchange<CExchangeDialog>::OnDataExchangeError(id, save);
    }
    void OnDataValidateError(UINT id, BOOL save)
    {
        validateErrors.push_back(id);
        CWinDataExchange<CExchangeDialog>::OnDataValidateError(id, save);
    }
};

CString ItemText(HWND dlg, int id)
{
    CString s;
    CWindow(dlg).GetDlgItemText(id, s);
    return s;
}

void PressOK(HWND dlg)
{
    SendCommand(dlg, IDOK, BN_CLICKED, ::GetDlgItem(dlg, IDOK));
}

TEST(DialogTest, LoadsEveryKindIntoTheControls)
{
    CExchangeDialog dlg;
    CString shownText, shownNumber, shownDecimal, shownCount;
    UINT checked = 0, radioA = 1, radioB = 0, radioC = 1, otherGroup = 1;
    HWND seen = nullptr;
    TimerAction action([&](HWND active) {
        seen = active;
        shownText = ItemText(active, IDC_TEXT);
        shownNumber = ItemText(active, IDC_NUMBER);
        shownDecimal = ItemText(active, IDC_DECIMAL);
        shownCount = ItemText(active, IDC_UNSIGNED);
        checked = ::IsDlgButtonChecked(active, IDC_CHECK);
        radioA = ::IsDlgButtonChecked(active, IDC_RADIO_A);
        radioB = ::IsDlgButtonChecked(active, IDC_RADIO_B);
        radioC = ::IsDlgButtonChecked(active, IDC_RADIO_C);
        otherGroup = ::IsDlgButtonChecked(active, IDC_AFTER_GROUP);
        SendCommand(active, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
    ASSERT_TRUE(action.Fired());
    EXPECT_EQ(TRUE, dlg.initResult);
    EXPECT_NE(nullptr, seen);
    EXPECT_EQ(nullptr, dlg.m_hWnd) << "the object lets go of the ended dialog";
    EXPECT_STREQ(L"Corner Garage", shownText);
    EXPECT_STREQ(L"-1250", shownNumber);
    EXPECT_STREQ(L"3.25", shownDecimal);
    EXPECT_STREQ(L"4000000000", shownCount);
    EXPECT_EQ(BST_CHECKED, checked);
    EXPECT_EQ(0u, radioA);
    EXPECT_EQ(1u, radioB) << "index 1 among the radio buttons; the static between them does not count";
    EXPECT_EQ(0u, radioC);
    EXPECT_EQ(0u, otherGroup) << "the next group is not touched";
}

TEST(DialogTest, SavesEveryKindFromTheControls)
{
    CExchangeDialog dlg;
    TimerAction action([&](HWND d) {
        ::SetDlgItemTextW(d, IDC_TEXT, L"Tom's Tyres");
        ::SetDlgItemTextW(d, IDC_NUMBER, L"  42\t");
        ::SetDlgItemTextW(d, IDC_DECIMAL, L" 0.0 ");
        ::SetDlgItemTextW(d, IDC_UNSIGNED, L"7");
        ::CheckDlgButton(d, IDC_CHECK, BST_UNCHECKED);
        ::CheckRadioButton(d, IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_C);
        PressOK(d);
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    EXPECT_STREQ(L"Tom's Tyres", dlg.text);
    EXPECT_EQ(42, dlg.number);
    EXPECT_EQ(0.0f, dlg.decimal);
    EXPECT_EQ(7u, dlg.count);
    EXPECT_EQ(BST_UNCHECKED, dlg.check);
    EXPECT_EQ(2, dlg.radio);
    EXPECT_TRUE(dlg.exchangeErrors.empty());
    EXPECT_TRUE(dlg.validateErrors.empty());
}

TEST(DialogTest, BadInputIsRefusedWithTheFocusOnTheField)
{
    CExchangeDialog dlg;
    std::vector<HWND> focusAfter;
    std::vector<HWND> expectedFocus;
    TimerAction action([&](HWND d) {
        struct Case {
            int id;
            const wchar_t* text;
        };
        // Each bad value in turn, the others valid.
        const Case cases[] = {{IDC_NUMBER, L""},      {IDC_NUMBER, L"12a"},  {IDC_NUMBER, L"99999999999"},
                              {IDC_NUMBER, L"\f7"},   {IDC_DECIMAL, L"abc"}, {IDC_DECIMAL, L"1,5"},
                              {IDC_DECIMAL, L""},     {IDC_UNSIGNED, L"-3"}, {IDC_UNSIGNED, L"\v3"},
                              {IDC_DECIMAL, L"100.5"}};
        for (const Case& c : cases) {
            ::SetDlgItemTextW(d, IDC_NUMBER, L"1");
            ::SetDlgItemTextW(d, IDC_DECIMAL, L"1");
            ::SetDlgItemTextW(d, IDC_UNSIGNED, L"1");
            ::SetDlgItemTextW(d, c.id, c.text);
            ::SetFocus(::GetDlgItem(d, IDC_TEXT));
            PressOK(d);
            focusAfter.push_back(::GetFocus());
            expectedFocus.push_back(::GetDlgItem(d, c.id));
        }
        SendCommand(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
    EXPECT_FALSE(dlg.endedByOK) << "no bad value ended the dialog";
    EXPECT_EQ(expectedFocus, focusAfter);
    EXPECT_EQ((std::vector<UINT>{IDC_NUMBER, IDC_NUMBER, IDC_NUMBER, IDC_NUMBER, IDC_DECIMAL, IDC_DECIMAL, IDC_DECIMAL,
                                 IDC_UNSIGNED, IDC_UNSIGNED}),
              dlg.exchangeErrors);
    EXPECT_EQ((std::vector<UINT>{IDC_DECIMAL}), dlg.validateErrors) << "100.5 parses but is out of range";
    EXPECT_EQ(100.5f, dlg.decimal) << "the value is stored before the range check";
}

TEST(DialogTest, DecimalsAreTakenInDecimalNotationOnly)
{
    CExchangeDialog dlg;
    std::vector<float> taken;
    std::vector<BOOL> refusedResults;
    // clang-format off
    const struct { const wchar_t* typed; float value; } accepted[] = {
        {L"1e1", 10.0f}, {L"2.5E-1", 0.25f}, {L".5", 0.5f}, {L"5.", 5.0f}, {L"+2", 2.0f}, {L"-0", 0.0f},
        {L"\t75 ", 75.0f}};
    // The runtime's parser alone takes the first seven (hexadecimal, infinities, not-a-number) and
    // the last (it skips other white space: a form feed).
    const wchar_t* refused[] = {L"0x10", L"0X1p3", L"inf", L"-INF", L"infinity", L"nan", L"NaN(1)", L".",
                                L"-", L"1e", L"1e+", L"e5", L"1.2.3", L"1 2", L"\f5"};
    // clang-format on
    TimerAction action([&](HWND d) {
        for (const auto& a : accepted) {
            dlg.decimal = 99.0f;
            ::SetDlgItemTextW(d, IDC_DECIMAL, a.typed);
            dlg.DoDataExchange(TRUE, IDC_DECIMAL);
            taken.push_back(dlg.decimal);
        }
        for (const wchar_t* typed : refused) {
            dlg.decimal = 5.0f;
            ::SetDlgItemTextW(d, IDC_DECIMAL, typed);
            refusedResults.push_back(dlg.DoDataExchange(TRUE, IDC_DECIMAL));
            EXPECT_EQ(5.0f, dlg.decimal) << testing::PrintToString(std::wstring(typed));
        }
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
    EXPECT_EQ((std::vector<float>{10.0f, 0.25f, 0.5f, 5.0f, 2.0f, 0.0f, 75.0f}), taken);
    EXPECT_EQ(std::vector<BOOL>(std::size(refused), FALSE), refusedResults);
    EXPECT_EQ(std::size(refused), dlg.exchangeErrors.size()) << "each refusal went to the dialog's handler";
    EXPECT_TRUE(dlg.validateErrors.empty());
}

TEST(DialogTest, ExchangeStopsAtTheFirstFailureAndCanTakeOneControl)
{
    CExchangeDialog dlg;
    TimerAction action([&](HWND d) {
        ::SetDlgItemTextW(d, IDC_TEXT, L"changed");
        ::SetDlgItemTextW(d, IDC_NUMBER, L"x");
        ::SetDlgItemTextW(d, IDC_DECIMAL, L"9");
        ::CheckDlgButton(d, IDC_CHECK, BST_UNCHECKED);
        EXPECT_FALSE(dlg.DoDataExchange(TRUE));
        EXPECT_STREQ(L"changed", dlg.text) << "entries before the failure ran";
        EXPECT_EQ(3.25f, dlg.decimal) << "entries after it did not";
        EXPECT_EQ(BST_CHECKED, dlg.check);
        EXPECT_TRUE(dlg.DoDataExchange(TRUE, IDC_CHECK)) << "only the check box";
        EXPECT_EQ(BST_UNCHECKED, dlg.check);
        EXPECT_EQ(3.25f, dlg.decimal);
        dlg.decimal = 0.125f;
        EXPECT_TRUE(dlg.DoDataExchange(FALSE, IDC_DECIMAL));
        EXPECT_STREQ(L"0.125", ItemText(d, IDC_DECIMAL));
        EXPECT_STREQ(L"x", ItemText(d, IDC_NUMBER)) << "other controls untouched";
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal(nullptr));
    EXPECT_TRUE(action.Fired());
}

// A class between the exchange template and the dialog that replaces the float exchange with
// one that uses a comma, as a locale-aware exchange would.
template <class T>
class CCommaExchange : public CWinDataExchange<T> {
public:
    int calls = 0;
    BOOL DDX_Float(UINT id, float& value, BOOL save, BOOL validate = FALSE, float min = 0, float max = 0,
                   int precision = 6)
    {
        ++calls;
        CWindow dlg(static_cast<T*>(this)->m_hWnd);
        if (save) {
            CString s;
            dlg.GetDlgItemText(id, s);
            s.Replace(L',', L'.');
            double d = 0;
            if (!alk_ddx::ParseDouble(s, d)) {
                static_cast<T*>(this)->OnDataExchangeError(id, save);
                return FALSE;
            }
            value = static_cast<float>(d);
            if (validate && (value < min || value > max)) {
                static_cast<T*>(this)->OnDataValidateError(id, save);
                return FALSE;
            }
            return TRUE;
        }
        CString s;
        s.Format(L"%.*g", precision, static_cast<double>(value));
        s.Replace(L'.', L',');
        return dlg.SetDlgItemText(id, s);
    }
};

class CCommaDialog : public CExchangeDialogT<CCommaDialog>, public CCommaExchange<CCommaDialog> {
public:
    // clang-format off
    BEGIN_DDX_MAP(CCommaDialog)
        DDX_FLOAT_RANGE(IDC_DECIMAL, decimal, 0, 100)
        DDX_FLOAT(IDC_DECIMAL, decimal)
    END_DDX_MAP()
    // clang-format on
};

TEST(DialogTest, ADerivedFloatExchangeReplacesTheLibrarysOwn)
{
    CCommaDialog dlg;
    CString shown;
    TimerAction action([&](HWND d) {
        shown = ItemText(d, IDC_DECIMAL);
        ::SetDlgItemTextW(d, IDC_DECIMAL, L"7,5");
        PressOK(d);
    });
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr));
    EXPECT_STREQ(L"3,25", shown);
    EXPECT_EQ(7.5f, dlg.decimal);
    EXPECT_EQ(4, dlg.calls) << "load and save, both map entries went to the derived exchange";
}

TEST(DialogTest, EndDialogFromAnotherThreadEndsTheModalLoop)
{
    CExchangeDialog dlg;
    std::thread worker;
    TimerAction action([&](HWND) { worker = std::thread([&] { dlg.EndDialog(77); }); });
    EXPECT_EQ(77, dlg.DoModal(nullptr));
    worker.join();
}

TEST(DialogTest, OwnerDefaultsToTheActiveWindow)
{
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    ::SetActiveWindow(owner);
    ::SetForegroundWindow(owner);
    PumpMessages();
    ASSERT_EQ(owner, ::GetActiveWindow());
    CExchangeDialog dlg;
    HWND seenOwner = nullptr;
    BOOL ownerEnabled = TRUE;
    TimerAction action([&](HWND d) {
        seenOwner = ::GetWindow(d, GW_OWNER);
        ownerEnabled = ::IsWindowEnabled(owner);
        SendCommand(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(owner, seenOwner);
    EXPECT_FALSE(ownerEnabled) << "modal to its owner";
    ::DestroyWindow(owner);
}

TEST(DialogTest, ADialogWhoseWindowExistsMakesNoSecondOne)
{
    CExchangeDialog dlg;
    HWND first = dlg.Create(nullptr);
    ASSERT_NE(nullptr, first);
    {
        CExpectedAssertions broken;
        EXPECT_EQ(nullptr, dlg.Create(nullptr));
        EXPECT_EQ(-1, dlg.DoModal(nullptr));
        EXPECT_EQ(2, broken.Count());
    }
    EXPECT_EQ(first, dlg.m_hWnd) << "still bound to its first window";
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    HWND second = dlg.Create(nullptr);
    EXPECT_NE(nullptr, second) << "made anew once the first one is gone";
    dlg.DestroyWindow();
}

}  // namespace
