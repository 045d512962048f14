// Autolark.exe as a separate process under the same Wine prefix: its start on a fresh registry,
// the second start, the reload broadcast, a remembered file it may not write or whose path is too
// long, a save the busy file refused, a newer version's file and a file whose entries are damaged.
// The test finds the program's windows, answers its dialogs and reads its lists the way another
// program would.
//
// It also writes a picture of the main window on the sample database (main-window.bmp beside
// this test program) and prints how long the program takes to show a sample and an empty
// database.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainFrameTestSupport.h"
#include "resources/desktop/resource.h"
#include "tests/support/FaultyFiles.h"
#include "tests/support/ProgramDriver.h"

using namespace alk_mainframe_test;

namespace {

const std::wstring kProgram = WinePathW(ALK_PROGRAM_PATH);
const std::wstring kSampleTool = WinePathW(ALK_SAMPLE_TOOL_PATH);
// What a synchronisation does once it has written: every window hears that the file changed.
void BroadcastReload()
{
    SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(ALK_RELOAD_DATA_MESSAGE), 0, 0);
}

const wchar_t* kUnitsNotice =
    L"If this is the first time you are using Autolark, click Tools > Options in the main menu and verify the units "
    L"for distance and volume.";

// Every value under the settings key and its sub-keys: path\name -> type and bytes.
using RegistrySnapshot = std::map<std::wstring, std::vector<BYTE>>;
void Snapshot(HKEY parent, const std::wstring& path, RegistrySnapshot& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::vector<BYTE> value(data, data + size);
        value.push_back(static_cast<BYTE>(type));
        out[path + L"\\" + name] = value;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        Snapshot(parent, path + L"\\" + name, out);
    }
    RegCloseKey(key);
}
RegistrySnapshot Snapshot()
{
    RegistrySnapshot out;
    Snapshot(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, out);
    return out;
}

bool ReadSetting(const wchar_t* subKey, const wchar_t* name, DWORD* value)
{
    DWORD size = sizeof *value;
    return RegGetValueW(HKEY_CURRENT_USER, subKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) == ERROR_SUCCESS;
}
std::wstring ReadTextSetting(const wchar_t* name)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

// The file name box of a file dialog (an edit, or the edit inside a combo box).
HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, 1148);  // cmb13
    if (box) {
        HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
        return edit ? edit : box;
    }
    return GetDlgItem(dialog, 1152);  // edt1
}

// Text typed into a field of the program's sheet as keys arrive: the focus moved onto the field
// by its page, then the characters.
void TypeInto(HWND sheet, int id, const wchar_t* text)
{
    HWND field = FindControl(sheet, id);
    PostMessageW(GetParent(field), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    for (const wchar_t* p = text; *p; ++p) PostMessageW(field, WM_CHAR, *p, 1);
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }

    // The main window, once it shows the connected database (the statistics rows exist then).
    static HWND WaitForConnectedWindow(const CProgramDriver& program)
    {
        return program.WaitForMainWindow([](HWND main) { return RowCount(FindControl(main, IDC_QUICK_STATS)) == 10; });
    }
    // The program started, and its main window once it shows the connected database; null when
    // it could not start or did not show it.
    static HWND StartConnected(CProgramDriver& program)
    {
        return program.Start(kProgram) ? WaitForConnectedWindow(program) : nullptr;
    }
};

