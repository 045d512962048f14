#include "sdk/hotsync/handheld/HandheldWire.h"

#include <cstring>

void HhPutU8(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
}

void HhPutU16(std::string& out, uint32_t value)
{
    HhPutU8(out, value >> 8);
    HhPutU8(out, value);
}

void HhPutU32(std::string& out, uint32_t value)
{
    HhPutU16(out, value >> 16);
    HhPutU16(out, value);
}

void HhPutReal(std::string& out, double value)
{
    uint64_t image = 0;
    std::memcpy(&image, &value, sizeof image);
    HhPutU32(out, static_cast<uint32_t>(image >> 32));
    HhPutU32(out, static_cast<uint32_t>(image));
}

bool CHhReader::Take(size_t n, const uint8_t*& p)
{
    if (m_size - m_pos < n) {
        m_pos = m_size;
        return false;
    }
    p = m_data + m_pos;
    m_pos += n;
    return true;
}

bool CHhReader::U8(uint32_t& value)
{
    const uint8_t* p = nullptr;
    if (!Take(1, p)) return false;
    value = p[0];
    return true;
}

bool CHhReader::U16(uint32_t& value)
{
    const uint8_t* p = nullptr;
    if (!Take(2, p)) return false;
    value = (static_cast<uint32_t>(p[0]) << 8) | p[1];
    return true;
}

bool CHhReader::U32(uint32_t& value)
{
    const uint8_t* p = nullptr;
    if (!Take(4, p)) return false;
    value = (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
            (static_cast<uint32_t>(p[2]) << 8) | p[3];
    return true;
}

bool CHhReader::Real(double& value)
{
    uint32_t high = 0, low = 0;
    if (!U32(high) || !U32(low)) return false;
    const uint64_t image = (static_cast<uint64_t>(high) << 32) | low;
    std::memcpy(&value, &image, sizeof value);
    return true;
}

bool CHhReader::Text(std::string& value)
{
    uint32_t length = 0;
    const uint8_t* p = nullptr;
    if (!U16(length) || !Take(length + size_t{1}, p) || p[length] != 0) return false;
    value.assign(reinterpret_cast<const char*>(p), length);
    return true;
}

void HhEncodeRecord(std::string& out, const CHandheldRecord& record)
{
    HhPutU8(out, static_cast<uint32_t>(record.Type()));
    const std::vector<HhFieldDef>& fields = HhFieldsOf(record.Type());
    for (size_t i = 0; i < fields.size(); ++i) {
        const CHandheldRecord::Value& v = record.Values()[i];
        switch (fields[i].kind) {
        case HhFieldKind::Byte: HhPutU8(out, v.number); break;
        case HhFieldKind::Number: HhPutU32(out, v.number); break;
        case HhFieldKind::Real: HhPutReal(out, v.real); break;
        case HhFieldKind::Text:
            HhPutU16(out, static_cast<uint32_t>(v.text.size()));
            out += v.text;
            out += '\0';
            break;
        }
    }
}

void HhEncodeItemInfo(std::string& out, const CHandheldRecord& record)
{
    HhPutU8(out, static_cast<uint32_t>(record.Type()));
    HhPutU32(out, record.RefID());
    HhPutReal(out, record.Real("DateCreated"));
    HhPutReal(out, record.Real("DateModified"));
}

void HhEncodeKey(std::string& out, const HhKey& key)
{
    HhPutU8(out, static_cast<uint32_t>(key.first));
    HhPutU32(out, key.second);
}

bool HhDecodeRecords(const std::string& data, std::vector<CHandheldRecord>& records, std::string& why)
{
    records.clear();
    CHhReader in(data.data(), data.size());
    while (!in.AtEnd()) {
        const size_t start = in.Position();
        uint32_t type = 0;
        in.U8(type);
        if (!HhTypeName(static_cast<int>(type))) {
            why = "record of unknown type " + std::to_string(type) + " at byte " + std::to_string(start);
            records.clear();
            return false;
        }
        CHandheldRecord record(static_cast<int>(type));
        const std::vector<HhFieldDef>& fields = HhFieldsOf(record.Type());
        for (size_t i = 0; i < fields.size(); ++i) {
            CHandheldRecord::Value& v = record.Values()[i];
            bool ok = false;
            switch (fields[i].kind) {
            case HhFieldKind::Byte: ok = in.U8(v.number); break;
            case HhFieldKind::Number: ok = in.U32(v.number); break;
            case HhFieldKind::Real: ok = in.Real(v.real); break;
            case HhFieldKind::Text: ok = in.Text(v.text); break;
            }
            if (!ok) {
                why = std::string("record at byte ") + std::to_string(start) + " broken in field " + fields[i].name;
                records.clear();
                return false;
            }
        }
        records.push_back(record);
    }
    return true;
}

bool HhDecodeKeys(const std::string& data, std::vector<HhKey>& keys, std::string& why)
{
    keys.clear();
    CHhReader in(data.data(), data.size());
    while (!in.AtEnd()) {
        uint32_t type = 0, ref = 0;
        if (!in.U8(type) || !in.U32(ref)) {
            why = "key list cut short";
            keys.clear();
            return false;
        }
        if (!HhTypeName(static_cast<int>(type))) {
            why = "key of unknown type " + std::to_string(type);
            keys.clear();
            return false;
        }
        keys.emplace_back(static_cast<int>(type), ref);
    }
    return true;
}
