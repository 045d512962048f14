#include "desktop/VehicleImage.h"

#include <ole2.h>
#include <olectl.h>

#include "desktop/Utility.h"
#include "framework/ComPtr.h"
#include "framework/Gdi.h"
#include "framework/Handle.h"
#include "framework/Module.h"
#include "resources/desktop/resource.h"

CVehicleImage::CVehicleImage() : m_source(nullptr), m_shown(nullptr), m_defaultPicture(TRUE) {}

CVehicleImage::~CVehicleImage()
{
    FreeBitmaps();
}

void CVehicleImage::FreeBitmaps()
{
    if (m_shown && m_shown != m_source) ::DeleteObject(m_shown);
    if (m_source) ::DeleteObject(m_source);
    m_shown = nullptr;
    m_source = nullptr;
}

void CVehicleImage::LoadDefaultPicture()
{
    m_source = static_cast<HBITMAP>(
        ::LoadImageW(AlkGetResourceInstance(), MAKEINTRESOURCEW(IDB_VEHICLE_PICTURE), IMAGE_BITMAP, 0, 0, 0));
    m_defaultPicture = TRUE;
}

void CVehicleImage::SetPicture(const wchar_t* path)
{
    // The control still shows the old bitmap until UpdateDisplay gives it the new one; nothing
    // paints in between.
    FreeBitmaps();
    if (path && *path && LoadPictureFile(path))
        m_defaultPicture = FALSE;
    else
        LoadDefaultPicture();
    UpdateDisplay();
}

BOOL CVehicleImage::LoadPictureFile(const wchar_t* path)
{
    CHandle file(::CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return FALSE;
    const DWORD size = ::GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE) return FALSE;
    CGlobalMemory block(::GlobalAlloc(GMEM_MOVEABLE, size));
    void* data = block ? ::GlobalLock(block) : nullptr;
    if (!data) return FALSE;
    DWORD read = 0;
    const BOOL readAll = ::ReadFile(file, data, size, &read, nullptr) && read == size;
    ::GlobalUnlock(block);
    file.Close();  // opened unshared: let go before the picture is decoded
    if (!readAll) return FALSE;

    CComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) return FALSE;
    block.Detach();  // the stream frees it when it is released
    CComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture))) ||
        !picture) {
        return FALSE;
    }
    OLE_HANDLE handle = 0;
    short type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle)
        return FALSE;
    // The picture object owns its bitmap and deletes it when released: keep a copy of our own so
    // the picture can go at once.
    HBITMAP copy = static_cast<HBITMAP>(
        ::CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy) return FALSE;
    m_source = copy;
    return TRUE;
}

void CVehicleImage::UpdateDisplay()
{
    if (!m_source) return;
    HBITMAP show = m_source;
    if (!m_defaultPicture) {
        CRect client;
        GetClientRect(&client);
        BITMAP info{};
        ::GetObjectW(m_source, sizeof info, &info);
        if (client.Width() > 0 && client.Height() > 0 &&
            (info.bmWidth != client.Width() || info.bmHeight != client.Height())) {
            CClientDC screen(m_hWnd);
            HBITMAP stretched = ::CreateCompatibleBitmap(screen, client.Width(), client.Height());
            if (stretched) {
                CMemoryDC from(screen);
                CMemoryDC to(screen);
                HGDIOBJ oldFrom = from.SelectObject(m_source);
                HGDIOBJ oldTo = to.SelectObject(stretched);
                ::SetStretchBltMode(to, HALFTONE);
                ::SetBrushOrgEx(to, 0, 0, nullptr);
                ::StretchBlt(to, 0, 0, client.Width(), client.Height(), from, 0, 0, info.bmWidth, info.bmHeight,
                             SRCCOPY);
                from.SelectObject(oldFrom);
                to.SelectObject(oldTo);
                show = stretched;
            }
        }
    }
    HBITMAP previous = m_shown;
    SetBitmap(show);
    // The control returns the bitmap it showed before; a stretched copy of ours is freed here,
    // the source stays.
    if (previous && previous != m_source && previous != show) ::DeleteObject(previous);
    m_shown = show;
}

LRESULT CVehicleImage::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
    UpdateDisplay();
    return 0;
}

LRESULT CVehicleImage::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_defaultPicture) {
        ::MessageBoxW(GetParent(), LoadResString(IDS_PICTURE_HINT), LoadResString(IDR_MAINFRAME),
                      MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
