// A frame as the program builds it: command bar and toolbar in rebar bands, a status bar with
// parts, and a splitter of two pane containers as the client. Checked: what the bars and
// panes show, the layout, update-UI on menus and toolbar buttons, the status prompt and
// tooltips, accelerators and idle handling through the message loop, splitter positions and
// single-pane mode, forwarding through splitter and container, the close button, and the
// command bar's menus by mouse and keyboard.
#include <vector>

#include <gtest/gtest.h>

#include "framework/CommandBar.h"
#include "framework/Frame.h"
#include "framework/Module.h"
#include "framework/OwnerDraw.h"
#include "framework/PaneContainer.h"
#include "framework/Splitter.h"
#include "framework/UpdateUI.h"
#include "TestResources.h"
#include "TestUtil.h"

namespace {

const int IDC_LEFT_LIST = 33769;
const int IDC_RIGHT_EDIT = 33771;

class CTestFrame : public CFrameWindowImpl<CTestFrame>,
                   public CUpdateUI<CTestFrame>,
                   public CMessageFilter,
                   public CIdleHandler {
public:
    DECLARE_FRAME_WND_CLASS(L"AlkTest.Frame", IDR_MAINFRAME)

    CCommandBarCtrl cmdBar;
    HWND toolBar = nullptr;
    CSplitterWindow split;
    CPaneContainer leftPane, rightPane;
    CListViewCtrl list;
    HWND edit = nullptr;
    std::vector<UINT> commands;
    std::vector<HWND> paneCloses;
    int idles = 0;
    int customDrawPrePaints = 0, customDrawItems = 0;
    int quitOnCommand = 0;
    int quitWhenIdleAfterCommand = 0;

    // clang-format off
    BEGIN_UPDATE_UI_MAP(CTestFrame)
        UPDATE_ELEMENT(ID_FILE_NEW, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_TOOL_GO, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_VIEW_A, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_B, UPDUI_MENUPOPUP)
    END_UPDATE_UI_MAP()
    // clang-format on

    // clang-format off
    BEGIN_MSG_MAP(CTestFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        COMMAND_ID_HANDLER(ID_PANE_CLOSE, OnPaneClose)
        COMMAND_RANGE_HANDLER(ID_FILE_NEW, ID_TOOL_GO, OnCommandSeen)
        NOTIFY_HANDLER(IDC_LEFT_LIST, NM_CUSTOMDRAW, OnListCustomDraw)
        CHAIN_MSG_MAP(CUpdateUI<CTestFrame>)
        CHAIN_MSG_MAP(CFrameWindowImpl<CTestFrame>)
    END_MSG_MAP()
    // clang-format on

    BOOL PreTranslateMessage(MSG* msg) override { return CFrameWindowImpl<CTestFrame>::PreTranslateMessage(msg); }
    BOOL OnIdle() override
    {
        ++idles;
        if (quitWhenIdleAfterCommand && !commands.empty()) ::PostQuitMessage(quitWhenIdleAfterCommand);
        UIUpdateToolBar();
        return FALSE;
    }

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&)
    {
        cmdBar.Create(m_hWnd, rcDefault, nullptr, ALK_SIMPLE_CMDBAR_PANE_STYLE);
        cmdBar.AttachMenu(GetMenu());
        SetMenu(nullptr);
        toolBar = CreateSimpleToolBarCtrl(m_hWnd, IDR_MAINFRAME, FALSE, ALK_SIMPLE_TOOLBAR_PANE_STYLE);
        CreateSimpleReBar(ALK_SIMPLE_REBAR_NOBORDER_STYLE);
        AddSimpleReBarBand(cmdBar);
        AddSimpleReBarBand(toolBar, nullptr, TRUE);
        CreateSimpleStatusBar();
        int parts[] = {200, 350, -1};
        ::SendMessageW(m_hWndStatusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
        UIAddToolBar(toolBar);

        m_hWndClient = split.Create(m_hWnd);
        leftPane.Create(split, L"Left");
        rightPane.Create(split, L"Right");
        split.SetSplitterPanes(leftPane, rightPane);
        list.Create(leftPane, CRect(0, 0, 10, 10), nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, IDC_LEFT_LIST);
        list.InsertColumn(0, L"Name", LVCFMT_LEFT, 120);
        list.InsertItem(0, L"Bike");
        list.InsertItem(1, L"Car");
        leftPane.SetClient(list);
        leftPane.EnableCloseButton(false);
        edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 10, 10, rightPane,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_RIGHT_EDIT)), nullptr, nullptr);
        rightPane.SetClient(edit);
        UpdateLayout();
        return 0;
    }
    LRESULT OnPaneClose(WORD, WORD, HWND ctl, BOOL&)
    {
        paneCloses.push_back(ctl);
        return 0;
    }
    LRESULT OnCommandSeen(WORD, WORD id, HWND, BOOL&)
    {
        commands.push_back(id);
        if (quitOnCommand) ::PostQuitMessage(quitOnCommand);
        return 0;
    }
    LRESULT OnListCustomDraw(int, LPNMHDR hdr, BOOL&)
    {
        auto* cd = reinterpret_cast<LPNMLVCUSTOMDRAW>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            ++customDrawPrePaints;
            return CDRF_NOTIFYITEMDRAW;
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) ++customDrawItems;
        return CDRF_DODEFAULT;
    }
};

