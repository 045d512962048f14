#include "Conduit/Src/ConduitSettings.h"

#include <mbctype.h>
#include <mbstring.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "Conduit/Src/Helpers.h"

namespace {

const char kKey[] = "ConflictsResolving";
const int kLineChars = 255;

// The text of [begin, end) without leading and trailing white space, character by character in
// the code page.
std::string Trim(const unsigned char* begin, const unsigned char* end)
{
    const unsigned char* first = nullptr;
    const unsigned char* last = begin;
    for (const unsigned char* p = begin; p < end;) {
        const unsigned char* next = _mbsinc(p);
        if (next > end || next <= p) next = end;
        if (!_ismbcspace(_mbsnextc(p))) {
            if (!first) first = p;
            last = next;
        }
        p = next;
    }
    return first ? std::string(reinterpret_cast<const char*>(first), reinterpret_cast<const char*>(last))
                 : std::string();
}

}  // namespace

bool CSettingsKeyLess::operator()(const std::string& a, const std::string& b) const
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                    reinterpret_cast<const unsigned char*>(b.c_str())) < 0;
}

void ParseSettingsFile(const char* path, SettingsMap& map)
{
    map.clear();
    std::ifstream file(path);
    if (!file.is_open()) return;
    char line[kLineChars + 1];
    while (file.good()) {
        // A longer line fails the stream after its first 255 characters: it is taken so, and
        // nothing after it is read.
        file.getline(line, sizeof line);
        const unsigned char* text = reinterpret_cast<const unsigned char*>(line);
        const unsigned char* equals = _mbschr(text, '=');
        if (!equals) continue;
        const unsigned char* end = text + std::strlen(line);
        map[Trim(text, equals)] = Trim(equals + 1, end);
    }
}

bool GetConflictsResolving(const SettingsMap& map, long& value)
{
    const auto found = map.find(kKey);
    if (found == map.end()) return false;
    value = std::atoi(found->second.c_str());
    return true;
}

void WriteSettingsFile(const SettingsMap& map, const char* path)
{
    std::ofstream file(path, std::ios::out | std::ios::trunc);
    for (const auto& item : map) {
        if (!file.good()) throw std::runtime_error("Can't save conduit settings");
        file << item.first << " = " << item.second << "\n";
    }
    // A write that fails at the flush or the close fails too: the settings were not saved.
    if (!file.good()) throw std::runtime_error("Can't save conduit settings");
    file.close();
    if (file.fail()) throw std::runtime_error("Can't save conduit settings");
}

void LoadConduitSettings(const char* path, long* conflictsResolving)
{
    *conflictsResolving = 2;
    SettingsMap map;
    ParseSettingsFile(path, map);
    long value = 2;
    if (GetConflictsResolving(map, value)) *conflictsResolving = value;
    if (*conflictsResolving < 0 || *conflictsResolving > 2) *conflictsResolving = 2;
}

void SaveConduitSettings(const char* path, long conflictsResolving)
{
    SettingsMap map;
    char number[16];
    std::snprintf(number, sizeof number, "%ld", conflictsResolving);
    map[kKey] = number;
    MakeFileDirectory(path);
    WriteSettingsFile(map, path);
}
