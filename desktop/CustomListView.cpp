#include "desktop/CustomListView.h"

#include "desktop/AppSettings.h"
#include "desktop/DataFileMessages.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Gdi.h"
#include "framework/Module.h"
#include "resources/desktop/resource.h"

CCustomListView::CCustomListView()
    : m_contextSubMenu(-1), m_commandBar(nullptr), m_notice(LoadResString(IDS_EMPTY_LIST))
{
    const int size = g_AppSettings.SmallIconSize;
    m_imageList.Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
}

CCustomListView::~CCustomListView()
{
    m_imageList.RemoveAll();
    m_imageList.Destroy();
}

int CCustomListView::FindItemByParam(LPARAM param) const
{
    return FindItemByData(static_cast<DWORD_PTR>(param), -1);
}

void* CCustomListView::GetSelectedItemData() const
{
    const int row = GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return nullptr;
    return reinterpret_cast<void*>(GetItemData(row));
}

void CCustomListView::ShowLoadResult(BOOL loaded)
{
    CString notice = LoadResString(IDS_EMPTY_LIST);
    if (!loaded)
        notice.Format(LoadResString(IDS_LIST_UNREADABLE), DescribeFailure(g_DataLayer.GetLastFailure()).GetString());
    if (notice == m_notice) return;
    m_notice = notice;
    if (IsWindow() && GetItemCount() == 0) Invalidate(TRUE);
}

void CCustomListView::ClearSelection()
{
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(-1, LVNI_SELECTED)) {
        if (!SetItemState(row, 0, LVIS_SELECTED)) break;  // a row that will not let go would loop for ever
    }
}

void CCustomListView::AutoSizeColumn(int column)
{
    if (column == -1) return;
    CHeaderCtrl header = GetHeader();
    if (!header.m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    int width = client.Width();
    const int columns = header.GetItemCount();
    for (int i = 0; i < columns; ++i) {
        if (i != column) width -= GetColumnWidth(i);
    }
    SetColumnWidth(column, width - 5);
}

void CCustomListView::NudgeLayout()
{
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<LPPOINT>(&rc), 2);
    MoveWindow(rc.left, rc.top + 1, rc.Width(), rc.Height(), TRUE);
    MoveWindow(rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

int CCustomListView::AddIconResource(UINT id)
{
    const int size = g_AppSettings.SmallIconSize;
    HICON icon = static_cast<HICON>(
        ::LoadImageW(AlkGetResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (!icon) return -1;
    const int index = m_imageList.AddIcon(icon);  // the list keeps a copy
    ::DestroyIcon(icon);
    return index;
}

void CCustomListView::InstallImageList()
{
    // Without this style the control would destroy the list with itself, before our destructor.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    SetImageList(m_imageList, LVSIL_SMALL);
}

LRESULT CCustomListView::OnContextMenu(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (m_contextSubMenu < 0) return 0;

    CPoint pt;
    ::GetCursorPos(&pt);
    const bool fromKeyboard = static_cast<short>(LOWORD(lParam)) == -1 && static_cast<short>(HIWORD(lParam)) == -1;
    if (fromKeyboard) {
        CPoint client = pt;
        ScreenToClient(&client);
        if (HitTest(client) < 0) {
            // Nothing under the cursor: show the menu by the selected row, or at the corner.
            CPoint at(0, 0);
            const int selected = GetNextItem(-1, LVNI_SELECTED);
            CRect icon;
            if (selected >= 0 && GetItemRect(selected, &icon, LVIR_ICON)) at = CPoint(icon.left, icon.bottom);
            ClientToScreen(&at);
            pt = at;
        }
    }

    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENUS)) return 0;
    HMENU popup = menu.GetSubMenu(m_contextSubMenu);
    if (popup) {
        PrepareContextMenu(popup);
        if (m_commandBar && m_commandBar->m_hWnd)
            m_commandBar->TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, pt.x, pt.y);
    }
    return 0;  // the loaded menu is destroyed with `menu`
}

LRESULT CCustomListView::OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL&)
{
    if (GetStyle() & WS_HSCROLL) ModifyStyle(WS_HSCROLL, 0);
    return 0;
}

LRESULT CCustomListView::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (GetItemCount() != 0) {
        bHandled = FALSE;
        return 0;
    }
    DrawEmptyNotice(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CCustomListView::OnHeaderCustomDraw(int, LPNMHDR header, BOOL& handled)
{
    // Only the header's, and only while it has no columns; anything else (the tooltips of the
    // label tips) goes on as before.
    CHeaderCtrl own = GetHeader();
    const NMCUSTOMDRAW* draw = reinterpret_cast<const NMCUSTOMDRAW*>(header);
    if (!own.m_hWnd || header->hwndFrom != own.m_hWnd || draw->dwDrawStage != CDDS_PREPAINT ||
        own.GetItemCount() != 0) {
        handled = FALSE;
        return 0;
    }
    // The whole strip as a header paints the space after its last column: the face colour
    // with a button's edge (a clickable header) or an etched line below.
    RECT strip;
    own.GetClientRect(&strip);
    if (own.GetStyle() & HDS_BUTTONS)
        ::DrawEdge(draw->hdc, &strip, EDGE_RAISED, BF_TOP | BF_LEFT | BF_BOTTOM | BF_SOFT | BF_MIDDLE);
    else
        ::DrawEdge(draw->hdc, &strip, EDGE_ETCHED, BF_BOTTOM | BF_MIDDLE);
    return CDRF_SKIPDEFAULT;
}

void CCustomListView::DrawEmptyNotice(HDC hdc)
{
    // The DC is the caller's: its state is put back, and it is neither released nor deleted.
    CDCHandle dc(hdc);
    const int saved = dc.SaveDC();

    CRect rc;
    GetWindowRect(&rc);
    ScreenToClient(&rc);
    dc.FillSolidRect(rc, ::GetSysColor(COLOR_WINDOW));
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    dc.SetBkMode(TRANSPARENT);

    CHeaderCtrl header = GetHeader();
    CRect headerItem;
    if (header.m_hWnd && header.GetItemRect(0, &headerItem)) {
        rc.top += headerItem.bottom;
    } else if (header.m_hWnd && header.IsWindowVisible()) {
        // A header without columns yet covers its strip all the same (the entry list's until a
        // database is connected): the notice goes below it, not under it.
        CRect strip;
        header.GetWindowRect(&strip);
        rc.top += strip.Height();
    }
    rc.top += 10;

    dc.SelectFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    dc.DrawText(m_notice, m_notice.GetLength(), rc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    dc.RestoreDC(saved);
}
