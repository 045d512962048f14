#include "desktop/MainFrame.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "common/Assert.h"
#include "desktop/AppSettings.h"
#include "desktop/DataFileMessages.h"
#include "desktop/DlgStartup.h"
#include "desktop/Paths.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"

namespace {

// Commands that need an active vehicle: new entries and reminder, export, reminders, and the
// entry-type and date-range views.
// clang-format off
const UINT kVehicleCommands[] = {
    ID_NEW_FUEL,         ID_NEW_REPAIR,          ID_NEW_TRIP,           ID_NEW_EXPENSE,       ID_NEW_REMINDER,
    ID_VIEW_ALL_ENTRIES, ID_VIEW_FUEL,           ID_VIEW_REPAIRS,       ID_VIEW_TRIPS,        ID_VIEW_EXPENSES,
    ID_VIEW_ALL_DATES,   ID_VIEW_LAST_WEEK,      ID_VIEW_LAST_TWO_WEEKS, ID_VIEW_MONTH_TO_DATE, ID_VIEW_YEAR_TO_DATE,
    ID_VIEW_CUSTOM_DATES, ID_TOOLS_REMINDERS,    ID_TOOLS_EXPORT,
};
// clang-format on

// Icons of the commands, in the order they are loaded: menu items show them, toolbar buttons
// show the 24-pixel images.
struct CommandIcon {
    UINT command;
    UINT icon;
};
// clang-format off
const CommandIcon kCommandIcons[] = {
    {ID_NEW_VEHICLE, IDR_MAINFRAME}, {ID_NEW_FUEL, IDI_FUEL},         {ID_NEW_REPAIR, IDI_REPAIR},
    {ID_NEW_TRIP, IDI_TRIP},         {ID_NEW_EXPENSE, IDI_EXPENSE},   {ID_NEW_REMINDER, IDI_REMINDER},
    {ID_EDIT_SELECTED, IDI_EDIT},    {ID_DELETE_SELECTED, IDI_DELETE}, {ID_TOOLS_EXPORT, IDI_EXPORT},
    {ID_FILE_DATABASE_INFO, IDI_DATABASE}, {ID_HELP_WEB, IDI_WEB},   {ID_HELP_DOCUMENTATION, IDI_MANUAL},
};
// clang-format on

const int kStatusParts[] = {200, 350, -1};
const int kPaneTitleMax = 79;

bool HasFocusIn(HWND pane)
{
    HWND focus = ::GetFocus();
    return pane && focus && (focus == pane || ::IsChild(pane, focus));
}

}  // namespace

CMainFrame::CMainFrame()
{
    // Handlers of the shared messages compare against their ids: never against 0 (WM_NULL).
    if (!WM_ACTIVATE_INSTANCE || !WM_RELOAD_DATA) RegisterAppMessages();
    // A view outside the menus' choices (a value written by something else) is the default one:
    // it would check an unrelated command and show no entries.
    const int entryType = static_cast<int>(g_AppSettings.ViewEntryType);
    if (entryType < CEntry::etNone || entryType > CEntry::etExpense) g_AppSettings.ViewEntryType = CEntry::etNone;
    const int dateRange = static_cast<int>(g_AppSettings.ViewDateRangeType);
    if (dateRange < CEntryFilter::drAll || dateRange > CEntryFilter::drCustom)
        g_AppSettings.ViewDateRangeType = CEntryFilter::drAll;
    m_filter.SetEntryType(g_AppSettings.ViewEntryType);
    m_filter.SetDateRangeType(g_AppSettings.ViewDateRangeType);
    m_filter.SetVehicleID(0);
}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    return CFrameWindowImpl<CMainFrame>::PreTranslateMessage(msg);
}

BOOL CMainFrame::OnIdle()
{
    UIUpdateToolBar();
    return FALSE;
}

