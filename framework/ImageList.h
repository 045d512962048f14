// An image list of the common controls.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Owns its image list unless made from a handle with owns = false (the default for Attach).
class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList(HIMAGELIST h = nullptr) : m_hImageList(h) {}
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() {}  // like a handle: Destroy frees the list explicitly

    operator HIMAGELIST() const { return m_hImageList; }
    bool IsNull() const { return m_hImageList == nullptr; }

    HIMAGELIST Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList;
    }
    BOOL Destroy()
    {
        if (!m_hImageList) return FALSE;
        BOOL ok = ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    void Attach(HIMAGELIST h) { m_hImageList = h; }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int AddIcon(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(HBITMAP bmp, HBITMAP mask = nullptr) { return ImageList_Add(m_hImageList, bmp, mask); }
    int Add(HBITMAP bmp, COLORREF maskColor) { return ImageList_AddMasked(m_hImageList, bmp, maskColor); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL RemoveAll() { return ImageList_Remove(m_hImageList, -1); }
    HICON GetIcon(int index, UINT flags = ILD_NORMAL) const { return ImageList_GetIcon(m_hImageList, index, flags); }
    BOOL GetIconSize(int& cx, int& cy) const { return ImageList_GetIconSize(m_hImageList, &cx, &cy); }
    BOOL Draw(HDC dc, int index, int x, int y, UINT style)
    {
        return ImageList_Draw(m_hImageList, index, dc, x, y, style);
    }
};
