// AutolarkPalmConduit.dll driven from a host in this process, as the HotSync manager drives it:
// loaded by LoadLibrary, its six entry points found by name, the manager's libraries (the DLLs
// beside this program) set up by the test. Message boxes are answered by a watcher thread that
// reads their text. Also the library entry function's COM balance on threads of each apartment
// kind, the conduit folder's text, and the bitmap recolouring the dialog uses. The HotSync-action
// dialog is also opened while Autolark.exe, another process, is in front.
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/SharedNames.h"
#include "Conduit/Src/CConduit.h"
#include "Conduit/Src/Helpers.h"
#include "ConduitTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestDatabase.h"

using namespace alk_conduit_test;

namespace {

const std::wstring kConduitFile = L"AutolarkPalmConduit.dll";

// The conduit loaded for one test and unloaded after it.
class CLoadedConduit {
public:
    CLoadedConduit() : module(LoadLibraryW((ProgramFolder() + kConduitFile).c_str()))
    {
        Find(open, "OpenConduit");
        Find(name, "GetConduitName");
        Find(version, "GetConduitVersion");
        Find(configure, "ConfigureConduit");
        Find(info, "GetConduitInfo");
        Find(cfg, "CfgConduit");
    }
    ~CLoadedConduit()
    {
        if (module) FreeLibrary(module);
    }
    CLoadedConduit(const CLoadedConduit&) = delete;
    CLoadedConduit& operator=(const CLoadedConduit&) = delete;
    bool Ok() const { return module && open && name && version && configure && info && cfg; }

    HMODULE module;
    OpenConduitFn open = nullptr;
    GetConduitNameFn name = nullptr;
    GetConduitVersionFn version = nullptr;
    ConfigureConduitFn configure = nullptr;
    GetConduitInfoFn info = nullptr;
    CfgConduitFn cfg = nullptr;

private:
    template <class F>
    void Find(F& function, const char* symbol)
    {
        if (module) function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, symbol)));
    }
};

// Answers every message box captioned "Autolark" with OK and keeps its text; cancels the
// HotSync-action dialog and counts it.
class CBoxWatcher {
public:
    CBoxWatcher() : m_thread([this] { Watch(); }) {}
    ~CBoxWatcher()
    {
        m_stop = true;
        m_thread.join();
    }
    std::vector<std::string> Texts()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_texts;
    }

private:
    void Watch()
    {
        while (!m_stop) {
            HWND box = FindWindowW(L"#32770", L"Autolark");
            if (box && GetDlgItem(box, 404)) {
                // The HotSync-action dialog (also captioned "Autolark"): cancelled.
                ++m_dialogs;
                SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
                while (IsWindow(box) && !m_stop) Sleep(10);
            } else if (box) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                {
                    std::lock_guard<std::mutex> hold(m_lock);
                    m_texts.push_back(text);
                }
                SendMessageW(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box) && !m_stop) Sleep(10);
            }
            Sleep(10);
        }
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_lock;

public:
    std::atomic<int> m_dialogs{0};

private:
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

std::vector<std::string> g_progress;
void Progress(const char* text)
{
    g_progress.push_back(text);
}

HotSyncRunInfo RunInfo(const char* user, const std::string& path = "")
{
    HotSyncRunInfo run{};
    run.syncType = HsSyncDoNothing;  // the folder and the settings, no run
    std::strncpy(run.path, path.c_str(), sizeof run.path - 1);
    std::strncpy(run.userName, user, sizeof run.userName - 1);
    return run;
}

ConduitConfigRequest Request(const char* user)
{
    ConduitConfigRequest request{};
    request.version = 1;
    request.size = sizeof request;
    std::strncpy(request.userName, user, sizeof request.userName - 1);
    request.defaultSyncType = 2;
    request.nextSyncType = 3;
    request.chosenSyncType = 3;
    request.preference = 2;
    return request;
}

const char kFatal[] = "Autolark: Fatal exception in file \"Src\\CConduit.cpp\" on line ";

