#include "activesync/PropertyPacket.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

uint32_t ReadWord(const BYTE* at)
{
    uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void WriteWord(BYTE* at, uint32_t value)
{
    std::memcpy(at, &value, sizeof value);
}

// Bytes of a fixed-size value of the type; texts are measured apart.
DWORD FixedSize(DWORD type)
{
    switch (type) {
    case CPropertyPacket::vtInteger:
    case CPropertyPacket::vtFloat: return 4;
    case CPropertyPacket::vtDouble: return 8;
    default: return 0;
    }
}

}  // namespace

bool CPropertyPacket::Begin(DWORD recommendedSize)
{
    if (recommendedSize == 0) return false;
    const DWORD wanted = recommendedSize < HeaderSize ? DWORD(HeaderSize) : recommendedSize;
    if (!m_owned || m_size < wanted) {
        Release();
        m_bytes = static_cast<BYTE*>(std::malloc(wanted));
        if (!m_bytes) return false;
        m_size = wanted;
        m_owned = true;
    }
    WriteWord(m_bytes, 0);
    WriteWord(m_bytes + 4, 0);
    m_position = HeaderSize;
    return true;
}

HRESULT CPropertyPacket::Grow(DWORD extra)
{
    const DWORD needed = m_position + extra;
    if (extra > MaxSize || needed > MaxSize) return E_POINTER;
    if (needed <= m_size) return S_OK;
    BYTE* bigger = static_cast<BYTE*>(std::realloc(m_bytes, needed + GrowthStep));
    if (!bigger) return E_OUTOFMEMORY;
    m_bytes = bigger;
    m_size = needed + GrowthStep;
    return S_OK;
}

HRESULT CPropertyPacket::Append(DWORD tag, const void* value)
{
    if (!m_owned || !m_bytes) return E_FAIL;
    const DWORD type = TypeOf(tag);
    const wchar_t* text = nullptr;
    DWORD valueSize = FixedSize(type);
    if (type == vtText) {
        text = value ? static_cast<const wchar_t*>(value) : L"";
        const size_t length = std::wcslen(text);
        if (length >= MaxSize) return E_POINTER;
        valueSize = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
    } else if (valueSize && !value) {
        return E_POINTER;
    }
    const HRESULT room = Grow(4 + valueSize);
    if (FAILED(room)) return room;
    WriteWord(m_bytes + m_position, tag);
    if (valueSize) std::memcpy(m_bytes + m_position + 4, text ? static_cast<const void*>(text) : value, valueSize);
    m_position += 4 + valueSize;
    WriteWord(m_bytes, ReadWord(m_bytes) + 1);
    return S_OK;
}

HRESULT CPropertyPacket::AppendInteger(DWORD tag, long value)
{
    const int32_t v = static_cast<int32_t>(value);
    return Append(tag, &v);
}

HRESULT CPropertyPacket::AppendFloat(DWORD tag, float value)
{
    return Append(tag, &value);
}

HRESULT CPropertyPacket::AppendDouble(DWORD tag, double value)
{
    return Append(tag, &value);
}

void CPropertyPacket::Attach(const BYTE* bytes, DWORD size)
{
    Release();
    m_bytes = const_cast<BYTE*>(bytes);
    m_size = bytes ? size : 0;
    m_position = HeaderSize;
    m_owned = false;
}

DWORD CPropertyPacket::Count() const
{
    if (m_owned) return m_bytes ? ReadWord(m_bytes) : 0;
    return HasHeader() ? ReadWord(m_bytes) : 0;
}

const BYTE* CPropertyPacket::ReadNext(DWORD* tag)
{
    if (!HasHeader() || !tag) return nullptr;
    if (m_position > m_size || m_size - m_position < 4) return nullptr;
    const DWORD read = ReadWord(m_bytes + m_position);
    const BYTE* value = m_bytes + m_position + 4;
    const DWORD left = m_size - m_position - 4;
    DWORD valueSize = FixedSize(TypeOf(read));
    if (TypeOf(read) == vtText) {
        // Whole UTF-16 units up to and including the first NUL unit.
        DWORD at = 0;
        while (true) {
            if (left < 2 || at > left - 2) return nullptr;
            if (value[at] == 0 && value[at + 1] == 0) break;
            at += 2;
        }
        valueSize = at + 2;
    }
    if (valueSize > left) return nullptr;
    *tag = read;
    m_position += 4 + valueSize;
    return value;
}

void CPropertyPacket::Release()
{
    if (m_owned) std::free(m_bytes);
    m_bytes = nullptr;
    m_size = m_position = 0;
    m_owned = false;
}
