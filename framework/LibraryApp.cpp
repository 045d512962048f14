#include "framework/LibraryApp.h"

#include <cwchar>

#include "common/Assert.h"
#include "framework/Module.h"

namespace {

CLibraryApp* g_app = nullptr;

// The module's file name without folder and extension: "Legacy" for ...\Legacy.dll.
void ModuleName(HINSTANCE module, wchar_t* name, DWORD capacity)
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        name[0] = 0;
        return;
    }
    const wchar_t* file = path;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/') file = p + 1;
    }
    lstrcpynW(name, file, static_cast<int>(capacity));
    if (wchar_t* dot = std::wcsrchr(name, L'.')) *dot = 0;
}

}  // namespace

CLibraryApp::CLibraryApp()
{
    ALK_ASSERT(g_app == nullptr);  // one application object per module
    g_app = this;
}

CLibraryApp::~CLibraryApp()
{
    if (g_app == this) g_app = nullptr;
}

CLibraryApp* CLibraryApp::Get()
{
    return g_app;
}

BOOL CLibraryApp::AttachModule(HINSTANCE module)
{
    ALK_ASSERT(module != nullptr);
    m_instance = module;
    ModuleName(module, m_appName, MAX_PATH);
    return InitInstance();
}

void CLibraryApp::DetachModule()
{
    ExitInstance();
}

int AppMessageBox(UINT id, UINT style)
{
    HINSTANCE module = nullptr;
    wchar_t caption[MAX_PATH] = {};
    if (CLibraryApp* app = CLibraryApp::Get()) {
        module = app->GetInstance();
        lstrcpynW(caption, app->GetAppName(), MAX_PATH);
    } else {
        module = AlkGetOwnInstance();
        ModuleName(module, caption, MAX_PATH);
    }
    wchar_t text[1024] = {};
    LoadStringW(module, id, text, 1024);
    return MessageBoxW(GetActiveWindow(), text, caption, style);
}
