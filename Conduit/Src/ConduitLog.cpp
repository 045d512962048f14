#include "Conduit/Src/ConduitLog.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "sdk/hotsync/HotSync.h"

namespace {

const size_t kLineBytes = 256;

// msvcrt's _vsnprintf neither terminates a cut text nor says how long it would be: the buffer's
// last byte is set aside for the terminator.
void FormatInto(char* buffer, size_t size, const char* format, va_list args)
{
    _vsnprintf(buffer, size - 1, format, args);
    buffer[size - 1] = '\0';
}

}  // namespace

void FormatText(char* buffer, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatInto(buffer, kLineBytes, format, args);
    va_end(args);
}

void LogToHotSync(long activity, long timeStamp, const char* format, ...)
{
    static const char prefix[] = "Autolark: ";
    char line[kLineBytes];
    std::memcpy(line, prefix, sizeof prefix);
    va_list args;
    va_start(args, format);
    FormatInto(line + sizeof prefix - 1, kLineBytes - (sizeof prefix - 1), format, args);
    va_end(args);
    HsLogWrite(line, activity, timeStamp);
}

void LogError(const char* text)
{
    LogToHotSync(HsLogFailure, 1, "%s", text ? text : "");
}

void ShowErrorBox(const char* text)
{
    MessageBoxA(nullptr, text ? text : "", "Autolark", MB_OK | MB_ICONERROR);
}
