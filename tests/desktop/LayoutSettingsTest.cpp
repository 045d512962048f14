// Window layout through real windows and a real rebar: placement, band order, widths and line
// breaks, splitter positions, and what a damaged "UI" key does.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include <gtest/gtest.h>

#include "desktop/LayoutSettings.h"
#include "tests/desktop/RegistryTestKey.h"

using namespace alk_test;

namespace {

const wchar_t* const kUiKey = ALK_LAYOUT_KEY;

struct Band {
    UINT id, cx;
    bool lineBreak;
    bool operator==(const Band& o) const { return id == o.id && cx == o.cx && lineBreak == o.lineBreak; }
};
void PrintTo(const Band& b, std::ostream* os)
{
    *os << "{" << b.id << ", " << b.cx << ", " << b.lineBreak << "}";
}

// left, top, right, bottom of the window on the screen
std::vector<LONG> Edges(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return {r.left, r.top, r.right, r.bottom};
}

class LayoutSettingsTest : public SettingsKeyTest {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES};
        InitCommonControlsEx(&icc);
    }
    void TearDown() override
    {
        for (HWND w : windows_) DestroyWindow(w);
        SettingsKeyTest::TearDown();
    }

    // A frame at 50, 60 sized 700 x 500, hidden as the program has it before its layout is loaded.
    HWND NewFrame(DWORD visible = 0)
    {
        HWND w = CreateWindowExW(0, L"STATIC", L"Layout test", WS_OVERLAPPEDWINDOW | visible, 50, 60, 700, 500, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        windows_.push_back(w);
        return w;
    }

    // A rebar with the bands 101, 102, 103 on one line, 150 pixels each.
    HWND NewReBar()
    {
        HWND rebar = CreateWindowExW(0, REBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | RBS_VARHEIGHT, 0, 0, 0, 0,
                                     NewFrame(WS_VISIBLE), nullptr, GetModuleHandleW(nullptr), nullptr);
        for (UINT id = 101; id <= 103; ++id) SetBand(rebar, -1, 150, false, id);
        return rebar;
    }
    // Inserts a band (index -1) or changes the width and line break of the band at index.
    static void SetBand(HWND rebar, int index, UINT cx, bool lineBreak, UINT newId = 0)
    {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_SIZE | RBBIM_STYLE | (newId ? RBBIM_ID : 0);
        band.cx = cx;
        band.fStyle = lineBreak ? RBBS_BREAK : 0;
        band.wID = newId;
        SendMessageW(rebar, index < 0 ? RB_INSERTBANDW : RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
    }
    static std::vector<Band> Bands(HWND rebar)
    {
        std::vector<Band> bands;
        for (int i = 0; i < static_cast<int>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0)); ++i) {
            REBARBANDINFOW band = {};
            band.cbSize = sizeof(band);
            band.fMask = RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE;
            SendMessageW(rebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band));
            bands.push_back({band.wID, band.cx, (band.fStyle & RBBS_BREAK) != 0});
        }
        return bands;
    }
    static void WriteBands(DWORD count, const std::vector<Band>& bands)
    {
        WriteDword(kUiKey, L"ReBarBandCount", count);
        for (size_t i = 0; i < bands.size(); ++i) {
            const std::wstring prefix = L"ReBar" + std::to_wstring(i) + L"_";
            WriteDword(kUiKey, (prefix + L"ID").c_str(), bands[i].id);
            WriteDword(kUiKey, (prefix + L"CX").c_str(), bands[i].cx);
            WriteDword(kUiKey, (prefix + L"Break").c_str(), bands[i].lineBreak ? 7 : 0);  // any non-zero breaks
        }
    }

    std::vector<HWND> windows_;
};

TEST_F(LayoutSettingsTest, FirstRunShowsTheWindowWithTheStartCommandAndSplittersTakeDefaults)
{
    HWND normal = NewFrame();
    HWND maximised = NewFrame();
    CLayoutSettings layout(kUiKey);
    layout.LoadWindowPlacement(normal, SW_SHOWNORMAL);
    layout.LoadWindowPlacement(maximised, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsWindowVisible(normal));
    EXPECT_EQ((std::vector<LONG>{50, 60, 750, 560}), Edges(normal));
    EXPECT_TRUE(IsZoomed(maximised));
    EXPECT_EQ(200, layout.LoadSplitterPos(L"vSplit", 200));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit2", -1));
    EXPECT_FALSE(KeyExists(kUiKey));
}

