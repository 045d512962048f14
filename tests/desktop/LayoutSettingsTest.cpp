// Window layout through real windows and a real rebar: placement, band order, widths and line
// breaks, splitter positions, and what a damaged "UI" key does.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "desktop/LayoutSettings.h"
#include "tests/desktop/RegistryTestKey.h"

using namespace alk_test;

namespace {

const wchar_t* const kUiKey = ALK_LAYOUT_KEY;
const wchar_t kClassName[] = L"AlkLayoutTestFrame";

void RegisterFrameClass() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    registered = RegisterClassW(&wc) != 0;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

RECT NormalRect(HWND hwnd) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(hwnd, &wp);
    return wp.rcNormalPosition;
}

void ExpectRectEq(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

class LayoutSettingsTest : public SettingsKeyTest {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterFrameClass();
    }

    void TearDown() override {
        for (HWND w : windows_)
            DestroyWindow(w);
        Pump();
        SettingsKeyTest::TearDown();
    }

    // A hidden top-level frame, as the program has it before its layout is loaded.
    HWND NewFrame() {
        HWND w = CreateWindowExW(0, kClassName, L"Layout test", WS_OVERLAPPEDWINDOW, 50, 60, 700, 500, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(nullptr, w);
        windows_.push_back(w);
        return w;
    }

    // A rebar with bands 101, 102, 103 on one line, each 150 pixels wide.
    HWND NewReBar(HWND frame) {
        HWND rebar = CreateWindowExW(0, REBARCLASSNAMEW, nullptr,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                         RBS_BANDBORDERS | CCS_NODIVIDER,
                                     0, 0, 0, 0, frame, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(nullptr, rebar);
        const wchar_t* texts[] = {L"Menu", L"Tools", L"Extra"};
        for (UINT i = 0; i < 3; ++i) {
            REBARBANDINFOW band = {};
            band.cbSize = sizeof(band);
            band.fMask = RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE | RBBIM_TEXT;
            band.fStyle = RBBS_CHILDEDGE;
            band.wID = 101 + i;
            band.cx = 150;
            band.lpText = const_cast<wchar_t*>(texts[i]);
            EXPECT_TRUE(SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));
        }
        return rebar;
    }

    struct Band {
        UINT id;
        UINT cx;
        bool lineBreak;
    };

    static std::vector<Band> Bands(HWND rebar) {
        std::vector<Band> bands;
        const int count = static_cast<int>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            REBARBANDINFOW band = {};
            band.cbSize = sizeof(band);
            band.fMask = RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE;
            SendMessageW(rebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band));
            bands.push_back({band.wID, band.cx, (band.fStyle & RBBS_BREAK) != 0});
        }
        return bands;
    }

    static void SetBand(HWND rebar, UINT index, UINT cx, bool lineBreak) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_SIZE | RBBIM_STYLE;
        SendMessageW(rebar, RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
        band.cx = cx;
        band.fStyle = lineBreak ? (band.fStyle | RBBS_BREAK) : (band.fStyle & ~RBBS_BREAK);
        SendMessageW(rebar, RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
    }

    static std::vector<UINT> Ids(HWND rebar) {
        std::vector<UINT> ids;
        for (const Band& b : Bands(rebar))
            ids.push_back(b.id);
        return ids;
    }

    std::vector<HWND> windows_;
};

// ---- first run ------------------------------------------------------------------------------

TEST_F(LayoutSettingsTest, WithoutTheKeyTheWindowIsShownWithTheStartCommandAndSplittersTakeDefaults) {
    HWND frame = NewFrame();
    HWND rebar = NewReBar(frame);
    const RECT created = NormalRect(frame);

    CLayoutSettings layout(kUiKey);
    layout.LoadWindowPlacement(frame, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_FALSE(IsZoomed(frame));
    ExpectRectEq(created, NormalRect(frame));

    layout.LoadReBar(rebar);
    EXPECT_EQ((std::vector<UINT>{101, 102, 103}), Ids(rebar));

    EXPECT_EQ(200, layout.LoadSplitterPos(L"vSplit", 200));
    EXPECT_EQ(100, layout.LoadSplitterPos(L"hSplit1", 100));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit2", -1));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit3", -1));
    EXPECT_FALSE(KeyExists(kUiKey));  // loading creates nothing
}

