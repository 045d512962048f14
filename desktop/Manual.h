// The user manual: its path beside the program and its opening with the shell, and the message
// that tells the user why it did not open. The manual is a PDF file; which program shows it is
// the shell's choice (its "open" verb for the file).
#pragma once

#include <windows.h>

#include "framework/String.h"

// The manual (string 220, "autolark_en.pdf") in a folder, normally the program's (GetAppDirectory);
// empty when the folder is empty or the path would not fit in MAX_PATH characters.
CString GetManualPath(const wchar_t* folder);

// Opens the manual at path (GetManualPath; empty counts as a missing file) with the shell's "open"
// verb. True when the shell started a program for it; otherwise the user is told why in a message
// box owned by owner (ReportManualNotOpened) and the answer is false.
bool OpenManual(HWND owner, const wchar_t* path);

// The message box of a manual the shell could not open: the file's path and the cause, from what
// ShellExecute answered (32 or less): the file missing, no program to open PDF files, or the
// system's own words for any other failure.
void ReportManualNotOpened(HWND owner, const wchar_t* path, INT_PTR shellResult);
