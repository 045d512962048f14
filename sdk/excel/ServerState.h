// What the whole double process shares: its command-line options, its record file, the call
// counters and the count of live automation objects that decides when the process ends.
//
// Everything here runs on the process's one thread, a single-threaded apartment: COM delivers
// every call through its message loop, so nothing needs a lock.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <set>
#include <string>

namespace excel_double {

struct ServerOptions {
    std::wstring recordFolder;  // -record FOLDER: where excel-<pid>.txt goes (none: no record)
    long failCall = 0;          // -fail N: the Nth Invoke fails (0: none)
    std::wstring failMember;    // -failmember NAME: every Invoke of that member fails
    long exitAfter = 0;         // -exitafter N: the process dies when Invoke N + 1 arrives
    DWORD startDelayMs = 0;     // -startdelay MS: wait before offering the class to COM
    DWORD idleMs = 120000;      // -idle SECONDS: end when no call came for that long
    bool embedding = false;     // -Embedding (or /Embedding): started by COM
};

// Reads the options of a command line split into arguments; false with a message for bad ones.
bool ParseOptions(int argc, wchar_t** argv, ServerOptions* options, std::wstring* error);

class CServer {
public:
    static CServer& Get();

    ServerOptions options;

    // Opens <folder>\excel-<pid>.txt and writes the process line.
    bool OpenRecord(const std::wstring& commandLine);
    // One line of the record (the tag and fields, without the line end).
    void Write(const std::string& line);

    long NextInvoke() { return ++m_invokes; }
    long NextNames() { return ++m_names; }
    long Invokes() const { return m_invokes; }
    long Names() const { return m_names; }
    void Touch() { m_lastCall = ::GetTickCount(); }
    DWORD IdleFor() const { return ::GetTickCount() - m_lastCall; }

    // Serial numbers of objects, from 1.
    long NextSerial() { return ++m_serial; }
    // Live automation objects (by name; a server lock counts as one without a name): when the
    // last one goes, the message loop is told to end.
    void ObjectMade(const std::wstring& name);
    void ObjectGone(const std::wstring& name);
    long Alive() const { return m_alive; }
    // The names of the live objects, comma-separated.
    std::string AliveNames() const;

private:
    HANDLE m_record = INVALID_HANDLE_VALUE;
    long m_invokes = 0;
    long m_names = 0;
    long m_serial = 0;
    long m_alive = 0;
    std::multiset<std::wstring> m_aliveNames;
    DWORD m_lastCall = ::GetTickCount();
};

// <value> of the record format (RecordFormat.h) of a VARIANT.
std::string ValueText(const VARIANT& value);

}  // namespace excel_double
