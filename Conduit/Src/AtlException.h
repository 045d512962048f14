// The failure of a framework call that reports an HRESULT (an invalid argument, memory run out):
// "Atl exception (%X)" with the HRESULT's eight hexadecimal digits. Its text is copied into a
// buffer of its own; when that copy cannot be made it carries none and what() says "Unknown
// exception". Caught like every other standard exception.
#pragma once

#include <windows.h>

#include <exception>

class CAtlException : public std::exception {
public:
    explicit CAtlException(HRESULT result);
    CAtlException(const CAtlException& other);
    CAtlException& operator=(const CAtlException& other);
    ~CAtlException() override;
    const char* what() const noexcept override;
    HRESULT GetResult() const { return m_result; }

private:
    HRESULT m_result;
    char* m_text;  // malloc'd, or null
};

[[noreturn]] void AtlThrow(HRESULT result);