TEST_F(ProgramTest, AFreshStartWelcomesCreatesTheChosenFileAndSavesEverySettingAtExit)
{
    std::wstring chosen = TempFile(L"created");
    DeleteFileW(chosen.c_str());

    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND welcome = program.WaitForWindow(L"#32770", L"Welcome to Autolark!");
    ASSERT_NE(nullptr, welcome);
    HWND main = program.Find(L"Alk.MainFrame", L"Autolark");
    ASSERT_NE(nullptr, main) << "the main window stands behind the welcome dialog";
    EXPECT_EQ(BST_CHECKED, SendMessageW(GetDlgItem(welcome, IDC_STARTUP_CREATE), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(GetDlgItem(welcome, IDC_STARTUP_OPEN), BM_GETCHECK, 0, 0));
    // Nothing is connected yet, so nothing was remembered.
    EXPECT_EQ(L"<none>", ReadTextSetting(L"DBPath"));

    PostMessageW(welcome, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND save = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (save = program.Find(L"#32770", nullptr, welcome)) != nullptr; }));
    HWND name = FileNameBox(save);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(L"My Vehicles.dat", ControlText(name)) << "the default file is proposed";
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
    PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    // Connected: the path is remembered at once; then the first-run notice.
    HWND notice = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        notice = program.Find(L"#32770", L"Autolark");
        return notice != nullptr;
    }));
    EXPECT_EQ(kUnitsNotice, MessageBoxText(notice));
    EXPECT_EQ(chosen, ReadTextSetting(L"DBPath"));
    DWORD shown = 99;
    EXPECT_FALSE(ReadSetting(ALK_SETTINGS_KEY, L"UnitSetupMsgShown", &shown)) << "written at exit only";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chosen.c_str()));
    PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    ASSERT_NE(nullptr, WaitForConnectedWindow(program));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    // Every setting is written at the end of the run, the layout when the window closed.
    EXPECT_TRUE(ReadSetting(ALK_SETTINGS_KEY, L"UnitSetupMsgShown", &shown));
    EXPECT_EQ(1u, shown);
    DWORD value = 0;
    for (const wchar_t* setting : {L"LastActiveVehicle", L"ViewEntryType", L"ViewDateRangeType", L"UnitDistance",
                                   L"UnitVolume", L"ShowVehiclePicture", L"SortAscending", L"LastColSorted"})
        EXPECT_TRUE(ReadSetting(ALK_SETTINGS_KEY, setting, &value)) << setting;
    EXPECT_TRUE(ReadSetting(ALK_SETTINGS_KEY L"\\UI", L"Splitter_vSplit", &value));
    EXPECT_EQ(chosen, ReadTextSetting(L"DBPath"));

    // The new file is the template: it connects and holds nothing.
    CDataLayer db;
    ASSERT_EQ(CDataLayer::csConnected, db.Connect(chosen.c_str()));
    EXPECT_EQ(0, db.GetNumVehicles());
    db.Disconnect();
    DeleteFileW(chosen.c_str());
}

TEST_F(ProgramTest, CancellingTheWelcomeEndsTheProgramAfterTheFirstRunNotice)
{
    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND welcome = program.WaitForWindow(L"#32770", L"Welcome to Autolark!");
    ASSERT_NE(nullptr, welcome);
    PostMessageW(welcome, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    HWND notice = program.WaitForWindow(L"#32770", L"Autolark", 10000);
    ASSERT_NE(nullptr, notice) << "the notice is shown although the program is closing";
    Sleep(500);
    EXPECT_TRUE(IsWindow(notice)) << "the notice stays until it is answered";
    EXPECT_EQ(kUnitsNotice, MessageBoxText(notice));
    PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_NE(-1, program.Wait(10000));
    DWORD shown = 0;
    EXPECT_TRUE(ReadSetting(ALK_SETTINGS_KEY, L"UnitSetupMsgShown", &shown));
    EXPECT_EQ(1u, shown);
    // No file was chosen or created: none is remembered (the proposed default file is not, which
    // the next start would open without a word should it come to exist).
    EXPECT_EQ(L"", ReadTextSetting(L"DBPath"));
}

TEST_F(ProgramTest, ASecondStartExitsWithZeroWritesNothingAndBringsTheFirstToTheFront)
{
    SampleDatabase db(L"single");
    ASSERT_TRUE(db.Ok());
    unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    ASSERT_NE(0u, car);
    RememberDatabase(db.Path(), car);

    CProgramDriver first;
    HWND main = StartConnected(first);
    ASSERT_NE(nullptr, main);
    ShowWindowAsync(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }));

    RegistrySnapshot before = Snapshot();
    CProgramDriver second;
    ASSERT_TRUE(second.Start(kProgram));
    EXPECT_EQ(0, second.Wait(10000));
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }, 5000))
        << "iconic " << IsIconic(main) << ", foreground " << GetForegroundWindow() << " main " << main;
    EXPECT_EQ(nullptr, second.Find(L"Alk.MainFrame"));
    EXPECT_TRUE(before == Snapshot()) << "the second start changed the settings";

    EXPECT_EQ(CProgramDriver::kQuitCode, first.Close(main)) << "the program ended as its frame ends it, not by a crash";
}