// A real mouse move through the input queue, in screen coordinates.
void MoveMouse(POINT pt)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = pt.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = pt.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

// The same frame whose map passes the command bar its messages first, as a busy frame should:
// the bar then leaves the frame's window procedure alone.
class CChainingFrame : public CTestFrame {
public:
    // clang-format off
    BEGIN_MSG_MAP(CChainingFrame)
        CHAIN_MSG_MAP_ALT_MEMBER(cmdBar, CCommandBarCtrl::kParentMap)
        CHAIN_MSG_MAP(CTestFrame)
    END_MSG_MAP()
    // clang-format on
};

template <class Frame>
class FrameFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&icc);
    }
    void SetUp() override
    {
        frame.m_bQuitOnDestroy = false;
        ASSERT_TRUE(frame.CreateEx(nullptr, CRect(0, 0, 800, 600)));
        frame.ShowWindow(SW_SHOW);
        frame.UpdateWindow();
        ::SetForegroundWindow(frame);
        PumpMessages();
    }
    void TearDown() override
    {
        if (frame.IsWindow()) frame.DestroyWindow();
        PumpMessages();
    }
    static UINT MenuState(HMENU popup, UINT id) { return ::GetMenuState(popup, id, MF_BYCOMMAND); }

    Frame frame;
};

class FrameTest : public FrameFixture<CTestFrame> {};
class ChainingFrameTest : public FrameFixture<CChainingFrame> {};

TEST_F(FrameTest, CreatedFromOneResourceId)
{
    CString caption;
    frame.GetWindowText(caption);
    EXPECT_STREQ(L"Test Frame", caption);
    EXPECT_EQ(nullptr, ::GetMenu(frame)) << "the menu lives in the command bar";
    ASSERT_NE(nullptr, frame.cmdBar.GetMenu());
    EXPECT_EQ(3, frame.cmdBar.GetButtonCount());
    wchar_t text[32] = {};
    frame.cmdBar.SendMessage(TB_GETBUTTONTEXTW, 0xEC01, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"&View", text);
    EXPECT_NE(nullptr, frame.m_hAccel);
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(::GetClassLongPtrW(frame, GCLP_HICON)));
}