// --- creation and destruction ----------------------------------------------------------------

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    // The menu moves into the command bar; the frame still frees it when it is destroyed.
    m_cmdBar.Create(m_hWnd, rcDefault, nullptr, ALK_SIMPLE_CMDBAR_PANE_STYLE);
    m_cmdBar.AttachMenu(GetMenu());
    SetMenu(nullptr);

    m_toolBar = CreateSimpleToolBarCtrl(m_hWnd, IDR_MAINFRAME, FALSE, ALK_SIMPLE_TOOLBAR_PANE_STYLE);
    LoadToolbarImages();
    UIAddToolBar(m_toolBar);

    CreateSimpleReBar(ALK_SIMPLE_REBAR_STYLE);
    AddSimpleReBarBand(m_cmdBar);
    AddSimpleReBarBand(m_toolBar, nullptr, TRUE);

    CreateSimpleStatusBar();
    m_statusBar = m_hWndStatusBar;
    m_statusBar.SetParts(3, kStatusParts);

    if (CMessageLoop* loop = _Module.GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }

    CreatePanes();
    UpdateEntryTypeUI();
    UpdateDateRangeUI();
    return 0;
}

void CMainFrame::LoadToolbarImages()
{
    HINSTANCE res = AlkGetResourceInstance();
    m_toolbarImages.Create(24, 24, ILC_COLOR32 | ILC_MASK, 10, 1);
    for (const CommandIcon& entry : kCommandIcons) {
        // Icons loaded at their default size are shared: they live as long as the program.
        if (HICON menuIcon = ::LoadIconW(res, MAKEINTRESOURCEW(entry.icon))) m_cmdBar.AddIcon(menuIcon, entry.command);
        HICON icon = static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(entry.icon), IMAGE_ICON, 24, 24,
                                                     LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS));
        if (!icon) continue;
        int index = m_toolbarImages.AddIcon(icon);
        ::DestroyIcon(icon);  // the image list keeps its own copy
        m_toolBar.SetButtonImage(entry.command, index);
    }
    m_toolBar.SetImageList(m_toolbarImages);
    m_toolBar.AutoSize();
}

void CMainFrame::CreatePanes()
{
    {
        CLayoutSettings layout(ALK_LAYOUT_KEY);
        layout.LoadReBar(m_hWndToolBar);
    }

    const DWORD splitterStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    m_vSplit.Create(m_hWnd, rcDefault, nullptr, splitterStyle);
    m_hSplit1.Create(m_vSplit, rcDefault, nullptr, splitterStyle);
    m_hSplit2.Create(m_vSplit, rcDefault, nullptr, splitterStyle);
    m_hSplit3.Create(m_hSplit1, rcDefault, nullptr, splitterStyle);
    m_vSplit.SetSplitterPanes(m_hSplit1, m_hSplit2);
    m_hWndClient = m_vSplit;

    m_vehiclePane.Create(m_hSplit1, IDS_PANE_MY_VEHICLES);
    m_quickStatsPane.Create(m_hSplit3, IDS_PANE_QUICK_STATS);
    m_picturePane.Create(m_hSplit3, L"");
    m_entryPane.Create(m_hSplit2, IDS_NO_ACTIVE_VEHICLE_CAPTION);
    m_notesPane.Create(m_hSplit2, IDS_PANE_NOTES);
    m_hSplit1.SetSplitterPanes(m_vehiclePane, m_hSplit3);
    m_hSplit2.SetSplitterPanes(m_entryPane, m_notesPane);
    m_hSplit3.SetSplitterPanes(m_quickStatsPane, m_picturePane);
    UpdateLayout();

    m_vehicleList.Create(m_vehiclePane, rcDefault, nullptr,
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT | LVS_SINGLESEL |
                             LVS_SHOWSELALWAYS | LVS_SORTASCENDING | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER,
                         WS_EX_STATICEDGE, IDC_VEHICLE_LIST);
    m_vehicleList.SetCommandBar(&m_cmdBar);

    m_quickStatsList.Create(m_quickStatsPane, rcDefault, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT | LVS_SINGLESEL |
                                LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
                            WS_EX_STATICEDGE, IDC_QUICK_STATS);

    m_entryList.Create(m_entryPane, rcDefault, nullptr,
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT, WS_EX_STATICEDGE,
                       IDC_ENTRY_LIST);
    m_entryList.SetCommandBar(&m_cmdBar);

    m_vehiclePane.SetClient(m_vehicleList);
    m_quickStatsPane.SetClient(m_quickStatsList);
    m_entryPane.SetClient(m_entryList);
    m_vehiclePane.EnableCloseButton(false);
    m_quickStatsPane.EnableCloseButton(false);
    m_entryPane.EnableCloseButton(false);

    m_notes.Create(m_notesPane, rcDefault, nullptr,
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, WS_EX_CLIENTEDGE,
                   IDC_NOTES);
    m_notes.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    m_notes.SetAutoURLDetect(TRUE);
    m_notes.SetReadOnly(TRUE);
    m_notes.SetTextMode(TM_PLAINTEXT);
    m_notes.SetEventMask(ENM_LINK | ENM_MOUSEEVENTS);
    m_notesPane.SetClient(m_notes);
    m_notesPane.EnableCloseButton(false);
    ShowNotes(false);

    m_vehicleImage.Create(m_picturePane, rcDefault, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_BITMAP | SS_NOTIFY |
                              SS_CENTERIMAGE | SS_REALSIZEIMAGE,
                          WS_EX_STATICEDGE, IDC_VEHICLE_PICTURE);
    m_picturePane.SetClient(m_vehicleImage);
    m_vehicleImage.SetPicture(nullptr);

    m_hSplit3.SetSinglePaneMode(g_AppSettings.ShowVehiclePicture ? SPLIT_PANE_NONE : SPLIT_PANE_TOP);

    UISetCheck(ID_VIEW_PICTURE, g_AppSettings.ShowVehiclePicture ? 1 : 0);
    EnableVehicleCommands(false);
}

