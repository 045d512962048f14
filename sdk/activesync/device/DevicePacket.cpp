#include "sdk/activesync/device/DevicePacket.h"

#include <cstdio>
#include <cstring>

namespace {

// Little-endian by hand, byte by byte: the device may not share the desktop's byte order.
uint32_t Get32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

std::vector<uint8_t> Bits(uint64_t value, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return out;
}

uint64_t Unbits(const std::vector<uint8_t>& bytes)
{
    uint64_t value = 0;
    for (size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
    return value;
}

std::string Hex(uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

CDevicePacket::CDevicePacket(int32_t objectType)
{
    SetInteger(ObjectType, objectType);
}

size_t CDevicePacket::FixedSize(uint32_t tag)
{
    switch (tag & 0xFFFF) {
    case 3:
    case 4: return 4;
    case 5: return 8;
    default: return 0;
    }
}

bool CDevicePacket::Parse(const uint8_t* bytes, size_t size, std::string* error)
{
    std::string ignored;
    std::string& why = error ? *error : ignored;
    m_properties.clear();
    if (!bytes || size < 8) {
        why = "cut in the header (" + std::to_string(size) + " bytes)";
        return false;
    }
    const uint32_t count = Get32(bytes);
    if (Get32(bytes + 4) != 0) {
        why = "reserved word not 0";
        return false;
    }
    std::vector<Property> properties;
    size_t at = 8;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - at < 4) {
            why = "cut before property " + std::to_string(i) + " of " + std::to_string(count);
            return false;
        }
        Property property;
        property.tag = Get32(bytes + at);
        at += 4;
        size_t length = FixedSize(property.tag);
        if (IsText(property.tag)) {
            // Whole UTF-16 units up to and with the NUL unit.
            size_t end = at;
            while (end + 2 <= size && (bytes[end] | bytes[end + 1]) != 0) end += 2;
            if (end + 2 > size) {
                why = "text of property " + std::to_string(i) + " (" + Hex(property.tag) + ") without its NUL";
                return false;
            }
            length = end + 2 - at;
        } else if (size - at < length) {
            why = "value of property " + std::to_string(i) + " (" + Hex(property.tag) + ") cut";
            return false;
        }
        property.value.assign(bytes + at, bytes + at + length);
        at += length;
        if (i == 0 && property.tag != ObjectType) {
            why = "first property " + Hex(property.tag) + " is not the object type";
            return false;
        }
        properties.push_back(std::move(property));
    }
    if (count == 0) {
        why = "no properties";
        return false;
    }
    if (at != size) {
        why = std::to_string(size - at) + " bytes after the last property";
        return false;
    }
    m_properties = std::move(properties);
    return true;
}

std::vector<uint8_t> CDevicePacket::Write() const
{
    std::vector<uint8_t> out;
    Put32(out, static_cast<uint32_t>(m_properties.size()));
    Put32(out, 0);
    for (const Property& property : m_properties) {
        Put32(out, property.tag);
        out.insert(out.end(), property.value.begin(), property.value.end());
    }
    return out;
}

const CDevicePacket::Property* CDevicePacket::Find(uint32_t tag) const
{
    for (const Property& property : m_properties) {
        if (property.tag == tag) return &property;
    }
    return nullptr;
}

int32_t CDevicePacket::Integer(uint32_t tag, int32_t fallback) const
{
    const Property* p = Find(tag);
    return p && p->value.size() == 4 ? static_cast<int32_t>(static_cast<uint32_t>(Unbits(p->value))) : fallback;
}

float CDevicePacket::Float(uint32_t tag, float fallback) const
{
    const Property* p = Find(tag);
    if (!p || p->value.size() != 4) return fallback;
    const uint32_t bits = static_cast<uint32_t>(Unbits(p->value));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double CDevicePacket::Double(uint32_t tag, double fallback) const
{
    const Property* p = Find(tag);
    if (!p || p->value.size() != 8) return fallback;
    const uint64_t bits = Unbits(p->value);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::wstring CDevicePacket::Text(uint32_t tag, const std::wstring& fallback) const
{
    const Property* p = Find(tag);
    if (!p || !IsText(tag)) return fallback;
    std::wstring text;
    for (size_t i = 0; i + 1 < p->value.size(); i += 2) {
        const wchar_t unit = static_cast<wchar_t>(p->value[i] | p->value[i + 1] << 8);
        if (!unit) break;
        text += unit;
    }
    return text;
}

CDevicePacket& CDevicePacket::Set(uint32_t tag, std::vector<uint8_t> value)
{
    for (Property& property : m_properties) {
        if (property.tag == tag) {
            property.value = std::move(value);
            return *this;
        }
    }
    return Append(tag, value);
}

CDevicePacket& CDevicePacket::SetInteger(uint32_t tag, int32_t value)
{
    return Set(tag, Bits(static_cast<uint32_t>(value), 4));
}

CDevicePacket& CDevicePacket::SetFloat(uint32_t tag, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Set(tag, Bits(bits, 4));
}

CDevicePacket& CDevicePacket::SetDouble(uint32_t tag, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Set(tag, Bits(bits, 8));
}

CDevicePacket& CDevicePacket::SetText(uint32_t tag, const std::wstring& text)
{
    std::vector<uint8_t> bytes;
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>((unit >> 8) & 0xFF));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return Set(tag, std::move(bytes));
}

CDevicePacket& CDevicePacket::Append(uint32_t tag, const std::vector<uint8_t>& value)
{
    Property property;
    property.tag = tag;
    property.value = value;
    m_properties.push_back(std::move(property));
    return *this;
}

void CDevicePacket::Remove(uint32_t tag)
{
    std::vector<Property> kept;
    for (Property& property : m_properties) {
        if (property.tag != tag) kept.push_back(std::move(property));
    }
    m_properties = std::move(kept);
}
