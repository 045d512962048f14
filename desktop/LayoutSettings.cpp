#include "desktop/LayoutSettings.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "common/Assert.h"
#include "framework/Controls.h"
#include "framework/RegKey.h"

namespace {

static_assert(sizeof(WINDOWPLACEMENT) == 44, "\"WndPlacement\" is 44 bytes");

// Value names of the band at position i: "ReBar<i>_ID", "ReBar<i>_CX", "ReBar<i>_Break".
std::wstring BandValueName(UINT i, const wchar_t* suffix)
{
    wchar_t prefix[32];
    swprintf(prefix, 32, L"ReBar%i_", static_cast<int>(i));
    return std::wstring(prefix) + suffix;
}

std::wstring SplitterValueName(const wchar_t* name)
{
    return std::wstring(L"Splitter_") + (name ? name : L"");
}

}  // namespace

CLayoutSettings::CLayoutSettings(const wchar_t* keyPath) : m_placement(), m_keyPath()
{
    if (keyPath) wcsncpy(m_keyPath, keyPath, MAX_PATH - 1);

    m_placement.length = sizeof(WINDOWPLACEMENT);
    m_placement.flags = 0;
    m_placement.showCmd = SW_SHOWNORMAL;
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    InflateRect(&work, -100, -100);
    m_placement.rcNormalPosition = work;
}

CLayoutSettings::~CLayoutSettings() = default;

LONG CLayoutSettings::OpenKey(CRegKey& key, bool write) const
{
    return write ? key.Create(HKEY_CURRENT_USER, m_keyPath) : key.Open(HKEY_CURRENT_USER, m_keyPath, KEY_READ);
}

void CLayoutSettings::LoadWindowPlacement(HWND hWnd, int showCmd)
{
    ALK_ASSERT(::IsWindow(hWnd));
    CRegKey key;
    WINDOWPLACEMENT saved;
    ULONG size = sizeof(saved);
    // A shorter value would leave part of the record unread: only the whole record is used.
    if (OpenKey(key, false) != ERROR_SUCCESS || key.QueryBinaryValue(L"WndPlacement", &saved, &size) != ERROR_SUCCESS ||
        size != sizeof(saved)) {
        ShowWindow(hWnd, showCmd);
        return;
    }
    key.Close();
    m_placement = saved;
    m_placement.length = sizeof(WINDOWPLACEMENT);

    // Applied twice in a row: the frame's bars re-lay themselves out (the menu can wrap) as the
    // first call resizes the window, and the second call settles it on the saved rectangle.
    SetWindowPlacement(hWnd, &m_placement);
    SetWindowPlacement(hWnd, &m_placement);

    if (showCmd == SW_SHOWNORMAL) {
        // A window closed while minimised comes back restored. The window must end up visible
        // whatever the saved show command said (a stored SW_HIDE would leave it hidden).
        if (m_placement.showCmd == SW_MINIMIZE || m_placement.showCmd == SW_SHOWMINIMIZED || !IsWindowVisible(hWnd))
            ShowWindow(hWnd, SW_SHOWNORMAL);
    } else {
        ShowWindow(hWnd, showCmd);
    }
}

void CLayoutSettings::SaveWindowPlacement(HWND hWnd)
{
    ALK_ASSERT(::IsWindow(hWnd));
    m_placement.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(hWnd, &m_placement)) return;
    CRegKey key;
    if (OpenKey(key, true) != ERROR_SUCCESS) return;
    key.SetBinaryValue(L"WndPlacement", &m_placement, sizeof(m_placement));
}

void CLayoutSettings::LoadReBar(HWND hReBar)
{
    ALK_ASSERT(::IsWindow(hReBar));
    m_bands.clear();

    CRegKey key;
    if (OpenKey(key, false) != ERROR_SUCCESS) return;

    // The stored count sizes the band list; it is only trusted as far as the rebar has bands, so
    // a corrupt or hostile value can neither exhaust memory nor reach past the rebar. Saved
    // positions beyond the rebar's bands are ignored.
    DWORD count = 0;
    key.QueryDWORDValue(L"ReBarBandCount", count);
    const UINT present = CReBarCtrl(hReBar).GetBandCount();
    if (count > present) count = present;

    m_bands.resize(count);
    for (UINT i = 0; i < count; ++i) {
        DWORD id = 0, cx = 0, lineBreak = 0;  // a missing value counts as 0
        key.QueryDWORDValue(BandValueName(i, L"ID").c_str(), id);
        key.QueryDWORDValue(BandValueName(i, L"CX").c_str(), cx);
        key.QueryDWORDValue(BandValueName(i, L"Break").c_str(), lineBreak);
        m_bands[i] = {id, cx, lineBreak != 0};
    }
    key.Close();

    ApplyReBarTo(hReBar);
}

void CLayoutSettings::SaveReBar(HWND hReBar)
{
    ALK_ASSERT(::IsWindow(hReBar));
    GetReBarFrom(hReBar);

    CRegKey key;
    if (OpenKey(key, true) != ERROR_SUCCESS) return;
    key.SetDWORDValue(L"ReBarBandCount", static_cast<DWORD>(m_bands.size()));
    for (UINT i = 0; i < m_bands.size(); ++i) {
        key.SetDWORDValue(BandValueName(i, L"ID").c_str(), m_bands[i].id);
        key.SetDWORDValue(BandValueName(i, L"CX").c_str(), m_bands[i].cx);
        key.SetDWORDValue(BandValueName(i, L"Break").c_str(), m_bands[i].lineBreak ? 1 : 0);
    }
}

void CLayoutSettings::ApplyReBarTo(HWND hReBar)
{
    CReBarCtrl rebar(hReBar);
    for (UINT i = 0; i < m_bands.size(); ++i) {
        // An id that matches no band moves nothing; the width and break of this position then go
        // to whichever band stands there.
        const int from = rebar.IdToIndex(m_bands[i].id);
        if (from >= 0 && static_cast<UINT>(from) != i) rebar.MoveBand(from, static_cast<int>(i));

        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (!rebar.GetBandInfo(static_cast<int>(i), &band)) continue;
        band.cx = m_bands[i].cx;
        if (m_bands[i].lineBreak)
            band.fStyle |= RBBS_BREAK;
        else
            band.fStyle &= ~RBBS_BREAK;
        rebar.SetBandInfo(static_cast<int>(i), &band);
    }
}

void CLayoutSettings::GetReBarFrom(HWND hReBar)
{
    m_bands.clear();
    CReBarCtrl rebar(hReBar);
    const UINT count = rebar.GetBandCount();
    for (UINT i = 0; i < count; ++i) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (!rebar.GetBandInfo(static_cast<int>(i), &band)) break;
        m_bands.push_back({band.wID, band.cx, (band.fStyle & RBBS_BREAK) != 0});
    }
}

int CLayoutSettings::LoadSplitterPos(const wchar_t* name, int defaultPos)
{
    CRegKey key;
    if (OpenKey(key, false) != ERROR_SUCCESS) return defaultPos;
    DWORD pos = static_cast<DWORD>(defaultPos);
    key.QueryDWORDValue(SplitterValueName(name).c_str(), pos);
    return static_cast<int>(pos);
}

void CLayoutSettings::SaveSplitterPos(int pos, const wchar_t* name)
{
    CRegKey key;
    if (OpenKey(key, true) != ERROR_SUCCESS) return;
    key.SetDWORDValue(SplitterValueName(name).c_str(), static_cast<DWORD>(pos));
}