void CMainFrame::LoadSplitterPositions(CLayoutSettings& layout)
{
    m_vSplit.SetSplitterPos(layout.LoadSplitterPos(L"vSplit", 200));
    m_hSplit1.SetSplitterPos(layout.LoadSplitterPos(L"hSplit1", 100));
    m_hSplit2.SetSplitterPos(layout.LoadSplitterPos(L"hSplit2", -1));
    m_hSplit3.SetSplitterPos(layout.LoadSplitterPos(L"hSplit3", -1));
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (CMessageLoop* loop = _Module.GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }

    m_toolBar.SetImageList(nullptr);
    m_toolbarImages.RemoveAll();
    m_toolbarImages.Destroy();

    {
        CLayoutSettings layout(ALK_LAYOUT_KEY);
        layout.SaveWindowPlacement(m_hWnd);
        layout.SaveReBar(m_hWndToolBar);
        layout.SaveSplitterPos(m_vSplit.GetSplitterPos(), L"vSplit");
        layout.SaveSplitterPos(m_hSplit1.GetSplitterPos(), L"hSplit1");
        layout.SaveSplitterPos(m_hSplit2.GetSplitterPos(), L"hSplit2");
        layout.SaveSplitterPos(m_hSplit3.GetSplitterPos(), L"hSplit3");
    }
    g_AppSettings.ShowVehiclePicture = m_hSplit3.GetSinglePaneMode() == SPLIT_PANE_NONE ? -1 : 0;

    handled = FALSE;  // the frame's own handling ends the message loop
    return 0;
}

LRESULT CMainFrame::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    handled = FALSE;
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        m_focusBeforeDeactivation = focus && IsChild(focus) ? focus : nullptr;
        return 0;
    }
    HWND restore = m_focusBeforeDeactivation;
    m_focusBeforeDeactivation = nullptr;
    if (!HIWORD(wParam) && restore && ::IsWindow(restore) && IsChild(restore) && ::IsWindowVisible(restore)) {
        ::SetFocus(restore);
        handled = TRUE;  // the default would put the focus on the frame and so on the left pane
    }
    return 0;
}

// --- database ----------------------------------------------------------------------------------

