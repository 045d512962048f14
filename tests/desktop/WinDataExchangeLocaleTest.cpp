// The locale-aware float exchange on a real dialog, through the page's DDX map: what it shows,
// what it accepts and refuses in a United States and a German locale, and the beep-and-focus
// handling of a refusal.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "desktop/WinDataExchangeLocale.h"
#include "framework/Dialog.h"
#include "tests/desktop/CStringPrinting.h"
#include "tests/desktop/UtilityTestIds.h"

namespace {

const LCID kUnitedStates = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kGermany = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

class CFloatPage : public CDialogImpl<CFloatPage>, public CWinDataExchangeLocale<CFloatPage> {
public:
    enum { IDD = IDD_TEST_FLOAT };

    float amount = 0;    // money: 0 to 1000
    float quantity = 0;  // no range
    int precision = 6;
    std::vector<UINT> exchangeErrors, validateErrors;

    BEGIN_MSG_MAP(CFloatPage)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CFloatPage)
        DDX_FLOAT_RANGE(IDC_TEST_AMOUNT, amount, 0.0f, 1000.0f)
        DDX_FLOAT_P(IDC_TEST_QUANTITY, quantity, precision)
    END_DDX_MAP()

    // Record, then keep the default handling (beep and focus).
    void OnDataExchangeError(UINT id, BOOL save) {
        exchangeErrors.push_back(id);
        CWinDataExchange<CFloatPage>::OnDataExchangeError(id, save);
    }
    void OnDataValidateError(UINT id, BOOL save) {
        validateErrors.push_back(id);
        CWinDataExchange<CFloatPage>::OnDataValidateError(id, save);
    }
};

class FloatExchange : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = GetThreadLocale();
        ASSERT_NE(nullptr, page_.Create(nullptr));
        focusDummy_ = GetDlgItem(page_.m_hWnd, IDOK);
    }
    void TearDown() override {
        if (page_.m_hWnd)
            page_.DestroyWindow();
        SetThreadLocale(saved_);
    }

    void Use(LCID locale) { ASSERT_TRUE(SetThreadLocale(locale)); }

    void Type(UINT id, const wchar_t* text) { SetDlgItemTextW(page_.m_hWnd, id, text); }
    CString Shown(UINT id) {
        wchar_t text[64] = {};
        GetDlgItemTextW(page_.m_hWnd, id, text, 64);
        return text;
    }

    // Saves the quantity field alone: the result and whether it kept the focus away.
    BOOL SaveQuantity(const wchar_t* text) {
        Type(IDC_TEST_QUANTITY, text);
        SetFocus(focusDummy_);
        return page_.DoDataExchange(TRUE, IDC_TEST_QUANTITY);
    }

    CFloatPage page_;
    HWND focusDummy_ = nullptr;

private:
    LCID saved_ = 0;
};

TEST_F(FloatExchange, LoadShowsTheLocaleSeparator) {
    Use(kUnitedStates);
    page_.amount = 3.5f;
    page_.quantity = 12.125f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    EXPECT_STREQ(L"3.5", Shown(IDC_TEST_AMOUNT));
    EXPECT_STREQ(L"12.125", Shown(IDC_TEST_QUANTITY));

    Use(kGermany);
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    EXPECT_STREQ(L"3,5", Shown(IDC_TEST_AMOUNT));
    EXPECT_STREQ(L"12,125", Shown(IDC_TEST_QUANTITY));

    page_.amount = 42.0f;  // no separator to convert
    ASSERT_TRUE(page_.DoDataExchange(FALSE, IDC_TEST_AMOUNT));
    EXPECT_STREQ(L"42", Shown(IDC_TEST_AMOUNT));
}

TEST_F(FloatExchange, LoadUsesThePrecisionInSignificantDigits) {
    Use(kGermany);
    page_.quantity = 3.14159265f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE, IDC_TEST_QUANTITY));
    EXPECT_STREQ(L"3,14159", Shown(IDC_TEST_QUANTITY));
    page_.precision = 3;
    ASSERT_TRUE(page_.DoDataExchange(FALSE, IDC_TEST_QUANTITY));
    EXPECT_STREQ(L"3,14", Shown(IDC_TEST_QUANTITY));
    page_.quantity = 0.1f;  // the float's own error stays out of sight
    page_.precision = 6;
    ASSERT_TRUE(page_.DoDataExchange(FALSE, IDC_TEST_QUANTITY));
    EXPECT_STREQ(L"0,1", Shown(IDC_TEST_QUANTITY));
}

TEST_F(FloatExchange, SaveInACommaLocaleTakesCommaAndPoint) {
    Use(kGermany);
    EXPECT_TRUE(SaveQuantity(L"3,5"));
    EXPECT_EQ(3.5f, page_.quantity);
    EXPECT_TRUE(SaveQuantity(L"2.25"));  // nothing to convert: read as it stands
    EXPECT_EQ(2.25f, page_.quantity);
    EXPECT_TRUE(SaveQuantity(L"-0,75"));
    EXPECT_EQ(-0.75f, page_.quantity);
    EXPECT_TRUE(page_.exchangeErrors.empty());
}

