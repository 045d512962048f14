// CMainFrame: the program's main window.
//
// A command bar (the menu) and a toolbar in a rebar, a status bar (prompt, date range of the
// view filter, spare part) and a client area split four ways into five panes:
//
//   vSplit | left: hSplit1 = "My Vehicles" (vehicle list) over hSplit3 =
//          |       "Quick Stats" (statistics list) over the picture pane (closable)
//          | right: hSplit2 = entry pane (entries of the active vehicle, captioned with the
//          |        vehicle) over "Notes" (the selected entry's notes, shown only when it has some)
//
// The active vehicle is the one whose reference id the settings keep in LastActiveVehicle (0 =
// none); it changes only through SetActiveVehicle. The view filter (m_filter) holds the active
// vehicle, the entry type and the date range that the entry list and the statistics show.
//
// The frame reaches the database through g_DataLayer. Its child windows are destroyed with it;
// the list objects (members) free their records when the frame object is destroyed, after the
// window.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <atomic>

#include "business/AlkBiz.h"
#include "desktop/EntryListView.h"
#include "desktop/LayoutSettings.h"
#include "desktop/QuickStats.h"
#include "desktop/QuickStatsListView.h"
#include "desktop/Startup.h"
#include "desktop/VehicleImage.h"
#include "desktop/VehicleListView.h"
#include "framework/CommandBar.h"
#include "framework/Frame.h"
#include "framework/Module.h"
#include "framework/PaneContainer.h"
#include "framework/Splitter.h"
#include "framework/UpdateUI.h"
#include "resources/desktop/resource.h"

// Posted by an export worker to the frame when its export has ended; lowers m_exportBusy.
const UINT WM_EXPORT_ENDED = WM_APP + 32;
// Posted by the frame to itself when a load of its views has met damage in the data file: the
// user is told (once) from the frame's own loop.
const UINT WM_TELL_DAMAGE = WM_APP + 33;

