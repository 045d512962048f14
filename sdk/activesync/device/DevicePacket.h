// One object as the device application keeps it and exchanges it with the desktop: the packet
// read into an ordered list of properties, and written back out. The device application's own
// reader and writer, kept apart from the provider's packet code so that a fault of one shows up
// against the other instead of being mirrored.
//
// The bytes (integers little-endian, nothing aligned):
//   count (u32) | reserved (u32, 0) | count x (tag (u32) | value)
// The tag's low 16 bits give the value's type: 3 a signed 32-bit integer, 4 a float, 5 a double
// (dates are OLE dates), 31 a UTF-16LE text with its NUL; any other type has no value bytes.
// The first property of every object is its object type (1 vehicle, 2 entry, 3 notification,
// 4 keyword). A packet is read whole or not at all: the header, every tag and value and each
// text's NUL must lie inside the bytes, the count must be met exactly and nothing may follow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDevicePacket {
public:
    // clang-format off
    // The device application's names for the properties it knows.
    enum Tag : uint32_t {
        ObjectType        = 0x80010003,
        Name              = 0x8004001F,
        Notes             = 0x8005001F,
        VehicleRefID      = 0x80000003,
        LicensePlate      = 0x8006001F,
        VIN               = 0x8007001F,
        DealerName        = 0x8008001F,
        DealerPhone       = 0x8009001F,
        DealerAddress     = 0x800A001F,
        PolicyNumber      = 0x800B001F,
        AgentName         = 0x800C001F,
        AgentPhone        = 0x800D001F,
        Coverage          = 0x800E001F,
        ExpirationDate    = 0x800F0005,
        CurrentOdometer   = 0x80100003,
        Year              = 0x80110003,
        ImagePath         = 0x801E001F,
        EntryDate         = 0x80120005,
        EntryOdometer     = 0x80130003,
        EntryVehicle      = 0x80140003,
        EntryType         = 0x80150003,
        Vendor            = 0x8016001F,
        Amount            = 0x80170004,
        Custom1           = 0x80180004,
        Custom2           = 0x80190004,
        ReminderDate      = 0x801A0005,
        ReminderOdometer  = 0x801B0003,
        ReminderVehicle   = 0x801C0003,
        KeywordType       = 0x801D0003,
    };
    // clang-format on

    struct Property {
        uint32_t tag = 0;
        std::vector<uint8_t> value;  // the value's bytes as they travel (a text with its NUL)
    };

    CDevicePacket() = default;
    // A new object of the type: its first property.
    explicit CDevicePacket(int32_t objectType);

    // Reads a whole packet; false, with the reason in error, for bytes that are not one.
    bool Parse(const uint8_t* bytes, size_t size, std::string* error);
    bool Parse(const std::vector<uint8_t>& bytes, std::string* error)
    {
        return Parse(bytes.data(), bytes.size(), error);
    }
    // The packet's bytes.
    std::vector<uint8_t> Write() const;

    const std::vector<Property>& Properties() const { return m_properties; }
    bool Has(uint32_t tag) const { return Find(tag) != nullptr; }
    // The first property with the tag, read as its type; fallback when there is none.
    int32_t Integer(uint32_t tag, int32_t fallback = 0) const;
    float Float(uint32_t tag, float fallback = 0) const;
    double Double(uint32_t tag, double fallback = 0) const;
    std::wstring Text(uint32_t tag, const std::wstring& fallback = std::wstring()) const;
    int32_t GetObjectType() const { return Integer(ObjectType); }

    // Replace the first property with the tag, or append one.
    CDevicePacket& SetInteger(uint32_t tag, int32_t value);
    CDevicePacket& SetFloat(uint32_t tag, float value);
    CDevicePacket& SetDouble(uint32_t tag, double value);
    CDevicePacket& SetText(uint32_t tag, const std::wstring& text);
    // Appends a property as given (any bytes), for packets a test makes odd on purpose.
    CDevicePacket& Append(uint32_t tag, const std::vector<uint8_t>& value);
    // Removes every property with the tag.
    void Remove(uint32_t tag);

    // How many value bytes a tag's type has (texts: 0, they end at their NUL).
    static size_t FixedSize(uint32_t tag);
    static bool IsText(uint32_t tag) { return (tag & 0xFFFF) == 31; }

private:
    const Property* Find(uint32_t tag) const;
    CDevicePacket& Set(uint32_t tag, std::vector<uint8_t> value);

    std::vector<Property> m_properties;
};
