// Typed binary writers, the mirror of DataReader.h: the link's transfers are built in memory
// (big-endian, CVarSizeBufferWriter) and the snapshot file is written to a stream (little-endian,
// CStreamDataWriter).
//
// WriteString writes a null text as the empty one: the 16-bit length n, the n bytes and the NUL.
// A text of 65535 bytes or more does not fit that length field: writing one throws general
// synch error 6, before anything of the exchange has been sent.
#pragma once

#include <windows.h>

#include <exception>
#include <ostream>

#include "Conduit/Src/AutoPtr.h"

// A write to a file stream left the stream failed.
class CDataWriterException : public std::exception {};

class IDataWriter {
public:
    virtual void Write(const void* bytes, WORD count) { WriteRaw(bytes, count); }
    virtual void WriteByte(BYTE value) = 0;
    virtual void WriteWord(WORD value) = 0;
    virtual void WriteDWord(DWORD value) = 0;
    virtual void WriteInt64(ULONGLONG value) = 0;
    virtual void WriteDouble(double value) = 0;
    virtual void WriteString(const char* text);
    virtual void WriteRaw(const void* bytes, WORD count) = 0;

protected:
    IDataWriter() = default;
    ~IDataWriter() = default;
};

// Numbers in one byte order: 0 big-endian (the link), 1 little-endian (the snapshot file).
template <int LittleEndian>
class CDataWriter : public IDataWriter {
public:
    void WriteByte(BYTE value) override { WriteNumber(value, 1); }
    void WriteWord(WORD value) override { WriteNumber(value, 2); }
    void WriteDWord(DWORD value) override { WriteNumber(value, 4); }
    void WriteInt64(ULONGLONG value) override { WriteNumber(value, 8); }
    void WriteDouble(double value) override;

protected:
    void WriteNumber(ULONGLONG value, int bytes);
};

extern template class CDataWriter<0>;
extern template class CDataWriter<1>;

// A growing byte array: the bytes used are data[0, length), capacity bytes are allocated.
struct VarSizeBuffer {
    CAutoPtr<BYTE> data;
    DWORD capacity = 0;
    DWORD length = 0;
};

// Appends to a VarSizeBuffer; a full array grows by the shortfall, and by at least 1024 bytes.
class CVarSizeBufferWriter : public CDataWriter<0> {
public:
    explicit CVarSizeBufferWriter(VarSizeBuffer& buffer) : m_buffer(buffer) {}
    void WriteRaw(const void* bytes, WORD count) override;

private:
    VarSizeBuffer& m_buffer;
};

// Writes to a binary output stream; a write that leaves it failed throws CDataWriterException.
class CStreamDataWriter : public CDataWriter<1> {
public:
    explicit CStreamDataWriter(std::ostream& stream) : m_stream(stream) {}
    void WriteRaw(const void* bytes, WORD count) override;

private:
    std::ostream& m_stream;
};