TEST_F(LayoutSettingsTest, NormalAndMaximisedComeBackAsTheyWereAndMinimisedComesBackRestored)
{
    const struct {
        int closedAs;
        bool zoomed;
    } cases[] = {{SW_SHOWNORMAL, false}, {SW_MAXIMIZE, true}, {SW_MINIMIZE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closedAs);
        HWND first = NewFrame(WS_VISIBLE);
        SetWindowPos(first, nullptr, 210, 130, 610, 420, SWP_NOZORDER);
        ShowWindow(first, c.closedAs);
        CLayoutSettings(kUiKey).SaveWindowPlacement(first);
        // 44 bytes: length 44 first, the show command at offset 8, the normal rectangle last.
        const RawValue saved = ReadRaw(kUiKey, L"WndPlacement");
        ASSERT_EQ(44u, saved.bytes.size());
        LONG fields[11];
        memcpy(fields, saved.bytes.data(), 44);
        EXPECT_EQ((std::vector<LONG>{44, 210, 130, 820, 550}),
                  (std::vector<LONG>{fields[0], fields[7], fields[8], fields[9], fields[10]}));

        HWND second = NewFrame();
        CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
        EXPECT_TRUE(IsWindowVisible(second));
        EXPECT_FALSE(IsIconic(second));
        EXPECT_EQ(c.zoomed, IsZoomed(second) != FALSE);
        ShowWindow(second, SW_RESTORE);
        EXPECT_EQ((std::vector<LONG>{210, 130, 820, 550}), Edges(second));
    }
    // A start command other than normal wins over the saved state.
    HWND third = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(third, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(IsIconic(third));
}

TEST_F(LayoutSettingsTest, ADamagedPlacementStillShowsTheWindow)
{
    const LONG tooShort[3] = {44, 0, SW_SHOWMAXIMIZED};
    WriteRaw(kUiKey, L"WndPlacement", REG_BINARY, tooShort, sizeof(tooShort));
    HWND first = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(first, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_EQ((std::vector<LONG>{50, 60, 750, 560}), Edges(first));

    WINDOWPLACEMENT hidden = {sizeof(hidden), 0, SW_HIDE, {0, 0}, {0, 0}, {100, 100, 600, 400}};
    WriteRaw(kUiKey, L"WndPlacement", REG_BINARY, &hidden, sizeof(hidden));
    HWND second = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ((std::vector<LONG>{100, 100, 600, 400}), Edges(second));
}

TEST_F(LayoutSettingsTest, BandsComeBackInTheirOrderWidthsAndLines)
{
    HWND rebar = NewReBar();
    // The user drags the third band to the front and puts the last one on a line of its own.
    SendMessageW(rebar, RB_MOVEBAND, 2, 0);
    SetBand(rebar, 0, 230, false);
    SetBand(rebar, 2, 170, true);
    const std::vector<Band> before = Bands(rebar);
    ASSERT_EQ((std::vector<Band>{{103, 230, false}, {101, 150, false}, {102, 170, true}}), before);
    CLayoutSettings(kUiKey).SaveReBar(rebar);
    EXPECT_EQ(3u, ReadRaw(kUiKey, L"ReBarBandCount").Dword());
    EXPECT_EQ(103u, ReadRaw(kUiKey, L"ReBar0_ID").Dword());
    EXPECT_EQ(170u, ReadRaw(kUiKey, L"ReBar2_CX").Dword());
    EXPECT_EQ(1u, ReadRaw(kUiKey, L"ReBar2_Break").Dword());

    HWND fresh = NewReBar();
    const LRESULT rows = SendMessageW(fresh, RB_GETROWCOUNT, 0, 0);
    CLayoutSettings(kUiKey).LoadReBar(fresh);
    EXPECT_EQ(before, Bands(fresh));
    EXPECT_EQ(rows + 1, SendMessageW(fresh, RB_GETROWCOUNT, 0, 0));
}

TEST_F(LayoutSettingsTest, AnUnknownBandIdMovesNothingButItsWidthAndBreakApplyInPlace)
{
    WriteBands(2, {{999, 260, false}, {103, 140, true}});
    HWND rebar = NewReBar();
    CLayoutSettings(kUiKey).LoadReBar(rebar);
    EXPECT_EQ((std::vector<Band>{{101, 260, false}, {103, 140, true}, {102, 150, false}}), Bands(rebar));
}

TEST_F(LayoutSettingsTest, AHugeBandCountIsClampedToTheBandsTheRebarHas)
{
    // The fourth position lies past the rebar's bands and is ignored.
    WriteBands(0xFFFFFFFF, {{102, 210, false}, {103, 150, false}, {101, 150, true}, {102, 99, true}});
    HWND rebar = NewReBar();
    CLayoutSettings layout(kUiKey);
    layout.LoadReBar(rebar);
    EXPECT_EQ((std::vector<Band>{{102, 210, false}, {103, 150, false}, {101, 150, true}}), Bands(rebar));
    layout.SaveReBar(rebar);
    EXPECT_EQ(3u, ReadRaw(kUiKey, L"ReBarBandCount").Dword());
}

TEST_F(LayoutSettingsTest, SplitterPositionsRoundTripAndAWrongTypeGivesTheDefault)
{
    CLayoutSettings(kUiKey).SaveSplitterPos(260, L"vSplit");
    CLayoutSettings(kUiKey).SaveSplitterPos(-1, L"hSplit2");
    EXPECT_EQ(0xFFFFFFFFu, ReadRaw(kUiKey, L"Splitter_hSplit2").Dword());
    WriteText(kUiKey, L"Splitter_hSplit1", L"300");

    CLayoutSettings layout(kUiKey);
    EXPECT_EQ(260, layout.LoadSplitterPos(L"vSplit", 200));
    EXPECT_EQ(100, layout.LoadSplitterPos(L"hSplit1", 100));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit2", 50));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit3", -1));
}

}  // namespace