TEST_F(ProgramTest, AReloadBroadcastShowsRowsAnotherProcessWroteMeanwhile)
{
    SampleDatabase db(L"reload");
    ASSERT_TRUE(db.Ok());
    SYSTEMTIME today;
    GetSystemTime(&today);
    unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    ASSERT_NE(0u, car);
    auto entry = [&](CEntry::Type type, int daysAgo, long odometer, float amount, const wchar_t* description) {
        EXPECT_NE(0u, CEntryRecord(car, type)
                          .Date(DaysBefore(today, daysAgo))
                          .Odometer(odometer)
                          .Amount(amount)
                          .Description(description)
                          .Save(db.Db()));
    };
    entry(CEntry::etFuel, 3, 11900, 30.0f, L"");
    entry(CEntry::etRepair, 9, 11800, 70.0f, L"Oil change");
    RememberDatabase(db.Path(), car);

    CProgramDriver program;
    HWND main = StartConnected(program);
    ASSERT_NE(nullptr, main);
    HWND entries = FindControl(main, IDC_ENTRY_LIST);
    HWND vehicles = FindControl(main, IDC_VEHICLE_LIST);
    ASSERT_TRUE(WaitFor([&] { return RowCount(entries) == 2; }));
    EXPECT_EQ(1, RowCount(vehicles));

    entry(CEntry::etTrip, 1, 12050, 18.0f, L"Airport run");
    entry(CEntry::etExpense, 2, 12000, 5.0f, L"Parking");
    EXPECT_NE(0u, CVehicleRecord(L"Bike").Year(2010).Odometer(300).Save(db.Db()));
    Sleep(300);
    EXPECT_EQ(2, RowCount(entries)) << "no reload before the message";

    BroadcastReload();
    EXPECT_TRUE(WaitFor([&] { return RowCount(entries) == 4 && RowCount(vehicles) == 2; }, 10000))
        << RowCount(entries) << " entries, " << RowCount(vehicles) << " vehicles";
    EXPECT_EQ((std::vector<std::wstring>{L"Bike (2010)", L"Family Car (2002)"}), program.ColumnTexts(vehicles, 0));
    const std::vector<std::wstring> descriptions = program.ColumnTexts(entries, 1);
    EXPECT_NE(descriptions.end(), std::find(descriptions.begin(), descriptions.end(), L"Parking"));

    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";
}

TEST_F(ProgramTest, ADueReminderOfTheRememberedVehicleShowsAtStartAndItsDeleteButtonRemovesIt)
{
    SampleDatabase db(L"due");
    ASSERT_TRUE(db.Ok());
    SYSTEMTIME today;
    GetSystemTime(&today);
    const unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    EXPECT_NE(0u, CReminderRecord(car, L"Oil change").Odometer(999999).Date(DaysBefore(today, 2)).Save(db.Db()));
    EXPECT_NE(0u, CReminderRecord(car, L"Inspection").Odometer(999999).Date(DaysBefore(today, -30)).Save(db.Db()));
    RememberDatabase(db.Path(), car);

    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND due = program.WaitForWindow(L"#32770", L"Reminder");
    ASSERT_NE(nullptr, due);
    EXPECT_EQ(L"Oil change", ControlText(GetDlgItem(due, IDC_FIRE_DESCRIPTION)));
    EXPECT_EQ(L"Family Car (2002)", ControlText(GetDlgItem(due, IDC_FIRE_VEHICLE)));
    EXPECT_EQ(L"&Delete this reminder", ControlText(GetDlgItem(due, IDOK)));
    PostMessageW(GetDlgItem(due, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(due); }));
    HWND main = WaitForConnectedWindow(program);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(nullptr, program.Find(L"#32770", L"Reminder")) << "the other one is not due";
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    CObjectListT<CNotification> left;
    ASSERT_TRUE(db.Db().Load(&left, car));
    ASSERT_EQ(1, left.GetCount());
    EXPECT_STREQ(L"Inspection", left.Get(0)->GetName());
}

