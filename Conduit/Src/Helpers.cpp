#include "Conduit/Src/Helpers.h"

#include <direct.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

void MakeDirectoryPath(char* path, size_t position)
{
    const char kept = path[position];
    path[position] = '\0';
    if (_mkdir(path) != 0 && errno == ENOENT) {
        // A parent is missing: make it (unless it is a root), then try again.
        size_t separator = position;
        while (separator > 0 && path[separator - 1] != '\\' && path[separator - 1] != '/') --separator;
        // separator is now one past the nearest separator, or 0 when there is none.
        if (separator > 1 && path[separator - 2] != ':') {
            MakeDirectoryPath(path, separator - 1);
            _mkdir(path);
        }
    }
    path[position] = kept;
}

void MakeFileDirectory(const char* filePath)
{
    if (!filePath) return;
    std::string copy(filePath);
    const size_t last = copy.find_last_of("\\/");
    if (last == std::string::npos || last < 1) return;
    MakeDirectoryPath(&copy[0], last);
}

HBITMAP RecolorBitmap(HBITMAP bitmap, COLORREF color)
{
    BITMAP info;
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return nullptr;
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HBITMAP result = nullptr;
    if (source && target) {
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof header.bmiHeader;
        header.bmiHeader.biWidth = info.bmWidth;
        header.bmiHeader.biHeight = -info.bmHeight;  // top-down
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        result = CreateDIBSection(target, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (result && bits) {
            HGDIOBJ oldSource = SelectObject(source, bitmap);
            HGDIOBJ oldTarget = SelectObject(target, result);
            BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, oldSource);
            SelectObject(target, oldTarget);
            GdiFlush();
            // The pixel layout has blue in the low byte, a COLORREF red.
            const DWORD replacement = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
            DWORD* pixel = static_cast<DWORD*>(bits);
            const size_t count = static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight);
            for (size_t i = 0; i < count; ++i)
                if ((pixel[i] & 0x00FFFFFF) == 0x00CBCBCB) pixel[i] = replacement;
        } else if (result) {
            DeleteObject(result);
            result = nullptr;
        }
    }
    if (source) DeleteDC(source);
    if (target) DeleteDC(target);
    return result;
}
