#include "sdk/hotsync/handheld/HandheldRecord.h"

#include <cstring>
#include <stdexcept>

namespace {

using K = HhFieldKind;

std::vector<HhFieldDef> WithCommon(std::initializer_list<HhFieldDef> own)
{
    // clang-format off
    std::vector<HhFieldDef> fields = {
        {"ID", K::Number}, {"RefID", K::Number}, {"Name", K::Text}, {"Notes", K::Text},
        {"DateCreated", K::Real}, {"DateModified", K::Real},
    };
    // clang-format on
    fields.insert(fields.end(), own);
    return fields;
}

}  // namespace

const std::vector<HhFieldDef>& HhFieldsOf(int type)
{
    // clang-format off
    static const std::vector<HhFieldDef> vehicle = WithCommon({
        {"LicensePlate", K::Text}, {"VIN", K::Text}, {"DealerName", K::Text}, {"DealerPhone", K::Text},
        {"DealerAddress", K::Text}, {"InsurancePolicyNumber", K::Text}, {"InsuranceAgentName", K::Text},
        {"InsuranceAgentPhone", K::Text}, {"InsuranceCoverage", K::Text}, {"InsuranceExpirationDate", K::Real},
        {"CurrentOdometer", K::Number}, {"Year", K::Number}, {"ImagePath", K::Text},
    });
    static const std::vector<HhFieldDef> entry = WithCommon({
        {"Date", K::Real}, {"Odometer", K::Number}, {"VehicleID", K::Number}, {"Type", K::Byte},
        {"Vendor", K::Text}, {"Amount", K::Real}, {"Custom1", K::Real}, {"Custom2", K::Real},
    });
    static const std::vector<HhFieldDef> notification = WithCommon({
        {"Date", K::Real}, {"Odometer", K::Number}, {"VehicleID", K::Number},
    });
    static const std::vector<HhFieldDef> keyword = WithCommon({{"Type", K::Byte}});
    // clang-format on
    static const std::vector<HhFieldDef> none;
    switch (type) {
    case HhVehicle: return vehicle;
    case HhEntry: return entry;
    case HhNotification: return notification;
    case HhKeyword: return keyword;
    default: return none;
    }
}

const char* HhTypeName(int type)
{
    static const char* const names[] = {"Vehicle", "Entry", "Notification", "Keyword"};
    return type >= 1 && type <= 4 ? names[type - 1] : nullptr;
}

int HhTypeFromName(const std::string& name)
{
    for (int type = 1; type <= 4; ++type)
        if (name == HhTypeName(type)) return type;
    return 0;
}

CHandheldRecord::CHandheldRecord(int type) : m_type(type), m_values(HhFieldsOf(type).size()) {}

size_t CHandheldRecord::IndexOf(const char* name) const
{
    const std::vector<HhFieldDef>& fields = HhFieldsOf(m_type);
    for (size_t i = 0; i < fields.size(); ++i)
        if (std::strcmp(fields[i].name, name) == 0) return i;
    throw std::out_of_range(std::string("a handheld record of this kind has no field ") + name);
}

uint32_t CHandheldRecord::Number(const char* name) const
{
    return m_values[IndexOf(name)].number;
}

void CHandheldRecord::SetNumber(const char* name, uint32_t value)
{
    const size_t i = IndexOf(name);
    m_values[i].number = HhFieldsOf(m_type)[i].kind == HhFieldKind::Byte ? (value & 0xFF) : value;
}

double CHandheldRecord::Real(const char* name) const
{
    return m_values[IndexOf(name)].real;
}

void CHandheldRecord::SetReal(const char* name, double value)
{
    m_values[IndexOf(name)].real = value;
}

const std::string& CHandheldRecord::Text(const char* name) const
{
    return m_values[IndexOf(name)].text;
}

void CHandheldRecord::SetText(const char* name, const std::string& value)
{
    m_values[IndexOf(name)].text = value;
}

bool CHandheldRecord::operator==(const CHandheldRecord& other) const
{
    if (m_type != other.m_type) return false;
    const std::vector<HhFieldDef>& fields = HhFieldsOf(m_type);
    for (size_t i = 0; i < fields.size(); ++i) {
        const Value& a = m_values[i];
        const Value& b = other.m_values[i];
        switch (fields[i].kind) {
        case HhFieldKind::Byte:
        case HhFieldKind::Number:
            if (a.number != b.number) return false;
            break;
        case HhFieldKind::Real:
            // Bit for bit: the link carries the 8 bytes of a double unchanged.
            if (std::memcmp(&a.real, &b.real, sizeof a.real) != 0) return false;
            break;
        case HhFieldKind::Text:
            if (a.text != b.text) return false;
            break;
        }
    }
    return true;
}
