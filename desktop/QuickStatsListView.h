// CQuickStatsListView: the "Quick Stats" pane. Ten fixed rows, each drawn as two lines: the
// figure's label in the bold interface font, its value below in the default GUI font, and a
// separator line under the row. The values are read from the main frame's CQuickStats at every
// repaint; without figures every value reads "N/A".
//
// The main frame creates the control with LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED |
// LVS_NOCOLUMNHEADER and WS_EX_STATICEDGE, reflects WM_DRAWITEM to it (REFLECT_NOTIFICATIONS),
// and answers the control's WM_MEASUREITEM by calling MeasureItem.
#pragma once

#include "desktop/CustomListView.h"
#include "desktop/QuickStats.h"
#include "framework/Gdi.h"

class CQuickStatsListView : public CCustomListView {
public:
    CQuickStatsListView();
    ~CQuickStatsListView() override;

    // Once, after the database has been connected: the one column and the ten labelled rows.
    void InitRows();
    // Shows these figures (borrowed: the frame's) from the next repaint on.
    void SetStats(CQuickStats* stats);
    // Shows "N/A" for every figure.
    void ClearStats();
    // The economy unit as the values show it ("mi/gal", "km/ltr", "mi/ltr"); empty for an
    // economy unit outside the known ones.
    static CString GetFuelEconomyUnit();

    void PrepareContextMenu(HMENU) override {}
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    // Two lines of text, in the bold and the default GUI font, and 3 pixels.
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

    // The value shown under the label of a row (0 to 9): "N/A" without figures.
    CString GetValueText(int row) const;

    // clang-format off
    BEGIN_MSG_MAP(CQuickStatsListView)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        CHAIN_MSG_MAP(CCustomListView)
    END_MSG_MAP()
    // clang-format on

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);

    CQuickStats* m_stats;
    CPen m_separatorPen;
};
