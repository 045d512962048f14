// Picture files for the tests, and reading back what a bitmap shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Writes a 24-bit bottom-up BMP file of one colour; false when the file cannot be written.
inline bool WriteBitmapFile(const std::wstring& path, int width, int height, COLORREF color)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = &pixels[y * stride + x * 3];
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                    WriteFile(out, &info, sizeof info, &written, nullptr) &&
                    WriteFile(out, pixels.data(), info.biSizeImage, &written, nullptr);
    CloseHandle(out);
    return ok;
}

inline SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// The colour of the bitmap's middle pixel (CLR_INVALID for no bitmap).
inline COLORREF CentrePixel(HBITMAP bitmap)
{
    if (!bitmap) return CLR_INVALID;
    const SIZE size = BitmapSize(bitmap);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF color = GetPixel(dc, size.cx / 2, size.cy / 2);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return color;
}

// Colours within tolerance of each other in every channel (decoders and stretching may round).
inline bool ColoursNear(COLORREF a, COLORREF b, int tolerance = 24)
{
    auto within = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return within(GetRValue(a), GetRValue(b)) && within(GetGValue(a), GetGValue(b)) &&
           within(GetBValue(a), GetBValue(b));
}

// What a window's client area shows: its pixels copied from the window's device context, as it
// last painted them (or left them unpainted). Nothing is painted for the copy, unlike
// PrintWindow, which asks the window to print itself.
class CShownPixels {
public:
    explicit CShownPixels(HWND window)
    {
        RECT client{};
        GetClientRect(window, &client);
        m_width = client.right;
        m_height = client.bottom;
        if (m_width <= 0 || m_height <= 0) return;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;  // top-down: row 0 is the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(window);
        HDC memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(memory, 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
            GdiFlush();
            const BYTE* p = static_cast<const BYTE*>(bits);  // blue, green, red, unused
            m_pixels.resize(static_cast<size_t>(m_width) * m_height);
            for (COLORREF& pixel : m_pixels) {
                pixel = RGB(p[2], p[1], p[0]);
                p += 4;
            }
            SelectObject(memory, old);
            DeleteObject(bitmap);
        }
        DeleteDC(memory);
        ReleaseDC(window, screen);
    }

    bool Captured() const { return !m_pixels.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    // How many pixels show the colour.
    int Count(COLORREF color) const
    {
        int n = 0;
        for (COLORREF pixel : m_pixels) n += pixel == color;
        return n;
    }
    // The first row from the given one down with a pixel of the colour; -1 when there is none.
    int FirstRowWith(COLORREF color, int from = 0) const
    {
        for (int y = from < 0 ? 0 : from; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) == color) return y;
        return -1;
    }
    // The last row (from the top) with a pixel of the colour; -1 when there is none.
    int LastRowWith(COLORREF color) const
    {
        for (int y = m_height - 1; y >= 0; --y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) == color) return y;
        return -1;
    }

private:
    int m_width = 0, m_height = 0;
    std::vector<COLORREF> m_pixels;
};
