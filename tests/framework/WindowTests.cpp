// CWindowImpl and message maps, driven through real windows: routing by message, command id,
// id range and code, notifications by id and code, handlers passing a message on, chaining to
// a base and a member map, alternate maps, reflection to controls (results back to the
// sender), subclassing and superclassing, exceptions kept inside the window procedure.
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Controls.h"
#include "framework/WindowImpl.h"
#include "tests/support/Assertions.h"
#include "TestUtil.h"

namespace {

const UINT WM_TEST_PLAIN = WM_APP + 1;
const UINT WM_TEST_PASS = WM_APP + 2;
const UINT WM_TEST_BASE = WM_APP + 3;
const UINT WM_TEST_MEMBER = WM_APP + 4;
const UINT WM_TEST_THROW = WM_APP + 5;
const UINT WM_REGISTERED = ::RegisterWindowMessageW(L"Alk.Test.Registered");

// A map chained from a member: answers one message, records who called.
class CMemberMap {
public:
    std::vector<std::wstring>* log = nullptr;

    // clang-format off
    BEGIN_MSG_MAP(CMemberMap)
        MESSAGE_HANDLER(WM_TEST_MEMBER, OnMember)
        COMMAND_ID_HANDLER(300, OnMemberCommand)
    END_MSG_MAP()
    // clang-format on

    LRESULT OnMember(UINT, WPARAM wp, LPARAM, BOOL&)
    {
        log->push_back(L"member");
        return wp * 3;
    }
    LRESULT OnMemberCommand(WORD, WORD, HWND, BOOL&)
    {
        log->push_back(L"member-command");
        return 0;
    }
};

// A base class map chained first by CRouter's own entries.
class CRouterBase {
public:
    std::vector<std::wstring> log;

    // clang-format off
    BEGIN_MSG_MAP(CRouterBase)
        MESSAGE_HANDLER(WM_TEST_BASE, OnBase)
        MESSAGE_HANDLER(WM_TEST_PASS, OnPassBase)
        COMMAND_ID_HANDLER(100, OnBaseHundred)
    ALT_MSG_MAP(2)
        MESSAGE_HANDLER(WM_TEST_BASE, OnBaseAlt)
    END_MSG_MAP()
    // clang-format on

    LRESULT OnBase(UINT, WPARAM, LPARAM, BOOL&)
    {
        log.push_back(L"base");
        return 77;
    }
    LRESULT OnBaseAlt(UINT, WPARAM, LPARAM, BOOL&)
    {
        log.push_back(L"base-alt");
        return 55;
    }
    LRESULT OnPassBase(UINT, WPARAM, LPARAM, BOOL&)
    {
        log.push_back(L"pass-base");
        return 5;
    }
    LRESULT OnBaseHundred(WORD, WORD, HWND, BOOL&)
    {
        log.push_back(L"base-100");
        return 0;
    }
};

class CRouter : public CWindowImpl<CRouter>, public CRouterBase {
public:
    DECLARE_WND_CLASS(L"AlkTest.Router")

    CMemberMap member;
    int finalMessages = 0;
    int exceptions = 0;
    HWND lastFrom = nullptr;

    CRouter() { member.log = &log; }

    // clang-format off
    BEGIN_MSG_MAP(CRouter)
        MESSAGE_HANDLER(WM_TEST_PLAIN, OnPlain)
        MESSAGE_HANDLER(WM_REGISTERED, OnRegistered)
        MESSAGE_HANDLER(WM_TEST_PASS, OnPass)
        MESSAGE_HANDLER(WM_TEST_THROW, OnThrow)
        COMMAND_ID_HANDLER(100, OnHundred)
        COMMAND_HANDLER(101, BN_CLICKED, OnClicked101)
        COMMAND_RANGE_HANDLER(200, 205, OnRange)
        COMMAND_CODE_HANDLER(EN_CHANGE, OnChange)
        NOTIFY_HANDLER(10, NM_CLICK, OnClickTen)
        NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDoubleClick)
        NOTIFY_ID_HANDLER(11, OnAnyFromEleven)
        NOTIFY_RANGE_HANDLER(20, 29, OnNotifyRange)
        COMMAND_RANGE_CODE_HANDLER(400, 410, EN_KILLFOCUS, OnRangeKillFocus)
        CHAIN_MSG_MAP_MEMBER(member)
        CHAIN_MSG_MAP(CRouterBase)
    ALT_MSG_MAP(1)
        MESSAGE_HANDLER(WM_CHAR, OnAltChar)
        CHAIN_MSG_MAP_ALT(CRouterBase, 2)
    END_MSG_MAP()
    // clang-format on

