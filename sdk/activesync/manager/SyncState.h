// What the manager double remembers between synchronisations, standing for the real manager's
// own record: the store id of the desktop store it last synchronised with and, for each object
// the device holds, its file, the provider's handle bytes of the desktop item and a hash of the
// packet last exchanged for it.
//
// The file is text, one record a line:
//   alk-activesync-state 1
//   store <store id, hex>
//   object <file name> <handle bytes, hex> <hash, 16 hex digits>
// A missing file is the state of a manager that never synchronised.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CSyncObject {
    std::string file;             // the device file, "<8 hex>.pkt"
    std::vector<uint8_t> handle;  // the item's handle bytes (ObjectToBytes)
    uint64_t hash = 0;            // of the packet bytes last written or read
};

class CSyncState {
public:
    std::vector<uint8_t> storeID;
    std::vector<CSyncObject> objects;

    // False, with the reason, for a file that exists but is not a state file.
    bool Load(const std::string& path, std::string* error);
    // Writes the file anew (through a temporary file beside it).
    bool Save(const std::string& path, std::string* error) const;

    const CSyncObject* Find(const std::string& file) const;

    static std::string ToHex(const std::vector<uint8_t>& bytes);
    static bool FromHex(const std::string& text, std::vector<uint8_t>* bytes);
};
