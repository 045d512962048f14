#include "desktop/LayoutSettings.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace {

static_assert(sizeof(WINDOWPLACEMENT) == 44, "\"WndPlacement\" is 44 bytes");

// A REG_DWORD of exactly 4 bytes; false leaves value alone.
bool ReadDword(HKEY key, const wchar_t* name, DWORD& value)
{
    DWORD data = 0;
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return false;
    value = data;
    return true;
}

void WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

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

void CLayoutSettings::LoadWindowPlacement(HWND hWnd, int showCmd)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        ShowWindow(hWnd, showCmd);
        return;
    }
    WINDOWPLACEMENT saved;
    DWORD type = 0;
    DWORD size = sizeof(saved);
    LONG status = RegQueryValueExW(key, L"WndPlacement", nullptr, &type, reinterpret_cast<BYTE*>(&saved), &size);
    RegCloseKey(key);
    // A shorter value would leave part of the record unread: only the whole record is used.
    if (status != ERROR_SUCCESS || type != REG_BINARY || size != sizeof(saved)) {
        ShowWindow(hWnd, showCmd);
        return;
    }
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
    m_placement.length = sizeof(WINDOWPLACEMENT);
    if (!GetWindowPlacement(hWnd, &m_placement)) return;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"WndPlacement", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&m_placement),
                   sizeof(m_placement));
    RegCloseKey(key);
}

void CLayoutSettings::LoadReBar(HWND hReBar)
{
    m_bands.clear();

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return;

    // The stored count sizes the band list; it is only trusted as far as the rebar has bands, so
    // a corrupt or hostile value can neither exhaust memory nor reach past the rebar. Saved
    // positions beyond the rebar's bands are ignored.
    DWORD count = 0;
    ReadDword(key, L"ReBarBandCount", count);
    const LRESULT present = SendMessageW(hReBar, RB_GETBANDCOUNT, 0, 0);
    if (present <= 0)
        count = 0;
    else if (count > static_cast<DWORD>(present))
        count = static_cast<DWORD>(present);

    m_bands.resize(count);
    for (UINT i = 0; i < count; ++i) {
        DWORD id = 0, cx = 0, lineBreak = 0;  // a missing value counts as 0
        ReadDword(key, BandValueName(i, L"ID").c_str(), id);
        ReadDword(key, BandValueName(i, L"CX").c_str(), cx);
        ReadDword(key, BandValueName(i, L"Break").c_str(), lineBreak);
        m_bands[i] = {id, cx, lineBreak != 0};
    }
    RegCloseKey(key);

    ApplyReBarTo(hReBar);
}

void CLayoutSettings::SaveReBar(HWND hReBar)
{
    GetReBarFrom(hReBar);

    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    WriteDword(key, L"ReBarBandCount", static_cast<DWORD>(m_bands.size()));
    for (UINT i = 0; i < m_bands.size(); ++i) {
        WriteDword(key, BandValueName(i, L"ID").c_str(), m_bands[i].id);
        WriteDword(key, BandValueName(i, L"CX").c_str(), m_bands[i].cx);
        WriteDword(key, BandValueName(i, L"Break").c_str(), m_bands[i].lineBreak ? 1 : 0);
    }
    RegCloseKey(key);
}

void CLayoutSettings::ApplyReBarTo(HWND hReBar)
{
    for (UINT i = 0; i < m_bands.size(); ++i) {
        // An id that matches no band moves nothing; the width and break of this position then go
        // to whichever band stands there.
        const LRESULT from = SendMessageW(hReBar, RB_IDTOINDEX, m_bands[i].id, 0);
        if (from >= 0 && static_cast<UINT>(from) != i) SendMessageW(hReBar, RB_MOVEBAND, static_cast<WPARAM>(from), i);

        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (!SendMessageW(hReBar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band))) continue;
        band.cx = m_bands[i].cx;
        if (m_bands[i].lineBreak)
            band.fStyle |= RBBS_BREAK;
        else
            band.fStyle &= ~RBBS_BREAK;
        SendMessageW(hReBar, RB_SETBANDINFOW, i, reinterpret_cast<LPARAM>(&band));
    }
}

void CLayoutSettings::GetReBarFrom(HWND hReBar)
{
    m_bands.clear();
    const LRESULT count = SendMessageW(hReBar, RB_GETBANDCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (!SendMessageW(hReBar, RB_GETBANDINFOW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))) break;
        m_bands.push_back({band.wID, band.cx, (band.fStyle & RBBS_BREAK) != 0});
    }
}

int CLayoutSettings::LoadSplitterPos(const wchar_t* name, int defaultPos)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return defaultPos;
    DWORD pos = static_cast<DWORD>(defaultPos);
    ReadDword(key, SplitterValueName(name).c_str(), pos);
    RegCloseKey(key);
    return static_cast<int>(pos);
}

void CLayoutSettings::SaveSplitterPos(int pos, const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    WriteDword(key, SplitterValueName(name).c_str(), static_cast<DWORD>(pos));
    RegCloseKey(key);
}
