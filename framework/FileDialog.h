// CFileDialog: the platform's open or save file dialog.
//
// The filter is a list of NUL-separated pairs ending in two NULs (as a string-table text with
// "|" turned into NULs gives). DoModal answers IDOK or IDCANCEL; after IDOK the chosen path is
// in m_szFileName (up to MaxFileName characters and a terminator), which also gives the initial
// name.
#pragma once

#include <windows.h>

#include <commdlg.h>

class CFileDialog {
public:
    // Longest path the dialog gives back, in characters without the terminator: MAX_PATH, as
    // long as a path the program can open.
    enum { MaxFileName = MAX_PATH };

    OPENFILENAMEW m_ofn{};
    wchar_t m_szFileName[MaxFileName + 1] = {};
    wchar_t m_szFileTitle[MAX_PATH] = {};
    bool m_bOpenFileDialog;

    CFileDialog(BOOL openFileDialog, LPCWSTR defaultExt = nullptr, LPCWSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = nullptr, HWND parent = nullptr)
        : m_bOpenFileDialog(openFileDialog != FALSE)
    {
        m_ofn.lStructSize = sizeof m_ofn;
        m_ofn.hwndOwner = parent;
        m_ofn.lpstrFilter = filter;
        m_ofn.nFilterIndex = filter ? 1 : 0;
        m_ofn.lpstrFile = m_szFileName;
        m_ofn.nMaxFile = MaxFileName + 1;
        m_ofn.lpstrFileTitle = m_szFileTitle;
        m_ofn.nMaxFileTitle = MAX_PATH;
        m_ofn.lpstrDefExt = defaultExt;
        m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
        if (fileName) lstrcpynW(m_szFileName, fileName, MaxFileName + 1);
    }

    INT_PTR DoModal(HWND parent = ::GetActiveWindow())
    {
        if (!m_ofn.hwndOwner) m_ofn.hwndOwner = parent;
        BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
        return ok ? IDOK : IDCANCEL;
    }
};
