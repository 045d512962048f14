// The main window's layout between runs: its placement, the order, widths and line breaks of the
// rebar bands, and the splitter positions. Made on the stack where it is needed, with the full
// path of its key under HKEY_CURRENT_USER (normally ALK_LAYOUT_KEY).
#pragma once

#include <windows.h>

#include <vector>

#include "desktop/AppSettings.h"

#define ALK_LAYOUT_KEY ALK_SETTINGS_KEY L"\\UI"

class CLayoutSettings {
public:
    explicit CLayoutSettings(const wchar_t* keyPath);
    ~CLayoutSettings();

    CLayoutSettings(const CLayoutSettings&) = delete;
    CLayoutSettings& operator=(const CLayoutSettings&) = delete;

    // Applies the saved placement and shows the window. Without a saved placement the window is
    // shown with showCmd; a window closed while minimised comes back restored.
    void LoadWindowPlacement(HWND hWnd, int showCmd);
    void SaveWindowPlacement(HWND hWnd);

    // Puts the rebar's bands back in the saved order, widths and line breaks.
    void LoadReBar(HWND hReBar);
    void SaveReBar(HWND hReBar);

    // Splitter positions are pixels from the splitter's left or top edge; -1 means the middle.
    int LoadSplitterPos(const wchar_t* name, int defaultPos);
    void SaveSplitterPos(int pos, const wchar_t* name);

private:
    struct BandInfo {
        UINT id;
        UINT cx;
        bool lineBreak;
    };

    void ApplyReBarTo(HWND hReBar);
    void GetReBarFrom(HWND hReBar);

    // Stored as "WndPlacement": these 44 bytes as they lie in memory (little-endian, length first).
    WINDOWPLACEMENT m_placement;
    wchar_t m_keyPath[MAX_PATH];
    std::vector<BandInfo> m_bands;
};