TEST_F(FrameTest, BarsSitInNumberedBandsAndTheClientFillsTheRest)
{
    CReBarCtrl rebar(frame.m_hWndToolBar);
    ASSERT_EQ(2u, rebar.GetBandCount());
    UINT style = 0, cx = 0, id = 0;
    ASSERT_TRUE(rebar.GetBand(0, style, cx, id));
    EXPECT_EQ(static_cast<UINT>(ALK_IDW_BAND_FIRST), id);
    EXPECT_FALSE(style & RBBS_BREAK);
    ASSERT_TRUE(rebar.GetBand(1, style, cx, id));
    EXPECT_EQ(static_cast<UINT>(ALK_IDW_BAND_FIRST + 1), id);
    EXPECT_TRUE(style & RBBS_BREAK) << "the toolbar starts a new line";
    EXPECT_EQ(2u, rebar.GetRowCount());
    RECT menuBand{}, cmdBarRect{};
    rebar.GetRect(0, &menuBand);
    frame.cmdBar.GetWindowRect(&cmdBarRect);
    EXPECT_GT(menuBand.bottom - menuBand.top, 10) << "the command bar's band is as high as its buttons";
    EXPECT_GT(cmdBarRect.bottom - cmdBarRect.top, 10);
    EXPECT_TRUE(frame.cmdBar.IsWindowVisible());

    CToolBarCtrl tb(frame.toolBar);
    EXPECT_EQ(4, tb.GetButtonCount()) << "three buttons and a separator from the toolbar resource";
    TBBUTTON b{};
    tb.GetButton(1, &b);
    EXPECT_TRUE(b.fsStyle & BTNS_SEP);
    EXPECT_EQ(2, tb.CommandToIndex(ID_FILE_OPEN));

    RECT client, rebarRect, statusRect, splitRect;
    frame.GetClientRect(&client);
    ::GetWindowRect(frame.m_hWndToolBar, &rebarRect);
    ::GetWindowRect(frame.m_hWndStatusBar, &statusRect);
    ::GetWindowRect(frame.split, &splitRect);
    frame.ScreenToClient(&rebarRect);
    frame.ScreenToClient(&statusRect);
    frame.ScreenToClient(&splitRect);
    EXPECT_EQ(rebarRect.bottom, splitRect.top);
    EXPECT_EQ(statusRect.top, splitRect.bottom);
    EXPECT_EQ(client.right, splitRect.right);

    frame.SetWindowPos(nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    ::GetWindowRect(frame.split, &splitRect);
    frame.ScreenToClient(&splitRect);
    frame.GetClientRect(&client);
    EXPECT_EQ(client.right, splitRect.right) << "laid out again on WM_SIZE";
}

TEST_F(FrameTest, StatusBarShowsPartsAndMenuPrompts)
{
    CStatusBarCtrl status(frame.m_hWndStatusBar);
    int edges[3] = {};
    EXPECT_EQ(3, status.GetParts(3, edges));
    EXPECT_EQ(200, edges[0]);
    EXPECT_EQ(350, edges[1]);
    EXPECT_STREQ(L"Ready", status.GetText(0));

    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING),
                      reinterpret_cast<LPARAM>(frame.cmdBar.GetMenu()));
    EXPECT_TRUE(status.IsSimple());
    // (The simple text reads back as part 0 here.)
    EXPECT_STREQ(L"Create a new thing", status.GetText(0)) << "the part before the newline";
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_VIEW_A, MF_STRING),
                      reinterpret_cast<LPARAM>(frame.cmdBar.GetMenu()));
    EXPECT_STREQ(L"Show view A", status.GetText(0)) << "a string without tooltip part";
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(status.IsSimple()) << "the parts come back when the menu closes";
    EXPECT_STREQ(L"Ready", status.GetText(0));
}

TEST_F(FrameTest, ToolTipsTakeThePartAfterTheNewline)
{
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = nullptr;
    info.hdr.idFrom = ID_FILE_NEW;
    info.hdr.code = TTN_GETDISPINFOW;
    frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"New Thing", info.lpszText);
    info.hdr.idFrom = ID_VIEW_A;
    frame.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"", info.lpszText);
}

TEST_F(FrameTest, UpdateUIAppliesToToolbarButtonsOnIdle)
{
    CToolBarCtrl tb(frame.toolBar);
    frame.OnIdle();
    EXPECT_TRUE(tb.IsButtonEnabled(ID_FILE_NEW));
    frame.UIEnable(ID_FILE_NEW, FALSE);
    frame.UISetCheck(ID_TOOL_GO, 1);
    EXPECT_TRUE(tb.IsButtonEnabled(ID_FILE_NEW)) << "nothing before the idle pass";
    frame.OnIdle();
    EXPECT_FALSE(tb.IsButtonEnabled(ID_FILE_NEW));
    EXPECT_TRUE(tb.IsButtonChecked(ID_TOOL_GO));
    EXPECT_TRUE(tb.IsButtonEnabled(ID_FILE_OPEN)) << "not in the table";
    frame.UIEnable(ID_FILE_NEW, TRUE);
    frame.OnIdle();
    EXPECT_TRUE(tb.IsButtonEnabled(ID_FILE_NEW));
    EXPECT_EQ(static_cast<DWORD>(UPDUI_CHECKED), frame.UIGetState(ID_TOOL_GO));
}

