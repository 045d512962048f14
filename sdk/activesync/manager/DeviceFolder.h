// The device's objects as the manager double sees them: one file per object,
// <Root>\Objects\<8 hex digits>.pkt, holding the object's packet as the device application wrote
// it (Root: the device doubles' folder, sdk/activesync/DeviceState.h). A file the state does not
// know is an object new on the device; one whose bytes hash otherwise than the state remembers
// was changed there; one the state knows that is gone was deleted there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDeviceFolder {
public:
    // Finds the device's root in the device state and makes its Objects folder when missing;
    // false, with the reason, without a root.
    bool Open(std::string* error);
    const std::string& Path() const { return m_path; }

    // The objects' file names, in order.
    std::vector<std::string> List() const;
    bool Read(const std::string& name, std::vector<uint8_t>* bytes) const;
    // Replaces the file whole or not at all.
    bool Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    bool Remove(const std::string& name) const;

    // "<8 hex digits>.pkt"; the number of such a name, or false for another name.
    static std::string NameOf(uint32_t number);
    static bool NumberOf(const std::string& name, uint32_t* number);
    // FNV-1a, 64 bits.
    static uint64_t Hash(const std::vector<uint8_t>& bytes);

private:
    std::string m_path;  // <Root>\Objects
};
