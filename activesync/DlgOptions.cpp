#include "activesync/DlgOptions.h"

CDlgOptions::~CDlgOptions()
{
    if (m_boldFont) ::DeleteObject(m_boldFont);
}

LRESULT CDlgOptions::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    // The title in the bold form of its own font; when that cannot be made it keeps the font.
    CWindow title(GetDlgItem(IDC_OPTIONS_TITLE));
    HFONT font = title.GetFont();
    if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW logFont;
    if (!m_boldFont && font && ::GetObjectW(font, sizeof logFont, &logFont) == sizeof logFont) {
        logFont.lfWeight = FW_BOLD;
        m_boldFont = ::CreateFontIndirectW(&logFont);
    }
    if (m_boldFont) title.SetFont(m_boldFont);
    return TRUE;
}

LRESULT CDlgOptions::OnClose(WORD, WORD id, HWND, BOOL&)
{
    EndDialog(id);
    return 0;
}
