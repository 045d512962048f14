// Small helpers of the conduit: folders for the files it writes, and bitmaps recoloured to the
// system's colours.
#pragma once

#include <windows.h>

// Creates the folder named by the first position characters of path (the character there is
// set aside meanwhile and put back), making missing parents first. A drive root or a leading
// separator is never created. Failures are not reported: the file operation that follows does.
void MakeDirectoryPath(char* path, size_t position);
// Creates the folder that holds filePath, with its missing parents.
void MakeFileDirectory(const char* filePath);

// A new 32-bit bitmap of the same size in which every pixel of the colour 0xCBCBCB is replaced
// by color (a COLORREF, red in the low byte); the source is left alone. Null for a null source or
// when a device context or the new bitmap cannot be made. The caller owns the result.
HBITMAP RecolorBitmap(HBITMAP bitmap, COLORREF color);
