// Helpers of the main-window tests: database files made from the template with AlkBiz, the
// settings key cleaned before and after, message boxes answered while they are up, and reading
// what the list controls show (the frame's controls are found by their ids with FindControl of
// tests/support/ProgramDriver.h).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <oleauto.h>
#include <shlwapi.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "business/AlkBiz.h"
#include "business/RecordBuilder.h"
#include "desktop/AppSettings.h"
#include "desktop/Startup.h"
#include "framework/WindowImpl.h"
#include "tests/support/DialogScript.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestClock.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestFiles.h"

namespace alk_mainframe_test {

// A file name in the temporary folder unique to this process and call.
inline std::wstring TempFile(const wchar_t* stem)
{
    static int counter = 0;
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    wchar_t name[MAX_PATH];
    swprintf(name, MAX_PATH, L"%lsalk-%ls-%lu-%d.dat", folder, stem, GetCurrentProcessId(), ++counter);
    return name;
}

// The settings key and everything under it, gone.
inline void DeleteSettingsKey()
{
    SHDeleteKeyW(HKEY_CURRENT_USER, ALK_SETTINGS_KEY);
}

// An OLE date days before (negative: after) the given UTC day at noon.
inline double DaysBefore(const SYSTEMTIME& today, int days)
{
    SYSTEMTIME noon = today;
    noon.wHour = 12;
    noon.wMinute = noon.wSecond = 0;
    return OleDate(noon) - days;
}

// The controls and window messages the main window uses, ready before a suite makes one.
inline void PrepareWindowClasses()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    LoadLibraryW(L"RICHED20.DLL");
    RegisterAppMessages();
}

// The end of a test with a main window: the window destroyed and its messages handled, the
// frame freed, the program's database closed and the settings key gone.
template <class Frame>
void CloseFrame(std::unique_ptr<Frame>& frame)
{
    if (frame && frame->IsWindow()) frame->DestroyWindow();
    PumpMessages();
    frame.reset();
    g_DataLayer.Disconnect();
    DeleteSettingsKey();
}

// A copy of the template connected at once through its own connection (Db(), for the record
// builders of business/RecordBuilder.h); the stem names the file.
class SampleDatabase : public CTestDatabase {
public:
    explicit SampleDatabase(const wchar_t* stem = L"frame")
        : CTestDatabase(std::wstring(stem) + L".dat", L"", L"alkframe", Opening::atOnce)
    {}
    int CountEntries() { return Db().GetNumEntries(); }
    int CountVehicles() { return Db().GetNumVehicles(); }
};

inline std::wstring WindowText(HWND hWnd)
{
    wchar_t text[1024] = {};
    GetWindowTextW(hWnd, text, 1024);
    return text;
}

// Runs the call and answers the message box it shows with the button. What the box showed; an
// empty caption and text when no box came.
template <class Call>
CDialogScript::Seen AnswerBox(int button, Call call)
{
    CDialogScript ui;
    ui.Answer(button);
    call();
    PumpMessages();
    return ui.Done() ? ui.Met()[0] : CDialogScript::Seen{};
}

// The framework object that routes a window's messages, as a T; null when the window has none
// or one of another type.
template <class T>
T* ObjectOf(HWND hWnd)
{
    return dynamic_cast<T*>(CWindowImplRootBase::FromHandle(hWnd));
}

inline std::wstring ItemText(HWND list, int row, int column)
{
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

inline std::vector<std::wstring> ColumnTexts(HWND list, int column)
{
    std::vector<std::wstring> texts;
    int n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) texts.push_back(ItemText(list, i, column));
    return texts;
}

inline int FindRow(HWND list, const wchar_t* text)
{
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = text;
    return static_cast<int>(
        SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

inline void SelectRows(HWND list, std::vector<int> rows)
{
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

// The manual file beside the test program, and no program for PDF files, for a scope. Wine's
// prefixes open PDF files with winebrowser (the host's viewer, if any); the association is taken
// away, as on a computer without a PDF reader, and put back at the end. With withFile false the
// manual is missing instead.
class CManualWithoutViewer {
public:
    explicit CManualWithoutViewer(bool withFile = true) : m_path(ProgramFolder() + L"autolark_en.pdf")
    {
        DeleteFileW(m_path.c_str());
        if (withFile) {
            HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            if (file != INVALID_HANDLE_VALUE) {
                WriteFile(file, "%PDF-1.4\n%%EOF\n", 15, &written, nullptr);
                CloseHandle(file);
            }
        }
        wchar_t type[64] = {};
        LONG size = sizeof type;
        if (RegQueryValueW(HKEY_CLASSES_ROOT, L".pdf", type, &size) == ERROR_SUCCESS) m_type = type;
        SHDeleteKeyW(HKEY_CLASSES_ROOT, L".pdf");
    }
    ~CManualWithoutViewer()
    {
        DeleteFileW(m_path.c_str());
        if (!m_type.empty())
            RegSetValueW(HKEY_CLASSES_ROOT, L".pdf", REG_SZ, m_type.c_str(),
                         static_cast<DWORD>(m_type.size() * sizeof(wchar_t)));
    }
    CManualWithoutViewer(const CManualWithoutViewer&) = delete;
    CManualWithoutViewer& operator=(const CManualWithoutViewer&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Whether the shell has no program for the file now.
    static bool NoViewer()
    {
        wchar_t type[64] = {};
        LONG size = sizeof type;
        return RegQueryValueW(HKEY_CLASSES_ROOT, L".pdf", type, &size) != ERROR_SUCCESS;
    }

private:
    std::wstring m_path;
    std::wstring m_type;  // the association taken away ("pdffile"), empty when there was none
};

}  // namespace alk_mainframe_test
