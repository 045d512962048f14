#include "Conduit/Src/SynchException.h"

#include "Conduit/Src/ConduitLog.h"

CFatalException::CFatalException(const char* file, int line) : m_file(file), m_line(line)
{
    char text[256];
    FormatText(text, "Fatal exception in file \"%s\" on line %d", file, line);
    SetText(text);
}

CFatalException::CFatalException(const char* file, int line, const char* condition) : m_file(file), m_line(line)
{
    char text[256];
    FormatText(text, "Fatal exception in file \"%s\" on line %d: %s", file, line, condition);
    SetText(text);
}

CGeneralSynchErrorException::CGeneralSynchErrorException(long number) : m_number(number)
{
    char text[256];
    FormatText(text, "General synch error (%ld)", number);
    SetText(text);
}

CGeneralSynchErrorException::CGeneralSynchErrorException(long number, const char* cause) : m_number(number)
{
    char text[256];
    if (cause && *cause)
        FormatText(text, "General synch error (%ld): %s", number, cause);
    else
        FormatText(text, "General synch error (%ld)", number);
    SetText(text);
}

CPalmSideErrorException::CPalmSideErrorException(long handheldResult) : m_number(handheldResult)
{
    char text[256];
    FormatText(text, "Palm side error (%ld)", handheldResult);
    SetText(text);
}

CUnknownSynchErrorException::CUnknownSynchErrorException(long managerResult) : m_number(managerResult)
{
    char text[256];
    FormatText(text, "Unknown synch error (%ld)", managerResult);
    SetText(text);
}

void ThrowGeneralSynchError(long number)
{
    throw CGeneralSynchErrorException(number);
}

void ThrowGeneralSynchError(long number, const char* cause)
{
    throw CGeneralSynchErrorException(number, cause);
}
