// CDlgLegacyData: "Import Old Data" (dialog 109), in which the user names the older version's
// data file, and ImportLegacyDataThread, the worker that imports it while the dialog shows its
// progress.
//
// The path comes from the old version's settings (HKCU "Software\Quorrin\Autolark", "DBPath",
// read only and not expanded) or from Browse; the field itself is read-only. Import disables
// Import, Cancel, the path and Browse and starts the worker; from then until the worker is done
// the dialog cannot be cancelled (Cancel, Escape and the close box do nothing), so that the
// dialog object outlives the worker's use of it.
//
// The worker reads the old file with CLegacyImport (which shows its own messages). When it read
// something and the open file holds data, the user is asked first, before anything is deleted:
// a box of the dialog's own thread names the file and how many vehicles and entries it holds,
// with No as the default; No leaves the file untouched and the dialog idle. (An empty file, with
// nothing to lose, is not asked about.) Then the worker replaces the whole content of the
// program's database in one transaction: it empties the four tables and saves every vehicle as a
// new record, each followed by its entries and reminders relinked to the vehicle's new reference
// id (those of no imported vehicle are dropped), then the keywords, stepping the progress bar
// once per record saved. Only a committed transaction ends the dialog with 1; a step that fails
// (the transaction not begun, a delete or save refused, a commit still busy after a short retry)
// rolls everything back, tells the user that the database has not been changed, and returns the
// dialog to idle, as does a file that could not be read. The worker uses the program's
// g_DataLayer while the user-interface thread sits in the dialog's modal loop; the main frame
// holds back its reloads meanwhile.
//
// Dialog states: idle (Import, Cancel, the path and Browse enabled); importing (they are
// disabled; the progress bar and its text shown while the records are written); ended (1 after
// an import, 2 after Cancel).
#pragma once

#include <windows.h>

#include <functional>

#include "business/AlkBiz.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/HyperLink.h"
#include "framework/SmallControls.h"
#include "framework/String.h"
#include "resources/desktop/resource.h"

#define ALK_OLD_SETTINGS_KEY L"Software\\Quorrin\\Autolark"

class CLegacyImport;

class CDlgLegacyData : public CDialogImpl<CDlgLegacyData>, public CWinDataExchange<CDlgLegacyData> {
public:
    enum { IDD = IDD_LEGACY_DATA };

    CDlgLegacyData();
    // Waits for a worker that is still finishing (it no longer touches the dialog by then but for
    // its last signal).
    ~CDlgLegacyData() override;
    CDlgLegacyData(const CDlgLegacyData&) = delete;
    CDlgLegacyData& operator=(const CDlgLegacyData&) = delete;

    CProgressBarCtrl m_progress;  // control 1036, kept at start for the worker
    CString m_path;               // the old data file's full path, exchanged with 1025
    CHyperLink m_manualLink;      // control 1007: opens the manual in the program's folder
    CString m_manualPath;         // the manual's path, empty when it cannot be made

    // clang-format off
    BEGIN_DDX_MAP(CDlgLegacyData)
        DDX_TEXT(IDC_LEGACY_PATH, m_path)
    END_DDX_MAP()

    BEGIN_MSG_MAP(CDlgLegacyData)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_IMPORT_ENDED, OnImportEnded)
        MESSAGE_HANDLER(WM_CONFIRM_REPLACE, OnConfirmReplace)
        COMMAND_ID_HANDLER(IDOK, OnImport)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDC_LEGACY_BROWSE, OnBrowse)
        COMMAND_ID_HANDLER(IDC_LEGACY_MANUAL, OnManual)
    END_MSG_MAP()
    // clang-format on

    // Whether a worker was started and has not yet given the dialog back.
    bool IsImporting() const { return m_importing; }

private:
    friend DWORD WINAPI ImportLegacyDataThread(LPVOID dialog);

    // Posted by the worker when it ends without an import: wParam an ImportEnd.
    enum { WM_IMPORT_ENDED = WM_APP + 1 };
    enum ImportEnd { ieNothingRead = 0, ieNotWritten = 1, ieDeclined = 2 };
    // Sent by the worker (which waits for the answer) to ask whether the open file's content may
    // be replaced: lParam the CCurrentContent it counted; the result IDYES or IDNO.
    enum { WM_CONFIRM_REPLACE = WM_APP + 2 };
    struct CCurrentContent {
        int vehicles;
        int entries;
    };

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnImportEnded(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirmReplace(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnImport(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    // The link: the manual opened, or the user told why it cannot be.
    LRESULT OnManual(WORD, WORD, HWND, BOOL&);

    // The four controls the user works with, enabled or not.
    void EnableInput(bool enable);
    // The progress bar and its text, shown or hidden.
    void ShowProgress(bool show);
    // The worker's question, before anything is deleted: true when the open file holds nothing
    // to lose or the user answered Yes.
    bool ConfirmReplace();
    // The worker's writing: true once the transaction is committed.
    bool WriteRecords(CLegacyImport& import);

    bool m_importing = false;  // user-interface thread only
    bool m_workerStarted = false;
    HANDLE m_workerDone;  // set by the worker after its last use of the dialog
};

// The import worker's thread routine; its parameter is the dialog. Exit code 0 on every road.
DWORD WINAPI ImportLegacyDataThread(LPVOID dialog);

// The worker's writing, on the thread that uses db: the imported lists replace the database's
// content in one transaction, as described above. start(total) is called once the tables are
// emptied, with the number of records of the four lists; step() after each record saved. True
// once committed; false after everything was rolled back. The vehicles, entries and reminders
// saved carry their new row and reference ids afterwards.
bool WriteLegacyRecords(CDataLayer& db, CLegacyImport& import, const std::function<void(int total)>& start,
                        const std::function<void()>& step);