class EntryPoints : public ::testing::Test {
protected:
    CManager manager;
    CLoadedConduit conduit;
};

}  // namespace

TEST_F(EntryPoints, NameVersionAndInformation)
{
    ASSERT_TRUE(conduit.Ok());
    char name[256];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(HsErrOutputTooSmall, conduit.name(name, 0));
    EXPECT_EQ('x', name[0]) << "a length of 0 leaves the buffer alone";
    EXPECT_EQ(0, conduit.name(name, 1));
    EXPECT_EQ('\0', name[0]);
    EXPECT_EQ('x', name[1]);
    EXPECT_EQ(0, conduit.name(name, 4));
    EXPECT_STREQ("Aut", name);
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(0, conduit.name(name, sizeof name));
    EXPECT_STREQ("Autolark", name);
    EXPECT_EQ(std::string(256 - 8, '\0'), std::string(name + 8, 256 - 8)) << "NULs up to the length";

    EXPECT_EQ(0x0305, conduit.version());

    ConduitInfoQuery query{};
    query.version = 1;
    query.size = 80;
    DWORD size = sizeof name;
    EXPECT_EQ(0, conduit.info(0, &query, name, &size));
    EXPECT_EQ(9u, size);
    EXPECT_STREQ("Autolark", name);
    size = 0x10004;  // the name's length is the size's low 16 bits
    EXPECT_EQ(0, conduit.info(0, &query, name, &size));
    EXPECT_STREQ("Aut", name);
    EXPECT_EQ(4u, size);
    size = 0x10000;
    EXPECT_EQ(HsErrOutputTooSmall, conduit.info(0, &query, name, &size));
    EXPECT_EQ(0x10000u, size);
    query.size = 81;
    size = sizeof name;
    EXPECT_EQ(HsErrBadInput, conduit.info(0, &query, name, &size));
    EXPECT_EQ(HsErrNoInput, conduit.info(0, nullptr, name, &size));
    EXPECT_EQ(sizeof name, size);

    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    size = 3;
    EXPECT_EQ(HsErrOutputTooSmall, conduit.info(2, nullptr, out, &size));
    size = 4;
    EXPECT_EQ(0, conduit.info(2, nullptr, out, &size));
    EXPECT_EQ(std::string(4, '\0'), std::string(reinterpret_cast<char*>(out), 4));
    for (long type : {4L, 5L, 6L}) {
        out[0] = 0xEE;
        size = 1;
        EXPECT_EQ(0, conduit.info(type, nullptr, out, &size));
        EXPECT_EQ(type == 5 ? 1 : 0, out[0]) << type;
        EXPECT_EQ(1u, size);
        size = 0;
        EXPECT_EQ(HsErrOutputTooSmall, conduit.info(type, nullptr, out, &size));
    }
    for (long type : {1L, 3L, 7L, -1L, 0x7FFFFFFFL})
        EXPECT_EQ(HsErrUnknownType, conduit.info(type, nullptr, out, &size));
    EXPECT_EQ(HsErrNoOutput, conduit.info(7, nullptr, nullptr, &size));
    EXPECT_EQ(HsErrNoOutputSize, conduit.info(7, nullptr, out, nullptr));
}

