// The handheld application's record store and its file.
//
// The file is text, one section per record in store order, every field of the kind on a line of
// its own:
//
//   [Entry]
//   ID=3
//   RefID=2864434397
//   Name=Oil change
//   Notes=first line\nsecond line
//   DateCreated=45291.5
//   ...
//
// Numbers are unsigned decimal (a signed value as its 32-bit image), doubles are written with 17
// significant digits so they read back bit for bit (one that is not finite as nan, inf or -inf,
// so a handheld can hold what no desktop may), and texts are escaped: backslash as \\, tab,
// carriage return and line feed as \t \r \n, every other byte below 0x20 or above 0x7E as \xHH.
// Blank lines and lines starting with ';' are skipped. Tests write and read stores with this class.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/hotsync/handheld/HandheldRecord.h"

class CHandheldStore {
public:
    std::vector<CHandheldRecord>& Records() { return m_records; }
    const std::vector<CHandheldRecord>& Records() const { return m_records; }

    CHandheldRecord* Find(int type, uint32_t refID);
    // Stores a record as the application does: the record with the same type and RefID is
    // replaced and its row id kept; a new one is appended with the next row id. Dates and every
    // other field are kept as given.
    void Put(const CHandheldRecord& record);
    bool Remove(int type, uint32_t refID);
    void Clear() { m_records.clear(); }

    // A record made on the handheld: a RefID new to the store, the next row id, both dates the
    // handheld clock's now, an entry's or keyword's type 1. Fill its fields and Touch it again
    // when editing it later.
    CHandheldRecord& Create(int type);
    // An edit on the handheld: the modification date becomes the clock's now.
    static void Touch(CHandheldRecord& record);
    // The handheld clock: UTC in whole seconds, as an OLE date.
    static double Now();

    // False with a reason (a line number for a malformed file); the store is unchanged then.
    bool Load(const std::string& path, std::string& error);
    bool Save(const std::string& path, std::string& error) const;
    std::string ToText() const;
    bool FromText(const std::string& text, std::string& error);

private:
    uint32_t NextRowID() const;

    std::vector<CHandheldRecord> m_records;
    uint32_t m_refSeed = 0x2545F491;
};