void CMainFrame::OpenDatabase()
{
    // The file of the last run stays the remembered one until another file connects: a start
    // that ends without a file keeps it for the next run and for the synchronisation plug-ins,
    // whatever the welcome dialog proposed meanwhile. A remembered path too long for DBPath is
    // tried as it was stored, so that the user hears what is wrong with it.
    const CString remembered = g_AppSettings.DBPath;
    CString path = remembered.IsEmpty() ? g_AppSettings.LongDBPath : remembered;
    for (;;) {
        CDataLayer::ConnectStatus status = g_DataLayer.Connect(path);
        if (status == CDataLayer::csConnected) {
            g_AppSettings.SaveDBPath();
            ForgetDamageTold();
            // The views read only what they show: damage among the entries of a vehicle not shown
            // would stay untold until a click met it, perhaps after a write. The whole file is
            // checked once here, and the loads below tell what it found (NoticeDamage).
            g_DataLayer.CheckForDamage();
            if (g_DataLayer.IsNewerVersion()) {
                CString text;
                text.Format(LoadResString(IDS_DATABASE_NEWER_VERSION), path.GetString(), g_DataLayer.GetDBVersion());
                MessageBox(text, LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
            }
            m_vehicleList.Initialize();
            m_vehicleList.PostMessage(WM_SIZE);
            m_quickStatsList.InitRows();
            m_quickStatsList.PostMessage(WM_SIZE);
            m_entryList.InitColumns();
            m_entryList.PostMessage(WM_SIZE);
            if (CVehicle* vehicle = m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle)) {
                SetActiveVehicle(vehicle, true);
            } else {
                g_AppSettings.LastActiveVehicle = 0;
                RefreshQuickStats();
            }
            return;
        }
        if (ReportOpenFailure(status, path)) continue;  // Retry: the same file again

        // The failed path is not offered again: the welcome dialog proposes the default file.
        wchar_t documents[MAX_PATH];
        wchar_t proposed[MAX_PATH];
        if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)) ||
            !JoinPath(proposed, documents, LoadResString(IDS_DEFAULT_DATABASE_NAME))) {
            GiveUpOpening(remembered);
            return;
        }
        lstrcpynW(g_AppSettings.DBPath, proposed, CAppSettings::MaxPath + 1);

        CDlgStartup dialog;
        if (dialog.DoModal(::GetActiveWindow()) != IDOK) {
            GiveUpOpening(remembered);
            return;
        }
        if (dialog.m_createNew) {
            wchar_t templatePath[MAX_PATH];
            if (!JoinPath(templatePath, ProgramFolder(), LoadResString(IDS_TEMPLATE_NAME))) {
                GiveUpOpening(remembered);
                return;
            }
            if (!::CopyFileW(templatePath, g_AppSettings.DBPath, FALSE)) {
                CString text;
                text.Format(LoadResString(IDS_CANNOT_CREATE_DATABASE), g_AppSettings.DBPath);
                MessageBox(text, nullptr, MB_OK | MB_ICONEXCLAMATION);
            }
        }
        path = g_AppSettings.DBPath;
    }
}

