#include "sdk/activesync/manager/ManagerLog.h"

#include <cstdarg>

CManagerLog::~CManagerLog()
{
    Flush();
    if (m_ownsFile) std::fclose(m_file);
}

bool CManagerLog::Open(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    if (m_ownsFile) std::fclose(m_file);
    m_file = file;
    m_ownsFile = true;
    return true;
}

void CManagerLog::ToStandardOutput()
{
    if (m_ownsFile) std::fclose(m_file);
    m_file = stdout;
    m_ownsFile = false;
}

void CManagerLog::Line(const char* format, ...)
{
    ++m_lines;
    if (!m_file) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(m_file, format, arguments);
    va_end(arguments);
    std::fputc('\n', m_file);
}

void CManagerLog::Result(const char* call, HRESULT result, const std::string& detail)
{
    if (!m_file) {
        ++m_lines;
        return;
    }
    Line("%s = %s%s%s", call, Hex(result).c_str(), detail.empty() ? "" : " ", detail.c_str());
}

void CManagerLog::Flush()
{
    if (m_file) std::fflush(m_file);
}

std::string CManagerLog::Hex(HRESULT value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(static_cast<ULONG>(value)));
    return text;
}
