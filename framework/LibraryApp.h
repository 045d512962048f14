// CLibraryApp: the application object of a DLL, in the manner of an application framework: one
// global object per library, attached to its module by the library's DllMain, which gives the
// library its instance handle (where its string resources are), its name (the module's file name
// without extension) and its message boxes.
#pragma once

#include <windows.h>

class CLibraryApp {
public:
    CLibraryApp();
    virtual ~CLibraryApp();
    CLibraryApp(const CLibraryApp&) = delete;
    CLibraryApp& operator=(const CLibraryApp&) = delete;

    // From DllMain: keeps the module and its name, then InitInstance (its result is DllMain's).
    BOOL AttachModule(HINSTANCE module);
    // From DllMain when the library is unloaded: ExitInstance.
    void DetachModule();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    HINSTANCE GetInstance() const { return m_instance; }
    const wchar_t* GetAppName() const { return m_appName; }

    // The module's application object (null before one is constructed).
    static CLibraryApp* Get();

private:
    HINSTANCE m_instance = nullptr;
    wchar_t m_appName[MAX_PATH] = {};
};

// Shows the string-table text id of the library's module in a message box captioned with the
// application's name, owned by the calling thread's active window, and waits for it to be closed.
// Without an application object (the library's classes linked into a program) the module and name
// are those of the module that holds this code.
int AppMessageBox(UINT id, UINT style);