TEST_F(ProgramTest, AReadOnlyRememberedFileIsReportedThenTheDefaultFileIsProposed)
{
    SampleDatabase db(L"readonly");
    ASSERT_TRUE(db.Ok());
    db.Db().Disconnect();
    ASSERT_TRUE(SetFileAttributesW(db.Path().c_str(), FILE_ATTRIBUTE_READONLY));
    RememberDatabase(db.Path());

    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND box = program.WaitForWindow(L"#32770");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(db.Path() +
                  L" is a read-only file. Remove the read-only attribute of this file before opening it using "
                  L"Autolark.",
              MessageBoxText(box));
    EXPECT_NE(L"Autolark", WindowText(box)) << "the box has no caption of its own";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    HWND welcome = program.WaitForWindow(L"#32770", L"Welcome to Autolark!");
    ASSERT_NE(nullptr, welcome);
    // Open an existing file: the open dialog proposes the default file, not the failed one.
    SendMessageW(GetDlgItem(welcome, IDC_STARTUP_OPEN), BM_CLICK, 0, 0);
    PostMessageW(welcome, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND open = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (open = program.Find(L"#32770", nullptr, welcome)) != nullptr; }));
    EXPECT_EQ(L"My Vehicles.dat", ControlText(FileNameBox(open)));
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // Cancelling the file dialog keeps the welcome dialog; cancelling that ends the program.
    ASSERT_TRUE(WaitFor([&] { return program.Find(L"#32770", nullptr, welcome) == nullptr; }));
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(welcome));
    PostMessageW(welcome, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_NE(-1, program.Wait());
    EXPECT_EQ(db.Path(), ReadTextSetting(L"DBPath")) << "still the remembered file";
}

// The message box of the program's start (its caption is the system's) and the welcome dialog
// after it, both cancelled; the box's text.
std::wstring CancelBoxAndWelcome(CProgramDriver& program)
{
    HWND box = program.WaitForWindow(L"#32770");
    if (!box) return L"<no box>";
    const std::wstring text = MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK, BN_CLICKED), 0);
    HWND welcome = program.WaitForWindow(L"#32770", L"Welcome to Autolark!");
    if (!welcome) return L"<no welcome dialog after> " + text;
    PostMessageW(welcome, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return text;
}

TEST_F(ProgramTest, ARememberedPathTooLongIsSaidToBeTooLongAndStaysRemembered)
{
    for (size_t length : {261u, 300u}) {
        std::wstring path = L"C:\\users\\" + std::wstring(length, L'x');
        path.resize(length - 4);
        path += L".dat";
        RememberDatabase(path);
        CProgramDriver program;
        ASSERT_TRUE(program.Start(kProgram));
        const std::wstring text = CancelBoxAndWelcome(program);
        EXPECT_EQ(path +
                      L" cannot be opened: its path is longer than the 260 characters Autolark can use. Move the file "
                      L"to a folder with a shorter path, or give it a shorter name, and open it again.",
                  text)
            << length;
        EXPECT_NE(-1, program.Wait());
        EXPECT_EQ(path, ReadTextSetting(L"DBPath")) << length;
    }
}

