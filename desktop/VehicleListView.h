// CVehicleListView: the "My Vehicles" pane, one row per vehicle of the database.
//
// The view owns every loaded vehicle (its member list); each row's item data points at its
// vehicle in that list, and rows own nothing. The main frame creates the control with
// LVS_SORTASCENDING, so the rows stay in the order of their captions whatever the loading order.
#pragma once

#include "business/AlkBiz.h"
#include "desktop/CustomListView.h"

class CVehicleListView : public CCustomListView {
public:
    CVehicleListView();
    ~CVehicleListView() override;

    // Once, after a database has been connected: the column, the image list and all vehicles.
    void Initialize();
    // Removes every row and vehicle, then loads all vehicles of the database. FALSE when the
    // load failed (the list is then empty).
    BOOL LoadVehicles();
    // The loaded vehicle with that reference id; null when none.
    CVehicle* FindVehicle(unsigned long refID);
    // Takes ownership of a newly saved vehicle and shows its row selected and in view.
    void AddVehicle(CVehicle* vehicle);
    // Writes the row of a vehicle of the list anew (its caption may have changed). With replace,
    // the old row is removed first and the new one is selected and shown; -1 when the vehicle
    // has no row. Returns the new row's index.
    int RefreshVehicle(CVehicle* vehicle, BOOL replace);

    void PrepareContextMenu(HMENU popup) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void MeasureItem(LPMEASUREITEMSTRUCT) override {}

    // clang-format off
    BEGIN_MSG_MAP(CVehicleListView)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(CCustomListView)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    int InsertVehicleRow(int index, CVehicle* vehicle);

    CObjectListT<CVehicle> m_vehicles;
};