    LRESULT OnPlain(UINT msg, WPARAM wp, LPARAM lp, BOOL&)
    {
        log.push_back(L"plain");
        return msg == WM_TEST_PLAIN ? static_cast<LRESULT>(wp + lp) : -1;
    }
    LRESULT OnRegistered(UINT, WPARAM, LPARAM, BOOL&)
    {
        log.push_back(L"registered");
        return 1234;
    }
    LRESULT OnPass(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        log.push_back(L"pass");
        handled = FALSE;  // let the base have it
        return 999;
    }
    LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT OnHundred(WORD code, WORD id, HWND ctl, BOOL&)
    {
        log.push_back(L"100:" + std::to_wstring(code) + L":" + std::to_wstring(id));
        lastFrom = ctl;
        return 0;
    }
    LRESULT OnClicked101(WORD, WORD, HWND, BOOL&)
    {
        log.push_back(L"101-clicked");
        return 0;
    }
    LRESULT OnRange(WORD, WORD id, HWND, BOOL&)
    {
        log.push_back(L"range:" + std::to_wstring(id));
        return 0;
    }
    LRESULT OnChange(WORD, WORD id, HWND, BOOL&)
    {
        log.push_back(L"change:" + std::to_wstring(id));
        return 0;
    }
    LRESULT OnClickTen(int id, LPNMHDR hdr, BOOL&)
    {
        log.push_back(L"click-10");
        return id == 10 && hdr->code == NM_CLICK ? 42 : -1;
    }
    LRESULT OnDoubleClick(int id, LPNMHDR, BOOL&)
    {
        log.push_back(L"dblclk:" + std::to_wstring(id));
        return 7;
    }
    LRESULT OnAnyFromEleven(int, LPNMHDR hdr, BOOL&)
    {
        log.push_back(L"eleven:" + std::to_wstring(static_cast<int>(hdr->code)));
        return 8;
    }
    LRESULT OnNotifyRange(int id, LPNMHDR, BOOL&)
    {
        log.push_back(L"nrange:" + std::to_wstring(id));
        return 3;
    }
    LRESULT OnRangeKillFocus(WORD, WORD id, HWND, BOOL&)
    {
        log.push_back(L"killfocus:" + std::to_wstring(id));
        return 0;
    }
    LRESULT OnAltChar(UINT, WPARAM wp, LPARAM, BOOL& handled)
    {
        log.push_back(std::wstring(L"alt-char:") + static_cast<wchar_t>(wp));
        handled = wp == L'x';  // swallow x, pass everything else to the control
        return 0;
    }

    void OnFinalMessage(HWND) override { ++finalMessages; }
    void OnException(UINT) override { ++exceptions; }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(router.Create(nullptr, CRect(10, 10, 300, 200), L"Router", WS_OVERLAPPEDWINDOW));
    }
    void TearDown() override
    {
        if (router.IsWindow()) router.DestroyWindow();
    }
    CRouter router;
};

TEST_F(WindowTest, CreateBindsTheObjectAndDefaultProcessingRuns)
{
    EXPECT_TRUE(::IsWindow(router.m_hWnd));
    EXPECT_EQ(&router,
              static_cast<CRouter*>(static_cast<CWindowImplRootBase*>(CWindowImplRootBase::FromHandle(router))));
    // WM_SETTEXT/WM_GETTEXT are not in the map: DefWindowProc stores the text.
    router.SetWindowText(L"Renamed");
    CString text;
    router.GetWindowText(text);
    EXPECT_STREQ(L"Renamed", text);
    wchar_t cls[64];
    ::GetClassNameW(router, cls, 64);
    EXPECT_STREQ(L"AlkTest.Router", cls);
    // The process that made it; none for no window.
    EXPECT_EQ(::GetCurrentProcessId(), router.GetWindowProcessID());
    EXPECT_EQ(0u, CWindow().GetWindowProcessID());
}

TEST_F(WindowTest, MessagesReachTheirHandlersWithResults)
{
    EXPECT_EQ(5, router.SendMessage(WM_TEST_PLAIN, 2, 3));
    EXPECT_EQ(1234, router.SendMessage(WM_REGISTERED));
    EXPECT_EQ(77, router.SendMessage(WM_TEST_BASE));
    EXPECT_EQ(12, router.SendMessage(WM_TEST_MEMBER, 4));
    EXPECT_EQ((std::vector<std::wstring>{L"plain", L"registered", L"base", L"member"}), router.log);
}

