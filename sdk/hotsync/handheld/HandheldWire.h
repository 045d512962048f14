// The handheld application's side of the link's byte formats: the chunk headers and the record
// lists inside the transfers, all big-endian. Written from the link's tables for the handheld
// alone and shared with nothing of the conduit, so that a fault in one codec shows up as a
// disagreement instead of being mirrored by the other.
//
//   ReceiveRequest  received u32, largest reply u32                        (a receive's parameter)
//   ReplyHeader     chunk u32, total u32, header length u32, then the chunk (a receive's reply)
//   SendHeader      offset u32, total u32, chunk u32, header length u32, then the chunk
//   record          type u8, then the kind's fields (HhFieldsOf): u8, u32, double as its 8-byte
//                   image, or text: u16 length n, n bytes, one NUL
//   item info       type u8, RefID u32, DateCreated, DateModified (21 bytes)
//   key             type u8, RefID u32 (5 bytes)
// Lists are records one after the other, no count, no terminator.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sdk/hotsync/handheld/HandheldRecord.h"

typedef std::pair<int, uint32_t> HhKey;  // record type, RefID

void HhPutU8(std::string& out, uint32_t value);
void HhPutU16(std::string& out, uint32_t value);
void HhPutU32(std::string& out, uint32_t value);
void HhPutReal(std::string& out, double value);

// Reads big-endian values from a block; every read after the block ran out fails.
class CHhReader {
public:
    CHhReader(const void* data, size_t size) : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}
    bool U8(uint32_t& value);
    bool U16(uint32_t& value);
    bool U32(uint32_t& value);
    bool Real(double& value);
    // False also for a text whose last byte is not NUL.
    bool Text(std::string& value);
    bool AtEnd() const { return m_pos == m_size; }
    size_t Position() const { return m_pos; }

private:
    bool Take(size_t n, const uint8_t*& p);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void HhEncodeRecord(std::string& out, const CHandheldRecord& record);
void HhEncodeItemInfo(std::string& out, const CHandheldRecord& record);
void HhEncodeKey(std::string& out, const HhKey& key);

// Whole lists, strictly: an unknown type, a record or key cut short or a text without its NUL
// fails with a reason, and nothing is returned.
bool HhDecodeRecords(const std::string& data, std::vector<CHandheldRecord>& records, std::string& why);
bool HhDecodeKeys(const std::string& data, std::vector<HhKey>& keys, std::string& why);
