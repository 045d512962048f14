// The locale-aware float exchange on a real dialog, through the page's DDX map: what it shows,
// what it accepts and refuses in a United States and a German locale, the beep-and-focus
// handling of a refusal, and the exact values that fields and pickers left as loaded give back.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include <gtest/gtest.h>

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

    float amount = 0;    // 0 to 1000
    float quantity = 0;  // any value
    int precision = 6;
    std::vector<UINT> exchangeErrors, validateErrors;

    // clang-format off
    BEGIN_MSG_MAP(CFloatPage)
    END_MSG_MAP()
    // clang-format on

    // clang-format off
    BEGIN_DDX_MAP(CFloatPage)
        DDX_FLOAT_RANGE(IDC_TEST_AMOUNT, amount, 0.0f, 1000.0f)
        DDX_FLOAT_P(IDC_TEST_QUANTITY, quantity, precision)
    END_DDX_MAP()
    // clang-format on

    // Record, then keep the default handling (beep and focus).
    void OnDataExchangeError(UINT id, BOOL save)
    {
        exchangeErrors.push_back(id);
        CWinDataExchange<CFloatPage>::OnDataExchangeError(id, save);
    }
    void OnDataValidateError(UINT id, BOOL save)
    {
        validateErrors.push_back(id);
        CWinDataExchange<CFloatPage>::OnDataValidateError(id, save);
    }
};

class FloatExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = GetThreadLocale();
        INITCOMMONCONTROLSEX pickers{sizeof pickers, ICC_DATE_CLASSES};
        InitCommonControlsEx(&pickers);
        ASSERT_NE(nullptr, page_.Create(nullptr));
        elsewhere_ = GetDlgItem(page_.m_hWnd, IDOK);
    }
    void TearDown() override
    {
        page_.DestroyWindow();
        SetThreadLocale(saved_);
    }

    CString Shown(UINT id)
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(page_.m_hWnd, id, text, 64);
        return text;
    }
    // Types the text into a field and saves that field alone, with the focus elsewhere.
    BOOL Save(UINT id, const wchar_t* text)
    {
        SetDlgItemTextW(page_.m_hWnd, id, text);
        SetFocus(elsewhere_);
        return page_.DoDataExchange(TRUE, id);
    }

    CFloatPage page_;
    HWND elsewhere_ = nullptr;

private:
    LCID saved_ = 0;
};

TEST_F(FloatExchange, LoadShowsTheLocaleSeparatorAndThePrecision)
{
    SetThreadLocale(kUnitedStates);
    page_.amount = 3.5f;
    page_.quantity = 3.14159265f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    EXPECT_EQ(L"3.5", Shown(IDC_TEST_AMOUNT));
    EXPECT_EQ(L"3.14159", Shown(IDC_TEST_QUANTITY));

    SetThreadLocale(kGermany);
    page_.precision = 3;
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    EXPECT_EQ(L"3,5", Shown(IDC_TEST_AMOUNT));
    EXPECT_EQ(L"3,14", Shown(IDC_TEST_QUANTITY));
    page_.amount = 42.0f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE, IDC_TEST_AMOUNT));
    EXPECT_EQ(L"42", Shown(IDC_TEST_AMOUNT));
}

TEST_F(FloatExchange, SaveTakesTheLocaleSeparatorBlanksAndThePoint)
{
    SetThreadLocale(kGermany);
    const struct {
        const wchar_t* typed;
        float value;
    } accepted[] = {{L"3,5", 3.5f},    {L"2.25", 2.25f}, {L"-0,75", -0.75f},
                    {L"  7\t ", 7.0f}, {L"0", 0.0f},     {L"0,0", 0.0f}};
    for (const auto& a : accepted) {
        page_.quantity = 99.0f;
        EXPECT_TRUE(Save(IDC_TEST_QUANTITY, a.typed)) << testing::PrintToString(std::wstring(a.typed));
        EXPECT_EQ(a.value, page_.quantity) << testing::PrintToString(std::wstring(a.typed));
    }
    EXPECT_TRUE(page_.exchangeErrors.empty());
    // 31 characters are read whole; a longer text is refused, not read cut.
    EXPECT_TRUE(Save(IDC_TEST_QUANTITY, L"1234567890123456789012345678901"));
    EXPECT_FLOAT_EQ(1.234567890123456789e30f, page_.quantity);
    EXPECT_FALSE(Save(IDC_TEST_QUANTITY, L"12345678901234567890123456789012"));
    EXPECT_FALSE(Save(IDC_TEST_QUANTITY, L"1234567890123456789012345678901234567890"));
    EXPECT_FLOAT_EQ(1.234567890123456789e30f, page_.quantity);
    EXPECT_EQ((std::vector<UINT>{IDC_TEST_QUANTITY, IDC_TEST_QUANTITY}), page_.exchangeErrors);
}

