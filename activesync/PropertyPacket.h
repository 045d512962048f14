// One object's packet: the bytes a record travels in between the desktop and the device
// application, which reads and writes the same format.
//
// Layout (integers little-endian, no padding anywhere: values need not be aligned):
//   offset 0  4  number of properties (unsigned 32-bit)
//   offset 4  4  reserved, 0
//   offset 8     the properties back to back, each a 32-bit tag and its value
// A tag holds the property id in its high 16 bits and the value's type in its low 16 bits:
//   3   signed 32-bit integer, 4 bytes
//   4   IEEE float, 4 bytes
//   5   IEEE double, 8 bytes (dates are OLE dates)
//   31  UTF-16LE text and its NUL, (length + 1) x 2 bytes (a missing text: the empty text)
//   any other type: no value bytes
//
// An outgoing packet owns a buffer it grows in steps (the needed length plus 1024 bytes) and
// keeps for the next packet when it is large enough; no packet grows past 260000 bytes. A
// received packet is read in place, never past the size it was given: the header, each tag, each
// value and each text's NUL must lie inside it.
#pragma once

#include <windows.h>

class CPropertyPacket {
public:
    enum { HeaderSize = 8, MaxSize = 260000, GrowthStep = 1024 };
    enum ValueType { vtInteger = 3, vtFloat = 4, vtDouble = 5, vtText = 31 };

    CPropertyPacket() = default;
    ~CPropertyPacket() { Release(); }
    CPropertyPacket(const CPropertyPacket&) = delete;
    CPropertyPacket& operator=(const CPropertyPacket&) = delete;

    // Starts an outgoing packet (count and reserved word 0) in an owned buffer of at least
    // recommendedSize bytes and at least the header; false for size 0 or no memory.
    bool Begin(DWORD recommendedSize);
    // Appends a property; value points to the tag type's value (for a text: the text itself,
    // null for the empty text; other types need no value). S_OK; E_FAIL for a packet not begun;
    // E_POINTER (nothing written) when the packet would pass MaxSize; E_OUTOFMEMORY.
    HRESULT Append(DWORD tag, const void* value);
    HRESULT AppendInteger(DWORD tag, long value);
    HRESULT AppendFloat(DWORD tag, float value);
    HRESULT AppendDouble(DWORD tag, double value);
    HRESULT AppendText(DWORD tag, const wchar_t* text) { return Append(tag, text); }

    // Reads bytes it does not own (an owned buffer is freed first), from just after the header.
    void Attach(const BYTE* bytes, DWORD size);
    // Whether the attached bytes hold the whole header, and the count it promises (0 without).
    bool HasHeader() const { return m_bytes && !m_owned && m_size >= HeaderSize; }
    DWORD Count() const;
    // The next property of an attached packet: its tag, and the place of its value; null (and
    // the read position unchanged) when the tag or its value would run past the end, or a text
    // has no NUL before it.
    const BYTE* ReadNext(DWORD* tag);

    // Frees an owned buffer and empties the packet.
    void Release();

    const BYTE* Data() const { return m_bytes; }
    // Bytes written (outgoing) or given (attached).
    DWORD Size() const { return m_owned ? m_position : m_size; }
    DWORD Capacity() const { return m_owned ? m_size : 0; }

    static DWORD TypeOf(DWORD tag) { return tag & 0xFFFF; }

private:
    // Room for `extra` more bytes at the write position (see Append for the results).
    HRESULT Grow(DWORD extra);

    BYTE* m_bytes = nullptr;
    DWORD m_size = 0;      // owned: the buffer's capacity; attached: the bytes given
    DWORD m_position = 0;  // owned: the write position; attached: the read position
    bool m_owned = false;
};