// Time from process start until the main window shows the database's vehicles and statistics.
long StartAndMeasure(CProgramDriver& program, HWND* main, int vehicles)
{
    auto start = std::chrono::steady_clock::now();
    if (!program.Start(kProgram)) return -1;
    *main = program.WaitForMainWindow([&](HWND window) {
        return RowCount(FindControl(window, IDC_QUICK_STATS)) == 10 &&
               RowCount(FindControl(window, IDC_VEHICLE_LIST)) == vehicles &&
               (vehicles == 0 || RowCount(FindControl(window, IDC_ENTRY_LIST)) > 0);
    });
    if (!*main) return -1;
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

// The window's pixels as the screen shows them, as a 24-bit BMP file.
bool SaveWindowPicture(HWND hWnd, const std::wstring& path)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    DWORD stride = ((width * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * height;
    bool ok = false;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
             WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
             WriteFile(out, bits, stride * height, &written, nullptr);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

TEST_F(ProgramTest, TheSampleDatabaseIsShownAndPicturedAndStartTimesAreMeasured)
{
    std::wstring sample = TempFile(L"sample");
    CProgramDriver tool;
    ASSERT_TRUE(tool.Start(kSampleTool, L"\"" + sample + L"\""));
    ASSERT_EQ(0, tool.Wait(60000));
    unsigned long firstVehicle = 0;
    {
        CDataLayer db;
        ASSERT_EQ(CDataLayer::csConnected, db.Connect(sample.c_str()));
        EXPECT_EQ(3, db.GetNumVehicles());
        EXPECT_GE(db.GetNumEntries(), 200);
        for (int type = CEntry::etFuel; type <= CEntry::etExpense; ++type) {
            CEntryFilter filter;
            filter.SetEntryType(static_cast<CEntry::Type>(type));
            CObjectListT<CEntry> list;
            ASSERT_TRUE(db.Load(&list, &filter));
            EXPECT_GT(list.GetCount(), 5) << "entries of type " << type;
        }
        CObjectListT<CVehicle> vehicles;
        ASSERT_TRUE(db.Load(&vehicles));
        firstVehicle = vehicles.Get(0)->GetRefID();
        db.Disconnect();
    }
    RememberDatabase(sample, firstVehicle);

    CProgramDriver program;
    HWND main = nullptr;
    long sampleMs = StartAndMeasure(program, &main, 3);
    ASSERT_GT(sampleMs, 0) << "the sample database was not shown";
    SetForegroundWindow(main);
    Sleep(800);  // let it paint
    std::wstring picture = ProgramFolder() + L"main-window.bmp";
    EXPECT_TRUE(SaveWindowPicture(main, picture));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    SampleDatabase empty(L"empty");
    ASSERT_TRUE(empty.Ok());
    RememberDatabase(empty.Path());
    CProgramDriver again;
    long emptyMs = StartAndMeasure(again, &main, 0);
    ASSERT_GT(emptyMs, 0) << "the empty database was not shown";
    EXPECT_EQ(CProgramDriver::kQuitCode, again.Close(main)) << "the program ended as its frame ends it, not by a crash";

    printf("start to main window: sample database (3 vehicles, active one's entries) %ld ms, empty database %ld ms\n",
           sampleMs, emptyMs);
    RecordProperty("SampleDatabaseMs", static_cast<int>(sampleMs));
    RecordProperty("EmptyDatabaseMs", static_cast<int>(emptyMs));
    DeleteFileW(sample.c_str());
}

// The manual's pictures are made on a sample, and made again they must come out the same when
// nothing changed: two samples of one seed hold the same records under the same reference ids,
// in files of one size (the database information dialog shows it).
TEST_F(ProgramTest, TwoSamplesOfOneSeedHoldTheSameRecordsInFilesOfOneSize)
{
    std::vector<unsigned long> ids[2];
    DWORD sizes[2] = {};
    for (int run = 0; run < 2; ++run) {
        std::wstring sample = TempFile(L"sample");
        CProgramDriver tool;
        ASSERT_TRUE(tool.Start(kSampleTool, L"\"" + sample + L"\" 7"));
        ASSERT_EQ(0, tool.Wait(60000));
        WIN32_FILE_ATTRIBUTE_DATA file{};
        ASSERT_TRUE(GetFileAttributesExW(sample.c_str(), GetFileExInfoStandard, &file));
        sizes[run] = file.nFileSizeLow;
        CDataLayer db;
        ASSERT_EQ(CDataLayer::csConnected, db.Connect(sample.c_str()));
        CObjectListT<CEntry> entries;
        CObjectListT<CKeyword> keywords;
        CEntryFilter every;
        ASSERT_TRUE(db.Load(&entries, &every) && db.Load(&keywords, CKeyword::ktAll));
        for (int i = 0; i < entries.GetCount(); ++i) ids[run].push_back(entries.Get(i)->GetRefID());
        for (int i = 0; i < keywords.GetCount(); ++i) ids[run].push_back(keywords.Get(i)->GetRefID());
        db.Disconnect();
        DeleteFileW(sample.c_str());
    }
    EXPECT_GT(ids[0].size(), 300u);
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ(sizes[0], sizes[1]);
}

TEST_F(ProgramTest, AFuelEntryTypedIntoTheProgramIsStoredAndItsPageIsPictured)
{
    SampleDatabase db(L"fuel");
    ASSERT_TRUE(db.Ok());
    unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    RememberDatabase(db.Path(), car);
    CProgramDriver program;
    HWND main = StartConnected(program);
    ASSERT_NE(nullptr, main);

    PostMessageW(main, WM_COMMAND, ID_NEW_FUEL, 0);
    HWND sheet = program.WaitForWindow(L"#32770", L"Entry Properties");
    ASSERT_NE(nullptr, sheet);
    HWND quantity = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (quantity = FindControl(sheet, IDC_FUEL_QUANTITY)) != nullptr; }));
    TypeInto(sheet, IDC_ENTRY_ODOMETER, L"12420");
    TypeInto(sheet, IDC_FUEL_QUANTITY, L"42.5");
    TypeInto(sheet, IDC_FUEL_PRICE, L"1.38");
    TypeInto(sheet, IDC_ENTRY_KEYWORD, L"Corner Garage");
    PostMessageW(FindControl(sheet, IDC_FUEL_CALC), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return ControlText(FindControl(sheet, IDC_ENTRY_AMOUNT)) == L"58.65"; }))
        << testing::PrintToString(ControlText(FindControl(sheet, IDC_ENTRY_AMOUNT)));
    SetForegroundWindow(sheet);
    Sleep(500);  // let it paint
    EXPECT_TRUE(SaveWindowPicture(sheet, ProgramFolder() + L"fuel-page.bmp"));

    PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    CObjectListT<CEntry> entries;
    CEntryFilter all;
    ASSERT_TRUE(db.Db().Load(&entries, &all));
    ASSERT_EQ(1, entries.GetCount());
    CEntry* fuel = entries.Get(0);
    EXPECT_EQ(12420, fuel->GetOdometer());
    EXPECT_EQ(42.5f, fuel->GetCustom1());
    EXPECT_EQ(1.38f, fuel->GetCustom2());
    EXPECT_EQ(42.5f * 1.38f, fuel->GetAmount());
    EXPECT_STREQ(L"Corner Garage", fuel->GetVendor());
    EXPECT_EQ(car, fuel->GetVehicleID());
}

