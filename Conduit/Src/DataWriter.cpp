#include "Conduit/Src/DataWriter.h"

#include <cstring>
#include <new>

#include "Conduit/Src/SynchException.h"

void IDataWriter::WriteString(const char* text)
{
    if (!text) text = "";
    const size_t length = std::strlen(text);
    if (length >= 0xFFFF) ThrowGeneralSynchError(6);
    WriteWord(static_cast<WORD>(length));
    Write(text, static_cast<WORD>(length + 1));
}

template <int LittleEndian>
void CDataWriter<LittleEndian>::WriteNumber(ULONGLONG value, int bytes)
{
    BYTE raw[8];
    for (int i = 0; i < bytes; ++i) {
        const BYTE b = static_cast<BYTE>(value >> (8 * i));
        raw[LittleEndian ? i : bytes - 1 - i] = b;
    }
    Write(raw, static_cast<WORD>(bytes));
}

template <int LittleEndian>
void CDataWriter<LittleEndian>::WriteDouble(double value)
{
    ULONGLONG image = 0;
    std::memcpy(&image, &value, sizeof image);
    WriteInt64(image);
}

template class CDataWriter<0>;
template class CDataWriter<1>;

void CVarSizeBufferWriter::WriteRaw(const void* bytes, WORD count)
{
    VarSizeBuffer& b = m_buffer;
    if (count > b.capacity - b.length) {
        const DWORD shortfall = count - (b.capacity - b.length);
        const DWORD grow = shortfall > 1024 ? shortfall : 1024;
        if (grow > 0xFFFFFFFFu - b.capacity) throw std::bad_alloc();
        CAutoPtr<BYTE> larger(&CAutoPtr<BYTE>::ArrayDelete, new BYTE[b.capacity + grow]);
        if (b.length) std::memcpy(larger.Get(), b.data.Get(), b.length);
        b.data = larger;
        b.capacity += grow;
    }
    std::memcpy(b.data.Get() + b.length, bytes, count);
    b.length += count;
}

void CStreamDataWriter::WriteRaw(const void* bytes, WORD count)
{
    m_stream.write(static_cast<const char*>(bytes), count);
    if (m_stream.fail() || m_stream.bad()) throw CDataWriterException();
}
