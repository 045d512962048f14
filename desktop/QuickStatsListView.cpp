#include "desktop/QuickStatsListView.h"

#include "common/Assert.h"
#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "resources/desktop/resource.h"

namespace {

enum Row {
    RowDateRange,
    RowAverageEconomy,
    RowRecentEconomy,
    RowAverageFuelCost,
    RowDistance,
    RowFuelConsumed,
    RowFuelExpense,
    RowTotalExpense,
    RowConsumptionRate,
    RowCostOfOwnership,
    RowCount
};

const UINT kRowLabels[RowCount] = {
    IDS_QS_DATE_RANGE,       IDS_QS_AVERAGE_ECONOMY,   IDS_QS_RECENT_ECONOMY, IDS_QS_AVERAGE_FUEL_COST,
    IDS_QS_DISTANCE,         IDS_QS_FUEL_CONSUMED,     IDS_QS_FUEL_EXPENSE,   IDS_QS_TOTAL_EXPENSE,
    IDS_QS_CONSUMPTION_RATE, IDS_QS_COST_OF_OWNERSHIP,
};

HFONT GuiFont()
{
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

CQuickStatsListView::CQuickStatsListView() : m_stats(nullptr)
{
    m_contextSubMenu = -1;  // none
    m_separatorPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
}

CQuickStatsListView::~CQuickStatsListView() = default;  // the pen goes with its wrapper

void CQuickStatsListView::InitRows()
{
    SetExtendedListViewStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    InsertColumn(0, L"", LVCFMT_LEFT, 50);
    for (int row = 0; row < RowCount; ++row) InsertItem(row, LoadResString(kRowLabels[row]));
}

void CQuickStatsListView::SetStats(CQuickStats* stats)
{
    m_stats = stats;
    Invalidate(TRUE);
}

void CQuickStatsListView::ClearStats()
{
    m_stats = nullptr;
    Invalidate(TRUE);
}

CString CQuickStatsListView::GetFuelEconomyUnit()
{
    UINT distance = 0, volume = 0;
    switch (g_AppSettings.UnitFuelEconomy) {
    case 0:
    case 1:
        distance = IDS_UNIT_MILES_SHORT;
        volume = IDS_UNIT_GALLONS_UK_SHORT;  // "Gal", the same text for both gallons
        break;
    case 2:
        distance = IDS_UNIT_KILOMETRES_SHORT;
        volume = IDS_UNIT_LITRES_SHORT;
        break;
    case 3:
        distance = IDS_UNIT_MILES_SHORT;
        volume = IDS_UNIT_LITRES_SHORT;
        break;
    default: return CString();
    }
    CString unit;
    unit.Format(L"%s/%s", static_cast<const wchar_t*>(LoadResString(distance)),
                static_cast<const wchar_t*>(LoadResString(volume)));
    unit.MakeLower();
    return unit;
}

CString CQuickStatsListView::GetValueText(int row) const
{
    if (!m_stats) return LoadResString(IDS_NOT_AVAILABLE);
    const CString distanceUnit = GetDistanceUnitName(false, true);
    const CString volumeUnit = GetVolumeUnitName(true, true);
    CString value;
    switch (row) {
    case RowDateRange: value = m_stats->GetDateRangeText(); break;
    case RowAverageEconomy:
    case RowRecentEconomy: {
        const float economy =
            row == RowAverageEconomy ? m_stats->GetAverageFuelEconomy() : m_stats->GetRecentFuelEconomy();
        if (!(economy > 0)) return LoadResString(IDS_NOT_AVAILABLE);
        value.Format(L"%s %s", static_cast<const wchar_t*>(FormatNumber(economy, true, false)),
                     static_cast<const wchar_t*>(GetFuelEconomyUnit()));
        const CString vendor = m_stats->GetPrevFillVendor();
        if (row == RowRecentEconomy && !vendor.IsEmpty()) value += L" (" + vendor + L")";
        break;
    }
    case RowAverageFuelCost:
        value.Format(L"%s per %s", static_cast<const wchar_t*>(FormatNumber(m_stats->GetAverageFuelCost(), true, true)),
                     static_cast<const wchar_t*>(volumeUnit));
        break;
    case RowDistance:
        value.Format(
            L"%s %s",
            static_cast<const wchar_t*>(FormatNumber(static_cast<float>(m_stats->GetDistance()), false, false)),
            static_cast<const wchar_t*>(distanceUnit));
        break;
    case RowFuelConsumed:
        value.Format(L"%s %s", static_cast<const wchar_t*>(FormatNumber(m_stats->GetFuelConsumed(), true, false)),
                     static_cast<const wchar_t*>(volumeUnit));
        break;
    case RowFuelExpense: value = FormatNumber(m_stats->GetFuelExpense(), true, true); break;
    case RowTotalExpense: value = FormatNumber(m_stats->GetTotalExpense(), true, true); break;
    case RowConsumptionRate:
        value.Format(L"%s %s per 100 %s",
                     static_cast<const wchar_t*>(FormatNumber(m_stats->GetConsumptionRate(), true, false)),
                     static_cast<const wchar_t*>(volumeUnit), static_cast<const wchar_t*>(distanceUnit));
        break;
    case RowCostOfOwnership:
        value.Format(L"%s per 100 %s",
                     static_cast<const wchar_t*>(FormatNumber(m_stats->GetCostOfOwnership(), true, true)),
                     static_cast<const wchar_t*>(distanceUnit));
        break;
    default: ALK_ASSERT(!"a statistics row beyond the ten"); break;
    }
    return value;
}

void CQuickStatsListView::DrawItem(LPDRAWITEMSTRUCT item)
{
    const int row = static_cast<int>(item->itemID);
    wchar_t label[261] = {};
    GetItemText(row, 0, label, 261);
    const CString value = GetValueText(row);

    CDCHandle dc(item->hDC);
    const int saved = dc.SaveDC();  // font, pen, colours and mode go back with it

    SIZE space{};
    dc.GetTextExtent(L" ", 1, &space);
    const int margin = space.cx;

    CRect box;
    GetItemRect(row, &box, LVIR_LABEL);
    box.bottom -= 3;
    box.left += margin;
    const int right = box.right - margin;

    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    dc.FillSolidRect(&item->rcItem, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    dc.SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    dc.SetBkMode(TRANSPARENT);

    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    SIZE extent{};
    dc.GetTextExtent(label, -1, &extent);
    CRect labelBox(box.left, box.top, right, box.top + extent.cy);
    if (g_hBoldFont) dc.SelectFont(g_hBoldFont);
    dc.DrawText(label, -1, labelBox, format);

    dc.GetTextExtent(value, value.GetLength(), &extent);
    CRect valueBox(box.left, box.bottom - extent.cy, right, box.bottom);
    dc.SelectFont(GuiFont());
    dc.DrawText(value, value.GetLength(), valueBox, format);

    dc.SelectPen(m_separatorPen);
    dc.MoveTo(0, item->rcItem.bottom - 1);
    dc.LineTo(box.right, item->rcItem.bottom - 1);

    dc.RestoreDC(saved);
}

void CQuickStatsListView::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    CClientDC dc(m_hWnd);
    const int saved = dc.SaveDC();
    TEXTMETRICW bold{}, gui{};
    dc.SelectFont(g_hBoldFont ? g_hBoldFont : GuiFont());
    dc.GetTextMetrics(&bold);
    dc.SelectFont(GuiFont());
    dc.GetTextMetrics(&gui);
    dc.RestoreDC(saved);
    item->itemHeight =
        static_cast<UINT>(bold.tmHeight + bold.tmExternalLeading + gui.tmHeight + gui.tmExternalLeading + 3);
}

LRESULT CQuickStatsListView::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
    SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    if (GetStyle() & WS_HSCROLL) ModifyStyle(WS_HSCROLL, 0);
    return 0;
}
