// The main window's layout between runs: its placement, the order, widths and line breaks of the
// rebar bands, and the splitter positions. Made on the stack where it is needed, with the full
// path of its key under HKEY_CURRENT_USER (normally ALK_LAYOUT_KEY). Registry failures are
// silent: what cannot be read keeps its default, what cannot be written is lost.
//
// Values under the key:
//   "WndPlacement"      REG_BINARY  44 bytes: the WINDOWPLACEMENT as it lies in memory
//                                   (little-endian, length first); a value of another size is not used
//   "ReBarBandCount"    REG_DWORD   number of rebar bands saved
//   "ReBar<i>_ID"       REG_DWORD   id of the band at position i (counted from 0)
//   "ReBar<i>_CX"       REG_DWORD   width of that band in pixels
//   "ReBar<i>_Break"    REG_DWORD   1 when that band starts a new line, else 0
//   "Splitter_<name>"   REG_DWORD   splitter position: pixels from its left or top edge, -1 the
//                                   middle; the frame's names are vSplit, hSplit1, hSplit2, hSplit3
// A missing band value counts as 0; a missing splitter value gives the caller's default.
#pragma once

#include <windows.h>

#include <vector>

#include "desktop/AppSettings.h"

class CRegKey;

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

    // Opens the key for reading, or creates or opens it for writing.
    LONG OpenKey(CRegKey& key, bool write) const;
    void ApplyReBarTo(HWND hReBar);
    void GetReBarFrom(HWND hReBar);

    // Stored as "WndPlacement": these 44 bytes as they lie in memory (little-endian, length first).
    WINDOWPLACEMENT m_placement;
    wchar_t m_keyPath[MAX_PATH];
    std::vector<BandInfo> m_bands;
};
