// The information dialog of AlkSync.dll, reached as the manager reaches it: ActivateDialog on a
// store the DLL's class factory made (its template and font from the DLL's own resources), and
// the manager double's options and info commands on the registered store.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "resources/activesync/resource.h"
#include "tests/activesync/ManagerTestSupport.h"

using namespace alk_sync_test;

namespace {

const wchar_t kCaption[] = L"Autolark Synchronization Options";

// While it lives, the first activation of the information dialog on this thread is looked at
// and then answered by `answer`.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> answer) : m_answer(std::move(answer))
    {
        Current() = this;
        m_hook = SetWindowsHookExW(WH_CBT, &DialogDriver::Proc, nullptr, GetCurrentThreadId());
    }
    ~DialogDriver()
    {
        UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    int seen = 0;
    std::wstring caption, title;
    HWND owner = nullptr;
    LONG titleWeight = 0, textWeight = 0;

private:
    static DialogDriver*& Current()
    {
        static DialogDriver* current = nullptr;
        return current;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        DialogDriver* self = Current();
        HWND dialog = reinterpret_cast<HWND>(wParam);
        wchar_t text[128] = {};
        if (code == HCBT_ACTIVATE && self && !self->seen && GetWindowTextW(dialog, text, 128) &&
            std::wstring(text) == kCaption) {
            ++self->seen;
            self->caption = text;
            self->owner = GetWindow(dialog, GW_OWNER);
            GetDlgItemTextW(dialog, IDC_OPTIONS_TITLE, text, 128);
            self->title = text;
            self->titleWeight = Weight(GetDlgItem(dialog, IDC_OPTIONS_TITLE));
            self->textWeight = Weight(GetDlgItem(dialog, IDCANCEL));
            self->m_answer(dialog);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LONG Weight(HWND control)
    {
        LOGFONTW font = {};
        HFONT handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        return handle && GetObjectW(handle, sizeof font, &font) ? font.lfWeight : -1;
    }
    std::function<void(HWND)> m_answer;
    HHOOK m_hook = nullptr;
};

class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AlkSyncDialogOwner";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, wc.lpszClassName, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                nullptr, nullptr, wc.hInstance, nullptr);
        module = LoadLibraryA(ServerPath().c_str());
        auto get = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
        void* factory = nullptr;
        if (get && SUCCEEDED(get(CLSID_NULL, IID_IClassFactory, &factory))) {
            void* made = nullptr;
            static_cast<IClassFactory*>(factory)->CreateInstance(nullptr, IID_IReplStore, &made);
            store = static_cast<IReplStore*>(made);
            static_cast<IClassFactory*>(factory)->Release();
        }
    }
    ~DialogTest() override
    {
        if (store) store->Release();
        FreeLibrary(module);
        DestroyWindow(owner);
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, owner) << "no display";
        ASSERT_NE(nullptr, store);
    }
    // Runs the dialog as the manager asks for it; `answer` ends it.
    HRESULT Show(HREPLFLD folder, const std::function<void(HWND)>& answer)
    {
        driver.reset();  // one hook at a time
        driver = std::make_unique<DialogDriver>(answer);
        return store->ActivateDialog(0, owner, folder, nullptr);
    }

    std::unique_ptr<DialogDriver> driver;
    HWND owner = nullptr;
    HMODULE module = nullptr;
    IReplStore* store = nullptr;
};

}  // namespace

TEST_F(DialogTest, TheDialogShowsItsTitleInBoldOwnedByTheManagersWindow)
{
    EXPECT_EQ(REPL_E_USER_CANCELLED,
              Show(nullptr, [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }));
    ASSERT_EQ(1, driver->seen);
    EXPECT_EQ(kCaption, driver->caption);
    EXPECT_EQ(L" Autolark ActiveSync Provider", driver->title);
    EXPECT_EQ(FW_BOLD, driver->titleWeight);
    EXPECT_NE(FW_BOLD, driver->textWeight) << "only the title is bold";
    EXPECT_EQ(owner, driver->owner);
}

TEST_F(DialogTest, EveryWayOutButOKIsACancel)
{
    IUnknown* handler = nullptr;
    HREPLFLD folder = nullptr;
    ASSERT_EQ(S_OK, store->GetFolderInfo(const_cast<char*>("ALK"), &folder, &handler));
    EXPECT_EQ(REPL_E_USER_CANCELLED,
              Show(folder, [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0); }));
    EXPECT_EQ(REPL_E_USER_CANCELLED,
              Show(folder, [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(S_OK, Show(folder, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(E_NOTIMPL, store->ActivateDialog(1, owner, folder, nullptr));
    store->FreeObject(folder);
    handler->Release();
}

TEST_F(DialogTest, TheManagersOptionsAndInfo)
{
    RegisteredServer server;
    Manager manager;
    // The manager's dialog is found from here, in the manager's process, and closed.
    const std::string log = manager.LogPath() + "-options.txt";
    HANDLE process = StartProgram(WinePath(ALK_MANAGER_PATH), "options --log \"" + log + "\"", log + ".out");
    ASSERT_NE(nullptr, process);
    HWND dialog = nullptr;
    for (int tries = 0; !dialog && tries < 3000; ++tries) {
        dialog = FindWindowW(L"#32770", kCaption);
        if (!dialog && WaitForSingleObject(process, 20) == WAIT_OBJECT_0) break;
    }
    ASSERT_NE(nullptr, dialog) << "no dialog";
    wchar_t ownerClass[64] = {};
    GetClassNameW(GetWindow(dialog, GW_OWNER), ownerClass, 64);
    EXPECT_EQ(std::wstring(L"AlkActiveSyncManagerDouble"), ownerClass);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 60000));
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(0u, code);
    manager.ReadLog(log);
    EXPECT_TRUE(manager.Has("ActivateDialog(0) = 0x80140003")) << manager.Text();
    EXPECT_TRUE(manager.Has("DllCanUnloadNow() = 0x00000000")) << manager.Text();

    ASSERT_EQ(0, manager.Run("info"));
    for (const char* line : {"GetObjTypeUIData() = 0x00000000", "name=Autolark", "sync=Autolark", "type=Autolark",
                             "plural=Vehicles", "large icon=32", "small icon=16", "DllCanUnloadNow() = 0x00000000"}) {
        EXPECT_TRUE(manager.Has(line)) << line << "\n" << manager.Text();
    }
}