TEST_F(ProgramTest, AVehicleAndATripTypedIntoTheProgramAreStored)
{
    SampleDatabase db(L"trip");
    ASSERT_TRUE(db.Ok());
    unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    RememberDatabase(db.Path(), car);
    CProgramDriver program;
    HWND main = StartConnected(program);
    ASSERT_NE(nullptr, main);
    const auto sheetOf = [&](const wchar_t* caption, int field) {
        HWND sheet = program.WaitForWindow(L"#32770", caption);
        if (sheet) WaitFor([&] { return FindControl(sheet, field) != nullptr; });
        return sheet;
    };

    PostMessageW(main, WM_COMMAND, ID_NEW_VEHICLE, 0);
    HWND sheet = sheetOf(L"Vehicle Properties", IDC_VEHICLE_NAME);
    ASSERT_NE(nullptr, sheet);
    TypeInto(sheet, IDC_VEHICLE_NAME, L"Delivery Van");
    TypeInto(sheet, IDC_VEHICLE_PLATE, L"dv-1");
    PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sheet); }));

    PostMessageW(main, WM_COMMAND, ID_NEW_TRIP, 0);
    sheet = sheetOf(L"Entry Properties", IDC_TRIP_DISTANCE);
    ASSERT_NE(nullptr, sheet);
    TypeInto(sheet, IDC_TRIP_DESCRIPTION, L"Depot run");
    TypeInto(sheet, IDC_TRIP_DISTANCE, L"42");
    PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    CObjectListT<CVehicle> vehicles;
    ASSERT_TRUE(db.Db().Load(&vehicles));
    ASSERT_EQ(2, vehicles.GetCount());
    CVehicle* van = vehicles.Get(0)->GetRefID() == car ? vehicles.Get(1) : vehicles.Get(0);
    EXPECT_STREQ(L"Delivery Van", van->GetName());
    EXPECT_STREQ(L"DV-1", van->GetLicensePlate());
    EXPECT_EQ(20042, van->GetCurrentOdometer()) << "raised to the trip's end";
    CObjectListT<CEntry> entries;
    CEntryFilter all;
    ASSERT_TRUE(db.Db().Load(&entries, &all));
    ASSERT_EQ(1, entries.GetCount());
    CEntry* trip = entries.Get(0);
    EXPECT_EQ(CEntry::etTrip, trip->GetType());
    EXPECT_EQ(van->GetRefID(), trip->GetVehicleID());
    EXPECT_STREQ(L"Depot run", trip->GetName());
    EXPECT_EQ(20000.0f, trip->GetCustom1());
    EXPECT_EQ(20042.0f, trip->GetCustom2());
    EXPECT_EQ(20042, trip->GetOdometer());
}