TEST_F(WindowTest, AHandlerThatDeclinesPassesTheMessageOn)
{
    EXPECT_EQ(5, router.SendMessage(WM_TEST_PASS)) << "the base's result, not the declining handler's";
    EXPECT_EQ((std::vector<std::wstring>{L"pass", L"pass-base"}), router.log);
}

TEST_F(WindowTest, CommandsRouteByIdRangeAndCode)
{
    HWND fakeCtl = reinterpret_cast<HWND>(0x1234);
    SendCommand(router, 100, 0, fakeCtl);
    SendCommand(router, 101, BN_DOUBLECLICKED);  // wrong code: not OnClicked101
    SendCommand(router, 101, BN_CLICKED);
    SendCommand(router, 199);
    SendCommand(router, 200);
    SendCommand(router, 205);
    SendCommand(router, 206);
    SendCommand(router, 555, EN_CHANGE);
    SendCommand(router, 300);
    EXPECT_EQ((std::vector<std::wstring>{L"100:0:100", L"101-clicked", L"range:200", L"range:205", L"change:555",
                                         L"member-command"}),
              router.log);
    EXPECT_EQ(fakeCtl, router.lastFrom);
}

TEST_F(WindowTest, OwnEntriesComeBeforeTheChainedBase)
{
    SendCommand(router, 100);
    EXPECT_EQ((std::vector<std::wstring>{L"100:0:100"}), router.log) << "the base's 100 handler is never reached";
}

TEST_F(WindowTest, NotificationsRouteByIdAndCode)
{
    EXPECT_EQ(42, SendNotify(router, nullptr, 10, NM_CLICK));
    EXPECT_EQ(7, SendNotify(router, nullptr, 12, NM_DBLCLK));
    EXPECT_EQ(8, SendNotify(router, nullptr, 11, NM_RETURN));
    EXPECT_EQ(0, SendNotify(router, nullptr, 12, NM_RETURN)) << "nobody takes it: default procedure";
    EXPECT_EQ((std::vector<std::wstring>{L"click-10", L"dblclk:12", L"eleven:" + std::to_wstring(int(NM_RETURN))}),
              router.log);
}

TEST_F(WindowTest, RangesWithCodesAndAlternateChains)
{
    EXPECT_EQ(3, SendNotify(router, nullptr, 25, NM_RETURN));
    EXPECT_EQ(0, SendNotify(router, nullptr, 30, NM_RETURN));
    SendCommand(router, 405, EN_KILLFOCUS);
    SendCommand(router, 405, EN_SETFOCUS);
    SendCommand(router, 411, EN_KILLFOCUS);
    EXPECT_EQ((std::vector<std::wstring>{L"nrange:25", L"killfocus:405"}), router.log);

    // Map 1 chains the base's map 2; map 0 reaches the base's map 0.
    LRESULT r = 0;
    EXPECT_TRUE(router.ProcessWindowMessage(router, WM_TEST_BASE, 0, 0, r, 1));
    EXPECT_EQ(55, r);
    EXPECT_EQ(77, router.SendMessage(WM_TEST_BASE));
    EXPECT_FALSE(router.ProcessWindowMessage(router, WM_TEST_PLAIN, 0, 0, r, 1)) << "map 1 does not have it";
}

TEST_F(WindowTest, AnExceptionStaysInsideTheWindowProcedure)
{
    LRESULT r = router.SendMessage(WM_TEST_THROW);
    EXPECT_EQ(0, r) << "default processing of an unknown message";
    EXPECT_EQ(1, router.exceptions);
    EXPECT_EQ(5, router.SendMessage(WM_TEST_PLAIN, 2, 3)) << "the window still works";
}

TEST_F(WindowTest, DestroyingTheWindowReleasesTheObject)
{
    HWND h = router;
    router.DestroyWindow();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(nullptr, router.m_hWnd);
    EXPECT_EQ(1, router.finalMessages);
    EXPECT_EQ(nullptr, CWindowImplRootBase::FromHandle(h));
}

// A thread that ends with its windows still open sends them no message: the bindings of those
// windows must go with the thread, or a new window given the same handle would reach the old object.
TEST(WindowThreadTest, TheWindowsOfAThreadThatEndsAreUnboundWithIt)
{
    CRouter orphaned;
    HWND h = nullptr;
    std::thread maker([&] {
        if (orphaned.Create(nullptr, CRect(10, 10, 200, 100), L"Orphan", WS_OVERLAPPEDWINDOW)) h = orphaned;
    });
    maker.join();
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(nullptr, CWindowImplRootBase::FromHandle(h));
    EXPECT_EQ(0, orphaned.finalMessages);
}

