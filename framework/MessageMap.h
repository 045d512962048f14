// Message maps: the macros that turn a class's ProcessWindowMessage into a list of tests.
//
//   BEGIN_MSG_MAP(CMyWindow)
//       MESSAGE_HANDLER(WM_CREATE, OnCreate)            LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
//       MESSAGE_HANDLER(WM_RELOAD_DATA, OnReload)       ids from RegisterWindowMessage work: tests are run-time
//       COMMAND_ID_HANDLER(ID_EDIT, OnEdit)             LRESULT OnEdit(WORD code, WORD id, HWND ctl, BOOL& handled)
//       COMMAND_RANGE_HANDLER(ID_FIRST, ID_LAST, OnAny) ids first..last inclusive
//       COMMAND_CODE_HANDLER(EN_CHANGE, OnChange)       any control's notification code
//       NOTIFY_HANDLER(IDC_LIST, NM_CLICK, OnClick)     LRESULT OnClick(int id, LPNMHDR hdr, BOOL& handled)
//       NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnTip)    any control
//       CHAIN_MSG_MAP(CBaseClass)                       a base's map (default map 0)
//       CHAIN_MSG_MAP_MEMBER(m_member)                  a member's map
//       CHAIN_MSG_MAP_ALT_MEMBER(m_member, 1)           a member's alternate map (a command bar's
//                                                       map of its parent's messages)
//       REFLECT_NOTIFICATIONS()                         send control notifications back to the control
//   ALT_MSG_MAP(1)                                      a second map of the same class (for chaining with an id)
//       ...
//   END_MSG_MAP()
//
// Tests run in order; the first entry whose handler leaves `handled` TRUE (it is TRUE when the
// handler is called) ends the search, and the handler's result becomes the message's result
// (for a dialog, DWLP_MSGRESULT where the platform reads it there). A handler that sets
// `handled` to FALSE lets the search go on. A message no entry takes goes to the default
// procedure (the window's class procedure, or FALSE for a dialog).
//
// Reflection: REFLECT_NOTIFICATIONS() in a parent's map sends WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, scroll and colour messages to
// the control they came from as OCM_<message> (message + OCM__BASE), and returns the control's
// answer to the original sender (custom-draw flags, draw-item TRUE, ...). The control's own
// map takes them with REFLECTED_COMMAND_CODE_HANDLER / REFLECTED_NOTIFY_CODE_HANDLER or
// MESSAGE_HANDLER(OCM_DRAWITEM, ...); DEFAULT_REFLECTION_HANDLER() gives every other reflected
// message to the default window procedure as the original message.
#pragma once

#include <windows.h>

#ifndef OCM__BASE
#define OCM__BASE             (WM_USER + 0x1c00)
#define OCM_COMMAND           (OCM__BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN       (OCM__BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT      (OCM__BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG       (OCM__BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX   (OCM__BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX    (OCM__BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM__BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC    (OCM__BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM          (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM       (OCM__BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM        (OCM__BASE + WM_DELETEITEM)
#define OCM_VKEYTOITEM        (OCM__BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM        (OCM__BASE + WM_CHARTOITEM)
#define OCM_COMPAREITEM       (OCM__BASE + WM_COMPAREITEM)
#define OCM_HSCROLL           (OCM__BASE + WM_HSCROLL)
#define OCM_VSCROLL           (OCM__BASE + WM_VSCROLL)
#define OCM_PARENTNOTIFY      (OCM__BASE + WM_PARENTNOTIFY)
#define OCM_NOTIFY            (OCM__BASE + WM_NOTIFY)
#endif

// Something that answers window messages. Windows, dialogs and the mix-ins that keep a map
// derive from it.
class CMessageMap {
public:
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                      DWORD dwMsgMapID) = 0;

protected:
    ~CMessageMap() = default;
};

// Sends a control's notification back to the control (see the top of this file). handled is
// FALSE when the message is not one that is reflected or names no control.
LRESULT AlkReflectNotifications(HWND parent, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled);

// For OCM_ messages: the default procedure of hWnd's class with the original message.
BOOL AlkDefaultReflectionHandler(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

#define BEGIN_MSG_MAP(theClass)                                                                     \
public:                                                                                             \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, \
                              DWORD dwMsgMapID = 0)                                                 \
    {                                                                                               \
        BOOL bHandled = TRUE;                                                                       \
        (void)hWnd;                                                                                 \
        (void)uMsg;                                                                                 \
        (void)wParam;                                                                               \
        (void)lParam;                                                                               \
        (void)lResult;                                                                              \
        (void)bHandled;                                                                             \
        switch (dwMsgMapID) {                                                                       \
        case 0:

#define ALT_MSG_MAP(msgMapID) \
    break;                    \
    case msgMapID:

#define END_MSG_MAP() \
    break;            \
    default: break;   \
        }             \
        return FALSE; \
        }