TEST_F(FrameTest, UpdateUIAppliesToACommandBarPopupWhenItOpens)
{
    frame.UIEnable(ID_FILE_NEW, FALSE);
    frame.UISetCheck(ID_VIEW_B, 1);
    HMENU file = ::GetSubMenu(frame.cmdBar.GetMenu(), 0);
    HMENU view = ::GetSubMenu(frame.cmdBar.GetMenu(), 1);
    ::EnableMenuItem(file, ID_FILE_OPEN, MF_BYCOMMAND | MF_GRAYED);  // greyed by someone else
    UINT newState = 0, openState = 0, viewB = 0, viewA = 0;
    int openIndex = -2;
    TimerSequence steps({[&] {
                             openIndex = frame.cmdBar.GetOpenMenuIndex();
                             newState = MenuState(file, ID_FILE_NEW);
                             openState = MenuState(file, ID_FILE_OPEN);
                             ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_RIGHT, 0);  // on to View
                         },
                         [&] {
                             viewA = MenuState(view, ID_VIEW_A);
                             viewB = MenuState(view, ID_VIEW_B);
                             ::EndMenu();
                         }});
    frame.cmdBar.OpenMenu(0, false);
    EXPECT_EQ(2u, steps.Done());
    EXPECT_EQ(0, openIndex);
    EXPECT_TRUE(newState & MF_GRAYED);
    EXPECT_TRUE(openState & MF_GRAYED) << "ids outside the table are left as they are";
    EXPECT_FALSE(viewA & MF_CHECKED);
    EXPECT_TRUE(viewB & MF_CHECKED) << "the Right key moved to the View popup, updated in turn";
    EXPECT_EQ(-1, frame.cmdBar.GetOpenMenuIndex());
}