// A fuel entry typed into the running program's sheet and confirmed; the box that follows, or
// null when none came.
HWND TypeFuelEntry(CProgramDriver& program, HWND main, const wchar_t* quantity)
{
    PostMessageW(main, WM_COMMAND, ID_NEW_FUEL, 0);
    HWND sheet = program.WaitForWindow(L"#32770", L"Entry Properties");
    if (!sheet || !WaitFor([&] { return FindControl(sheet, IDC_FUEL_QUANTITY) != nullptr; })) return nullptr;
    TypeInto(sheet, IDC_FUEL_QUANTITY, quantity);
    PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    return program.WaitForWindow(L"#32770", L"Autolark");
}

TEST_F(ProgramTest, AnEntryTheProgramCouldNotSaveWhileTheFileWasBusyIsSavedOnRetryWithoutTypingItAgain)
{
    SampleDatabase db(L"retry");
    ASSERT_TRUE(db.Ok());
    const unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    CEntryRecord(car, CEntry::etRepair).Description(L"Brakes").Odometer(11000).Save(db.Db());
    RememberDatabase(db.Path(), car);
    CProgramDriver program;
    HWND main = StartConnected(program);
    ASSERT_NE(nullptr, main);
    HWND entries = FindControl(main, IDC_ENTRY_LIST);
    ASSERT_TRUE(WaitFor([&] { return RowCount(entries) == 1; }));

    ASSERT_TRUE(db.Db().BeginTransaction());  // a synchronisation's write lock
    HWND box = TypeFuelEntry(program, main, L"10");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(0u, MessageBoxText(box).find(L"Your changes could not be saved: the data file is in use"));
    ASSERT_NE(nullptr, GetDlgItem(box, IDRETRY));
    // The synchronisation ends: it writes, lets go and asks the program to reload, all while the
    // box is up (its loop gets the reload; the command still holds the new entry).
    CEntryRecord(car, CEntry::etExpense).Description(L"Parking").Odometer(11500).Save(db.Db());
    ASSERT_EQ(CDataLayer::crCommitted, db.Db().Commit());
    BroadcastReload();
    PostMessageW(GetDlgItem(box, IDRETRY), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) && RowCount(entries) == 3; }, 10000)) << RowCount(entries);
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";

    CObjectListT<CEntry> stored;
    CEntryFilter fuel;
    fuel.SetEntryType(CEntry::etFuel);
    ASSERT_TRUE(db.Db().Load(&stored, &fuel));
    ASSERT_EQ(1, stored.GetCount());
    EXPECT_EQ(10.0f, stored.Get(0)->GetCustom1());
    EXPECT_EQ(3, db.CountEntries());
}