bool CMainFrame::ReportOpenFailure(CDataLayer::ConnectStatus status, const CString& path)
{
    // Boxes of their own caption-less kind, as those of a read-only or invalid file always were.
    const CDataLayer::FailureCause cause = g_DataLayer.GetLastFailure();
    CString text;
    if (cause == CDataLayer::fcBusy) {
        text.Format(LoadResString(IDS_DATABASE_IN_USE), path.GetString());
        return MessageBox(text, nullptr, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
    }
    if (cause == CDataLayer::fcPathTooLong) {
        text.Format(LoadResString(IDS_DATABASE_PATH_TOO_LONG), path.GetString());
    } else if (status == CDataLayer::csReadOnly) {
        text.Format(LoadResString(IDS_READ_ONLY_DATABASE), path.GetString());
    } else if (status == CDataLayer::csInvalidDatabase && cause == CDataLayer::fcDamaged) {
        text.Format(LoadResString(IDS_DATABASE_DAMAGED_OPEN), path.GetString());
    } else if (status == CDataLayer::csInvalidDatabase && cause != CDataLayer::fcNotDatabase) {
        text.Format(LoadResString(IDS_DATABASE_UNREADABLE), path.GetString(), DescribeFailure(cause).GetString());
    } else if (status == CDataLayer::csInvalidDatabase) {
        text.Format(LoadResString(IDS_INVALID_DATABASE), path.GetString());
    }
    // A missing file, or one the engine cannot open, is met by the welcome dialog alone.
    if (!text.IsEmpty()) MessageBox(text, nullptr, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CMainFrame::GiveUpOpening(const CString& remembered)
{
    lstrcpynW(g_AppSettings.DBPath, remembered, CAppSettings::MaxPath + 1);
    PostMessage(WM_CLOSE);
}

void CMainFrame::NoticeDamage()
{
    // Told from the frame's own loop, not from inside the refresh that met it (a box's loop
    // there would run while the refresh holds the lists' records).
    if (DamageToTell()) PostMessage(WM_TELL_DAMAGE);
}

LRESULT CMainFrame::OnTellDamage(UINT, WPARAM, LPARAM, BOOL&)
{
    TellOfDamage();
    return 0;
}

// --- the active vehicle ------------------------------------------------------------------------

void CMainFrame::SetActiveVehicle(CVehicle* vehicle, bool force)
{
    if (vehicle) {
        if (!force && vehicle->GetRefID() == g_AppSettings.LastActiveVehicle) return;
        m_vehicleImage.SetPicture(vehicle->GetImagePath());
        CString caption = FormatVehicleCaption(*vehicle);
        if (caption.GetLength() > kPaneTitleMax) caption = CString(caption.GetString(), kPaneTitleMax);
        m_entryPane.SetTitle(caption);
        m_filter.SetVehicleID(vehicle->GetRefID());
        m_entryList.Refresh(&m_filter);
        UpdateNotes();

        int row = m_vehicleList.FindItemByParam(reinterpret_cast<LPARAM>(vehicle));
        m_vehicleList.SelectItem(row);  // nothing for -1
        g_AppSettings.LastActiveVehicle = vehicle->GetRefID();
        g_AppSettings.ActiveOdometer = vehicle->GetCurrentOdometer();
        m_entryList.SetFocus();
    } else {
        m_filter.SetVehicleID(0);
        m_entryPane.SetTitle(LoadResString(IDS_NO_ACTIVE_VEHICLE_CAPTION));
        m_entryList.Refresh(nullptr);
        g_AppSettings.LastActiveVehicle = 0;
        g_AppSettings.ActiveOdometer = 0;
        UpdateNotes();
        m_vehicleImage.SetPicture(nullptr);
    }

    EnableVehicleCommands(vehicle != nullptr);
    RefreshQuickStats();
    CheckDueReminders(vehicle);
}

void CMainFrame::SyncCurrentOdometer()
{
    TellOfDamage();  // before the write below
    CVehicle* vehicle = m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle);
    if (!vehicle) return;
    long largest = 0;
    if (!g_DataLayer.GetMaxOdometer(vehicle->GetRefID(), &largest)) return;
    if (largest != g_AppSettings.ActiveOdometer && g_DataLayer.UpdateCurrentOdometer(vehicle, largest)) {
        g_AppSettings.ActiveOdometer = largest;
        CheckDueReminders(vehicle);
    }
}

void CMainFrame::RefreshQuickStats()
{
    if (HasActiveVehicle() && m_quickStats.Compute(&m_filter))
        m_quickStatsList.SetStats(&m_quickStats);
    else
        m_quickStatsList.ClearStats();
    NoticeDamage();
}

void CMainFrame::EnableVehicleCommands(bool enable)
{
    for (UINT id : kVehicleCommands) UIEnable(id, enable);
}

bool CMainFrame::HasActiveVehicle() const
{
    // The filter names the active vehicle; the settings may remember one that is not shown (a
    // reload that found no vehicles).
    return m_filter.GetVehicleID() != 0;
}

void CMainFrame::RefreshEntries()
{
    // The filter's vehicle id 0 would select every vehicle's entries.
    m_entryList.Refresh(HasActiveVehicle() ? &m_filter : nullptr);
    UpdateNotes();
    NoticeDamage();
}

CVehicle* CMainFrame::GetSelectedVehicle() const
{
    return static_cast<CVehicle*>(m_vehicleList.GetSelectedItemData());
}

// --- panes -------------------------------------------------------------------------------------

int CMainFrame::GetFocusedListId() const
{
    if (HasFocusIn(m_vehiclePane)) return IDC_VEHICLE_LIST;
    if (HasFocusIn(m_hSplit3)) return IDC_QUICK_STATS;
    if (HasFocusIn(m_entryPane)) return IDC_ENTRY_LIST;
    return 0;
}

void CMainFrame::ShowNotes(bool show)
{
    if (m_entryList.IsUpdating()) return;
    m_hSplit2.SetSinglePaneMode(show ? SPLIT_PANE_NONE : SPLIT_PANE_TOP);
}

void CMainFrame::UpdateEntryTypeUI()
{
    for (UINT id = ID_VIEW_ALL_ENTRIES; id <= ID_VIEW_EXPENSES; ++id) UISetCheck(id, 0);
    UISetCheck(ID_VIEW_ALL_ENTRIES + m_filter.GetEntryType(), 1);
}

void CMainFrame::UpdateDateRangeUI()
{
    CString range = FormatDateRange(m_filter);
    m_statusBar.SetText(1, range);
    for (UINT id = ID_VIEW_ALL_DATES; id <= ID_VIEW_CUSTOM_DATES; ++id) UISetCheck(id, 0);
    int type = m_filter.GetDateRangeType();
    if (type > CEntryFilter::drCustom) type = CEntryFilter::drCustom;
    UISetCheck(ID_VIEW_ALL_DATES + type, 1);
}

void CMainFrame::FocusSide(int side)
{
    m_vSplit.SetActivePane(side);
    // Then into the list pane of that side, unless its splitter shows only the other pane.
    CHorSplitterWindow& splitter = side == SPLIT_PANE_LEFT ? m_hSplit1 : m_hSplit2;
    if (splitter.GetSinglePaneMode() != SPLIT_PANE_BOTTOM) splitter.SetActivePane(SPLIT_PANE_TOP);
}

// --- messages ----------------------------------------------------------------------------------

LRESULT CMainFrame::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    auto* measure = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
    if (measure->CtlType == ODT_LISTVIEW && measure->CtlID == IDC_QUICK_STATS) {
        m_quickStatsList.MeasureItem(measure);
        return TRUE;
    }
    if (measure->CtlID == 0) {  // menu items belong to whoever tracks the menu
        handled = FALSE;
        return 0;
    }
    return 0;
}

LRESULT CMainFrame::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    auto* draw = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    if (draw->CtlType == ODT_LISTVIEW && draw->CtlID == IDC_QUICK_STATS)
        return ::SendMessageW(draw->hwndItem, OCM_DRAWITEM, wParam, lParam);
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnActivateInstance(UINT, WPARAM, LPARAM, BOOL&)
{
    ShowWindow(SW_SHOWNORMAL);
    SetActiveWindow();
    SetForegroundWindow();
    return 0;
}

LRESULT CMainFrame::OnReloadData(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_deferReloads > 0 || !IsWindowEnabled()) {
        m_reloadPending = true;
        return 0;
    }
    m_reloadPending = false;
    if (!m_vehicleList.LoadVehicles()) {
        // No vehicles to show (no database yet, or a busy one): the panes empty, but the
        // remembered vehicle is kept for the next reload, and for the next run.
        const DWORD remembered = g_AppSettings.LastActiveVehicle;
        SetActiveVehicle(nullptr, true);
        g_AppSettings.LastActiveVehicle = remembered;
        return 0;
    }
    SetActiveVehicle(m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle), true);
    return 0;
}