TEST_F(FrameTest, MessageLoopTranslatesAcceleratorsAndRunsIdleHandlers)
{
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    CMessageLoop loop;
    ASSERT_TRUE(module.AddMessageLoop(&loop));
    EXPECT_FALSE(module.AddMessageLoop(&loop)) << "one loop per thread";
    EXPECT_EQ(&loop, module.GetMessageLoop());
    loop.AddMessageFilter(&frame);
    loop.AddIdleHandler(&frame);
    frame.quitWhenIdleAfterCommand = 9;  // the idle pass after the command ends the loop
    frame.list.SetFocus();
    ::PostMessageW(frame.list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(9, loop.Run());
    EXPECT_EQ((std::vector<UINT>{ID_TOOL_GO}), frame.commands) << "the Delete key became the command";
    loop.RemoveMessageFilter(&frame);
    loop.RemoveIdleHandler(&frame);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(nullptr, module.GetMessageLoop());
    module.Term();
}

TEST_F(FrameTest, DestroyingATopLevelFrameEndsTheLoop)
{
    CMessageLoop loop;
    frame.m_bQuitOnDestroy = true;
    frame.PostMessage(WM_CLOSE);
    EXPECT_EQ(1, loop.Run());
    EXPECT_FALSE(frame.IsWindow());
}

TEST_F(FrameTest, SplitterPositionsAndSinglePaneMode)
{
    CSplitterWindow& split = frame.split;
    RECT rc;
    split.GetClientRect(&rc);
    int width = rc.right;
    EXPECT_EQ((width - 4) / 2, split.GetSplitterPos()) << "starts in the middle";

    split.SetSplitterPos(200);
    RECT left, right;
    ::GetWindowRect(frame.leftPane, &left);
    ::GetWindowRect(frame.rightPane, &right);
    split.ScreenToClient(&left);
    split.ScreenToClient(&right);
    EXPECT_EQ(0, left.left);
    EXPECT_EQ(200, left.right);
    EXPECT_EQ(204, right.left);
    EXPECT_EQ(width, right.right);

    split.SetSplitterPos(-1);
    EXPECT_EQ((width - 4) / 2, split.GetSplitterPos());
    split.SetSplitterPos(100000);
    EXPECT_EQ(width - 4, split.GetSplitterPos()) << "kept inside the splitter";

    split.SetSplitterPos(150);
    split.SetSinglePaneMode(SPLIT_PANE_RIGHT);
    EXPECT_FALSE(::IsWindowVisible(frame.leftPane));
    ::GetWindowRect(frame.rightPane, &right);
    split.ScreenToClient(&right);
    EXPECT_EQ(0, right.left);
    EXPECT_EQ(width, right.right);
    EXPECT_EQ(SPLIT_PANE_RIGHT, split.GetSinglePaneMode());
    split.SetSinglePaneMode(SPLIT_PANE_NONE);
    EXPECT_TRUE(::IsWindowVisible(frame.leftPane));
    EXPECT_EQ(150, split.GetSplitterPos()) << "the position survives single-pane mode";

    // A splitter made before it has a size keeps -1 until it gets one.
    CHorSplitterWindow late;
    late.Create(frame, CRect(0, 0, 0, 0));
    late.SetSplitterPos(-1);
    EXPECT_EQ(-1, late.GetSplitterPos());
    late.SetWindowPos(nullptr, 0, 0, 300, 204, SWP_NOZORDER);
    EXPECT_EQ(100, late.GetSplitterPos());
    late.DestroyWindow();
}

TEST_F(FrameTest, SplitterBarDragsWithTheMouse)
{
    CSplitterWindow& split = frame.split;
    split.SetSplitterPos(200);
    split.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(201, 50));
    split.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(261, 60));
    split.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(261, 60));
    EXPECT_EQ(260, split.GetSplitterPos());
    split.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 60));
    EXPECT_EQ(260, split.GetSplitterPos()) << "no drag after the button is up";
    split.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    split.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 60));
    split.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(150, 60));
    EXPECT_EQ(260, split.GetSplitterPos()) << "a press outside the bar drags nothing";
}

TEST_F(FrameTest, ActivePaneFollowsTheFocus)
{
    CSplitterWindow& split = frame.split;
    split.SetDefaultActivePane(SPLIT_PANE_RIGHT);
    split.SetFocus();
    EXPECT_EQ(frame.edit, ::GetFocus()) << "the splitter passes the focus to its default pane's client";
    EXPECT_EQ(SPLIT_PANE_RIGHT, split.GetActivePane());
    EXPECT_TRUE(split.SetActivePane(SPLIT_PANE_LEFT));
    EXPECT_EQ(frame.list.m_hWnd, ::GetFocus());
    EXPECT_EQ(SPLIT_PANE_LEFT, split.GetActivePane());
    split.SetSinglePaneMode(SPLIT_PANE_RIGHT);
    EXPECT_EQ(frame.edit, ::GetFocus()) << "the focus leaves the hidden pane";
    EXPECT_FALSE(split.SetActivePane(SPLIT_PANE_LEFT));
}

TEST_F(FrameTest, NotificationsCrossSplitterAndContainerWithTheirAnswers)
{
    frame.list.Invalidate();
    frame.list.UpdateWindow();
    PumpMessages();
    EXPECT_GE(frame.customDrawPrePaints, 1);
    EXPECT_GE(frame.customDrawItems, 2) << "the frame's CDRF_NOTIFYITEMDRAW came back through both forwarders";
    ::SendMessageW(frame.edit, WM_CHAR, L'a', 0);  // EN_CHANGE travels up as well
}