TEST_F(LayoutSettingsTest, WithoutTheKeyAMaximisedStartIsHonoured) {
    HWND frame = NewFrame();
    CLayoutSettings layout(kUiKey);
    layout.LoadWindowPlacement(frame, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_TRUE(IsZoomed(frame));
}

// ---- placement ------------------------------------------------------------------------------

TEST_F(LayoutSettingsTest, PlacementIsStoredAs44BytesLengthFirst) {
    HWND frame = NewFrame();
    ShowWindow(frame, SW_SHOWNORMAL);
    SetWindowPos(frame, nullptr, 120, 80, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    CLayoutSettings(kUiKey).SaveWindowPlacement(frame);

    RawValue v = ReadRaw(kUiKey, L"WndPlacement");
    ASSERT_TRUE(v.exists);
    EXPECT_EQ(DWORD(REG_BINARY), v.type);
    ASSERT_EQ(44u, v.bytes.size());
    LONG fields[11];
    memcpy(fields, v.bytes.data(), 44);
    EXPECT_EQ(44, fields[0]);             // length
    EXPECT_EQ(SW_SHOWNORMAL, fields[2]);  // show command
    EXPECT_EQ(120, fields[7]);            // normal rectangle: left, top, right, bottom
    EXPECT_EQ(80, fields[8]);
    EXPECT_EQ(760, fields[9]);
    EXPECT_EQ(560, fields[10]);
}

TEST_F(LayoutSettingsTest, ANormalWindowComesBackWhereItWas) {
    HWND first = NewFrame();
    ShowWindow(first, SW_SHOWNORMAL);
    SetWindowPos(first, nullptr, 210, 130, 610, 420, SWP_NOZORDER);
    CLayoutSettings(kUiKey).SaveWindowPlacement(first);

    HWND second = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsZoomed(second));
    EXPECT_FALSE(IsIconic(second));
    ExpectRectEq(RECT{210, 130, 820, 550}, NormalRect(second));
}

TEST_F(LayoutSettingsTest, AWindowClosedMaximisedOpensMaximised) {
    HWND first = NewFrame();
    ShowWindow(first, SW_SHOWNORMAL);
    SetWindowPos(first, nullptr, 200, 150, 500, 300, SWP_NOZORDER);
    ShowWindow(first, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(first));
    CLayoutSettings(kUiKey).SaveWindowPlacement(first);

    HWND second = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_TRUE(IsZoomed(second));
    // Restoring it gives the rectangle it had before it was maximised.
    ShowWindow(second, SW_RESTORE);
    RECT r;
    GetWindowRect(second, &r);
    ExpectRectEq(RECT{200, 150, 700, 450}, r);
}

TEST_F(LayoutSettingsTest, AWindowClosedMinimisedOpensRestored) {
    HWND first = NewFrame();
    ShowWindow(first, SW_SHOWNORMAL);
    SetWindowPos(first, nullptr, 230, 170, 520, 360, SWP_NOZORDER);
    ShowWindow(first, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(first));
    CLayoutSettings(kUiKey).SaveWindowPlacement(first);
    EXPECT_EQ(LONG(SW_SHOWMINIMIZED), LONG(ReadRaw(kUiKey, L"WndPlacement").bytes[8]));

    HWND second = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsIconic(second));
    EXPECT_FALSE(IsZoomed(second));
    RECT r;
    GetWindowRect(second, &r);
    ExpectRectEq(RECT{230, 170, 750, 530}, r);
}

TEST_F(LayoutSettingsTest, AStartCommandOtherThanNormalWinsOverTheSavedState) {
    HWND first = NewFrame();
    ShowWindow(first, SW_SHOWNORMAL);
    SetWindowPos(first, nullptr, 300, 200, 400, 300, SWP_NOZORDER);
    CLayoutSettings(kUiKey).SaveWindowPlacement(first);

    HWND second = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(IsIconic(second));
    // The saved rectangle is still the one it restores to.
    ExpectRectEq(RECT{300, 200, 700, 500}, NormalRect(second));
}

TEST_F(LayoutSettingsTest, APlacementOfTheWrongSizeIsNotApplied) {
    HWND first = NewFrame();
    ShowWindow(first, SW_SHOWNORMAL);
    SetWindowPos(first, nullptr, 300, 200, 400, 300, SWP_NOZORDER);
    CLayoutSettings(kUiKey).SaveWindowPlacement(first);
    RawValue good = ReadRaw(kUiKey, L"WndPlacement");
    ASSERT_EQ(44u, good.bytes.size());
    // Only the first 12 bytes: length, flags and a maximised show command.
    LONG head[3] = {44, 0, SW_SHOWMAXIMIZED};
    WriteRaw(kUiKey, L"WndPlacement", REG_BINARY, head, sizeof(head));

    HWND second = NewFrame();
    const RECT created = NormalRect(second);
    CLayoutSettings(kUiKey).LoadWindowPlacement(second, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_FALSE(IsZoomed(second));
    ExpectRectEq(created, NormalRect(second));
}

TEST_F(LayoutSettingsTest, ASavedHiddenStateStillShowsTheWindow) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    wp.showCmd = SW_HIDE;
    wp.rcNormalPosition = RECT{100, 100, 600, 400};
    WriteRaw(kUiKey, L"WndPlacement", REG_BINARY, &wp, sizeof(wp));

    HWND frame = NewFrame();
    CLayoutSettings(kUiKey).LoadWindowPlacement(frame, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindowVisible(frame));
    ExpectRectEq(RECT{100, 100, 600, 400}, NormalRect(frame));
}