class CMainFrame : public CFrameWindowImpl<CMainFrame>,
                   public CUpdateUI<CMainFrame>,
                   public CMessageFilter,
                   public CIdleHandler {
public:
    DECLARE_FRAME_WND_CLASS(ALK_MAIN_FRAME_CLASS, IDR_MAINFRAME)

    CMainFrame();
    ~CMainFrame() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override;

    // Connects the database at start-up: the remembered DBPath, else the welcome dialog until a
    // file connects or the user gives up (then the frame is asked to close, and the remembered
    // DBPath is kept). A file made by a newer version is opened after a notice. The connected
    // file is checked whole for damage, which is then told once, whatever vehicle is remembered.
    void OpenDatabase();

    // Makes vehicle the active one (null: none) and brings the panes, the commands and the
    // statistics in line. Not forced, choosing the vehicle that is already active does nothing.
    void SetActiveVehicle(CVehicle* vehicle, bool force);
    // Stores the largest entry odometer of the active vehicle as its current odometer when it
    // differs from the one known, then checks the vehicle's reminders.
    void SyncCurrentOdometer();
    // Recomputes and shows the statistics of the view filter, or clears them (no active vehicle
    // or a failed computation).
    void RefreshQuickStats();

    // The list pane that holds the keyboard focus: IDC_VEHICLE_LIST, IDC_QUICK_STATS (also for
    // the picture below it), IDC_ENTRY_LIST, or 0 (notes, or outside the panes).
    int GetFocusedListId() const;
    // Check marks of the entry-type and date-range commands from the filter; the date range is
    // also written into the second part of the status bar.
    void UpdateEntryTypeUI();
    void UpdateDateRangeUI();

    // Restores the four splitter positions (the window must have its size).
    void LoadSplitterPositions(CLayoutSettings& layout);

    // Held by a command while it keeps records of the lists across a modal loop (a dialog, a
    // sheet, a message box): modal loops dispatch WM_RELOAD_DATA, and a reload frees every
    // record the lists hold. A reload that arrives while one is held, or while a modal window
    // disables the frame, is put off; it runs once the last one is released, or the frame is
    // enabled again, from the frame's own loop.
    class CDeferReloads {
    public:
        explicit CDeferReloads(CMainFrame& frame) : m_frame(frame) { ++m_frame.m_deferReloads; }
        ~CDeferReloads()
        {
            if (--m_frame.m_deferReloads == 0) m_frame.PostDeferredReload();
        }
        CDeferReloads(const CDeferReloads&) = delete;
        CDeferReloads& operator=(const CDeferReloads&) = delete;

    private:
        CMainFrame& m_frame;
    };

    // Thread procedure of the Excel export: runs one CExcelExportJob (ExcelExport.h), posts
    // WM_EXPORT_ENDED to the job's window and deletes the job. It never touches the frame object,
    // which may be gone by then (the user closed the window while Excel was starting).
    static DWORD WINAPI ExportThreadProc(LPVOID job);

    // clang-format off
    BEGIN_UPDATE_UI_MAP(CMainFrame)
        UPDATE_ELEMENT(ID_NEW_FUEL, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_NEW_REPAIR, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_NEW_TRIP, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_NEW_EXPENSE, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_NEW_REMINDER, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_TOOLS_EXPORT, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
        UPDATE_ELEMENT(ID_TOOLS_REMINDERS, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_ALL_ENTRIES, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_FUEL, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_REPAIRS, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_TRIPS, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_EXPENSES, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_ALL_DATES, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_LAST_WEEK, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_LAST_TWO_WEEKS, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_MONTH_TO_DATE, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_YEAR_TO_DATE, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_CUSTOM_DATES, UPDUI_MENUPOPUP)
        UPDATE_ELEMENT(ID_VIEW_PICTURE, UPDUI_MENUPOPUP)
    END_UPDATE_UI_MAP()
    // clang-format on

    // clang-format off
    BEGIN_MSG_MAP(CMainFrame)
        // First: the command bar sees the keys and menu messages it needs before anyone else,
        // without subclassing the frame (see CommandBar.h).
        CHAIN_MSG_MAP_ALT_MEMBER(m_cmdBar, CCommandBarCtrl::kParentMap)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_ACTIVATE_INSTANCE, OnActivateInstance)
        MESSAGE_HANDLER(WM_RELOAD_DATA, OnReloadData)
        MESSAGE_HANDLER(WM_ENABLE, OnEnable)
        COMMAND_ID_HANDLER(ID_APP_EXIT, OnFileExit)
        COMMAND_ID_HANDLER(ID_TOOLS_OPTIONS, OnOptions)
        COMMAND_ID_HANDLER(ID_EDIT_SELECTED, OnEdit)
        COMMAND_ID_HANDLER(ID_DELETE_SELECTED, OnDelete)
        COMMAND_ID_HANDLER(ID_VIEW_PICTURE, OnViewPicture)
        COMMAND_ID_HANDLER(ID_EDIT_COPY, OnCopy)
        COMMAND_ID_HANDLER(ID_EDIT_SELECT_ALL, OnSelectAll)
        COMMAND_ID_HANDLER(ID_PANE_CLOSE, OnPaneClose)
        COMMAND_ID_HANDLER(ID_FILE_DATABASE_INFO, OnDatabaseInfo)
        COMMAND_RANGE_HANDLER(ID_NEW_FUEL, ID_NEW_EXPENSE, OnNewEntry)
        COMMAND_ID_HANDLER(ID_NEW_VEHICLE, OnNewVehicle)
        COMMAND_ID_HANDLER(ID_FILE_IMPORT, OnImportOldData)
        COMMAND_RANGE_HANDLER(ID_VIEW_ALL_ENTRIES, ID_VIEW_EXPENSES, OnViewEntryType)
        COMMAND_RANGE_HANDLER(ID_VIEW_ALL_DATES, ID_VIEW_CUSTOM_DATES, OnViewDateRange)
        COMMAND_RANGE_HANDLER(ID_HELP_WEB, ID_HELP_DOCUMENTATION, OnHelpLink)
        COMMAND_ID_HANDLER(ID_TOOLS_EXPORT, OnExportToExcel)
        MESSAGE_HANDLER(WM_EXPORT_ENDED, OnExportEnded)
        MESSAGE_HANDLER(WM_TELL_DAMAGE, OnTellDamage)
        COMMAND_ID_HANDLER(ID_NEW_REMINDER, OnNewReminder)
        COMMAND_ID_HANDLER(ID_TOOLS_REMINDERS, OnManageReminders)
        NOTIFY_HANDLER(IDC_VEHICLE_LIST, NM_CLICK, OnListClick)
        NOTIFY_HANDLER(IDC_ENTRY_LIST, NM_DBLCLK, OnListClick)
        NOTIFY_HANDLER(IDC_ENTRY_LIST, NM_CUSTOMDRAW, m_entryList.OnCustomDraw)
        NOTIFY_HANDLER(IDC_ENTRY_LIST, LVN_COLUMNCLICK, m_entryList.OnColumnClick)
        NOTIFY_HANDLER(IDC_ENTRY_LIST, LVN_ITEMCHANGED, OnEntryItemChanged)
        NOTIFY_HANDLER(IDC_NOTES, EN_LINK, OnNotesLink)
        NOTIFY_HANDLER(IDC_NOTES, EN_MSGFILTER, OnNotesMsgFilter)
        NOTIFY_HANDLER(IDC_VEHICLE_LIST, LVN_KEYDOWN, OnListKeyDown)
        NOTIFY_HANDLER(IDC_ENTRY_LIST, LVN_KEYDOWN, OnListKeyDown)
        NOTIFY_HANDLER(IDC_QUICK_STATS, LVN_KEYDOWN, OnListKeyDown)
        CHAIN_MSG_MAP(CUpdateUI<CMainFrame>)
        CHAIN_MSG_MAP(CFrameWindowImpl<CMainFrame>)
    END_MSG_MAP()
    // clang-format on

protected:
    // Opens a web address or a file with the shell's "open" verb; ShellExecute's result (above
    // 32 when a program was started). Virtual so that a test can see what would be opened
    // without starting a browser.
    virtual INT_PTR ShellOpen(const wchar_t* target);
    // The program's folder with a trailing backslash (GetAppDirectory), where the template and
    // the manual lie; empty when it cannot be found. Virtual so that a test can take it away.
    virtual CString ProgramFolder() const;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActivateInstance(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnReloadData(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEnable(UINT, WPARAM, LPARAM, BOOL&);

    LRESULT OnFileExit(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewPicture(WORD, WORD, HWND, BOOL&);
    LRESULT OnCopy(WORD, WORD, HWND, BOOL&);
    LRESULT OnSelectAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnPaneClose(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewEntryType(WORD, WORD, HWND, BOOL&);
    LRESULT OnViewDateRange(WORD, WORD, HWND, BOOL&);
    LRESULT OnHelpLink(WORD, WORD, HWND, BOOL&);
    LRESULT OnNewEntry(WORD, WORD, HWND, BOOL&);
    LRESULT OnEdit(WORD, WORD, HWND, BOOL&);
    LRESULT OnDatabaseInfo(WORD, WORD, HWND, BOOL&);
    LRESULT OnOptions(WORD, WORD, HWND, BOOL&);
    LRESULT OnExportToExcel(WORD, WORD, HWND, BOOL&);
    LRESULT OnExportEnded(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTellDamage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNewReminder(WORD, WORD, HWND, BOOL&);
    LRESULT OnManageReminders(WORD, WORD, HWND, BOOL&);
    LRESULT OnNewVehicle(WORD, WORD, HWND, BOOL&);
    // Import Old Data: the import dialog; after an import the vehicles reloaded, none active.
    LRESULT OnImportOldData(WORD, WORD, HWND, BOOL&);

    LRESULT OnListClick(int, LPNMHDR, BOOL&);
    LRESULT OnEntryItemChanged(int, LPNMHDR, BOOL&);
    LRESULT OnNotesLink(int, LPNMHDR, BOOL&);
    LRESULT OnNotesMsgFilter(int, LPNMHDR, BOOL&);
    LRESULT OnListKeyDown(int, LPNMHDR, BOOL&);

    // Tells why the file at path did not connect (nothing for a missing file or one the engine
    // cannot open); true when the user asks to try the same file again (a file in use).
    bool ReportOpenFailure(CDataLayer::ConnectStatus status, const CString& path);
    // The start ends without a file: DBPath back to the remembered one, the frame asked to close.
    void GiveUpOpening(const CString& remembered);
    // Posts WM_TELL_DAMAGE when the connection has met damage.
    void NoticeDamage();

    void LoadToolbarImages();
    void CreatePanes();
    // Shows or hides the notes pane, unless the entry list is in the middle of a bulk change
    // (its selection notifications then describe no state the user chose).
    void ShowNotes(bool show);
    // The vehicle of the vehicle list's selected row; null when none is selected.
    CVehicle* GetSelectedVehicle() const;
    // Enables or disables every command that needs an active vehicle.
    void EnableVehicleCommands(bool enable);
    // Reloads the entry list from the filter; without an active vehicle the list is emptied.
    void RefreshEntries();
    // True while a vehicle is active (shown, its entries listed).
    bool HasActiveVehicle() const;
    // The notes pane from the entry list's selection: the notes of one selected entry that has
    // some, else hidden and empty.
    void UpdateNotes();
    // Moves the focus across the vertical splitter to the given side and on to its list pane.
    void FocusSide(int side);

    // Members in the order of construction. Tests find the panes as a user's tools would, by
    // their control ids under the frame.
    CEntryListView m_entryList;
    CVehicleListView m_vehicleList;
    CEntryFilter m_filter;
    // 1 from the export command until its worker's end message arrives: one export at a time.
    // Written on this thread only; atomic so that any thread may read it.
    std::atomic<int> m_exportBusy{0};
    CSplitterWindow m_vSplit;
    CHorSplitterWindow m_hSplit1;
    CHorSplitterWindow m_hSplit2;
    CHorSplitterWindow m_hSplit3;
    CCommandBarCtrl m_cmdBar;
    CToolBarCtrl m_toolBar;
    CStatusBarCtrl m_statusBar;
    CPaneContainer m_vehiclePane;
    CPaneContainer m_quickStatsPane;
    CPaneContainer m_entryPane;
    CPaneContainer m_notesPane;
    CPaneContainer m_picturePane;
    CQuickStatsListView m_quickStatsList;
    CRichEditCtrl m_notes;
    CImageList m_toolbarImages;  // owned; destroyed with the window
    CQuickStats m_quickStats;
    CVehicleImage m_vehicleImage;

    // The pane control that had the focus when the frame was last deactivated (a message box, a
    // dialog, another program); it gets the focus back on reactivation, so that Edit and
    // Delete keep working on the list the user was in.
    HWND m_focusBeforeDeactivation = nullptr;

    // Posts the reload put off meanwhile, once nothing holds reloads back any more.
    void PostDeferredReload();
    // Edits the one selected entry of the entry list; nothing for none or several.
    void EditSelectedEntry();
    // Edits the vehicle selected in the vehicle list, which becomes the active one once saved.
    void EditSelectedVehicle();
    // The custom range of the view filter, from the date-range dialog; false when cancelled.
    bool ChooseCustomDates();
    int m_deferReloads = 0;        // CDeferReloads held
    bool m_reloadPending = false;  // a reload arrived while held back and is not yet posted

    // The due check of the active vehicle (null: none active), with reloads held back while its
    // dialogs show that vehicle.
    void CheckDueReminders(CVehicle* vehicle);
};

// Asks to delete the vehicle with its entries and reminders; the result of the deletion, or 0
// when the user says No. A deletion that fails is told, with Retry where that may help.
int ConfirmDeleteVehicle(CVehicle* vehicle);
// Asks to delete the entries (one message for one entry, another for several) and deletes each
// in list order; 1 after deleting, 0 for an empty list or No. A delete that fails (the file in
// use) is told, with Retry for it and the rest; when the user gives up, 0 if none was deleted
// yet, -1 if some were and the others not.
int ConfirmDeleteEntries(CObjectListT<CEntry>* entries);
