#include "desktop/DlgLegacyData.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <memory>

#include "common/SharedNames.h"
#include "desktop/Manual.h"
#include "desktop/Paths.h"
#include "desktop/Startup.h"
#include "desktop/Utility.h"
#include "framework/FileDialog.h"
#include "framework/RegKey.h"
#include "legacy/LegacyImport.h"

namespace {

// A commit that finds the database busy (a reader of another connection) is tried again this
// many times, this far apart, before the import gives up and rolls back.
const int kCommitRetries = 5;
const DWORD kCommitRetryMs = 200;

bool CommitWithRetry(CDataLayer& db)
{
    for (int attempt = 0;; ++attempt) {
        const CDataLayer::CommitResult result = db.Commit();
        if (result == CDataLayer::crCommitted) return true;
        if (result != CDataLayer::crBusy || attempt >= kCommitRetries) return false;
        ::Sleep(kCommitRetryMs);
    }
}

}  // namespace

CDlgLegacyData::CDlgLegacyData() : m_workerDone(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

CDlgLegacyData::~CDlgLegacyData()
{
    if (m_workerStarted && m_workerDone) ::WaitForSingleObject(m_workerDone, INFINITE);
    if (m_workerDone) ::CloseHandle(m_workerDone);
}

LRESULT CDlgLegacyData::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterWindow(GetParent());
    m_progress = GetDlgItem(IDC_LEGACY_PROGRESS);
    m_progress.SetStep(1);

    wchar_t folder[MAX_PATH];
    wchar_t manual[MAX_PATH];
    GetAppDirectory(folder);
    // The link sends its command here: a manual that cannot be opened is reported.
    m_manualLink.SubclassWindow(GetDlgItem(IDC_LEGACY_MANUAL));
    m_manualLink.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    if (JoinPath(manual, folder, LoadResString(IDS_MIGRATION_MANUAL))) {
        m_manualPath = manual;
        m_manualLink.SetHyperLink(manual);
    }

    CRegKey oldSettings;
    if (oldSettings.Open(HKEY_CURRENT_USER, ALK_OLD_SETTINGS_KEY, KEY_READ) != ERROR_SUCCESS) return TRUE;
    // REG_SZ or REG_EXPAND_SZ as stored (not expanded); anything else, or a value longer than a
    // path, leaves the field empty.
    wchar_t path[MAX_PATH] = {};
    ULONG chars = MAX_PATH;
    if (oldSettings.QueryStringValue(ALK_DB_PATH_VALUE, path, &chars) == ERROR_SUCCESS) m_path = path;
    DoDataExchange(FALSE, IDC_LEGACY_PATH);
    return TRUE;
}

LRESULT CDlgLegacyData::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    const CString filter = LoadFileFilter(IDS_FILTER_OLD_DATA);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, filter);
    if (dialog.DoModal(::GetActiveWindow()) != IDOK) return 0;
    m_path = dialog.m_szFileName;
    DoDataExchange(FALSE, IDC_LEGACY_PATH);
    return 0;
}

LRESULT CDlgLegacyData::OnManual(WORD, WORD, HWND, BOOL&)
{
    OpenManual(m_hWnd, m_manualPath);
    return 0;
}

LRESULT CDlgLegacyData::OnImport(WORD, WORD, HWND, BOOL&)
{
    if (m_importing) return 0;
    if (!DoDataExchange(TRUE, IDC_LEGACY_PATH) || m_path.IsEmpty()) return 0;  // no file named: nothing to do
    // Disabled before the worker starts: a second click (or Enter) cannot start a second worker
    // on the one connection.
    m_importing = true;
    EnableInput(false);
    ::ResetEvent(m_workerDone);
    DWORD id = 0;
    HANDLE worker = ::CreateThread(nullptr, 0, &ImportLegacyDataThread, this, 0, &id);
    if (!worker) {
        ::SetEvent(m_workerDone);
        m_importing = false;
        EnableInput(true);
        return 0;
    }
    m_workerStarted = true;
    ::CloseHandle(worker);
    return 0;
}