TEST_F(EntryPoints, ConfigurationChecksInTheirOrder)
{
    ASSERT_TRUE(conduit.Ok());
    ConduitConfigRequest request = Request("Ann");
    DWORD size = 352;
    EXPECT_EQ(HsErrNoInput, conduit.cfg(0, nullptr, nullptr));
    EXPECT_EQ(HsErrNoBlockSize, conduit.cfg(1, &request, nullptr));
    size = 351;
    EXPECT_EQ(HsErrBadBlockSize, conduit.cfg(1, &request, &size));
    size = 352;
    EXPECT_EQ(HsErrBadConfigType, conduit.cfg(1, &request, &size));
    request.version = 2;
    EXPECT_EQ(HsErrBadBlockVersion, conduit.cfg(0, &request, &size));
    request.version = 1;

    CBoxWatcher boxes;
    const ConduitConfigRequest before = request;
    EXPECT_EQ(0, conduit.cfg(0, &request, &size));
    EXPECT_EQ(0, std::memcmp(&before, &request, sizeof request));
    // A user name that fills its field without a NUL is read within the field.
    std::memset(request.userName, 'A', sizeof request.userName);
    HsSimAddUser(std::string(64, 'A').c_str(), 2, "AAA");
    EXPECT_EQ(0, conduit.cfg(0, &request, &size));
    EXPECT_TRUE(boxes.Texts().empty());

    HotSyncActionPrefs prefs{};
    std::strcpy(prefs.path, manager.ConduitFolder().c_str());
    prefs.preference = 7;
    prefs.syncType = 3;
    const HotSyncActionPrefs prefsBefore = prefs;
    EXPECT_EQ(-1, conduit.configure(&prefs)) << "nothing confirmed";
    EXPECT_EQ(0, std::memcmp(&prefsBefore, &prefs, sizeof prefs));
    EXPECT_EQ(-1, conduit.configure(nullptr));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(3, boxes.m_dialogs.load()) << "each dialog shown once, and cancelled";
}