LRESULT CMainFrame::OnEnable(UINT, WPARAM enabled, LPARAM, BOOL& handled)
{
    if (enabled) PostDeferredReload();
    handled = FALSE;
    return 0;
}

void CMainFrame::PostDeferredReload()
{
    // Posted, not run here: the caller may still be on its way out of a command or a modal loop.
    if (!m_reloadPending || m_deferReloads > 0 || !IsWindow() || !IsWindowEnabled()) return;
    m_reloadPending = false;
    PostMessage(WM_RELOAD_DATA);
}

LRESULT CMainFrame::OnFileExit(WORD, WORD, HWND, BOOL&)
{
    PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnViewPicture(WORD, WORD, HWND, BOOL&)
{
    if (m_hSplit3.GetSinglePaneMode() == SPLIT_PANE_NONE) {
        m_hSplit3.SetSinglePaneMode(SPLIT_PANE_TOP);
        UISetCheck(ID_VIEW_PICTURE, 0);
    } else {
        m_hSplit3.SetSinglePaneMode(SPLIT_PANE_NONE);
        UISetCheck(ID_VIEW_PICTURE, 1);
    }
    return 0;
}

LRESULT CMainFrame::OnCopy(WORD, WORD, HWND, BOOL&)
{
    m_notes.Copy();
    return 0;
}

LRESULT CMainFrame::OnSelectAll(WORD, WORD, HWND, BOOL&)
{
    m_notes.SetSel(0, -1);
    m_notes.SetFocus();
    return 0;
}

LRESULT CMainFrame::OnPaneClose(WORD, WORD, HWND pane, BOOL&)
{
    ::ShowWindow(pane, SW_HIDE);
    CHorSplitterWindow* splitters[] = {&m_hSplit1, &m_hSplit2, &m_hSplit3};
    for (CHorSplitterWindow* splitter : splitters) {
        if (splitter->GetSplitterPane(SPLIT_PANE_TOP) == pane) splitter->SetSinglePaneMode(SPLIT_PANE_BOTTOM);
        if (splitter->GetSplitterPane(SPLIT_PANE_BOTTOM) == pane) splitter->SetSinglePaneMode(SPLIT_PANE_TOP);
    }
    UISetCheck(ID_VIEW_PICTURE, 0);
    return 0;
}

// --- notifications -----------------------------------------------------------------------------

LRESULT CMainFrame::OnListClick(int, LPNMHDR hdr, BOOL&)
{
    BOOL handled = TRUE;
    if (hdr->idFrom == IDC_ENTRY_LIST) {
        OnEdit(0, ID_EDIT_SELECTED, nullptr, handled);  // a double click
    } else if (CVehicle* vehicle = GetSelectedVehicle()) {
        SetActiveVehicle(vehicle, false);
        // Activation hands the keys to the entry list; a click leaves them where the user
        // clicked, so that Delete and Edit then act on the vehicle the user chose. (Enter, a new
        // vehicle and a reload still move them to the entries.)
        m_vehicleList.SetFocus();
    }
    return 0;
}

LRESULT CMainFrame::OnEntryItemChanged(int, LPNMHDR hdr, BOOL&)
{
    auto* change = reinterpret_cast<LPNMLISTVIEW>(hdr);
    if (change->iItem == -1) return 0;
    if (change->uChanged & LVIF_STATE) UpdateNotes();
    return 0;
}

void CMainFrame::UpdateNotes()
{
    // Rows that come and go in a bulk change describe no state the user chose.
    if (m_entryList.IsUpdating()) return;
    // The notes of exactly one selected entry; nothing for none or several.
    const CEntry* entry =
        m_entryList.GetSelectedCount() == 1 ? static_cast<const CEntry*>(m_entryList.GetSelectedItemData()) : nullptr;
    const wchar_t* notes = entry ? entry->GetNotes() : L"";
    if (*notes) {
        ShowNotes(true);
        m_notes.SetWindowText(notes);
    } else {
        ShowNotes(false);
        m_notes.SetWindowText(L"");
    }
}

LRESULT CMainFrame::OnNotesLink(int, LPNMHDR hdr, BOOL&)
{
    auto* link = reinterpret_cast<ENLINK*>(hdr);
    if (link->msg != WM_LBUTTONDOWN) return 0;
    CHARRANGE before{};
    m_notes.GetSel(before);
    CHARRANGE range = link->chrg;
    m_notes.SetSel(range);
    CString target = m_notes.GetSelText();
    ShellOpen(target);
    m_notes.SetSel(before);
    return 0;
}

LRESULT CMainFrame::OnNotesMsgFilter(int, LPNMHDR hdr, BOOL&)
{
    auto* filter = reinterpret_cast<MSGFILTER*>(hdr);
    if (filter->msg != WM_RBUTTONDOWN) return 0;
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENUS)) return 0;
    CMenuHandle popup(menu.GetSubMenu(2));
    CHARRANGE selection{};
    m_notes.GetSel(selection);
    if (selection.cpMin == selection.cpMax) popup.EnableMenuItem(ID_EDIT_COPY, MF_BYCOMMAND | MF_GRAYED);
    POINT cursor;
    ::GetCursorPos(&cursor);
    popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_hWnd);
    return 0;
}

LRESULT CMainFrame::OnListKeyDown(int, LPNMHDR hdr, BOOL&)
{
    auto* key = reinterpret_cast<LPNMLVKEYDOWN>(hdr);
    switch (hdr->idFrom) {
    case IDC_VEHICLE_LIST:
        if (key->wVKey == VK_RETURN) {
            if (CVehicle* vehicle = GetSelectedVehicle()) SetActiveVehicle(vehicle, false);
        } else if (key->wVKey == VK_TAB) {
            FocusSide(SPLIT_PANE_RIGHT);
        }
        break;
    case IDC_ENTRY_LIST:
        if (key->wVKey == VK_RETURN) {
            BOOL handled = TRUE;
            OnEdit(0, ID_EDIT_SELECTED, nullptr, handled);
        } else if (key->wVKey == VK_TAB) {
            FocusSide(SPLIT_PANE_LEFT);
        }
        break;
    case IDC_QUICK_STATS:
        if (key->wVKey == VK_TAB) FocusSide(SPLIT_PANE_RIGHT);
        break;
    default: ALK_ASSERT(!"a key of a list the map does not route here"); break;
    }
    return 0;
}