TEST_F(WindowTest, AContainedWindowUsesTheAlternateMap)
{
    HWND edit =
        ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, router, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    CContainedWindow contained(&router, 1);
    ASSERT_TRUE(contained.SubclassWindow(edit));
    ::SendMessageW(edit, WM_CHAR, L'a', 0);
    ::SendMessageW(edit, WM_CHAR, L'x', 0);
    ::SendMessageW(edit, WM_CHAR, L'b', 0);
    CString text;
    CWindow(edit).GetWindowText(text);
    EXPECT_STREQ(L"ab", text) << "x was swallowed by the alternate map, the rest reached the edit";
    std::vector<std::wstring> chars;
    for (const auto& entry : router.log)
        if (entry.compare(0, 9, L"alt-char:") == 0) chars.push_back(entry);
    EXPECT_EQ((std::vector<std::wstring>{L"alt-char:a", L"alt-char:x", L"alt-char:b"}), chars);
    EXPECT_EQ(5u, router.log.size()) << "and the edit's two EN_CHANGE went to the default map";

    EXPECT_EQ(edit, contained.UnsubclassWindow());
    ::SendMessageW(edit, WM_CHAR, L'x', 0);
    CWindow(edit).GetWindowText(text);
    EXPECT_STREQ(L"abx", text) << "unsubclassed: the edit's own procedure again";
    EXPECT_EQ(6u, router.log.size()) << "no alternate-map call after unsubclassing, one more EN_CHANGE in map 0";
}

// --- subclassing, superclassing, reflection ---------------------------------------------------

// An edit that takes digits only; its reflected EN_CHANGE counts changes.
class CDigitEdit : public CWindowImpl<CDigitEdit, CEdit> {
public:
    int changes = 0;
    int finals = 0;
    // clang-format off
    BEGIN_MSG_MAP(CDigitEdit)
        MESSAGE_HANDLER(WM_CHAR, OnChar)
        REFLECTED_COMMAND_CODE_HANDLER(EN_CHANGE, OnReflectedChange)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    // clang-format on
    LRESULT OnChar(UINT, WPARAM wp, LPARAM, BOOL& handled)
    {
        handled = !(wp >= L'0' && wp <= L'9');
        return 0;
    }
    LRESULT OnReflectedChange(WORD, WORD, HWND, BOOL&)
    {
        ++changes;
        return 0;
    }
    void OnFinalMessage(HWND) override { ++finals; }
};

// A parent that reflects everything to its children.
class CReflectingParent : public CWindowImpl<CReflectingParent> {
public:
    int commandsSeen = 0;
    // clang-format off
    BEGIN_MSG_MAP(CReflectingParent)
        MESSAGE_HANDLER(WM_COMMAND, OnCommandSeen)
        REFLECT_NOTIFICATIONS()
    END_MSG_MAP()
    // clang-format on
    LRESULT OnCommandSeen(UINT, WPARAM wp, LPARAM, BOOL& handled)
    {
        if (HIWORD(wp) == EN_CHANGE) ++commandsSeen;
        handled = FALSE;  // still reflect
        return 0;
    }
};

// A list view whose custom draw and draw-item arrive reflected.
class CDrawnList : public CWindowImpl<CDrawnList, CListViewCtrl> {
public:
    int prePaints = 0;
    int itemPrePaints = 0;
    int drawItems = 0;
    // clang-format off
    BEGIN_MSG_MAP(CDrawnList)
        REFLECTED_NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCustomDraw)
        MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
        DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    // clang-format on
    LRESULT OnCustomDraw(int, LPNMHDR hdr, BOOL&)
    {
        auto* cd = reinterpret_cast<LPNMLVCUSTOMDRAW>(hdr);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            ++prePaints;
            return CDRF_NOTIFYITEMDRAW;
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) ++itemPrePaints;
        return CDRF_DODEFAULT;
    }
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++drawItems;
        return TRUE;
    }
};

class ReflectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create(nullptr, CRect(20, 20, 420, 320), L"Parent",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN));
    }
    void TearDown() override
    {
        if (parent.IsWindow()) parent.DestroyWindow();
    }
    CReflectingParent parent;
};

