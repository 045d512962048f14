// A function a module imports, replaced for the length of a scope: the slot of the module's import
// address table that the loader filled is pointed at a test's own function, and given back at the
// end. The tests use it as a host double of the platform or the C runtime, e.g. allocations in
// AlkBiz.dll that fail on purpose:
//
//   CImportPatch patch(L"AlkBiz.dll", "msvcrt.dll", "calloc", reinterpret_cast<void*>(&FailingCalloc));
//   auto original = reinterpret_cast<decltype(&calloc)>(patch.Original());
//
// Only calls through the import table are caught (not those of code linked into the module, not
// GetProcAddress). One thread: the scope must not end while another thread may call the function.
#pragma once

#include <windows.h>

class CImportPatch {
public:
    // module: the importing module's file name (null: the program); dll and function: the
    // import as the module names it (the DLL's name compared without regard to case).
    CImportPatch(const wchar_t* module, const char* dll, const char* function, void* replacement);
    ~CImportPatch();
    CImportPatch(const CImportPatch&) = delete;
    CImportPatch& operator=(const CImportPatch&) = delete;

    // False when the module does not import the function (nothing was replaced).
    bool Patched() const { return m_slot != nullptr; }
    // The function the slot held before.
    void* Original() const { return m_original; }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};
