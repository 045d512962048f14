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