TEST_F(FrameTest, PaneContainerCaptionAndCloseButton)
{
    CPaneContainer& pane = frame.rightPane;
    EXPECT_STREQ(L"Right", pane.GetTitle());
    std::wstring longTitle(100, L'x');
    pane.SetTitle(longTitle.c_str());
    EXPECT_EQ(79, pane.GetTitleLength());
    RECT paneRect, clientRect;
    pane.GetWindowRect(&paneRect);
    ::GetWindowRect(frame.edit, &clientRect);
    EXPECT_EQ(paneRect.top + pane.GetCaptionHeight(), clientRect.top) << "the client sits under the caption";
    EXPECT_EQ(paneRect.bottom, clientRect.bottom);

    EXPECT_TRUE(pane.HasCloseButton());
    EXPECT_FALSE(frame.leftPane.HasCloseButton());
    ::SendMessageW(pane.GetCloseButton(), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<HWND>{pane.m_hWnd}), frame.paneCloses)
        << "command 57682 with the container as the control, through the splitter";
    EXPECT_TRUE(pane.IsWindowVisible()) << "the container closes nothing itself";
    pane.EnableCloseButton(false);
    EXPECT_FALSE(pane.HasCloseButton());
}

TEST_F(FrameTest, CommandBarOpensMenusFromTheKeyboard)
{
    // Alt + mnemonic: View.
    int opened = -1;
    TimerSequence steps({[&] {
        opened = frame.cmdBar.GetOpenMenuIndex();
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_RETURN, 0);  // the first item, highlighted on opening
    }});
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, L'v');
    PumpMessages();  // the menu posts its command
    EXPECT_EQ(1, opened);
    EXPECT_EQ((std::vector<UINT>{ID_VIEW_A}), frame.commands);
}

TEST_F(FrameTest, AltEntersTheBarAndArrowsMoveAndOpen)
{
    frame.list.SetFocus();
    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(frame.cmdBar.IsKeyboardMode());
    EXPECT_EQ(frame.cmdBar.m_hWnd, ::GetFocus());
    EXPECT_EQ(0, frame.cmdBar.GetHotItem());
    frame.cmdBar.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    frame.cmdBar.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(2, frame.cmdBar.GetHotItem());
    int opened = -1;
    TimerSequence steps({[&] {
        opened = frame.cmdBar.GetOpenMenuIndex();
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_RETURN, 0);
    }});
    frame.cmdBar.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    PumpMessages();
    EXPECT_EQ(2, opened);
    EXPECT_EQ((std::vector<UINT>{ID_TOOL_GO}), frame.commands);
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode());
    EXPECT_EQ(frame.list.m_hWnd, ::GetFocus()) << "the focus goes back where it was";

    frame.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    frame.cmdBar.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode());
    EXPECT_EQ(frame.list.m_hWnd, ::GetFocus());
}

// Presses and releases keys through the input queue.
void TypeKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    for (const auto& k : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k.first;
        in.ki.dwFlags = k.second ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &in, sizeof in);
    }
    PumpMessages();
}

// Types Alt+T through the input queue: the index of the menu the bar opened (closed again at
// once), -1 when none opened.
template <class Bar>
int MenuOpenedByAltT(Bar& bar)
{
    int opened = -1;
    TimerSequence steps({[&] {
        opened = bar.GetOpenMenuIndex();
        ::EndMenu();
    }});
    TypeKeys({{VK_MENU, true}, {'T', true}, {'T', false}, {VK_MENU, false}});
    PumpMessages();
    return opened;
}

TEST_F(FrameTest, RealAltAndF10KeysToggleTheBar)
{
    frame.list.SetFocus();
    TypeKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_TRUE(frame.cmdBar.IsKeyboardMode()) << "Alt pressed and released alone";
    TypeKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode()) << "Alt again leaves";
    EXPECT_EQ(frame.list.m_hWnd, ::GetFocus());
    TypeKeys({{VK_F10, true}, {VK_F10, false}});
    EXPECT_TRUE(frame.cmdBar.IsKeyboardMode()) << "F10";
    TypeKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode());
    EXPECT_TRUE(frame.commands.empty());

    EXPECT_EQ(2, MenuOpenedByAltT(frame.cmdBar)) << "Alt+T opened Tools";
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode());
}