// ---- rebar ----------------------------------------------------------------------------------

TEST_F(LayoutSettingsTest, BandsComeBackInTheirOrderWidthsAndLines) {
    HWND frame = NewFrame();
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND rebar = NewReBar(frame);
    // The user drags "Extra" to the front and puts "Tools" on a line of its own.
    SendMessageW(rebar, RB_MOVEBAND, 2, 0);
    SetBand(rebar, 0, 230, false);
    SetBand(rebar, 2, 170, true);
    ASSERT_EQ((std::vector<UINT>{103, 101, 102}), Ids(rebar));
    const std::vector<Band> before = Bands(rebar);
    CLayoutSettings(kUiKey).SaveReBar(rebar);

    EXPECT_EQ(3u, ReadRaw(kUiKey, L"ReBarBandCount").Dword());
    EXPECT_EQ(103u, ReadRaw(kUiKey, L"ReBar0_ID").Dword());
    EXPECT_EQ(230u, ReadRaw(kUiKey, L"ReBar0_CX").Dword());
    EXPECT_EQ(0u, ReadRaw(kUiKey, L"ReBar0_Break").Dword());
    EXPECT_EQ(101u, ReadRaw(kUiKey, L"ReBar1_ID").Dword());
    EXPECT_EQ(102u, ReadRaw(kUiKey, L"ReBar2_ID").Dword());
    EXPECT_EQ(1u, ReadRaw(kUiKey, L"ReBar2_Break").Dword());
    EXPECT_EQ(DWORD(REG_DWORD), ReadRaw(kUiKey, L"ReBar2_Break").type);

    HWND frame2 = NewFrame();
    ShowWindow(frame2, SW_SHOWNORMAL);
    HWND fresh = NewReBar(frame2);
    const UINT rowsBefore = static_cast<UINT>(SendMessageW(fresh, RB_GETROWCOUNT, 0, 0));
    CLayoutSettings(kUiKey).LoadReBar(fresh);
    const std::vector<Band> after = Bands(fresh);
    ASSERT_EQ(3u, after.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(before[i].id, after[i].id) << i;
        EXPECT_EQ(before[i].cx, after[i].cx) << i;
        EXPECT_EQ(before[i].lineBreak, after[i].lineBreak) << i;
    }
    EXPECT_EQ(rowsBefore + 1, static_cast<UINT>(SendMessageW(fresh, RB_GETROWCOUNT, 0, 0)));
}

TEST_F(LayoutSettingsTest, AnUnknownBandIdMovesNothingButItsWidthAndBreakApplyInPlace) {
    WriteDword(kUiKey, L"ReBarBandCount", 2);
    WriteDword(kUiKey, L"ReBar0_ID", 999);
    WriteDword(kUiKey, L"ReBar0_CX", 260);
    WriteDword(kUiKey, L"ReBar0_Break", 0);
    WriteDword(kUiKey, L"ReBar1_ID", 103);
    WriteDword(kUiKey, L"ReBar1_CX", 140);
    WriteDword(kUiKey, L"ReBar1_Break", 7);  // any non-zero breaks the line

    HWND frame = NewFrame();
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND rebar = NewReBar(frame);
    CLayoutSettings(kUiKey).LoadReBar(rebar);
    const std::vector<Band> bands = Bands(rebar);
    ASSERT_EQ(3u, bands.size());
    EXPECT_EQ(101u, bands[0].id);
    EXPECT_EQ(260u, bands[0].cx);
    EXPECT_EQ(103u, bands[1].id);
    EXPECT_EQ(140u, bands[1].cx);
    EXPECT_TRUE(bands[1].lineBreak);
    EXPECT_EQ(102u, bands[2].id);
    EXPECT_FALSE(bands[2].lineBreak);
}

