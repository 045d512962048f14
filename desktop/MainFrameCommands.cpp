// The main frame's command handlers: entries, vehicles, reminders, the views' filters, the export
// to Excel and the import of old data, the help targets and the small dialogs. The window itself,
// its panes, the database it opened and the messages it answers are MainFrame.cpp's.
//
// Every handler that runs a modal loop (a sheet, a dialog, a message box) while it holds a record of
// the lists holds the reloads back for that time (CDeferReloads): a reload would free the record.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <new>

#include "common/Assert.h"
#include "desktop/AppSettings.h"
#include "desktop/DataFileMessages.h"
#include "desktop/DlgDatabaseInfo.h"
#include "desktop/DlgDateRange.h"
#include "desktop/DlgLegacyData.h"
#include "desktop/DlgOptions.h"
#include "desktop/DlgReminders.h"
#include "desktop/EntryEditor.h"
#include "desktop/ExcelExport.h"
#include "desktop/MainFrame.h"
#include "desktop/Manual.h"
#include "desktop/Paths.h"
#include "desktop/Reminders.h"
#include "desktop/SaveEditedRecord.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "desktop/VehicleEditor.h"

// --- commands ----------------------------------------------------------------------------------

int ConfirmDeleteVehicle(CVehicle* vehicle)
{
    TellOfDamage();
    if (::MessageBoxW(::GetActiveWindow(), LoadResString(IDS_CONFIRM_DELETE_VEHICLE), LoadResString(IDR_MAINFRAME),
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return 0;
    CWaitCursor wait;
    return WriteAskingAgain([vehicle] { return g_DataLayer.Delete(vehicle); });
}

int ConfirmDeleteEntries(CObjectListT<CEntry>* entries)
{
    int count = entries->GetCount();
    if (count <= 0) return 0;
    TellOfDamage();
    UINT text = count == 1 ? IDS_CONFIRM_DELETE_ENTRY : IDS_CONFIRM_DELETE_ENTRIES;
    if (::MessageBoxW(::GetActiveWindow(), LoadResString(text), LoadResString(IDR_MAINFRAME),
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return 0;
    CWaitCursor wait;
    for (int i = 0; i < count; ++i) {
        CEntry* entry = entries->Get(i);
        if (!WriteAskingAgain([entry] { return g_DataLayer.Delete(entry); })) return i > 0 ? -1 : 0;
    }
    return 1;
}

LRESULT CMainFrame::OnDelete(WORD, WORD, HWND, BOOL&)
{
    switch (GetFocusedListId()) {
    case IDC_VEHICLE_LIST: {
        CVehicle* vehicle = GetSelectedVehicle();
        if (!vehicle) break;
        CDeferReloads holding(*this);
        CWaitCursor wait;
        if (ConfirmDeleteVehicle(vehicle)) {
            int row = m_vehicleList.GetSelectedIndex();
            if (row >= 0) m_vehicleList.DeleteItem(row);
            SetActiveVehicle(nullptr, false);
        }
        break;
    }
    case IDC_ENTRY_LIST: {
        // The entries stay the list view's; this list only points at them.
        CDeferReloads holding(*this);
        CObjectListT<CEntry> selected;
        const int deleted = m_entryList.GetSelectedEntries(&selected) > 0 ? ConfirmDeleteEntries(&selected) : 0;
        if (deleted > 0) {
            m_entryList.DeleteSelectedRows();
            UpdateNotes();
            RefreshQuickStats();
        } else if (deleted < 0) {
            // Some were deleted and some not: the list shows again what the file holds.
            RefreshEntries();
            RefreshQuickStats();
        }
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT CMainFrame::OnViewEntryType(WORD, WORD id, HWND, BOOL&)
{
    g_AppSettings.ViewEntryType = static_cast<CEntry::Type>(id - ID_VIEW_ALL_ENTRIES);
    m_filter.SetEntryType(g_AppSettings.ViewEntryType);
    RefreshEntries();
    RefreshQuickStats();
    m_entryList.SetFocus();
    UpdateEntryTypeUI();
    return 0;
}

bool CMainFrame::ChooseCustomDates()
{
    // The range shown, in whole seconds; with none (all dates) the dialog proposes today.
    SYSTEMTIME start{}, end{};
    const SYSTEMTIME* from = m_filter.GetStartDate();
    const SYSTEMTIME* to = m_filter.GetEndDate();
    double date = 0;
    if (from && to) {
        start = *from;
        end = *to;
        if (SystemTimeToVariantTime(&start, &date)) VariantTimeToSystemTime(date, &start);
        if (SystemTimeToVariantTime(&end, &date)) VariantTimeToSystemTime(date, &end);
    } else {
        GetLocalNow(&start);
        end = start;
    }
    if (!SelectDateRange(&start, &end)) return false;
    g_AppSettings.ViewDateRangeType = CEntryFilter::drCustom;
    m_filter.SetStartDate(start, 1);
    m_filter.SetEndDate(end, 1);
    return true;
}

LRESULT CMainFrame::OnViewDateRange(WORD, WORD id, HWND, BOOL&)
{
    if (id == ID_VIEW_CUSTOM_DATES) {
        if (!ChooseCustomDates()) return 0;
    } else {
        g_AppSettings.ViewDateRangeType = static_cast<CEntryFilter::DateRangeType>(id - ID_VIEW_ALL_DATES);
    }
    m_filter.SetDateRangeType(g_AppSettings.ViewDateRangeType);
    RefreshEntries();
    RefreshQuickStats();
    m_entryList.SetFocus();
    UpdateDateRangeUI();
    return 0;
}

LRESULT CMainFrame::OnHelpLink(WORD, WORD id, HWND, BOOL&)
{
    switch (id) {
    case ID_HELP_WEB: ShellOpen(LoadResString(IDS_URL_PRODUCT)); break;
    case ID_HELP_UPDATES: ShellOpen(LoadResString(IDS_URL_UPGRADE)); break;
    case ID_HELP_SUPPORT: ShellOpen(LoadResString(IDS_URL_SUPPORT)); break;
    case ID_HELP_DOCUMENTATION: {
        // Without a program folder there is no manual to look for (not in the current folder).
        const CString manual = GetManualPath(ProgramFolder());
        const INT_PTR result = manual.IsEmpty() ? SE_ERR_FNF : ShellOpen(manual);
        if (result <= 32) ReportManualNotOpened(m_hWnd, manual, result);
        break;
    }
    default: ALK_ASSERT(!"a help command outside the map's range"); break;
    }
    return 0;
}

// The export of the entries the entry list shows. The entries are loaded here, on the thread
// that owns the database connection, and handed with copies of the title and the settings to
// a worker that drives Excel (seconds to start, a call per cell range). The title names the
// active vehicle, whose entries the filter selects, not whichever row is selected in the list.
LRESULT CMainFrame::OnExportToExcel(WORD, WORD, HWND, BOOL&)
{
    if (!g_AppSettings.LastActiveVehicle || m_exportBusy) return 0;
    CVehicle* vehicle = m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle);
    if (!vehicle) return 0;
    m_exportBusy = 1;
    // Ours until the worker starts; then the worker's, which frees it when the export ends.
    std::unique_ptr<CExcelExportJob> job(new (std::nothrow) CExcelExportJob);
    if (!job) {
        m_exportBusy = 0;
        return 0;
    }
    job->window = m_hWnd;
    job->title = FormatVehicleCaption(*vehicle);
    job->formats = CExcelFormats::FromSettings();
    CEntryFilter filter = m_filter;
    bool loaded = false;
    {
        CWaitCursor wait;
        loaded = g_DataLayer.Load(&job->entries, &filter) != 0;
    }
    HANDLE thread = loaded ? ::CreateThread(nullptr, 0, &CMainFrame::ExportThreadProc, job.get(), 0, nullptr) : nullptr;
    if (!thread) {  // a failed load shows nothing
        m_exportBusy = 0;
        return 0;
    }
    job.release();
    ::CloseHandle(thread);
    return 0;
}

DWORD WINAPI CMainFrame::ExportThreadProc(LPVOID parameter)
{
    const std::unique_ptr<CExcelExportJob> job(static_cast<CExcelExportJob*>(parameter));
    HWND window = job->window;
    try {
        ExportEntryListToExcel(window, job->title, &job->entries, job->formats);
    } catch (...) {
        // Nothing to report to: the export ends as one whose calls failed.
    }
    ::PostMessageW(window, WM_EXPORT_ENDED, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnExportEnded(UINT, WPARAM, LPARAM, BOOL&)
{
    m_exportBusy = 0;
    return 0;
}

LRESULT CMainFrame::OnImportOldData(WORD, WORD, HWND, BOOL&)
{
    // The import's worker uses the database while the dialog is up: no reload meanwhile.
    CDeferReloads holding(*this);
    TellOfDamage();  // the worker writes: the user knows of any damage first
    CDlgLegacyData dialog;
    if (dialog.DoModal(::GetActiveWindow()) != 1) return 0;
    // Every imported vehicle has a new reference id: the remembered one is normally gone.
    m_vehicleList.LoadVehicles();
    SetActiveVehicle(m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle), true);
    MessageBox(LoadResString(IDS_OLD_DATA_IMPORTED), LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
    return 0;
}

INT_PTR CMainFrame::ShellOpen(const wchar_t* target)
{
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(m_hWnd, L"open", target, nullptr, nullptr, SW_SHOWNORMAL));
}

LRESULT CMainFrame::OnNewEntry(WORD, WORD id, HWND, BOOL&)
{
    if (!HasActiveVehicle()) {
        // No caption of its own: the system's default one.
        MessageBox(LoadResString(IDS_NO_ACTIVE_VEHICLE), nullptr, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CDeferReloads holding(*this);
    // Freed here unless the entry list takes it.
    std::unique_ptr<CEntry> entry(new CEntry);
    if (!entry) return 0;
    const long odometer = g_AppSettings.ActiveOdometer;
    entry->SetVehicleID(g_AppSettings.LastActiveVehicle);
    entry->SetOdometer(odometer);
    entry->SetType(static_cast<CEntry::Type>(CEntry::etFuel + (id - ID_NEW_FUEL)));
    if (entry->GetType() == CEntry::etTrip) {
        // A trip's start and end odometers; the end a hundred units on.
        entry->SetCustom1(static_cast<float>(odometer));
        entry->SetCustom2(static_cast<float>(static_cast<long long>(odometer) + 100));
    }
    if (!EditEntry(entry.get())) return 0;

    // Stored either way; shown only when the view's filter takes it.
    if (m_filter.EntryMatchesFilter(entry.get())) {
        m_entryList.AddEntry(entry.release());
        RefreshQuickStats();
        m_entryList.SetFocus();
    }
    SyncCurrentOdometer();
    return 0;
}

LRESULT CMainFrame::OnEdit(WORD, WORD, HWND, BOOL&)
{
    switch (GetFocusedListId()) {
    case IDC_ENTRY_LIST: EditSelectedEntry(); break;
    case IDC_VEHICLE_LIST: EditSelectedVehicle(); break;
    default: break;
    }
    return 0;
}

void CMainFrame::EditSelectedEntry()
{
    CDeferReloads holding(*this);
    // The entries stay the list view's; this list only points at them.
    CObjectListT<CEntry> selected;
    if (m_entryList.GetSelectedEntries(&selected) != 1) return;
    CEntry* entry = selected.Get(0);
    if (!EditEntry(entry)) return;
    if (m_filter.EntryMatchesFilter(entry)) {
        m_entryList.UpdateItem(entry, TRUE);
    } else {
        const int row = m_entryList.FindItemByParam(reinterpret_cast<LPARAM>(entry));
        if (row >= 0) m_entryList.DeleteItem(row);
    }
    SyncCurrentOdometer();
    RefreshQuickStats();
}

// --- vehicles ----------------------------------------------------------------------------------

LRESULT CMainFrame::OnNewVehicle(WORD, WORD, HWND, BOOL&)
{
    CDeferReloads holding(*this);
    // Freed here unless the vehicle list takes it.
    std::unique_ptr<CVehicle> vehicle(new CVehicle);
    if (!vehicle || !EditVehicle(vehicle.get())) return 0;
    CVehicle* added = vehicle.release();
    m_vehicleList.AddVehicle(added);
    m_vehicleList.SetFocus();
    SetActiveVehicle(added, false);
    return 0;
}

void CMainFrame::EditSelectedVehicle()
{
    CDeferReloads holding(*this);
    CVehicle* vehicle = GetSelectedVehicle();
    if (!vehicle || !EditVehicle(vehicle)) return;
    // Its caption may sort it elsewhere.
    m_vehicleList.RefreshVehicle(vehicle, TRUE);
    SetActiveVehicle(vehicle, true);
}

LRESULT CMainFrame::OnDatabaseInfo(WORD, WORD, HWND, BOOL&)
{
    CDlgDatabaseInfo dialog;
    dialog.DoModal(::GetActiveWindow());
    return 0;
}

LRESULT CMainFrame::OnOptions(WORD, WORD, HWND, BOOL&)
{
    CDlgOptions dialog;
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return 0;
    g_AppSettings.Save();
    // The units show in the entry captions as in the statistics.
    m_entryList.RefreshTexts();
    RefreshQuickStats();
    return 0;
}

CString CMainFrame::ProgramFolder() const
{
    wchar_t folder[MAX_PATH];
    GetAppDirectory(folder);
    return folder;
}

// --- reminders ---------------------------------------------------------------------------------

void CMainFrame::CheckDueReminders(CVehicle* vehicle)
{
    CDeferReloads holding(*this);
    CheckDueNotifications(vehicle);
}

LRESULT CMainFrame::OnNewReminder(WORD, WORD, HWND, BOOL&)
{
    if (!HasActiveVehicle()) {
        // No caption of its own: the system's default one.
        MessageBox(LoadResString(IDS_NO_ACTIVE_VEHICLE), nullptr, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CDeferReloads holding(*this);
    std::unique_ptr<CNotification> reminder(new CNotification);
    if (!reminder || !EditNotification(reminder.get())) return 0;
    MessageBox(LoadResString(IDS_REMINDER_CREATED), LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONINFORMATION);
    // The reminder was made for the active vehicle, whichever row the vehicle list has selected
    // (the arrow keys move the selection without activating).
    if (CVehicle* vehicle = m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle)) CheckDueReminders(vehicle);
    return 0;
}

LRESULT CMainFrame::OnManageReminders(WORD, WORD, HWND, BOOL&)
{
    if (!HasActiveVehicle()) {
        // No caption of its own: the system's default one.
        MessageBox(LoadResString(IDS_NO_ACTIVE_VEHICLE), nullptr, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CVehicle* vehicle = m_vehicleList.FindVehicle(g_AppSettings.LastActiveVehicle);
    if (!vehicle) return 0;
    CDlgReminders dialog;
    dialog.m_vehicleCaption = FormatVehicleCaption(*vehicle);
    dialog.DoModal(::GetActiveWindow());
    return 0;
}
