// The conduit's own setting, the conflict rule of two-way runs, in "Settings.ini" in the conduit
// folder: 8-bit text, lines of the form key=value.
//
// Reading: a line holds at most 255 characters (a longer one is taken as its first 255 and ends
// the reading); a line without '=' is skipped; the key is the text before the first '=', the
// value the text after it, both without leading and trailing white space (the code page's
// multi-byte classification). Keys compare without regard to case; a later line with a key
// replaces an earlier one. "ConflictsResolving" is read as atoi reads a number; a missing file,
// a missing key or a value outside 0 to 2 gives 2 (keep both records).
//
// Writing: the whole file becomes the one line "ConflictsResolving = N" and a CR LF.
#pragma once

#include <map>
#include <string>

// Key comparison of the settings file: case-insensitive, multi-byte aware.
struct CSettingsKeyLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
typedef std::map<std::string, std::string, CSettingsKeyLess> SettingsMap;

// Never fails: what cannot be read leaves the default.
void LoadConduitSettings(const char* path, long* conflictsResolving);
// Throws std::runtime_error "Can't save conduit settings" when the file cannot be written whole.
void SaveConduitSettings(const char* path, long conflictsResolving);

void ParseSettingsFile(const char* path, SettingsMap& map);
bool GetConflictsResolving(const SettingsMap& map, long& value);
void WriteSettingsFile(const SettingsMap& map, const char* path);
