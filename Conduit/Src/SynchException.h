// How failures travel inside the conduit: exceptions derived from std::exception, caught only by
// the entry points (and, later, the run and the dialog), which turn them into a HotSync log line,
// a message box or a conduit error number. Texts are 8-bit and formatted when the exception is
// made; each kind carries one number of a single numbering (GetErrorCode):
//
//   5        CPalmSideErrorException: the handheld application failed (its own code is kept)
//   7        CFatalException: an internal error, with the source unit and line that raised it
//   14       CUnknownSynchErrorException: a manager result the conduit does not know
//   others   CGeneralSynchErrorException, its number:
//            1 the database path cannot be read or names no file; 2 the database cannot be
//            connected; 3 the desktop's item information cannot be gathered; 4 a desktop
//            database operation fails during a run; 6 a reply or an exchange breaks a rule of
//            the link; 8 no connection or no transaction; 9 to 13 the manager's results 0x400A,
//            0x10006410, 0x4015, 0x4013, and 0x4019 with a handheld code of 0.
#pragma once

#include <exception>
#include <string>

class CSynchException : public std::exception {
public:
    ~CSynchException() override = default;
    const char* what() const noexcept override { return m_text.c_str(); }
    virtual long GetErrorCode() const = 0;

protected:
    CSynchException() = default;
    void SetText(const std::string& text) { m_text = text; }

private:
    std::string m_text;
};

// An internal error: the unit and line are fixed texts and numbers given by the raiser, so a
// message names the same place in every build.
class CFatalException : public CSynchException {
public:
    CFatalException(const char* file, int line);
    CFatalException(const char* file, int line, const char* condition);
    long GetErrorCode() const override { return 7; }
    const std::string& GetFile() const { return m_file; }
    int GetLine() const { return m_line; }

private:
    std::string m_file;
    int m_line;
};

class CGeneralSynchErrorException : public CSynchException {
public:
    explicit CGeneralSynchErrorException(long number);
    // "General synch error (N): cause", for a failure whose cause the user can act on (a file in
    // use, a damaged transfer): the number stays first, as in every other line of this kind. A
    // null or empty cause gives the plain text.
    CGeneralSynchErrorException(long number, const char* cause);
    long GetErrorCode() const override { return m_number; }

private:
    long m_number;
};

class CPalmSideErrorException : public CSynchException {
public:
    explicit CPalmSideErrorException(long handheldResult);
    long GetErrorCode() const override { return 5; }
    long GetErrorNumber() const { return m_number; }

private:
    long m_number;
};

class CUnknownSynchErrorException : public CSynchException {
public:
    explicit CUnknownSynchErrorException(long managerResult);
    long GetErrorCode() const override { return 14; }
    long GetErrorNumber() const { return m_number; }

private:
    long m_number;
};

[[noreturn]] void ThrowGeneralSynchError(long number);
[[noreturn]] void ThrowGeneralSynchError(long number, const char* cause);
