// Start-up in this process: the single-instance name and mutex, the bold font, the welcome
// dialog with its file dialogs, and the database opening loop with each connection status (a file
// in use or damaged among them) and the remembered file it keeps.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/AppSettings.h"
#include "desktop/DlgStartup.h"
#include "desktop/MainFrame.h"
#include "desktop/Startup.h"
#include "MainFrameTestSupport.h"
#include "tests/support/DialogScript.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/Pictures.h"
#include "tests/support/SettingsScope.h"

using namespace alk_mainframe_test;

namespace {

void Press(HWND box, int id)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// The file name box of a file dialog (an edit, or the edit inside a combo box).
HWND FileNameBox(HWND dialog)
{
    if (HWND combo = GetDlgItem(dialog, 1148)) {
        HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, 1152);
}

void ChooseFile(HWND dialog, const std::wstring& path)
{
    SetWindowTextW(FileNameBox(dialog), path.c_str());
    Press(dialog, IDOK);
}

std::wstring Documents(const wchar_t* file)
{
    wchar_t folder[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::wstring(folder) + L"\\" + file;
}

TEST(SingleInstance, TheMutexNameIsTheGuidAndTheDesktopOrWin9x)
{
    wchar_t name[MAX_PATH];
    EXPECT_EQ(name, CreateExclusionName(L"{B18B4285-9393-49da-B10D-8A1517452C6F}", name, UNIQUE_TO_DESKTOP));
    EXPECT_STREQ(L"{B18B4285-9393-49da-B10D-8A1517452C6F}-Default", name);
    CreateExclusionNameForDesktop(L"{B18B4285-9393-49da-B10D-8A1517452C6F}", name, nullptr);
    EXPECT_STREQ(L"{B18B4285-9393-49da-B10D-8A1517452C6F}-Win9x", name);
    CreateExclusionName(L"{guid}", name, UNIQUE_TO_SYSTEM);
    EXPECT_STREQ(L"{guid}", name);

    // Another desktop gives another name, so instances there do not meet this one.
    HDESK other = CreateDesktopW(L"AlkTestDesktop", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(nullptr, other);
    CreateExclusionNameForDesktop(L"{guid}", name, other);
    EXPECT_STREQ(L"{guid}-AlkTestDesktop", name);
    CloseDesktop(other);

    // A desktop name longer than the room left is cut, and the name stays terminated.
    std::wstring longGuid(MAX_PATH - 4, L'x');
    CreateExclusionName(longGuid.c_str(), name, UNIQUE_TO_DESKTOP);
    EXPECT_EQ(longGuid + L"-De", std::wstring(name));
}

TEST(SingleInstance, TheFirstCheckMakesTheMutexAndLaterOnesInTheProcessAnswerNo)
{
    const wchar_t* guid = L"{0A1B2C3D-0000-4000-8000-AABBCCDDEEFF}";
    wchar_t name[MAX_PATH];
    CreateExclusionName(guid, name, UNIQUE_TO_DESKTOP);
    // Another process's mutex, as far as this check can tell: made before it, by someone else.
    HANDLE otherInstance = CreateMutexW(nullptr, FALSE, name);
    ASSERT_NE(nullptr, otherInstance);
    EXPECT_TRUE(IsAnotherInstanceRunning(guid, UNIQUE_TO_DESKTOP));
    ASSERT_NE(nullptr, SingleInstanceMutex);
    // Once this process holds the handle, it is the instance: no more answers of yes.
    EXPECT_FALSE(IsAnotherInstanceRunning(guid, UNIQUE_TO_DESKTOP));
    EXPECT_FALSE(IsAnotherInstanceRunning(L"{another}", UNIQUE_TO_DESKTOP));
    CloseHandle(otherInstance);
}

TEST(StartupPieces, TheMessagesAreRegisteredByNameAndTheBoldFontIsBold)
{
    RegisterAppMessages();
    EXPECT_EQ(RegisterWindowMessageW(L"ALK2005DESKTOP"), WM_ACTIVATE_INSTANCE);
    EXPECT_EQ(RegisterWindowMessageW(L"{5E75CC96-F6A3-4ebd-BB10-3F30C53EAC89}"), WM_RELOAD_DATA);
    EXPECT_NE(0u, WM_ACTIVATE_INSTANCE);

    CreateBoldFont();
    ASSERT_NE(nullptr, g_hBoldFont);
    LOGFONTW bold{}, gui{};
    GetObjectW(g_hBoldFont, sizeof bold, &bold);
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    EXPECT_EQ(700, bold.lfWeight);
    EXPECT_EQ(gui.lfHeight, bold.lfHeight);
    EXPECT_STREQ(gui.lfFaceName, bold.lfFaceName);
    DeleteObject(g_hBoldFont);
    g_hBoldFont = nullptr;
}

class WelcomeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        PrepareWindowClasses();
        CreateBoldFont();
    }
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { CloseFrame(frame); }
    void SetPath(const std::wstring& path) { lstrcpynW(g_AppSettings.DBPath, path.c_str(), CAppSettings::MaxPath + 1); }
    // Opening as start-up does it; true when the frame asked to close.
    bool OpenAndSeeIfClosing(std::unique_ptr<CMainFrame> made = nullptr)
    {
        frame = made ? std::move(made) : std::make_unique<CMainFrame>();
        frame->m_bQuitOnDestroy = false;
        EXPECT_TRUE(frame->CreateEx(nullptr, CRect(0, 0, 800, 600)));
        frame->ShowWindow(SW_SHOW);
        frame->OpenDatabase();
        MSG close;
        return PeekMessageW(&close, *frame, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
    }
    CSettingsScope settings;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(WelcomeTest, TheDialogProposesCreatingAndKeepsOpenWhenTheFileDialogIsCancelled)
{
    SampleDatabase existing(L"existing");
    ASSERT_TRUE(existing.Ok());
    SetPath(L"C:\\nowhere\\proposed.dat");
    CDlgStartup dialog;
    bool boldTitle = false, iconShown = false, createChecked = false;
    CDialogScript script({
        [&](HWND welcome) {
            createChecked = IsDlgButtonChecked(welcome, IDC_STARTUP_CREATE) == BST_CHECKED &&
                            IsDlgButtonChecked(welcome, IDC_STARTUP_OPEN) == BST_UNCHECKED;
            boldTitle = reinterpret_cast<HFONT>(SendDlgItemMessageW(welcome, IDC_STARTUP_TITLE, WM_GETFONT, 0, 0)) ==
                        g_hBoldFont;
            iconShown = SendDlgItemMessageW(welcome, IDC_STARTUP_ICON, STM_GETICON, 0, 0) != 0;
            Press(welcome, IDOK);
        },
        [&](HWND saveAs) { Press(saveAs, IDCANCEL); },  // back in the welcome dialog
        [&](HWND welcome) {
            CheckRadioButton(welcome, IDC_STARTUP_CREATE, IDC_STARTUP_OPEN, IDC_STARTUP_OPEN);
            Press(welcome, IDOK);
        },
        [&](HWND open) { ChooseFile(open, existing.Path()); },
    });
    EXPECT_EQ(IDOK, dialog.DoModal(GetDesktopWindow()));
    ASSERT_EQ(4u, script.Done());
    EXPECT_EQ(L"Welcome to Autolark!", script.Met()[0].caption);
    EXPECT_EQ(L"Welcome to Autolark!", script.Met()[2].caption)
        << "the welcome dialog stayed after the file dialog's cancel";
    EXPECT_TRUE(createChecked);
    EXPECT_TRUE(boldTitle);
    EXPECT_TRUE(iconShown);
    EXPECT_EQ(0, dialog.m_createNew);
    EXPECT_EQ(existing.Path(), g_AppSettings.DBPath);
}

// The dialog's pointer to the manual is a link to it (the Help menu it names is out of reach while
// the dialog is up). The test prefix has no manual beside the program, then no PDF viewer: each
// is told in a box over the welcome dialog, which stays.
TEST_F(WelcomeTest, TheManualLinkOpensTheManualOrTellsWhyItCannot)
{
    auto manual = std::make_unique<CManualWithoutViewer>(false);
    CDlgStartup dialog;
    bool link = false;
    HWND welcomeWindow = nullptr, firstOwner = nullptr;
    std::wstring firstText, firstCaption;
    CDialogScript ui;
    ui.WaitFor(L"Welcome to Autolark!").Do([&](HWND welcome) {
        welcomeWindow = welcome;
        link = ObjectOf<CHyperLink>(GetDlgItem(welcome, IDC_STARTUP_INFO)) != nullptr;
    });
    ui.ClickAt(IDC_STARTUP_INFO).Window([&](HWND box) {
        firstOwner = GetWindow(box, GW_OWNER);
        firstText = CDialogScript::Text(box, 0xFFFF);
        firstCaption = CDialogScript::Text(box);
        Press(box, IDOK);
    });
    ui.WaitFor(L"Welcome to Autolark!").Do([&](HWND) {
        manual.reset();
        manual = std::make_unique<CManualWithoutViewer>(true);
    });
    ui.ClickAt(IDC_STARTUP_INFO).Answer(IDOK);
    ui.WaitFor(L"Welcome to Autolark!").Click(IDCANCEL);
    EXPECT_EQ(IDCANCEL, dialog.DoModal(GetDesktopWindow()));
    const std::wstring path = manual->Path();
    manual.reset();
    EXPECT_TRUE(ui.Finished()) << std::string(ui.Failure().begin(), ui.Failure().end());
    EXPECT_TRUE(link);
    EXPECT_EQ(welcomeWindow, firstOwner);
    EXPECT_EQ(L"Autolark", firstCaption);
    EXPECT_EQ(L"The manual " + path + L" could not be found. Install Autolark again to get it back.", firstText);
    ASSERT_EQ(5u, ui.Met().size());
    EXPECT_EQ(L"The manual " + path +
                  L" could not be opened: there is no program to open PDF files on this computer. Install a PDF "
                  L"reader, such as Adobe Reader, and try again.",
              ui.Met()[3].text);
}

TEST_F(WelcomeTest, CancelLeavesThePathAlone)
{
    SetPath(L"C:\\kept.dat");
    CDlgStartup dialog;
    CDialogScript script({[](HWND welcome) { Press(welcome, IDCANCEL); }});
    EXPECT_EQ(IDCANCEL, dialog.DoModal(GetDesktopWindow()));
    EXPECT_STREQ(L"C:\\kept.dat", g_AppSettings.DBPath);
}

TEST_F(WelcomeTest, AMissingFileShowsNoMessageOnlyTheWelcomeAndCancelClosesTheFrameKeepingItRemembered)
{
    const std::wstring missing = TempFile(L"missing");
    SetPath(missing);
    std::wstring proposed;
    CDialogScript script({[&](HWND welcome) {
        proposed = g_AppSettings.DBPath;
        Press(welcome, IDCANCEL);
    }});
    EXPECT_TRUE(OpenAndSeeIfClosing());
    ASSERT_EQ(1u, script.Done());
    EXPECT_EQ(L"Welcome to Autolark!", script.Met()[0].caption);
    EXPECT_EQ(Documents(L"My Vehicles.dat"), proposed) << "the welcome dialog proposes the default file";
    EXPECT_EQ(missing, g_AppSettings.DBPath) << "only a file chosen or created replaces the remembered one";
    EXPECT_FALSE(g_DataLayer.IsConnected());
}

// What a new user sees first: the main window behind the welcome dialog, before any database.
// The entry list's header has no columns yet; it is painted all the same, and the list's notice
// stands below it rather than under it.
TEST_F(WelcomeTest, BehindTheWelcomeDialogTheEntryListsHeaderIsPaintedAndTheNoticeBelowIt)
{
    SetPath(TempFile(L"missing"));
    const COLORREF marker = RGB(255, 0, 255);  // what was on the screen before; no header paints it
    int columns = -1, height = -1, markerLeft = -1, noticeTop = -1;
    COLORREF middle = CLR_INVALID;
    CDialogScript script({[&](HWND welcome) {
        HWND list = FindControl(*frame, IDC_ENTRY_LIST);
        HWND header = ListView_GetHeader(list);
        columns = Header_GetItemCount(header);
        RECT strip{};
        GetClientRect(header, &strip);
        height = strip.bottom;
        HDC dc = GetDC(header);
        HBRUSH brush = CreateSolidBrush(marker);
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
        ReleaseDC(header, dc);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        CShownPixels shown(header);
        if (shown.Captured()) {
            markerLeft = shown.Count(marker);
            middle = shown.At(shown.Width() / 2, shown.Height() / 2);
        }
        noticeTop = CShownPixels(list).FirstRowWith(GetSysColor(COLOR_WINDOWTEXT), height);
        Press(welcome, IDCANCEL);
    }});
    OpenAndSeeIfClosing();
    ASSERT_EQ(1u, script.Done());
    EXPECT_EQ(0, columns) << "the columns come with the database";
    ASSERT_GT(height, 0);
    EXPECT_EQ(0, markerLeft) << "pixels of the header's strip left unpainted";
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), middle);
    EXPECT_GE(noticeTop, height + 10) << "the notice 10 pixels below the header";
}

TEST_F(WelcomeTest, ARememberedFileInUseIsReportedAsSuchKeptOnCancelAndOpenedOnRetry)
{
    SampleDatabase db(L"inuse");
    ASSERT_TRUE(db.Ok());
    ASSERT_NE(0u, CVehicleRecord(L"Family Car").Year(2002).Save(db.Db()));
    db.Db().Disconnect();
    SetPath(db.Path());
    const std::string before = alk_faulty_files::FileBytes(db.Path());
    alk_faulty_files::CExclusiveLock lock(db.Path());  // a synchronisation committing
    ASSERT_TRUE(lock.Held());

    bool retryAndCancel = false;
    CDialogScript cancelled({
        [&](HWND box) {
            retryAndCancel = GetDlgItem(box, IDRETRY) && GetDlgItem(box, IDCANCEL);
            Press(box, IDCANCEL);
        },
        [](HWND welcome) { Press(welcome, IDCANCEL); },
    });
    EXPECT_TRUE(OpenAndSeeIfClosing());
    ASSERT_EQ(2u, cancelled.Done());
    EXPECT_EQ(db.Path() +
                  L" is in use by another program (a synchronisation may be running) and cannot be opened now.\n\n"
                  L"Click Retry to open it again once the other program is done with it, or Cancel to choose another "
                  L"file.",
              cancelled.Met()[0].text);
    EXPECT_TRUE(retryAndCancel);
    EXPECT_EQ(L"Welcome to Autolark!", cancelled.Met()[1].caption);
    EXPECT_EQ(db.Path(), g_AppSettings.DBPath) << "still the remembered file";
    EXPECT_TRUE(before == alk_faulty_files::FileBytes(db.Path()));
    CloseFrame(frame);

    // Retry once the other program is done: the same file opens, no welcome dialog.
    SetPath(db.Path());
    CDialogScript retried({[&](HWND box) {
        lock.Release();
        Press(box, IDRETRY);
    }});
    EXPECT_FALSE(OpenAndSeeIfClosing());
    EXPECT_EQ(1u, retried.Done());
    EXPECT_TRUE(g_DataLayer.IsConnected());
    EXPECT_EQ(1, ListView_GetItemCount(FindControl(*frame, IDC_VEHICLE_LIST)));
}

TEST_F(WelcomeTest, ADamagedFileIsToldOnceAndItsUnreadableEntriesAreNotShownAsAnEmptyList)
{
    SampleDatabase db(L"damaged");
    ASSERT_TRUE(db.Ok());
    const unsigned long car = alk_faulty_files::WriteDamagedEntries(db.Db(), db.Path());
    ASSERT_NE(0u, car);
    const std::string before = alk_faulty_files::FileBytes(db.Path());
    SetPath(db.Path());
    g_AppSettings.LastActiveVehicle = car;
    bool unchangedWhileTold = false;
    CDialogScript script({[&](HWND box) {
        unchangedWhileTold = before == alk_faulty_files::FileBytes(db.Path());
        Press(box, IDOK);
    }});
    EXPECT_FALSE(OpenAndSeeIfClosing());
    PumpMessages();
    ASSERT_EQ(1u, script.Done());
    EXPECT_EQ(db.Path() +
                  L" is damaged: Autolark could not read all of the data in it, and what it could not read is not "
                  L"shown.\n\nMake a copy of the file before you go on, and restore it from a backup copy if you "
                  L"have one. Changes you make from now on are still saved into this file.",
              script.Met()[0].text);
    EXPECT_TRUE(unchangedWhileTold);
    HWND entries = FindControl(*frame, IDC_ENTRY_LIST);
    EXPECT_EQ(0, ListView_GetItemCount(entries));
    CEntryListView* list = ObjectOf<CEntryListView>(entries);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(L"The items of this list could not be read: the data file is damaged.", std::wstring(list->GetNotice()));
    EXPECT_EQ(1, ListView_GetItemCount(FindControl(*frame, IDC_VEHICLE_LIST))) << "what reads is shown";

    // Told once: a reload meets the damage again without a second box.
    const CDialogScript::Seen again = AnswerBox(IDOK, [&] { frame->SendMessage(WM_RELOAD_DATA); });
    EXPECT_EQ(L"", again.text);
    EXPECT_EQ(L"The items of this list could not be read: the data file is damaged.", std::wstring(list->GetNotice()));
    // With no vehicle active there is nothing to read: the notice of an empty list again.
    frame->SetActiveVehicle(nullptr, false);
    EXPECT_EQ(L"There are no items in this list.", std::wstring(list->GetNotice()));
}

TEST_F(WelcomeTest, AnInvalidFileIsReportedThenANewFileReplacesAnExistingOneWithTheTemplate)
{
    // Not a database of this program: a text file.
    std::wstring invalid = TempFile(L"invalid");
    HANDLE file = CreateFileW(invalid.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "just text, no tables", 20, &written, nullptr);
    CloseHandle(file);
    SetPath(invalid);

    // The new file goes over an existing one of that name (with a vehicle in it).
    SampleDatabase old(L"replaced");
    ASSERT_TRUE(old.Ok());
    ASSERT_NE(0u, CVehicleRecord(L"Old Car").Year(1990).Odometer(1).Save(old.Db()));
    old.Db().Disconnect();

    CDialogScript script({
        [](HWND box) { Press(box, IDOK); },                    // message 153
        [](HWND welcome) { Press(welcome, IDOK); },            // create
        [&](HWND saveAs) { ChooseFile(saveAs, old.Path()); },  // the existing name
        [](HWND overwrite) { Press(overwrite, IDYES); },       // replace it
    });
    EXPECT_FALSE(OpenAndSeeIfClosing());
    ASSERT_EQ(4u, script.Done());
    EXPECT_EQ(invalid +
                  L" is not a valid database for this version of Autolark. If you are upgrading from a previous "
                  L"version, please see the online upgrade instructions at http://www.example.com/autolark/upgrade "
                  L"or contact customer support.",
              script.Met()[0].text);
    EXPECT_NE(L"Autolark", script.Met()[0].caption) << "no caption of its own";
    EXPECT_TRUE(g_DataLayer.IsConnected());
    EXPECT_EQ(0, g_DataLayer.GetNumVehicles()) << "the template replaced the old file";
    EXPECT_EQ(old.Path(), g_AppSettings.DBPath);
    DeleteFileW(invalid.c_str());
}

// A program in another folder than the test program's: one that holds no template (not the test
// program's, which the tests that run beside this one copy their template from), or none found
// (an empty module path).
class CFrameInFolder : public CMainFrame {
public:
    explicit CFrameInFolder(const std::wstring& folder) : m_folder(folder.c_str()) {}

protected:
    CString ProgramFolder() const override { return m_folder; }

private:
    CString m_folder;
};

TEST_F(WelcomeTest, AFailedTemplateCopyIsReportedAndTheConnectionIsTriedAgain)
{
    const std::wstring missing = TempFile(L"missing");
    SetPath(missing);
    // The template is not beside the program this time: nothing can be copied.
    CScratchFolder programFolder(L"alk-notemplate");
    std::wstring chosen = TempFile(L"new");
    DeleteFileW(chosen.c_str());

    CDialogScript script({
        [](HWND welcome) { Press(welcome, IDOK); }, [&](HWND saveAs) { ChooseFile(saveAs, chosen); },
        [](HWND box) { Press(box, IDOK); },              // the failed copy
        [](HWND welcome) { Press(welcome, IDCANCEL); },  // the file is still missing: welcome again
    });
    EXPECT_TRUE(OpenAndSeeIfClosing(std::make_unique<CFrameInFolder>(programFolder.Path())));
    ASSERT_EQ(4u, script.Done());
    EXPECT_EQ(L"Cannot create new data file " + chosen + L". Please try again.", script.Met()[2].text);
    EXPECT_NE(L"Autolark", script.Met()[2].caption) << "no caption of its own";
    EXPECT_EQ(L"Welcome to Autolark!", script.Met()[3].caption);
    EXPECT_FALSE(g_DataLayer.IsConnected());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chosen.c_str()));
    EXPECT_EQ(missing, g_AppSettings.DBPath) << "the remembered file, not the one that could not be made";
}

TEST_F(WelcomeTest, WithoutAProgramFolderCreatingANewFileClosesInsteadOfCopyingFromTheCurrentFolder)
{
    SetPath(TempFile(L"missing"));
    std::wstring chosen = TempFile(L"new");
    DeleteFileW(chosen.c_str());
    // The current folder holds a file of the template's name: it must not be taken for one.
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    CScratchFolder folder(L"alk-nofolder");
    ASSERT_TRUE(CopyTemplate(folder.File(L"Default.ENU")));
    SetCurrentDirectoryW(folder.Path().c_str());
    CDialogScript script({
        [](HWND welcome) { Press(welcome, IDOK); },
        [&](HWND saveAs) { ChooseFile(saveAs, chosen); },
    });
    const bool closing = OpenAndSeeIfClosing(std::make_unique<CFrameInFolder>(L""));
    SetCurrentDirectoryW(current);
    EXPECT_TRUE(closing);
    EXPECT_EQ(2u, script.Done());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chosen.c_str()));
    EXPECT_FALSE(g_DataLayer.IsConnected());
}

}  // namespace