TEST_F(EntryPoints, EachMissingPieceOfTheFolderIsAFatalLineInTheLog)
{
    ASSERT_TRUE(conduit.Ok());
    HotSyncRunInfo run = RunInfo("Ann", manager.ConduitFolder());
    g_progress.clear();
    EXPECT_EQ(0, conduit.open(&Progress, &run));
    EXPECT_TRUE(manager.Log().empty()) << manager.Log()[0];

    struct Case {
        std::function<void()> unset;
        std::string line;
    };
    const std::vector<Case> cases = {
        {[] { HsSimSetCorePath(nullptr); }, "332: CmGetCorePath(buf, &size) != 0"},
        {[] { HsSimClearUsers(); }, "307: UmGetIDFromName(userName, &userId) != 0"},
        {[] { HsSimAddUser("Ann", 1, nullptr); }, "309: UmGetUserDirectory(userId, buf, &size) <= 0"},
        {[] { HsSimSetCreatorDirectory("aLRK", nullptr); },
         "339: CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        CManager fresh;
        cases[i].unset();
        EXPECT_EQ(0, conduit.open(&Progress, &run));
        const std::vector<std::string> log = fresh.Log();
        ASSERT_EQ(1u, log.size()) << i;
        EXPECT_EQ("30\t1\t" + std::string(kFatal) + cases[i].line, log[0]);
    }
    EXPECT_TRUE(g_progress.empty());

    // The same failure in the configuration entry is shown in a message box.
    CManager fresh;
    HsSimSetCreatorDirectory("aLRK", nullptr);
    CBoxWatcher boxes;
    ConduitConfigRequest request = Request("Ann");
    DWORD size = 352;
    EXPECT_EQ(0, conduit.cfg(0, &request, &size));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(std::string(kFatal + 10) + "339: CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0",
              boxes.Texts()[0]);
    EXPECT_TRUE(fresh.Log().empty());
}

TEST_F(EntryPoints, NoProgressCallbackMeansNothingAtAll)
{
    ASSERT_TRUE(conduit.Ok());
    HsSimSetCorePath(nullptr);
    HotSyncRunInfo run = RunInfo("Ann", manager.ConduitFolder());
    EXPECT_EQ(0, conduit.open(nullptr, &run));
    EXPECT_EQ(0, conduit.open(&Progress, nullptr));
    EXPECT_FALSE(FileExists(manager.LogFile()));
    EXPECT_FALSE(FileExists(manager.Core()));
}

TEST(ConduitFolder, EachQueryGetsTheWholeBuffer)
{
    CManager manager;
    // A short core folder and long user and creator folders: each query is given 260 bytes.
    HsSimSetCorePath("C:\\H");
    const std::string user(200, 'u'), creator(250, 'c');
    HsSimAddUser("Ann", 1, user.c_str());
    HsSimSetCreatorDirectory("aLRK", creator.c_str());
    EXPECT_EQ("C:\\H\\" + user + "\\" + creator + "\\", std::string(g_Conduit.GetConduitFolder("Ann")));
    HsSimSetCreatorDirectory("aLRK", std::string(259, 'c').c_str());
    EXPECT_EQ(std::string(259, 'c'), std::string(g_Conduit.GetConduitFolder("Ann")).substr(206, 259));
    HsSimSetCreatorDirectory("aLRK", std::string(260, 'c').c_str());
    EXPECT_EQ(std::string(kFatal + 10) + "339: CmGetCreatorDirectory(GetCreatorStr(), buf, &size) != 0",
              ThrownText([] { g_Conduit.GetConduitFolder("Ann"); }));
}

TEST(ConduitName, AMissingStringIsShownAndReported)
{
    // This program's own copy of the conduit's code, whose module has no string 1.
    g_Conduit.ModuleHandle = GetModuleHandleW(nullptr);
    CBoxWatcher boxes;
    char name[16];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(HsErrNameFailed, GetConduitName(name, sizeof name));
    EXPECT_EQ('\0', name[0]);
    ConduitInfoQuery query{};
    query.version = 1;
    query.size = 80;
    DWORD size = sizeof name;
    EXPECT_EQ(HsErrNameFailed, GetConduitInfo(0, &query, name, &size));
    EXPECT_EQ(1u, size);
    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ("Atl exception (80070716)", texts[0]);
    g_Conduit.ModuleHandle = nullptr;
}

// The host's thread keeps the COM it had: the library lets go only of what it took itself.
TEST(LibraryEntry, KeepsTheHostThreadsCom)
{
    struct Result {
        HRESULT before, after;
    };
    auto onThread = [](DWORD apartment) {
        Result r{};
        std::thread([&] {
            if (apartment != ~0u) r.before = CoInitializeEx(nullptr, apartment);
            HMODULE module = LoadLibraryW((ProgramFolder() + kConduitFile).c_str());
            EXPECT_NE(nullptr, module);
            FreeLibrary(module);
            // S_FALSE: COM is still initialised on this thread; S_OK: it was not any more.
            r.after = CoInitializeEx(nullptr, apartment == ~0u ? DWORD{COINIT_APARTMENTTHREADED} : apartment);
            if (SUCCEEDED(r.after)) CoUninitialize();
            if (apartment != ~0u && SUCCEEDED(r.before)) CoUninitialize();
        }).join();
        return r;
    };
    const Result multi = onThread(COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, multi.before);
    EXPECT_EQ(S_FALSE, multi.after) << "the library's failed initialisation must not uninitialise the host's";
    const Result single = onThread(COINIT_APARTMENTTHREADED);
    EXPECT_EQ(S_OK, single.before);
    EXPECT_EQ(S_FALSE, single.after);
    const Result none = onThread(~0u);
    EXPECT_EQ(S_OK, none.after) << "the library uninitialises what it initialised";
}

TEST(RecolorBitmap, ReplacesTheBackgroundColourOnly)
{
    const COLORREF pixels[6] = {0xCBCBCB, 0x0000FF, 0xCBCBCB, 0xCBCBCA, 0x000000, 0xFFFFFF};
    HDC screen = GetDC(nullptr);
    HBITMAP source = CreateCompatibleBitmap(screen, 3, 2);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, source);
    for (int i = 0; i < 6; ++i) SetPixel(dc, i % 3, i / 3, pixels[i]);
    SelectObject(dc, old);

    HBITMAP result = RecolorBitmap(source, RGB(0x10, 0x20, 0x30));
    ASSERT_NE(nullptr, result);
    BITMAP info;
    GetObjectW(result, sizeof info, &info);
    EXPECT_EQ(3, info.bmWidth);
    EXPECT_EQ(2, info.bmHeight);
    EXPECT_EQ(32, info.bmBitsPixel);
    old = SelectObject(dc, result);
    const COLORREF expected[6] = {RGB(0x10, 0x20, 0x30), 0x0000FF, RGB(0x10, 0x20, 0x30), 0xCBCBCA, 0, 0xFFFFFF};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], GetPixel(dc, i % 3, i / 3)) << i;
    SelectObject(dc, source);
    EXPECT_EQ(0xCBCBCBu, GetPixel(dc, 0, 0)) << "the source is left alone";
    SelectObject(dc, old);

    DeleteObject(result);
    DeleteObject(source);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(nullptr, RecolorBitmap(nullptr, 0));
}

