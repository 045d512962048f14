// Typed binary readers: the link's replies (big-endian, CMemoryDataReader) and the snapshot file
// (little-endian, CStreamDataReader).
//
// A reader has an end flag (a read could not be satisfied) and an error flag (the data is
// malformed); IsFailed is either. Once failed, Read does nothing and values read are 0, so a
// caller reads a whole record and tests IsFailed once. Counts are 16 bits wide.
//
// A text is a 16-bit length n, the n bytes and one NUL. ReadString gives it as a NUL-terminated
// buffer, or the empty text when the reader failed anywhere on the way; a last byte that is not
// NUL, or a length of 65535 (n + 1 bytes would not fit a count), raises the error flag.
#pragma once

#include <windows.h>

#include <istream>

#include "Conduit/Src/AutoPtr.h"

class IDataReader {
public:
    virtual void Read(void* buffer, WORD count);
    virtual BYTE ReadByte() = 0;
    virtual WORD ReadWord() = 0;
    virtual DWORD ReadDWord() = 0;
    virtual ULONGLONG ReadInt64() = 0;
    virtual double ReadDouble() = 0;
    virtual CAutoPtr<char> ReadString();
    virtual bool IsFailed() const { return m_end || m_error; }
    virtual bool HasError() const { return m_error; }
    virtual void SetError() { m_error = true; }
    virtual void ReadRaw(void* buffer, WORD count) = 0;

protected:
    IDataReader() = default;
    ~IDataReader() = default;
    void SetEnd() { m_end = true; }

private:
    bool m_end = false;
    bool m_error = false;
};

// Numbers in one byte order: 0 big-endian (the link), 1 little-endian (the snapshot file).
template <int LittleEndian>
class CDataReader : public IDataReader {
public:
    BYTE ReadByte() override { return static_cast<BYTE>(ReadNumber(1)); }
    WORD ReadWord() override { return static_cast<WORD>(ReadNumber(2)); }
    DWORD ReadDWord() override { return static_cast<DWORD>(ReadNumber(4)); }
    ULONGLONG ReadInt64() override { return ReadNumber(8); }
    double ReadDouble() override;

protected:
    ULONGLONG ReadNumber(int bytes);
};

extern template class CDataReader<0>;
extern template class CDataReader<1>;

// Reads a block it does not own.
class CMemoryDataReader : public CDataReader<0> {
public:
    CMemoryDataReader(const void* data, DWORD size) : m_data(static_cast<const BYTE*>(data)), m_size(size) {}
    void ReadRaw(void* buffer, WORD count) override;
    // Every byte has been read.
    bool IsAtEnd() const { return m_position == m_size; }
    DWORD GetPosition() const { return m_position; }

private:
    const BYTE* m_data;
    DWORD m_size;
    DWORD m_position = 0;
};

// Reads a binary input stream.
class CStreamDataReader : public CDataReader<1> {
public:
    explicit CStreamDataReader(std::istream& stream) : m_stream(stream) {}
    void ReadRaw(void* buffer, WORD count) override;

private:
    std::istream& m_stream;
};