TEST_F(FrameTest, CommandBarClickOpensAndMouseMovesBetweenMenus)
{
    RECT first{}, third{};
    frame.cmdBar.GetItemRect(0, &first);
    frame.cmdBar.GetItemRect(2, &third);
    // The mouse rests over the first button when its menu opens (a resting mouse switches nothing).
    POINT start{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    frame.cmdBar.ClientToScreen(&start);
    MoveMouse(start);
    PumpMessages();
    std::vector<int> open;
    TimerSequence steps({[&] {
                             open.push_back(frame.cmdBar.GetOpenMenuIndex());
                             POINT pt{(third.left + third.right) / 2, (third.top + third.bottom) / 2};
                             frame.cmdBar.ClientToScreen(&pt);
                             MoveMouse(pt);
                         },
                         [] {},  // give the bar a moment to notice
                         [&] {
                             open.push_back(frame.cmdBar.GetOpenMenuIndex());
                             ::EndMenu();
                         }});
    frame.cmdBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((first.left + first.right) / 2, 5));
    PumpMessages();
    EXPECT_EQ((std::vector<int>{0, 2}), open);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(FrameTest, CommandBarIconsAndPopupsForOtherWindows)
{
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(nullptr, icon);
    frame.cmdBar.AddIcon(icon, ID_FILE_OPEN);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    HMENU file = ::GetSubMenu(frame.cmdBar.GetMenu(), 0);
    ::GetMenuItemInfoW(file, ID_FILE_OPEN, FALSE, &info);
    EXPECT_EQ(HBMMENU_CALLBACK, info.hbmpItem);
    info.hbmpItem = nullptr;
    ::GetMenuItemInfoW(file, ID_FILE_NEW, FALSE, &info);
    EXPECT_EQ(nullptr, info.hbmpItem);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_FILE_OPEN;
    EXPECT_EQ(TRUE, frame.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)))
        << "the bar answers for its icons at the menu's owner";
    EXPECT_EQ(static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON)), mis.itemWidth);

    // A context menu of another window, its command returned.
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, ID_FILE_OPEN, L"&Open");
    ::AppendMenuW(popup, MF_STRING, ID_TOOL_GO, L"&Go");
    TimerSequence steps({[&] {
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_RETURN, 0);
    }});
    BOOL chosen = frame.cmdBar.TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 100, 100);
    EXPECT_EQ(ID_TOOL_GO, static_cast<UINT>(chosen));
    info.hbmpItem = nullptr;
    ::GetMenuItemInfoW(popup, ID_FILE_OPEN, FALSE, &info);
    EXPECT_EQ(HBMMENU_CALLBACK, info.hbmpItem) << "icons applied to the tracked popup";
    ::DestroyMenu(popup);

    // Without TPM_RETURNCMD the command goes to the bar's parent.
    popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, ID_VIEW_B, L"View &B");
    TimerSequence more({[&] {
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(frame.cmdBar, WM_KEYDOWN, VK_RETURN, 0);
    }});
    frame.cmdBar.TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 100, 100);
    PumpMessages();
    EXPECT_EQ((std::vector<UINT>{ID_VIEW_B}), frame.commands);
    ::DestroyMenu(popup);
    ::DestroyIcon(icon);
}

// The window runs its class's procedure, with nothing put in front of it.
bool RunsItsOwnProcedure(HWND hWnd)
{
    return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == static_cast<LONG_PTR>(::GetClassLongPtrW(hWnd, GCLP_WNDPROC));
}

// What the bar answers, at the menu's owner, for the owner-drawn item of a command.
struct MenuItemAnswers {
    LRESULT measured = 0, drawn = 0;
    UINT width = 0;
};
MenuItemAnswers AskOwnerForMenuItem(HWND owner, UINT command)
{
    MenuItemAnswers answers;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = command;
    answers.measured = ::SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    answers.width = mis.itemWidth;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = command;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hDC = memory;
    dis.rcItem = RECT{0, 0, 32, 32};
    answers.drawn = ::SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return answers;
}

TEST_F(FrameTest, ABarWhoseParentPassesItNothingSubclassesTheParentUntilTheBarGoes)
{
    EXPECT_TRUE(frame.cmdBar.IsParentSubclassed());
    EXPECT_FALSE(RunsItsOwnProcedure(frame));
    frame.cmdBar.DestroyWindow();
    EXPECT_FALSE(frame.cmdBar.IsParentSubclassed());
    EXPECT_TRUE(RunsItsOwnProcedure(frame)) << "the subclass went with the bar";
}

