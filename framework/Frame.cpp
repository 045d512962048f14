#include "framework/Frame.h"

#include <vector>

CString AlkCommandText(UINT id, bool tooltip)
{
    CString text;
    if (!text.LoadString(id)) return text;
    int newline = text.Find(L'\n');
    if (tooltip) return newline < 0 ? CString() : text.Mid(newline + 1);
    return newline < 0 ? text : text.Left(newline);
}

namespace {

// An RT_TOOLBAR resource. The Microsoft compiler writes 16-bit fields: version 1, button width
// and height, count, then count command ids (0 = separator). GNU windres writes 32-bit fields
// and no version: width, height, count, ids. The size tells which.
struct ToolBarResource {
    UINT width = 0, height = 0;
    std::vector<UINT> items;

    bool Read(const void* data, DWORD size)
    {
        const WORD* w = static_cast<const WORD*>(data);
        const DWORD* d = static_cast<const DWORD*>(data);
        if (size >= 8 && w[0] == 1 && size >= 8u + 2u * w[3]) {
            width = w[1];
            height = w[2];
            for (WORD i = 0; i < w[3]; ++i) items.push_back(w[4 + i]);
            return true;
        }
        if (size >= 12 && size >= 12u + 4u * d[2]) {
            width = d[0];
            height = d[1];
            for (DWORD i = 0; i < d[2]; ++i) items.push_back(d[3 + i]);
            return true;
        }
        return false;
    }
};

}  // namespace

HWND AlkCreateToolBarFromResource(HWND parent, UINT resourceID, BOOL initialSeparator, DWORD style, UINT id)
{
    HINSTANCE res = AlkGetResourceInstance();
    HRSRC found = ::FindResourceW(res, MAKEINTRESOURCEW(resourceID), MAKEINTRESOURCEW(241));  // RT_TOOLBAR
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(res, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    ToolBarResource resource;
    if (!bytes || !resource.Read(bytes, ::SizeofResource(res, found))) return nullptr;
    const ToolBarResource* data = &resource;

    std::vector<TBBUTTON> buttons;
    if (initialSeparator) buttons.push_back(TBBUTTON{8, 0, 0, BTNS_SEP, {0}, 0, 0});
    int image = 0;
    for (UINT item : data->items) {
        TBBUTTON b{};
        if (item) {
            b.iBitmap = image++;
            b.idCommand = static_cast<int>(item);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        } else {
            b.iBitmap = 8;
            b.fsStyle = BTNS_SEP;
        }
        buttons.push_back(b);
    }

    HWND tb = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 100, 100, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AlkGetModuleInstance(), nullptr);
    if (!tb) return nullptr;
    ::SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(data->width, data->height));
    ::SendMessageW(tb, TB_SETBUTTONSIZE, 0, MAKELPARAM(data->width + 7, data->height + 7));
    if (image) {
        TBADDBITMAP bitmap{res, resourceID};
        ::SendMessageW(tb, TB_ADDBITMAP, image, reinterpret_cast<LPARAM>(&bitmap));
    }
    ::SendMessageW(tb, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(tb, TB_AUTOSIZE, 0, 0);
    return tb;
}

BOOL AlkAddReBarBand(HWND rebar, HWND band, int id, LPCWSTR title, BOOL newRow, int cxWidth, BOOL fullWidthAlways)
{
    if (!rebar || !band) return FALSE;
    int count = static_cast<int>(::SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));

    REBARBANDINFOW rbb{};
    rbb.cbSize = sizeof rbb;
    rbb.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
    if (title) rbb.fMask |= RBBIM_TEXT;
    rbb.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
    if (newRow) rbb.fStyle |= RBBS_BREAK;
    rbb.lpText = const_cast<LPWSTR>(title);
    rbb.hwndChild = band;
    rbb.wID = static_cast<UINT>(id ? id : ALK_IDW_BAND_FIRST + count);

    // A toolbar (or a superclass of one, such as the command bar) is as large as its buttons;
    // other windows as they are. Only a toolbar answers TB_GETBUTTONSIZE.
    RECT rc{};
    int buttons = ::SendMessageW(band, TB_GETBUTTONSIZE, 0, 0)
                      ? static_cast<int>(::SendMessageW(band, TB_BUTTONCOUNT, 0, 0))
                      : -1;
    if (buttons > 0) {
        ::SendMessageW(band, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&rc));
        rc.left = 0;
        rc.top = 0;
    } else if (buttons == 0) {
        DWORD size = static_cast<DWORD>(::SendMessageW(band, TB_GETBUTTONSIZE, 0, 0));
        rc.bottom = HIWORD(size);
    } else {
        ::GetWindowRect(band, &rc);
        rc.right -= rc.left;
        rc.bottom -= rc.top;
        rc.left = rc.top = 0;
    }
    rbb.cxMinChild = rc.right - rc.left;
    rbb.cyMinChild = rc.bottom - rc.top;
    rbb.cxIdeal = rbb.cxMinChild;
    rbb.cx = cxWidth ? static_cast<UINT>(cxWidth) : rbb.cxMinChild;
    if (fullWidthAlways) rbb.cxMinChild = 0;
    return static_cast<BOOL>(
        ::SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&rbb)));
}
