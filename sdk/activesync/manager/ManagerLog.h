// The manager double's log: one line per call it makes of the provider with that call's result,
// and a line for each thing it does on its own account (files written or removed, conflicts,
// message boxes answered, objects that failed). Lines go to a file (replaced at each run), to
// the standard output, or nowhere (a run timed in process).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

class CManagerLog {
public:
    CManagerLog() = default;
    ~CManagerLog();
    CManagerLog(const CManagerLog&) = delete;
    CManagerLog& operator=(const CManagerLog&) = delete;

    // Lines go to the file from now on; false when it cannot be made.
    bool Open(const std::string& path);
    void ToStandardOutput();

    void Line(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // "<call> = 0x%08X" with what follows.
    void Result(const char* call, HRESULT result, const std::string& detail = std::string());
    void Flush();

    // Lines written so far.
    int Lines() const
    {
        return m_lines;
    }

    static std::string Hex(HRESULT value);

private:
    FILE* m_file = nullptr;
    bool m_ownsFile = false;
    int m_lines = 0;
};
