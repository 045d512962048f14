// Files of the test programs: the program's own folder and the template database beside it,
// scratch folders under the temporary folder, the build tree's paths as Windows programs see
// them, and paths in 8 bits.
#pragma once

#include <windows.h>

#include <string>

// Folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// Copies the template Default.ENU (copied beside the test program by the build) to path,
// replacing a file there, read-only or not. False when the copy failed.
bool CopyTemplate(const std::wstring& path);

// Deletes a folder tree (files made read-only by a test included).
void RemoveTree(const std::wstring& path);

// The bytes of a file, read while others may have it open for writing; empty when it cannot be
// opened.
std::string FileBytes(const std::wstring& path);

// A path of the build tree (a Unix path, as the build names its programs) as the Windows programs
// under Wine see it: on drive Z:, with backslashes. WinePathW gives it as wide text.
std::string WinePath(const char* unixPath);
std::wstring WinePathW(const char* unixPath);

// Text (a path) in the thread's ANSI code page, as the 8-bit modules take it, and in UTF-8.
std::string ToAnsi(const std::wstring& text);
std::string ToUtf8(const std::wstring& text);

// A folder under the temporary folder, <prefix>-<process id>-<count>, unique to this process and
// object, emptied when made; it goes with all it holds when the object does. With a leaf, Path()
// is a subfolder of that name made inside it.
class CScratchFolder {
public:
    explicit CScratchFolder(const std::wstring& prefix, const std::wstring& leaf = L"");
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_top;
    std::wstring m_path;
};
