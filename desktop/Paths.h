// The desktop program's paths: its own folder, where the template database and the manuals lie
// beside the program, and a file's path in a folder. Paths are UTF-16 in buffers of MAX_PATH
// characters, the terminator included.
#pragma once

#include <windows.h>

// The running program's folder with a trailing backslash, into a buffer of MAX_PATH characters
// (empty when it cannot be found).
void GetAppDirectory(wchar_t* buffer);

// The path of a file in a folder, into a buffer of MAX_PATH characters; false when there is no
// folder or the path does not fit (an empty folder would name the file in the current directory).
bool JoinPath(wchar_t* result, const wchar_t* folder, const wchar_t* file);