// The dialog's pictures: every pixel drawn on the background 0xCBCBCB shows the button-face
// colour, now and after the system colours change; a picture a control hands back is deleted, and
// the last ones go with the dialog.
namespace {

// A bitmap's pixels as 32-bit colours, top row first; empty when they cannot be read (the
// dialog's thread may have it selected for painting at that moment: read again).
std::vector<COLORREF> Pixels(HBITMAP bitmap)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        BITMAP info{};
        if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = info.bmWidth;
        format.bmiHeader.biHeight = -info.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<COLORREF> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC screen = GetDC(nullptr);
        const int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        // GetDIBits gives blue in the low byte: as a COLORREF, red goes there.
        if (rows == info.bmHeight) {
            for (COLORREF& p : pixels) p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));
            return pixels;
        }
        Sleep(10);
    }
    return {};
}

// The drawing with its background in the colour.
std::vector<COLORREF> Painted(const std::vector<COLORREF>& drawing, COLORREF face)
{
    std::vector<COLORREF> out = drawing;
    for (COLORREF& p : out)
        if (p == RGB(0xCB, 0xCB, 0xCB)) p = face;
    return out;
}

struct CPicture {
    int control;
    int bitmap;
};
// clang-format off
const CPicture kPictures[] = {
    {1000, 103}, {1001, 104}, {1002, 105}, {1003, 106}, {1007, 104}, {1008, 105}, {1009, 103},
};
// clang-format on

}  // namespace