TEST_F(FloatExchange, FieldsAndPickersLeftAsLoadedGiveBackTheLoadedValuesExactly)
{
    SetThreadLocale(kGermany);
    page_.quantity = 12345.67f;  // shown as "12345,7"
    double date = 46000.123456;  // 02:57:46.5984, shown to the second
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    ASSERT_TRUE(page_.DDX_Date(IDC_TEST_DATE, date, FALSE));
    EXPECT_EQ(L"12345,7", Shown(IDC_TEST_QUANTITY));
    page_.quantity = 0;
    date = 0;
    ASSERT_TRUE(page_.DoDataExchange(TRUE));
    ASSERT_TRUE(page_.DDX_Date(IDC_TEST_DATE, date, TRUE));
    EXPECT_EQ(12345.67f, page_.quantity);
    EXPECT_EQ(46000.123456, date);

    // Changed, they give back what they show: the text typed, the picker's date to the second.
    SYSTEMTIME picked = {2026, 3, 0, 4, 10, 20, 30, 0};
    DateTime_SetSystemtime(GetDlgItem(page_.m_hWnd, IDC_TEST_DATE), GDT_VALID, &picked);
    ASSERT_TRUE(page_.DDX_Date(IDC_TEST_DATE, date, TRUE));
    EXPECT_EQ(46085.0 + 37230.0 / 86400.0, date);
    EXPECT_TRUE(Save(IDC_TEST_QUANTITY, L"12345,6"));
    EXPECT_EQ(12345.6f, page_.quantity);
}

TEST_F(FloatExchange, SaveRefusesWhatIsNotOneNumberWithBeepAndFocus)
{
    SetThreadLocale(kUnitedStates);
    HWND field = GetDlgItem(page_.m_hWnd, IDC_TEST_QUANTITY);
    const wchar_t* refused[] = {L"1,234.5", L"", L"   ", L"abc", L"7 kg", L"7 8", L"1e39"};
    for (const wchar_t* typed : refused) {
        page_.quantity = 5.0f;
        EXPECT_FALSE(Save(IDC_TEST_QUANTITY, typed)) << testing::PrintToString(std::wstring(typed));
        EXPECT_EQ(5.0f, page_.quantity) << "a refused text leaves the variable alone";
        EXPECT_EQ(field, GetFocus());
    }
    EXPECT_EQ(7u, page_.exchangeErrors.size());
    SetThreadLocale(kGermany);
    EXPECT_FALSE(Save(IDC_TEST_QUANTITY, L"1.234,5"));  // grouped: refused here as well
    EXPECT_TRUE(Save(IDC_TEST_QUANTITY, L"12"));
    EXPECT_EQ(elsewhere_, GetFocus()) << "an accepted value leaves the focus where it was";
    EXPECT_TRUE(page_.validateErrors.empty());
}

TEST_F(FloatExchange, RangeIsCheckedAfterTheValueIsStored)
{
    SetThreadLocale(kGermany);
    EXPECT_FALSE(Save(IDC_TEST_AMOUNT, L"1500,5"));
    EXPECT_EQ(1500.5f, page_.amount);
    EXPECT_EQ(GetDlgItem(page_.m_hWnd, IDC_TEST_AMOUNT), GetFocus());
    EXPECT_FALSE(Save(IDC_TEST_AMOUNT, L"-0,01"));
    EXPECT_EQ((std::vector<UINT>{IDC_TEST_AMOUNT, IDC_TEST_AMOUNT}), page_.validateErrors);
    EXPECT_TRUE(Save(IDC_TEST_AMOUNT, L"1000"));
    EXPECT_TRUE(Save(IDC_TEST_AMOUNT, L"0"));
    EXPECT_TRUE(page_.exchangeErrors.empty());
}

TEST_F(FloatExchange, TheWholeMapRoundTripsInACommaLocale)
{
    SetThreadLocale(kGermany);
    page_.amount = 19.99f;
    page_.quantity = 45.5f;
    ASSERT_TRUE(page_.DoDataExchange(FALSE));
    page_.amount = page_.quantity = 0;
    ASSERT_TRUE(page_.DoDataExchange(TRUE));
    EXPECT_EQ(19.99f, page_.amount);
    EXPECT_EQ(45.5f, page_.quantity);
}

TEST_F(FloatExchange, SaveTakesDecimalNotationOnly)
{
    SetThreadLocale(kUnitedStates);
    const struct {
        const wchar_t* typed;
        float value;
    } accepted[] = {{L"1e3", 1000.0f}, {L"2.5E-1", 0.25f}, {L".5", 0.5f}, {L"5.", 5.0f}, {L"+2", 2.0f}};
    for (const auto& a : accepted) {
        page_.quantity = 99.0f;
        EXPECT_TRUE(Save(IDC_TEST_QUANTITY, a.typed)) << testing::PrintToString(std::wstring(a.typed));
        EXPECT_EQ(a.value, page_.quantity) << testing::PrintToString(std::wstring(a.typed));
    }
    // The runtime's parser takes these too: hexadecimal, infinities and not-a-number.
    const wchar_t* refused[] = {L"0x10", L"0X1p3", L"inf", L"-INF", L"infinity", L"nan",  L"NaN(1)",
                                L".",    L"-",     L"1e",  L"1e+",  L"e5",       L"1.2.3"};
    for (const wchar_t* typed : refused) {
        page_.quantity = 5.0f;
        EXPECT_FALSE(Save(IDC_TEST_QUANTITY, typed)) << testing::PrintToString(std::wstring(typed));
        EXPECT_EQ(5.0f, page_.quantity) << testing::PrintToString(std::wstring(typed));
    }
}

}  // namespace
