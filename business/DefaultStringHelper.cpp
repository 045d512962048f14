#include "business/DefaultStringHelper.h"

#include <cstdlib>

CDefaultStringHelper::CDefaultStringHelper() : m_buffers(nullptr), m_count(0), m_capacity(0) {}

CDefaultStringHelper::~CDefaultStringHelper()
{
    for (int i = 0; i < m_count; ++i) std::free(m_buffers[i]);
    std::free(m_buffers);
}

bool CDefaultStringHelper::Keep(void* buffer)
{
    if (m_count == m_capacity) {
        const int capacity = m_capacity ? m_capacity * 2 : 8;
        void** grown = static_cast<void**>(std::realloc(m_buffers, capacity * sizeof(void*)));
        if (!grown) {
            std::free(buffer);
            return false;
        }
        m_buffers = grown;
        m_capacity = capacity;
    }
    m_buffers[m_count++] = buffer;
    return true;
}

#if ALKBIZ_WIDE

// A text that cannot be converted or kept gives null, never "": the caller would store the empty
// text in its place.
const char* CDefaultStringHelper::Encode(const AlkChar* text)
{
    if (!text || !*text) return "";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return nullptr;
    char* buffer = static_cast<char*>(std::calloc(bytes, 1));
    if (!buffer) return nullptr;
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, bytes, nullptr, nullptr);
    return Keep(buffer) ? buffer : nullptr;
}

const AlkChar* CDefaultStringHelper::Decode(const char* text)
{
    if (!text) return L"";
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (units <= 0) return L"";
    wchar_t* buffer = static_cast<wchar_t*>(std::calloc(units, sizeof(wchar_t)));
    if (!buffer) return L"";
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, buffer, units) <= 0) {
        std::free(buffer);
        return L"";
    }
    return Keep(buffer) ? buffer : L"";
}

#else

// The 8-bit build stores the bytes it is given and hands the database's bytes back unchanged.
const char* CDefaultStringHelper::Encode(const AlkChar* text)
{
    return text ? text : "";
}

const AlkChar* CDefaultStringHelper::Decode(const char* text)
{
    return text ? text : "";
}

#endif