#define ALK_CALL_HANDLER(call)     \
    {                              \
        bHandled = TRUE;           \
        lResult = call;            \
        if (bHandled) return TRUE; \
    }

#define MESSAGE_HANDLER(msg, func) \
    if (uMsg == (msg)) ALK_CALL_HANDLER(func(uMsg, wParam, lParam, bHandled))

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func) \
    if (uMsg >= (msgFirst) && uMsg <= (msgLast)) ALK_CALL_HANDLER(func(uMsg, wParam, lParam, bHandled))

#define COMMAND_HANDLER(id, code, func)                                                       \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id) && HIWORD(wParam) == (WORD)(code)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define COMMAND_ID_HANDLER(id, func)                        \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define COMMAND_CODE_HANDLER(code, func)                      \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (WORD)(code)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                                 \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (WORD)(idFirst) && LOWORD(wParam) <= (WORD)(idLast)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define COMMAND_RANGE_CODE_HANDLER(idFirst, idLast, code, func)                                      \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (WORD)(code) && LOWORD(wParam) >= (WORD)(idFirst) && \
        LOWORD(wParam) <= (WORD)(idLast))                                                            \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define ALK_NMHDR(lp) (reinterpret_cast<LPNMHDR>(lp))

#define NOTIFY_HANDLER(id, cd, func)                                                                               \
    if (uMsg == WM_NOTIFY && ALK_NMHDR(lParam)->idFrom == (UINT_PTR)(id) && ALK_NMHDR(lParam)->code == (UINT)(cd)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define NOTIFY_ID_HANDLER(id, func)                                       \
    if (uMsg == WM_NOTIFY && ALK_NMHDR(lParam)->idFrom == (UINT_PTR)(id)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define NOTIFY_CODE_HANDLER(cd, func)                               \
    if (uMsg == WM_NOTIFY && ALK_NMHDR(lParam)->code == (UINT)(cd)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define NOTIFY_RANGE_HANDLER(idFirst, idLast, func)                              \
    if (uMsg == WM_NOTIFY && ALK_NMHDR(lParam)->idFrom >= (UINT_PTR)(idFirst) && \
        ALK_NMHDR(lParam)->idFrom <= (UINT_PTR)(idLast))                         \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define NOTIFY_RANGE_CODE_HANDLER(idFirst, idLast, cd, func)                                                 \
    if (uMsg == WM_NOTIFY && ALK_NMHDR(lParam)->code == (UINT)(cd) &&                                        \
        ALK_NMHDR(lParam)->idFrom >= (UINT_PTR)(idFirst) && ALK_NMHDR(lParam)->idFrom <= (UINT_PTR)(idLast)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define CHAIN_MSG_MAP(theChainClass)                                                                  \
    {                                                                                                 \
        if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) return TRUE; \
    }

#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapID)                                                           \
    {                                                                                                        \
        if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) return TRUE; \
    }

#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                                            \
    {                                                                                                   \
        if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) return TRUE; \
    }

#define CHAIN_MSG_MAP_ALT_MEMBER(theChainMember, msgMapID)                                                     \
    {                                                                                                          \
        if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) return TRUE; \
    }

#define REFLECT_NOTIFICATIONS() ALK_CALL_HANDLER(AlkReflectNotifications(hWnd, uMsg, wParam, lParam, bHandled))

#define DEFAULT_REFLECTION_HANDLER() \
    if (AlkDefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define REFLECTED_COMMAND_CODE_HANDLER(code, func)             \
    if (uMsg == OCM_COMMAND && HIWORD(wParam) == (WORD)(code)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define REFLECTED_COMMAND_ID_HANDLER(id, func)               \
    if (uMsg == OCM_COMMAND && LOWORD(wParam) == (WORD)(id)) \
    ALK_CALL_HANDLER(func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled))

#define REFLECTED_NOTIFY_CODE_HANDLER(cd, func)                      \
    if (uMsg == OCM_NOTIFY && ALK_NMHDR(lParam)->code == (UINT)(cd)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))

#define REFLECTED_NOTIFY_ID_HANDLER(id, func)                              \
    if (uMsg == OCM_NOTIFY && ALK_NMHDR(lParam)->idFrom == (UINT_PTR)(id)) \
    ALK_CALL_HANDLER(func((int)wParam, ALK_NMHDR(lParam), bHandled))
