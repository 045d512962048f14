#include "desktop/Paths.h"

#include <shlwapi.h>

#include <cwchar>

void GetAppDirectory(wchar_t* buffer)
{
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    // MAX_PATH means the path was cut (and possibly left without its terminator).
    if (length == 0 || length >= MAX_PATH) {
        buffer[0] = L'\0';
        return;
    }
    wchar_t* slash = wcsrchr(buffer, L'\\');
    if (slash)
        slash[1] = L'\0';
    else
        buffer[0] = L'\0';
}

bool JoinPath(wchar_t* result, const wchar_t* folder, const wchar_t* file)
{
    return folder && *folder && ::PathCombineW(result, folder, file) != nullptr;
}