TEST_F(FloatExchange, SaveRefusesGroupedNumbers) {
    Use(kUnitedStates);
    page_.quantity = 9.0f;
    EXPECT_FALSE(SaveQuantity(L"1,234.5"));
    EXPECT_EQ(9.0f, page_.quantity) << "a refused text leaves the variable alone";
    Use(kGermany);
    EXPECT_FALSE(SaveQuantity(L"1.234,5"));
    EXPECT_EQ(9.0f, page_.quantity);
    EXPECT_EQ((std::vector<UINT>{IDC_TEST_QUANTITY, IDC_TEST_QUANTITY}), page_.exchangeErrors);
}

TEST_F(FloatExchange, SaveAcceptsBlanksAroundANumberAndNothingElse) {
    Use(kUnitedStates);
    EXPECT_TRUE(SaveQuantity(L"  7\t "));
    EXPECT_EQ(7.0f, page_.quantity);
    EXPECT_TRUE(SaveQuantity(L"0"));
    EXPECT_EQ(0.0f, page_.quantity);
    page_.quantity = 5;
    EXPECT_TRUE(SaveQuantity(L"0.0"));
    EXPECT_EQ(0.0f, page_.quantity);

    page_.quantity = 5;
    EXPECT_FALSE(SaveQuantity(L""));
    EXPECT_FALSE(SaveQuantity(L"   "));
    EXPECT_FALSE(SaveQuantity(L"abc"));
    EXPECT_FALSE(SaveQuantity(L"7 kg"));
    EXPECT_FALSE(SaveQuantity(L"7 8"));
    EXPECT_FALSE(SaveQuantity(L"1e39")) << "beyond the float range";
    EXPECT_EQ(5.0f, page_.quantity);
    EXPECT_EQ(6u, page_.exchangeErrors.size());
    EXPECT_TRUE(page_.validateErrors.empty());
}

TEST_F(FloatExchange, ARefusalPutsTheFocusOnTheField) {
    Use(kUnitedStates);
    HWND field = GetDlgItem(page_.m_hWnd, IDC_TEST_QUANTITY);
    EXPECT_FALSE(SaveQuantity(L"twelve"));
    EXPECT_EQ(field, GetFocus());

    EXPECT_TRUE(SaveQuantity(L"12"));
    EXPECT_EQ(focusDummy_, GetFocus()) << "an accepted value leaves the focus where it was";
}

TEST_F(FloatExchange, RangeIsCheckedAfterTheValueIsStored) {
    Use(kGermany);
    HWND field = GetDlgItem(page_.m_hWnd, IDC_TEST_AMOUNT);
    Type(IDC_TEST_AMOUNT, L"1500,5");
    SetFocus(focusDummy_);
    EXPECT_FALSE(page_.DoDataExchange(TRUE, IDC_TEST_AMOUNT));
    EXPECT_EQ(1500.5f, page_.amount);
    EXPECT_EQ((std::vector<UINT>{IDC_TEST_AMOUNT}), page_.validateErrors);
    EXPECT_TRUE(page_.exchangeErrors.empty());
    EXPECT_EQ(field, GetFocus());

    Type(IDC_TEST_AMOUNT, L"-0,01");
    EXPECT_FALSE(page_.DoDataExchange(TRUE, IDC_TEST_AMOUNT));
    Type(IDC_TEST_AMOUNT, L"1000");
    EXPECT_TRUE(page_.DoDataExchange(TRUE, IDC_TEST_AMOUNT));
    EXPECT_EQ(1000.0f, page_.amount);
    Type(IDC_TEST_AMOUNT, L"0");
    EXPECT_TRUE(page_.DoDataExchange(TRUE, IDC_TEST_AMOUNT));
    EXPECT_EQ(2u, page_.validateErrors.size());
}

TEST_F(FloatExchange, SaveReadsAtMost31Characters) {
    Use(kUnitedStates);
    // 35 digits: the last four are cut, which divides the value by 10,000.
    EXPECT_TRUE(SaveQuantity(L"12345678901234567890123456789012345"));
    EXPECT_FLOAT_EQ(1.2345678901234567e30f, page_.quantity);
}

TEST_F(FloatExchange, TheWholeMapRoundTrips) {
    Use(kGermany);
    page_.amount = 19.99f;
    page_.quantity = 45.5f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    page_.amount = 0;
    page_.quantity = 0;
    ASSERT_TRUE(page_.DoDataExchange(TRUE));
    EXPECT_EQ(19.99f, page_.amount);
    EXPECT_EQ(45.5f, page_.quantity);
}

}  // namespace