LRESULT CDlgLegacyData::OnCancel(WORD, WORD, HWND, BOOL&)
{
    // Cancel, Escape and the close box all come here; a running import is not interrupted.
    if (m_importing) return 0;
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CDlgLegacyData::OnImportEnded(UINT, WPARAM end, LPARAM, BOOL&)
{
    ShowProgress(false);
    if (end == ieNotWritten)
        MessageBox(LoadResString(IDS_OLD_DATA_NOT_WRITTEN), LoadResString(IDR_MAINFRAME), MB_OK | MB_ICONEXCLAMATION);
    m_importing = false;
    EnableInput(true);
    GotoDlgCtrl(GetDlgItem(IDOK));
    return 0;
}

LRESULT CDlgLegacyData::OnConfirmReplace(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    const auto* content = reinterpret_cast<const CCurrentContent*>(lParam);
    ALK_ASSERT(content != nullptr);
    if (!content) return IDNO;
    const auto count = [](int n, UINT one, UINT many) {
        if (n == 1) return LoadResString(one);
        CString text;
        text.Format(LoadResString(many), FormatNumber(static_cast<float>(n), false, false).GetString());
        return text;
    };
    CString text;
    text.Format(LoadResString(IDS_OLD_DATA_REPLACE), g_DataLayer.GetDBPath(),
                count(content->vehicles, IDS_COUNT_VEHICLE, IDS_COUNT_VEHICLES).GetString(),
                count(content->entries, IDS_COUNT_ENTRY, IDS_COUNT_ENTRIES).GetString());
    return MessageBox(text, LoadResString(IDR_MAINFRAME), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
}

bool CDlgLegacyData::ConfirmReplace()
{
    CDataLayer& db = g_DataLayer;
    CCurrentContent content{db.GetNumVehicles(), db.GetNumEntries()};
    const int reminders = db.GetNumNotifications();
    const int keywords = db.GetNumKeywords();
    // A count that cannot be read gives 0: the file is taken for empty only while its
    // connection has met no failure at all, so that a file merely unread is asked about too.
    const bool empty = content.vehicles == 0 && content.entries == 0 && reminders == 0 && keywords == 0 &&
                       db.GetLastFailure() == CDataLayer::fcNone && !db.FoundDamage();
    if (empty) return true;
    // Asked on the dialog's own thread, which serves the message from its modal loop.
    return ::SendMessageW(m_hWnd, WM_CONFIRM_REPLACE, 0, reinterpret_cast<LPARAM>(&content)) == IDYES;
}

void CDlgLegacyData::EnableInput(bool enable)
{
    for (int id : {IDOK, IDCANCEL, IDC_LEGACY_PATH, IDC_LEGACY_BROWSE}) ::EnableWindow(GetDlgItem(id), enable);
}

void CDlgLegacyData::ShowProgress(bool show)
{
    m_progress.ShowWindow(show ? SW_SHOW : SW_HIDE);
    ::ShowWindow(GetDlgItem(IDC_LEGACY_BUSY), show ? SW_SHOW : SW_HIDE);
}

bool CDlgLegacyData::WriteRecords(CLegacyImport& import)
{
    const bool written = WriteLegacyRecords(
        g_DataLayer, import,
        [this](int total) {
            ShowProgress(true);
            m_progress.SetRange32(0, total);
            m_progress.SetPos(0);
        },
        [this] { m_progress.StepIt(); });
    ShowProgress(false);
    return written;
}

bool WriteLegacyRecords(CDataLayer& db, CLegacyImport& import, const std::function<void(int)>& start,
                        const std::function<void()>& step)
{
    CObjectListT<CVehicle>* vehicles = import.GetVehicleList();
    CObjectListT<CEntry>* entries = import.GetEntryList();
    CObjectListT<CNotification>* reminders = import.GetNotificationList();
    CObjectListT<CKeyword>* keywords = import.GetKeywordList();

    if (!db.BeginTransaction()) return false;
    bool ok = db.DeleteAllData() != 0;
    if (ok) start(keywords->GetCount() + reminders->GetCount() + entries->GetCount() + vehicles->GetCount());
    for (int v = 0; ok && v < vehicles->GetCount(); ++v) {
        CVehicle* vehicle = vehicles->Get(v);
        // The old id becomes the link of its entries and reminders to the vehicle's new
        // reference id; the vehicle itself is saved as a new record.
        const unsigned long oldID = static_cast<unsigned long>(vehicle->GetID());
        vehicle->SetID(0);
        ok = db.Save(vehicle, 0) != 0;
        if (!ok) break;
        step();
        const unsigned long newID = vehicle->GetRefID();
        // A record already saved (row id set) belongs to an earlier vehicle, whatever its link
        // says now.
        for (int e = 0; ok && e < entries->GetCount(); ++e) {
            CEntry* entry = entries->Get(e);
            if (entry->GetID() != 0 || entry->GetVehicleID() != oldID) continue;
            entry->SetVehicleID(newID);
            ok = db.Save(entry, 0) != 0;
            if (ok) step();
        }
        for (int r = 0; ok && r < reminders->GetCount(); ++r) {
            CNotification* reminder = reminders->Get(r);
            if (reminder->GetID() != 0 || reminder->GetVehicleID() != oldID) continue;
            reminder->SetVehicleID(newID);
            ok = db.Save(reminder, 0) != 0;
            if (ok) step();
        }
    }
    for (int k = 0; ok && k < keywords->GetCount(); ++k) {
        ok = db.Save(keywords->Get(k), 0) != 0;
        if (ok) step();
    }
    if (ok) ok = CommitWithRetry(db);
    // Nothing of a failed import stays: the old content comes back whole.
    if (!ok) db.RollBack();
    return ok;
}

DWORD WINAPI ImportLegacyDataThread(LPVOID parameter)
{
    auto* dialog = static_cast<CDlgLegacyData*>(parameter);
    // What the worker needs of the dialog after its last use of it.
    const HWND window = dialog->m_hWnd;
    const HANDLE done = dialog->m_workerDone;

    std::unique_ptr<CLegacyImport> import;
    bool imported = false;
    WPARAM end = CDlgLegacyData::ieNothingRead;
    try {
        wchar_t path[MAX_PATH + 1] = {};
        const int length = ::GetDlgItemTextW(window, IDC_LEGACY_PATH, path, MAX_PATH + 1);
        dialog->m_path = path;
        if (length > 0) {
            import.reset(new CLegacyImport);
            // It tells the user itself when the file cannot be read.
            if (import->Import(path)) {
                if (!dialog->ConfirmReplace()) {
                    end = CDlgLegacyData::ieDeclined;
                } else {
                    imported = dialog->WriteRecords(*import);
                    if (!imported) end = CDlgLegacyData::ieNotWritten;
                }
            }
        }
    } catch (...) {
        imported = false;
    }
    if (imported) {
        dialog->EndDialog(1);  // carried out by the dialog's own thread
        ::SetEvent(done);
    } else {
        import.reset();
        ::SetEvent(done);
        ::PostMessageW(window, CDlgLegacyData::WM_IMPORT_ENDED, end, 0);
    }
    // The records of the four lists are freed with the import, after the dialog was let go.
    import.reset();
    return 0;
}
