#include "Conduit/Src/DataReader.h"

#include <cstring>

void IDataReader::Read(void* buffer, WORD count)
{
    if (IsFailed()) return;
    ReadRaw(buffer, count);
}

CAutoPtr<char> IDataReader::ReadString()
{
    CAutoPtr<char> text(&CAutoPtr<char>::ArrayDelete, nullptr);
    const WORD length = ReadWord();
    if (length == 0xFFFF) SetError();
    if (!IsFailed()) {
        text.Reset(&CAutoPtr<char>::ArrayDelete, new char[length + 1]);
        Read(text.Get(), static_cast<WORD>(length + 1));
        if (!IsFailed() && text.Get()[length] != '\0') SetError();
    }
    if (IsFailed()) text.Reset(&CAutoPtr<char>::ArrayDelete, new char[1]{'\0'});
    return text;
}

template <int LittleEndian>
ULONGLONG CDataReader<LittleEndian>::ReadNumber(int bytes)
{
    BYTE raw[8] = {};
    Read(raw, static_cast<WORD>(bytes));
    if (IsFailed()) return 0;
    ULONGLONG value = 0;
    for (int i = 0; i < bytes; ++i) {
        const BYTE b = LittleEndian ? raw[bytes - 1 - i] : raw[i];
        value = (value << 8) | b;
    }
    return value;
}

template <int LittleEndian>
double CDataReader<LittleEndian>::ReadDouble()
{
    const ULONGLONG image = ReadNumber(8);
    double value = 0;
    std::memcpy(&value, &image, sizeof value);
    return value;
}

template class CDataReader<0>;
template class CDataReader<1>;

void CMemoryDataReader::ReadRaw(void* buffer, WORD count)
{
    if (count > m_size - m_position) {
        SetEnd();
        return;
    }
    std::memcpy(buffer, m_data + m_position, count);
    m_position += count;
}

void CStreamDataReader::ReadRaw(void* buffer, WORD count)
{
    m_stream.read(static_cast<char*>(buffer), count);
    if (m_stream.fail() || m_stream.bad()) SetEnd();
}