TEST_F(ProgramTest, AFileOfANewerVersionIsNamedSoAtStartAndASaveItsTablesRefuseLeavesItUnchanged)
{
    SampleDatabase db(L"newer");
    ASSERT_TRUE(db.Ok());
    const unsigned long car = CVehicleRecord(L"Family Car").Year(2002).Odometer(12000).Save(db.Db());
    db.Db().Disconnect();
    ASSERT_TRUE(alk_faulty_files::MakeNewerVersion(db.Path()));
    const std::string before = alk_faulty_files::FileBytes(db.Path());
    RememberDatabase(db.Path(), car);
    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND notice = program.WaitForWindow(L"#32770", L"Autolark");
    ASSERT_NE(nullptr, notice);
    EXPECT_EQ(db.Path() +
                  L" was made by a newer version of Autolark (data file version 2.0). This version opens it as it is, "
                  L"but it may not be able to save every change to it. Use the newer version to work with this file.",
              MessageBoxText(notice));
    PostMessageW(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND main = WaitForConnectedWindow(program);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(nullptr, program.Find(L"#32770", L"Autolark")) << "told once";

    HWND box = TypeFuelEntry(program, main, L"10");
    ASSERT_NE(nullptr, box);
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(L"Your changes could not be saved: " + db.Path() +
                  L" could not be written, because its tables are laid out differently from what this version of "
                  L"Autolark writes (the file may have been made by a newer version).",
              text);
    EXPECT_EQ(nullptr, GetDlgItem(box, IDRETRY)) << "trying again cannot mend it";
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
        << "the program ended as its frame ends it, not by a crash";
    EXPECT_TRUE(before == alk_faulty_files::FileBytes(db.Path())) << "a refused save changes nothing";
}

// Damaged entry pages, with the file's header, MetaData and vehicle still read: the program says
// so at start, before it writes anything, whether or not the remembered vehicle is one whose
// entries it reads (none remembered, one gone from the file, the damaged vehicle itself), and
// says it once.
TEST_F(ProgramTest, DamagedEntriesAreToldOnceAtStartWhicheverVehicleIsRemembered)
{
    SampleDatabase db(L"damaged");
    ASSERT_TRUE(db.Ok());
    const unsigned long car = alk_faulty_files::WriteDamagedEntries(db.Db(), db.Path());
    ASSERT_NE(0u, car);
    const std::string before = alk_faulty_files::FileBytes(db.Path());
    const std::wstring notice =
        db.Path() +
        L" is damaged: Autolark could not read all of the data in it, and what it could not read is not shown.\n\nMake "
        L"a copy of the file before you go on, and restore it from a backup copy if you have one. Changes you make "
        L"from now on are still saved into this file.";
    for (const unsigned long remembered : {0ul, car + 1, car}) {
        SCOPED_TRACE(remembered == car ? "the damaged vehicle" : remembered ? "a vehicle gone" : "none");
        RememberDatabase(db.Path(), remembered);
        CProgramDriver program;
        ASSERT_TRUE(program.Start(kProgram));
        HWND box = program.WaitForBox(L"Autolark", notice);
        ASSERT_NE(nullptr, box);
        EXPECT_TRUE(before == alk_faulty_files::FileBytes(db.Path())) << "nothing written before the notice";
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        HWND main = WaitForConnectedWindow(program);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(1, RowCount(FindControl(main, IDC_VEHICLE_LIST))) << "what reads is shown";
        // A dialog asked for after the start comes once everything the start posted is done: a
        // second notice would stand before it.
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_FILE_DATABASE_INFO, 0), 0);
        HWND info = program.WaitForWindow(L"#32770", L"Database Information");
        ASSERT_NE(nullptr, info);
        EXPECT_EQ(nullptr, program.FindBox(L"Autolark", notice)) << "told once";
        PostMessageW(info, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(info); }));
        EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main))
            << "the program ended as its frame ends it, not by a crash";
    }
}

}  // namespace
