#include "desktop/VehicleListView.h"

#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/Gdi.h"
#include "resources/desktop/resource.h"

CVehicleListView::CVehicleListView()
{
    m_contextSubMenu = 0;  // "VehicleListView"
}

CVehicleListView::~CVehicleListView() = default;  // the member list deletes the vehicles

void CVehicleListView::Initialize()
{
    SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    ModifyStyle(WS_HSCROLL, 0);
    InsertColumn(0, LoadResString(IDS_COLUMN_NAME), LVCFMT_LEFT, 50);
    AddIconResource(IDR_MAINFRAME);
    InstallImageList();
    LoadVehicles();
}

BOOL CVehicleListView::LoadVehicles()
{
    DeleteAllItems();
    m_vehicles.Clear();
    const BOOL loaded = g_DataLayer.Load(&m_vehicles);
    ShowLoadResult(loaded);
    if (!loaded) return FALSE;

    SetRedraw(FALSE);
    const int count = m_vehicles.GetCount();
    for (int i = 0; i < count; ++i) InsertVehicleRow(0, m_vehicles.Get(i));
    SetRedraw(TRUE);
    Invalidate(TRUE);
    NudgeLayout();
    return TRUE;
}

CVehicle* CVehicleListView::FindVehicle(unsigned long refID)
{
    const int count = m_vehicles.GetCount();
    for (int i = 0; i < count; ++i) {
        CVehicle* vehicle = m_vehicles.Get(i);
        if (vehicle->GetRefID() == refID) return vehicle;
    }
    return nullptr;
}

void CVehicleListView::AddVehicle(CVehicle* vehicle)
{
    m_vehicles.Add(vehicle);
    const int row = InsertVehicleRow(GetItemCount(), vehicle);
    SelectItem(row);  // selects, focuses and scrolls it into view
}

int CVehicleListView::RefreshVehicle(CVehicle* vehicle, BOOL replace)
{
    if (replace) {
        const int old = FindItemByParam(reinterpret_cast<LPARAM>(vehicle));
        if (old < 0) return -1;
        DeleteItem(old);
    }
    const int row = InsertVehicleRow(GetItemCount(), vehicle);
    if (replace) SelectItem(row);
    return row;
}

int CVehicleListView::InsertVehicleRow(int index, CVehicle* vehicle)
{
    const CString caption = FormatVehicleCaption(*vehicle);
    // The control places the row by its caption (sorted style) and says where it went.
    return InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, index, caption, 0, 0, 0, reinterpret_cast<LPARAM>(vehicle));
}

void CVehicleListView::PrepareContextMenu(HMENU popup)
{
    if (!GetSelectedItemData()) {
        CMenuHandle menu(popup);
        menu.EnableMenuItem(ID_EDIT_SELECTED, MF_BYCOMMAND | MF_GRAYED);
        menu.EnableMenuItem(ID_DELETE_SELECTED, MF_BYCOMMAND | MF_GRAYED);
    }
}

LRESULT CVehicleListView::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
    SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    if (GetItemCount() == 0) Invalidate(TRUE);  // the notice is centred: draw it anew
    return 0;
}