TEST_F(ReflectionTest, SubclassedEditFiltersKeysAndGetsItsReflectedCommand)
{
    HWND edit =
        ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, parent, nullptr, nullptr, nullptr);
    CDigitEdit digits;
    ASSERT_TRUE(digits.SubclassWindow(edit));
    {
        CExpectedAssertions broken;
        EXPECT_FALSE(CDigitEdit().SubclassWindow(edit)) << "one object per window";
        EXPECT_EQ(1, broken.Count());
    }
    for (wchar_t c : std::wstring(L"1a2b3")) digits.SendMessage(WM_CHAR, c, 0);
    CString text;
    digits.GetWindowText(text);
    EXPECT_STREQ(L"123", text);
    EXPECT_EQ(3, digits.changes) << "EN_CHANGE reflected from the parent to the edit";
    EXPECT_EQ(3, parent.commandsSeen);
    ::DestroyWindow(edit);
    EXPECT_EQ(nullptr, digits.m_hWnd);
    EXPECT_EQ(1, digits.finals);
}

WNDPROC g_belowOuter = nullptr;
int g_outerCalls = 0;
LRESULT CALLBACK OuterSubclass(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_CHAR) ++g_outerCalls;
    return ::CallWindowProcW(g_belowOuter, h, m, w, l);
}

TEST_F(ReflectionTest, AnObjectGoneUnderSomeoneElsesSubclassLeavesAWorkingControl)
{
    HWND edit =
        ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, parent, nullptr, nullptr, nullptr);
    {
        CDigitEdit digits;
        ASSERT_TRUE(digits.SubclassWindow(edit));
        g_belowOuter = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterSubclass)));
        ::SendMessageW(edit, WM_CHAR, L'x', 0);  // filtered by the object
    }  // the object goes while the outer subclass still points at its procedure
    ::SendMessageW(edit, WM_CHAR, L'y', 0);
    CString text;
    CWindow(edit).GetWindowText(text);
    EXPECT_STREQ(L"y", text) << "no filter any more, the edit's own procedure still works";
    EXPECT_EQ(2, g_outerCalls);
    ::DestroyWindow(edit);
}

TEST_F(ReflectionTest, ASuperclassedControlOutlivingItsObjectStillWorks)
{
    HWND edit;
    {
        CDigitEdit digits;
        ASSERT_TRUE(digits.Create(parent, CRect(5, 30, 105, 50), L"", WS_CHILD | WS_VISIBLE, 0, 56));
        edit = digits;
    }
    ::SendMessageW(edit, WM_CHAR, L'z', 0);
    CString text;
    CWindow(edit).GetWindowText(text);
    EXPECT_STREQ(L"z", text) << "the edit procedure still answers; the object's filter is gone";
    ::DestroyWindow(edit);
}

TEST_F(ReflectionTest, SuperclassedControlWorksAsTheControl)
{
    CDigitEdit digits;
    ASSERT_TRUE(digits.Create(parent, CRect(5, 30, 105, 50), L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 55));
    wchar_t cls[64];
    ::GetClassNameW(digits, cls, 64);
    EXPECT_STRNE(L"Edit", cls) << "a class of our own";
    EXPECT_EQ(55, digits.GetDlgCtrlID());
    digits.SendMessage(WM_CHAR, L'7', 0);
    digits.SendMessage(WM_CHAR, L'q', 0);
    digits.SetSel(0, -1);
    int start = -1, end = -1;
    digits.GetSel(start, end);
    EXPECT_EQ(0, start);
    EXPECT_EQ(1, end) << "the edit procedure handles its own messages";
    CString text;
    digits.GetWindowText(text);
    EXPECT_STREQ(L"7", text);
}

TEST_F(ReflectionTest, CustomDrawAnswersReachTheListView)
{
    CDrawnList list;
    ASSERT_TRUE(list.Create(parent, CRect(0, 0, 300, 200), nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 60));
    list.InsertColumn(0, L"Name", LVCFMT_LEFT, 100);
    list.InsertItem(0, L"one");
    list.InsertItem(1, L"two");
    list.Invalidate();
    list.UpdateWindow();
    PumpMessages();
    EXPECT_GE(list.prePaints, 1);
    EXPECT_GE(list.itemPrePaints, 2) << "CDRF_NOTIFYITEMDRAW went back through the parent to the list";
}

TEST_F(ReflectionTest, DrawItemIsReflectedAndItsResultReturned)
{
    CDrawnList list;
    ASSERT_TRUE(list.Create(parent, CRect(0, 0, 300, 200), nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 61));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_LISTVIEW;
    dis.CtlID = 61;
    dis.hwndItem = list;
    EXPECT_EQ(TRUE, parent.SendMessage(WM_DRAWITEM, 61, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_EQ(1, list.drawItems);
    // Menus (id 0) are not reflected.
    dis.CtlType = ODT_MENU;
    parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(1, list.drawItems);
}

}  // namespace
