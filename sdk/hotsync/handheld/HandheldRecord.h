// The handheld application's records: vehicles, entries, reminders and keywords, each a list of
// named fields in the order the link carries them. One table below describes every kind; the
// codec (HandheldWire) and the store file (HandheldStore) both walk it, so neither repeats the
// field list of a kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class HhFieldKind { Byte, Number, Real, Text };

struct HhFieldDef {
    const char* name;
    HhFieldKind kind;
};

// Record kinds, as the link numbers them.
enum HhRecordType { HhVehicle = 1, HhEntry = 2, HhNotification = 3, HhKeyword = 4 };

// The fields of a kind: the seven common ones (Type is not among them: it leads the record), then
// the kind's own. Empty for an unknown kind.
const std::vector<HhFieldDef>& HhFieldsOf(int type);
// "Vehicle", "Entry", "Notification", "Keyword"; null for another type.
const char* HhTypeName(int type);
int HhTypeFromName(const std::string& name);  // 0 when unknown

class CHandheldRecord {
public:
    struct Value {
        uint32_t number = 0;  // Byte and Number fields (signed values as their 32-bit image)
        double real = 0;
        std::string text;
    };

    // A record of a kind with every field zero or empty.
    explicit CHandheldRecord(int type = HhKeyword);

    int Type() const { return m_type; }
    uint32_t RefID() const { return Number("RefID"); }

    // Fields by name; a name the kind lacks throws std::out_of_range.
    uint32_t Number(const char* name) const;
    void SetNumber(const char* name, uint32_t value);
    double Real(const char* name) const;
    void SetReal(const char* name, double value);
    const std::string& Text(const char* name) const;
    void SetText(const char* name, const std::string& value);

    // Fields in the table's order.
    std::vector<Value>& Values() { return m_values; }
    const std::vector<Value>& Values() const { return m_values; }

    bool operator==(const CHandheldRecord& other) const;
    bool operator!=(const CHandheldRecord& other) const { return !(*this == other); }

private:
    size_t IndexOf(const char* name) const;

    int m_type;
    std::vector<Value> m_values;
};
