#include "sdk/hotsync/handheld/HandheldStore.h"

#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default:
            if (c < 0x20 || c > 0x7E) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        case 'x': {
            const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0) return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return true;
}

bool ParseNumber(const std::string& text, uint32_t& value)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (v > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

bool ParseReal(const std::string& text, double& value)
{
    if (text.empty()) return false;
    // The runtime's own reading of these words differs between C libraries.
    if (text == "nan" || text == "-nan") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (text == "inf" || text == "-inf") {
        value = text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return true;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

}  // namespace

CHandheldRecord* CHandheldStore::Find(int type, uint32_t refID)
{
    for (CHandheldRecord& r : m_records)
        if (r.Type() == type && r.RefID() == refID) return &r;
    return nullptr;
}

uint32_t CHandheldStore::NextRowID() const
{
    uint32_t top = 0;
    for (const CHandheldRecord& r : m_records)
        if (r.Number("ID") > top) top = r.Number("ID");
    return top + 1;
}

void CHandheldStore::Put(const CHandheldRecord& record)
{
    if (CHandheldRecord* old = Find(record.Type(), record.RefID())) {
        const uint32_t row = old->Number("ID");
        *old = record;
        old->SetNumber("ID", row);
        return;
    }
    const uint32_t row = NextRowID();
    m_records.push_back(record);
    m_records.back().SetNumber("ID", row);
}

bool CHandheldStore::Remove(int type, uint32_t refID)
{
    for (auto it = m_records.begin(); it != m_records.end(); ++it) {
        if (it->Type() == type && it->RefID() == refID) {
            m_records.erase(it);
            return true;
        }
    }
    return false;
}

CHandheldRecord& CHandheldStore::Create(int type)
{
    uint32_t ref = 0;
    do {
        // xorshift32: spread over the whole range, as ids made on another device are.
        m_refSeed ^= m_refSeed << 13;
        m_refSeed ^= m_refSeed >> 17;
        m_refSeed ^= m_refSeed << 5;
        ref = m_refSeed;
    } while (ref == 0 || Find(type, ref));
    CHandheldRecord record(type);
    record.SetNumber("RefID", ref);
    // The application makes no entry or keyword without a type: the first of each is its default.
    if (type == HhEntry || type == HhKeyword) record.SetNumber("Type", 1);
    record.SetReal("DateCreated", Now());
    record.SetReal("DateModified", record.Real("DateCreated"));
    Put(record);
    return m_records.back();
}

void CHandheldStore::Touch(CHandheldRecord& record)
{
    record.SetReal("DateModified", Now());
}

double CHandheldStore::Now()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    now.wMilliseconds = 0;
    double date = 0;
    SystemTimeToVariantTime(&now, &date);
    return date;
}

std::string CHandheldStore::ToText() const
{
    std::string out = "; Autolark handheld store: one section per record, every field as Name=value\n";
    for (const CHandheldRecord& r : m_records) {
        out += std::string("[") + HhTypeName(r.Type()) + "]\n";
        const std::vector<HhFieldDef>& fields = HhFieldsOf(r.Type());
        for (size_t i = 0; i < fields.size(); ++i) {
            const CHandheldRecord::Value& v = r.Values()[i];
            out += fields[i].name;
            out += '=';
            char number[40];
            switch (fields[i].kind) {
            case HhFieldKind::Byte:
            case HhFieldKind::Number: out += std::to_string(v.number); break;
            case HhFieldKind::Real:
                if (std::isnan(v.real)) {
                    out += "nan";
                } else if (std::isinf(v.real)) {
                    out += v.real < 0 ? "-inf" : "inf";
                } else {
                    std::snprintf(number, sizeof number, "%.17g", v.real);
                    out += number;
                }
                break;
            case HhFieldKind::Text: out += Escape(v.text); break;
            }
            out += '\n';
        }
    }
    return out;
}

bool CHandheldStore::FromText(const std::string& text, std::string& error)
{
    std::vector<CHandheldRecord> records;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') return fail("a section name ends with ']'");
            const int type = HhTypeFromName(line.substr(1, line.size() - 2));
            if (!type) return fail("unknown record kind " + line);
            records.emplace_back(type);
            continue;
        }
        if (records.empty()) return fail("a field before the first section");
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("no '='");
        const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        CHandheldRecord& r = records.back();
        const std::vector<HhFieldDef>& fields = HhFieldsOf(r.Type());
        size_t i = 0;
        while (i < fields.size() && name != fields[i].name) ++i;
        if (i == fields.size()) return fail("no field " + name + " in a " + HhTypeName(r.Type()));
        CHandheldRecord::Value& v = r.Values()[i];
        bool ok = false;
        switch (fields[i].kind) {
        case HhFieldKind::Byte: ok = ParseNumber(value, v.number) && v.number <= 0xFF; break;
        case HhFieldKind::Number: ok = ParseNumber(value, v.number); break;
        case HhFieldKind::Real: ok = ParseReal(value, v.real); break;
        case HhFieldKind::Text: ok = Unescape(value, v.text); break;
        }
        if (!ok) return fail("bad value for " + name);
    }
    m_records.swap(records);
    return true;
}

bool CHandheldStore::Load(const std::string& path, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (!FromText(text.str(), error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CHandheldStore::Save(const std::string& path, std::string& error) const
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string text = ToText();
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
