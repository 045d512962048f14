#include "Conduit/Src/AtlException.h"

#include <cstdlib>
#include <cstring>

#include "Conduit/Src/ConduitLog.h"

namespace {

char* CopyOf(const char* text)
{
    if (!text) return nullptr;
    const size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    return copy;
}

}  // namespace

CAtlException::CAtlException(HRESULT result) : m_result(result)
{
    char text[256];
    FormatText(text, "Atl exception (%X)", static_cast<unsigned>(result));
    m_text = CopyOf(text);
}

CAtlException::CAtlException(const CAtlException& other)
    : std::exception(other), m_result(other.m_result), m_text(CopyOf(other.m_text))
{}

CAtlException& CAtlException::operator=(const CAtlException& other)
{
    if (this != &other) {
        char* text = CopyOf(other.m_text);
        std::free(m_text);
        m_text = text;
        m_result = other.m_result;
    }
    return *this;
}

CAtlException::~CAtlException()
{
    std::free(m_text);
}

const char* CAtlException::what() const noexcept
{
    return m_text ? m_text : "Unknown exception";
}

void AtlThrow(HRESULT result)
{
    throw CAtlException(result);
}