TEST_F(EntryPoints, PicturesFollowTheButtonFaceColour)
{
    ASSERT_TRUE(conduit.Ok());
    std::map<int, std::vector<COLORREF>> drawings;
    for (int id : {103, 104, 105, 106}) {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(conduit.module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
        drawings[id] = Pixels(bitmap);
        DeleteObject(bitmap);
        ASSERT_EQ(43u * 19u, drawings[id].size()) << id;
        EXPECT_EQ(RGB(0xCB, 0xCB, 0xCB), drawings[id][0]) << id;
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = face == RGB(0x30, 0x90, 0x50) ? RGB(0x90, 0x30, 0x50) : RGB(0x30, 0x90, 0x50);

    std::vector<HBITMAP> first, last;
    std::vector<std::string> faults;
    auto check = [&](const char* when, HWND dialog, COLORREF colour, std::vector<HBITMAP>& handles) {
        for (const CPicture& p : kPictures) {
            HBITMAP shown =
                reinterpret_cast<HBITMAP>(SendMessageW(GetDlgItem(dialog, p.control), STM_GETIMAGE, IMAGE_BITMAP, 0));
            handles.push_back(shown);
            if (Pixels(shown) != Painted(drawings[p.bitmap], colour))
                faults.push_back(std::string(when) + ": picture " + std::to_string(p.control));
        }
    };
    std::thread user([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 2000 && !dialog; ++i, Sleep(10)) {
            dialog = FindWindowW(L"#32770", L"Autolark");
            if (dialog && !GetDlgItem(dialog, 404)) dialog = nullptr;
        }
        if (!dialog) {
            faults.push_back("no dialog");
            return;
        }
        check("shown", dialog, face, first);
        // The system tells every top-level window of the change (WM_SYSCOLORCHANGE).
        const int element = COLOR_BTNFACE;
        SetSysColors(1, &element, &changed);
        check("changed", dialog, changed, last);
        SetSysColors(1, &element, &face);
        for (HBITMAP old : first)
            if (std::find(last.begin(), last.end(), old) == last.end() && GetObjectType(old) != 0)
                faults.push_back("a picture handed back was not deleted");
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    HotSyncActionPrefs prefs{};
    std::strcpy(prefs.path, manager.ConduitFolder().c_str());
    prefs.syncType = 0;
    EXPECT_EQ(-1, conduit.configure(&prefs)) << "closed: nothing confirmed";
    user.join();
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(faults.empty()) << faults.front();
    ASSERT_EQ(7u, first.size());
    ASSERT_EQ(7u, last.size());
    for (HBITMAP picture : last) EXPECT_EQ(0u, GetObjectType(picture)) << "the last pictures go with the dialog";
}

// The HotSync-action dialog is owned by a window of the caller's process alone: the foreground
// window when it is the caller's (the manager's window, from which the user asked for it), else
// none here. Owned by another program's window in front, the dialog would disable that window
// until it closed, and Autolark, disabled so, held back every reload meanwhile.
namespace {

const std::wstring kProgram = WinePathW(ALK_PROGRAM_PATH);

// What the user meets while the dialog is up, read from another thread of the test.
struct CWhileOpen {
    bool found = false;
    HWND owner = nullptr;
    bool frontEnabled = false;
};

// Opens the dialog through ConfigureConduit and cancels it; meanwhile reads its owner and
// whether the window in front stayed enabled.
CWhileOpen OpenTheSettingsDialog(const CLoadedConduit& conduit, const CManager& manager, HWND front)
{
    CWhileOpen seen;
    std::thread user([&] {
        HWND dialog = nullptr;
        seen.found = WaitFor([&] {
            dialog = FindWindowW(L"#32770", L"Autolark");
            return dialog && GetDlgItem(dialog, 404) && IsWindowVisible(dialog);
        });
        if (!seen.found) return;
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.frontEnabled = IsWindowEnabled(front) != FALSE;
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    HotSyncActionPrefs prefs{};
    std::strcpy(prefs.path, manager.ConduitFolder().c_str());
    EXPECT_EQ(-1, conduit.configure(&prefs)) << "cancelled: nothing confirmed";
    user.join();
    return seen;
}

}  // namespace

TEST_F(EntryPoints, TheSettingsDialogIsOwnedByAWindowOfTheCallersProcessOnly)
{
    ASSERT_TRUE(conduit.Ok());
    // Another program in front: Autolark on a file of its own, its first-run notice seen.
    CTestDatabase file(L"My Vehicles.dat", L"", L"alkconduit-owner");
    ASSERT_TRUE(file.Ok());
    RememberDatabase(file.Path());
    CProgramDriver program;
    ASSERT_TRUE(program.Start(kProgram));
    HWND main = program.WaitForMainWindow([](HWND main) { return IsWindowEnabled(main) != FALSE; });
    ASSERT_NE(nullptr, main);
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
    CWhileOpen seen = OpenTheSettingsDialog(conduit, manager, main);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(nullptr, seen.owner) << "not the other program's window";
    EXPECT_TRUE(seen.frontEnabled) << "the program in front stays usable";
    EXPECT_TRUE(IsWindowEnabled(main));

    // The manager's own window in front: it owns the dialog, which disables it while it is up.
    HWND own = CreateWindowExW(0, L"STATIC", L"HotSync Manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, own);
    SetForegroundWindow(own);
    ASSERT_TRUE(WaitFor([&] {
        PumpMessages();
        return GetForegroundWindow() == own;
    }));
    seen = OpenTheSettingsDialog(conduit, manager, own);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(own, seen.owner);
    EXPECT_FALSE(seen.frontEnabled) << "a modal dialog disables its owner";
    EXPECT_TRUE(IsWindowEnabled(own)) << "and enables it again when it closes";
    DestroyWindow(own);

    EXPECT_EQ(CProgramDriver::kQuitCode, program.Close(main)) << "the program ended as its frame ends it";
    SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
}