// A frame that chains the bar's parent map keeps its own procedure, and the bar still gets each
// key and owner-draw message once, before the frame's own handlers, which still see the rest.
TEST_F(ChainingFrameTest, ABarWhoseParentPassesItsMessagesLeavesTheParentsProcedureAlone)
{
    EXPECT_FALSE(frame.cmdBar.IsParentSubclassed());
    EXPECT_TRUE(RunsItsOwnProcedure(frame));

    frame.list.SetFocus();
    TypeKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_TRUE(frame.cmdBar.IsKeyboardMode()) << "Alt, seen once";
    TypeKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_FALSE(frame.cmdBar.IsKeyboardMode());
    EXPECT_EQ(frame.list.m_hWnd, ::GetFocus());
    EXPECT_EQ(2, MenuOpenedByAltT(frame.cmdBar)) << "Alt+T opened Tools";
    EXPECT_TRUE(frame.commands.empty());

    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(nullptr, icon);
    frame.cmdBar.AddIcon(icon, ID_FILE_OPEN);
    MenuItemAnswers withIcon = AskOwnerForMenuItem(frame, ID_FILE_OPEN);
    EXPECT_EQ(TRUE, withIcon.measured);
    EXPECT_EQ(static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON)), withIcon.width);
    EXPECT_EQ(TRUE, withIcon.drawn);
    MenuItemAnswers without = AskOwnerForMenuItem(frame, ID_FILE_NEW);
    EXPECT_EQ(0u, without.width) << "an item without an icon is not the bar's";
    EXPECT_EQ(FALSE, without.drawn);

    CStatusBarCtrl status(frame.m_hWndStatusBar);
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING),
                      reinterpret_cast<LPARAM>(frame.cmdBar.GetMenu()));
    EXPECT_TRUE(status.IsSimple()) << "the frame's prompt still follows the highlight";
    frame.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(status.IsSimple());
    frame.cmdBar.RemoveAllImages();
    ::DestroyIcon(icon);
}

// The frame's map goes on passing its messages after the bar's window is gone (the frame outlives
// its children): the bar answers none of them then.
TEST_F(ChainingFrameTest, OnceTheBarsWindowIsGoneTheParentsMessagesPassItBy)
{
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(nullptr, icon);
    frame.cmdBar.AddIcon(icon, ID_FILE_OPEN);
    frame.cmdBar.DestroyWindow();
    MenuItemAnswers answers = AskOwnerForMenuItem(frame, ID_FILE_OPEN);
    EXPECT_EQ(0u, answers.width);
    EXPECT_EQ(FALSE, answers.drawn);
    EXPECT_TRUE(RunsItsOwnProcedure(frame));
    frame.DestroyWindow();
    PumpMessages();
    ::DestroyIcon(icon);
}

// An owner-drawn list inside a pane container: its draw-item messages travel up to the frame,
// which reflects them back.
class CPaneRows : public CWindowImpl<CPaneRows, CListViewCtrl>, public COwnerDraw<CPaneRows> {
public:
    int drawn = 0;
    // clang-format off
    BEGIN_MSG_MAP(CPaneRows)
        CHAIN_MSG_MAP_ALT(COwnerDraw<CPaneRows>, 1)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    // clang-format on
    void DrawItem(LPDRAWITEMSTRUCT dis)
    {
        ++drawn;
        ::FillRect(dis->hDC, &dis->rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    }
};

TEST_F(FrameTest, OwnerDrawnControlsInPanesDrawThemselves)
{
    CPaneRows rows;
    ASSERT_TRUE(rows.Create(frame.rightPane, CRect(0, 0, 100, 100), nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER, 0, 33772));
    rows.InsertColumn(0, L"Stat", LVCFMT_LEFT, 200);
    rows.InsertItem(0, L"Fuel economy");
    frame.rightPane.SetClient(rows);
    ::ShowWindow(frame.edit, SW_HIDE);
    rows.Invalidate();
    rows.UpdateWindow();
    PumpMessages();
    EXPECT_GE(rows.drawn, 1);
    frame.rightPane.SetClient(frame.edit);
    rows.DestroyWindow();
}

}  // namespace