TEST_F(LayoutSettingsTest, AHugeBandCountIsClampedToTheBandsTheRebarHas) {
    WriteDword(kUiKey, L"ReBarBandCount", 0xFFFFFFFF);
    WriteDword(kUiKey, L"ReBar0_ID", 102);
    WriteDword(kUiKey, L"ReBar0_CX", 210);
    WriteDword(kUiKey, L"ReBar1_ID", 103);
    WriteDword(kUiKey, L"ReBar2_ID", 101);
    WriteDword(kUiKey, L"ReBar2_Break", 1);
    // Positions past the rebar's bands are ignored, whatever they name.
    WriteDword(kUiKey, L"ReBar3_ID", 102);
    WriteDword(kUiKey, L"ReBar3_Break", 1);

    HWND frame = NewFrame();
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND rebar = NewReBar(frame);
    CLayoutSettings layout(kUiKey);
    layout.LoadReBar(rebar);
    const std::vector<Band> bands = Bands(rebar);
    ASSERT_EQ(3u, bands.size());
    EXPECT_EQ((std::vector<UINT>{102, 103, 101}), Ids(rebar));
    EXPECT_EQ(210u, bands[0].cx);
    EXPECT_FALSE(bands[0].lineBreak);
    EXPECT_TRUE(bands[2].lineBreak);

    // Saving afterwards writes the true count again.
    layout.SaveReBar(rebar);
    EXPECT_EQ(3u, ReadRaw(kUiKey, L"ReBarBandCount").Dword());
}

TEST_F(LayoutSettingsTest, AMissingBandValueCountsAsZero) {
    WriteDword(kUiKey, L"ReBarBandCount", 1);
    WriteDword(kUiKey, L"ReBar0_ID", 102);  // no width, no break

    HWND frame = NewFrame();
    ShowWindow(frame, SW_SHOWNORMAL);
    HWND rebar = NewReBar(frame);
    SetBand(rebar, 1, 150, true);
    CLayoutSettings(kUiKey).LoadReBar(rebar);
    const std::vector<Band> bands = Bands(rebar);
    EXPECT_EQ(102u, bands[0].id);
    EXPECT_FALSE(bands[0].lineBreak);
    EXPECT_EQ(0u, bands[0].cx);
}

// ---- splitters ------------------------------------------------------------------------------

TEST_F(LayoutSettingsTest, SplitterPositionsRoundTripUnderTheirOwnNames) {
    {
        CLayoutSettings layout(kUiKey);
        layout.SaveSplitterPos(260, L"vSplit");
        layout.SaveSplitterPos(140, L"hSplit1");
        layout.SaveSplitterPos(-1, L"hSplit2");
        layout.SaveSplitterPos(333, L"hSplit3");
    }
    EXPECT_EQ(260u, ReadRaw(kUiKey, L"Splitter_vSplit").Dword());
    EXPECT_EQ(DWORD(REG_DWORD), ReadRaw(kUiKey, L"Splitter_hSplit3").type);
    EXPECT_EQ(0xFFFFFFFFu, ReadRaw(kUiKey, L"Splitter_hSplit2").Dword());

    CLayoutSettings layout(kUiKey);
    EXPECT_EQ(260, layout.LoadSplitterPos(L"vSplit", 200));
    EXPECT_EQ(140, layout.LoadSplitterPos(L"hSplit1", 100));
    EXPECT_EQ(-1, layout.LoadSplitterPos(L"hSplit2", -1));
    EXPECT_EQ(333, layout.LoadSplitterPos(L"hSplit3", -1));
}

TEST_F(LayoutSettingsTest, ASplitterValueOfTheWrongTypeGivesTheDefault) {
    WriteText(kUiKey, L"Splitter_vSplit", L"300");
    const BYTE twoBytes[2] = {0x2C, 0x01};
    WriteRaw(kUiKey, L"Splitter_hSplit1", REG_DWORD, twoBytes, sizeof(twoBytes));
    CLayoutSettings layout(kUiKey);
    EXPECT_EQ(200, layout.LoadSplitterPos(L"vSplit", 200));
    EXPECT_EQ(100, layout.LoadSplitterPos(L"hSplit1", 100));
}

TEST_F(LayoutSettingsTest, LayoutValuesLiveUnderTheirOwnSubKey) {
    CLayoutSettings layout(kUiKey);
    layout.SaveSplitterPos(250, L"vSplit");
    EXPECT_TRUE(ReadRaw(kUiKey, L"Splitter_vSplit").exists);
    EXPECT_FALSE(ReadRaw(ALK_SETTINGS_KEY, L"Splitter_vSplit").exists);
}

}  // namespace
