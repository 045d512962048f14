// The conduit's bytes: records, keys and item information as the link (big-endian) and the
// snapshot file (little-endian) carry them, the readers' and writers' rules, the record list
// parser with its mends, and the gatherers and SaveObject over a real database.
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "Conduit/Src/BizObjectVisitor.h"
#include "Conduit/Src/HandheldLink.h"
#include "Conduit/Src/ObjectRecord.h"
#include "ConduitTestDatabase.h"
#include "ConduitTestSupport.h"

using namespace alk_conduit_test;

namespace {

std::string Bytes(const VarSizeBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.data.Get()), buffer.length);
}

std::string Encode(const CBaseObject& record)
{
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    WriteObject(&record, writer);
    return Bytes(buffer);
}

CAutoPtr<CBaseObject> Decode(const std::string& bytes, bool* failed = nullptr)
{
    CMemoryDataReader reader(bytes.data(), static_cast<DWORD>(bytes.size()));
    CAutoPtr<CBaseObject> record = ReadObject(reader);
    if (failed) *failed = reader.IsFailed();
    return record;
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char two[4];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02X ", c);
        out += two;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

// Every record of the list parser's input, one after the other.
std::string EncodeAll(CDataLayer& layer, CRecordList& records)
{
    struct Store : IObjectStore<CAutoPtr<CBaseObject>> {
        explicit Store(CRecordList& list) : list(list) {}
        void Add(const CAutoPtr<CBaseObject>& item) override { list.push_back(item); }
        CRecordList& list;
    } store(records);
    CBizObjectGatherer gatherer(store);
    EXPECT_TRUE(VisitAllObjects(layer, gatherer));
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    for (const CAutoPtr<CBaseObject>& r : records) WriteObject(r.Get(), writer);
    return Bytes(buffer);
}

long ParseError(const std::string& bytes, CRecordList& out)
{
    return GeneralError([&] {
        ParseObjectRecords(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), out);
    });
}

}  // namespace

TEST(ObjectRecord, KeywordBytesAndBack)
{
    CKeyword keyword;
    keyword.SetID(7);
    keyword.SetRefID(0x01020304);
    keyword.SetName("abc");
    keyword.SetDateCreated(0.0);
    keyword.SetDateModified(0.0);
    keyword.SetType(CKeyword::ktExpense);
    const std::string bytes = Encode(keyword);
    EXPECT_EQ(
        "04 00 00 00 07 01 02 03 04 00 03 61 62 63 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03",
        Hex(bytes));

    bool failed = true;
    CAutoPtr<CBaseObject> back = Decode(bytes, &failed);
    ASSERT_FALSE(failed);
    ASSERT_EQ(CBaseObject::otKeyword, back->GetObjectType());
    const CKeyword* k = static_cast<const CKeyword*>(back.Get());
    EXPECT_EQ(7, k->GetID());
    EXPECT_EQ(0x01020304u, k->GetRefID());
    EXPECT_STREQ("abc", k->GetName());
    EXPECT_EQ(CKeyword::ktExpense, k->GetType());
    EXPECT_EQ(1, k->IsDirty()) << "the name is set through its setter";
}

TEST(ObjectRecord, NullTextsAndSignedNumbers)
{
    CEntry entry;
    entry.SetAmount(12.5f);
    entry.SetOdometer(-1);
    const std::string bytes = Encode(entry);
    // type, ID, RefID, then the null Name and Notes as three bytes each.
    EXPECT_EQ("00 00 00 00 00 00", Hex(bytes.substr(9, 6)));
    // Date (8), then the Odometer.
    EXPECT_EQ("FF FF FF FF", Hex(bytes.substr(15 + 16 + 8, 4)));
    // Odometer, VehicleID, Type, Vendor (3 bytes), then the Amount as a double.
    EXPECT_EQ("40 29 00 00 00 00 00 00", Hex(bytes.substr(15 + 16 + 8 + 4 + 4 + 1 + 3, 8)));

    CAutoPtr<CBaseObject> back = Decode(bytes);
    const CEntry* e = static_cast<const CEntry*>(back.Get());
    EXPECT_EQ(-1, e->GetOdometer());
    EXPECT_EQ(12.5f, e->GetAmount());
}

TEST(ObjectRecord, AmountsReadBackRoundedToFloats)
{
    CEntry entry;
    std::string bytes = Encode(entry);
    // Replace the Amount with the double nearest 0.1, which no float holds.
    const size_t amountAt = 15 + 16 + 8 + 4 + 4 + 1 + 3;
    const double tenth = 0.1;
    ULONGLONG image = 0;
    std::memcpy(&image, &tenth, sizeof image);
    for (int i = 0; i < 8; ++i) bytes[amountAt + i] = static_cast<char>(image >> (56 - 8 * i));
    CAutoPtr<CBaseObject> back = Decode(bytes);
    EXPECT_EQ(0.1f, static_cast<const CEntry*>(back.Get())->GetAmount());
}

TEST(ObjectRecord, EveryFieldOfEveryKindSurvivesTheBytes)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(11, AddEveryKind(db.Db()));
    CRecordList records;
    const std::string bytes = EncodeAll(db.Db(), records);
    ASSERT_EQ(11u, records.size());

    CRecordList back;
    ASSERT_EQ(0, ParseError(bytes, back));
    ASSERT_EQ(records.size(), back.size());
    auto b = back.begin();
    for (auto a = records.begin(); a != records.end(); ++a, ++b) {
        // Written again, the record read back gives the very same bytes.
        EXPECT_EQ(Hex(Encode(*a->Get())), Hex(Encode(*b->Get())));
        EXPECT_EQ((*a)->GetID(), (*b)->GetID());
    }
}

TEST(ObjectRecord, ARecordOfAnUnknownTypeReadsNothingMore)
{
    bool failed = true;
    CAutoPtr<CBaseObject> record = Decode(std::string("\x09\x01\x02", 3), &failed);
    EXPECT_EQ(nullptr, record.Get());
    EXPECT_FALSE(failed);
    CKeyword odd;
    std::string bytes = Encode(odd);
    bytes[0] = 0;
    EXPECT_EQ(nullptr, Decode(bytes).Get());
}

TEST(RecordList, ParsesWholeListsAndRefusesBrokenOnes)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    AddEveryKind(db.Db());
    CRecordList records;
    const std::string bytes = EncodeAll(db.Db(), records);
    CRecordList out;

    EXPECT_EQ(0, ParseError("", out));
    EXPECT_TRUE(out.empty());

    // Cut anywhere inside the list but between records: general error 6, never a shorter list.
    std::map<size_t, bool> boundaries;
    size_t at = 0;
    for (const CAutoPtr<CBaseObject>& r : records) boundaries[at += Encode(*r.Get()).size()] = true;
    int refused = 0;
    for (size_t cut = 1; cut < bytes.size(); cut += (cut < 200 ? 1 : 97)) {
        if (boundaries.count(cut)) continue;
        out.clear();
        EXPECT_EQ(6, ParseError(bytes.substr(0, cut), out)) << "cut at " << cut;
        ++refused;
    }
    EXPECT_GT(refused, 150);
    // The same list cut exactly after its third record is a shorter, whole list.
    size_t third = 0;
    auto it = records.begin();
    for (int i = 0; i < 3; ++i, ++it) third += Encode(*it->Get()).size();
    EXPECT_EQ(0, ParseError(bytes.substr(0, third), out));
    EXPECT_EQ(3u, out.size());
}

TEST(RecordList, ATextWithoutItsNulOrAnUnknownTypeFailsTheList)
{
    CKeyword first, second;
    first.SetName("one");
    second.SetName("two");
    const std::string good = Encode(first) + Encode(second);
    CRecordList out;
    ASSERT_EQ(0, ParseError(good, out));
    ASSERT_EQ(2u, out.size());

    std::string noNul = good;
    noNul[9 + 2 + 3] = 'x';  // the first record's Name: length 3, "one", then its NUL
    EXPECT_EQ(6, ParseError(noNul, out));

    const std::string alien = Encode(first) + std::string(1, '\x09') + Encode(second);
    EXPECT_EQ(6, ParseError(alien, out));
    EXPECT_EQ(6, ParseError(std::string(1, '\x05'), out));
}

TEST(Readers, TextRulesAndTheFlags)
{
    // Length 4, five bytes whose last is not NUL, then a word.
    const std::string bytes(
        "\x00\x04"
        "abcde"
        "\x12\x34",
        9);
    CMemoryDataReader reader(bytes.data(), static_cast<DWORD>(bytes.size()));
    EXPECT_STREQ("", reader.ReadString().Get());
    EXPECT_TRUE(reader.HasError());
    EXPECT_TRUE(reader.IsFailed());
    EXPECT_EQ(0, reader.ReadWord()) << "a failed reader yields nothing";

    // A length of 65535 cannot be followed by its n + 1 bytes in one read.
    std::string huge("\xFF\xFF", 2);
    huge += std::string(65536, 'a');
    CMemoryDataReader wrapped(huge.data(), static_cast<DWORD>(huge.size()));
    EXPECT_STREQ("", wrapped.ReadString().Get());
    EXPECT_TRUE(wrapped.HasError());

    // Running out sets the end flag, not the error flag.
    CMemoryDataReader shortReader("\x01\x02\x03", 3);
    EXPECT_EQ(0x0102u, shortReader.ReadWord());
    EXPECT_FALSE(shortReader.IsFailed());
    shortReader.ReadWord();
    EXPECT_TRUE(shortReader.IsFailed());
    EXPECT_FALSE(shortReader.HasError());

    const std::string longest = std::string("\xFF\xFE", 2) + std::string(65534, 'b') + std::string(1, '\0');
    CMemoryDataReader fits(longest.data(), static_cast<DWORD>(longest.size()));
    EXPECT_EQ(65534u, std::strlen(fits.ReadString().Get()));
    EXPECT_FALSE(fits.IsFailed());
}

TEST(Writers, TextsTooLongForTheLengthFieldAreRefused)
{
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    const std::string longest(65534, 'x');
    writer.WriteString(longest.c_str());
    EXPECT_EQ(2u + 65534 + 1, buffer.length);
    EXPECT_EQ("FF FE", Hex(Bytes(buffer).substr(0, 2)));

    const std::string tooLong(65535, 'x');
    EXPECT_EQ(6, GeneralError([&] { writer.WriteString(tooLong.c_str()); }));
    CVehicle vehicle;
    vehicle.SetNotes(std::string(70000, 'n').c_str());
    EXPECT_EQ(6, GeneralError([&] { Encode(vehicle); }));
}

TEST(Writers, BufferGrowsByTheShortfallAndAtLeast1024Bytes)
{
    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    writer.WriteDWord(0xA1B2C3D4);
    EXPECT_EQ(1024u, buffer.capacity);
    const std::string block(3000, 'q');
    writer.Write(block.data(), static_cast<WORD>(block.size()));
    EXPECT_EQ(4u + 3000, buffer.capacity);
    writer.WriteByte(1);
    EXPECT_EQ(4u + 3000 + 1024, buffer.capacity);
    EXPECT_EQ(3005u, buffer.length);
    EXPECT_EQ("A1 B2 C3 D4 71", Hex(Bytes(buffer).substr(0, 5)));
}

TEST(Writers, LittleEndianStreamsForTheSnapshot)
{
    std::ostringstream out(std::ios::binary);
    CStreamDataWriter writer(out);
    CDbItemInfo info(CDbItemInfoKey(CBaseObject::otEntry, 0x01020304), CDbItemInfoValue(1.0, -2.0));
    info.Write(writer);
    EXPECT_EQ("02 04 03 02 01 00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 00 C0", Hex(out.str()));

    std::istringstream in(out.str() + std::string("\x03\x01", 2), std::ios::binary);
    CStreamDataReader reader(in);
    CDbItemInfo back;
    ASSERT_TRUE(ReadItemInfo(reader, back));
    EXPECT_EQ(info.GetKey(), back.GetKey());
    EXPECT_EQ(-2.0, back.GetValue().DateModified);
    EXPECT_FALSE(ReadItemInfo(reader, back)) << "a truncated record";

    std::ostringstream failed(std::ios::binary);
    failed.setstate(std::ios::badbit);
    CStreamDataWriter broken(failed);
    EXPECT_THROW(broken.WriteByte(1), CDataWriterException);
}

TEST(ItemInfo, KeysOrderByTypeThenUnsignedRefID)
{
    CDbItemInfoMap map;
    map[CDbItemInfoKey(CBaseObject::otKeyword, 1)] = CDbItemInfoValue();
    map[CDbItemInfoKey(CBaseObject::otVehicle, 0xFFFFFFFFu)] = CDbItemInfoValue();
    map[CDbItemInfoKey(CBaseObject::otVehicle, 2)] = CDbItemInfoValue();
    map[CDbItemInfoKey(CBaseObject::otEntry, 0)] = CDbItemInfoValue();
    std::string order;
    for (const auto& item : map)
        order += std::to_string(item.first.ObjectType) + ":" + std::to_string(item.first.RefID) + " ";
    EXPECT_EQ("1:2 1:4294967295 2:0 4:1 ", order);

    VarSizeBuffer buffer;
    CVarSizeBufferWriter writer(buffer);
    CDbItemInfoKey(CBaseObject::otNotification, 0xDEADBEEF).Write(writer);
    EXPECT_EQ("03 DE AD BE EF", Hex(Bytes(buffer)));
}

TEST(Gatherers, VisitKindByKindEachLastLoadedFirst)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    for (const char* name : {"A", "B"}) {
        CVehicle v;
        v.SetName(name);
        ASSERT_TRUE(db.Db().Save(&v, 0));
    }
    CKeyword keyword;
    keyword.SetName("K");
    keyword.SetType(CKeyword::ktRepair);
    keyword.SetDateCreated(40000.5);
    keyword.SetDateModified(40100.25);
    ASSERT_TRUE(db.Db().Save(&keyword, 1));
    CNotification reminder;
    reminder.SetName("R");
    ASSERT_TRUE(db.Db().Save(&reminder, 0));
    CEntry entry;
    entry.SetName("E");
    entry.SetType(CEntry::etRepair);
    ASSERT_TRUE(db.Db().Save(&entry, 0));

    struct Names : IObjectStore<CAutoPtr<CBaseObject>> {
        void Add(const CAutoPtr<CBaseObject>& item) override { text += std::string(item->GetName()) + " "; }
        std::string text;
    } names;
    CBizObjectGatherer gatherer(names);
    ASSERT_TRUE(VisitAllObjects(db.Db(), gatherer));
    EXPECT_EQ("B A E R K ", names.text);

    struct Infos : IObjectStore<CDbItemInfo> {
        void Add(const CDbItemInfo& item) override { map[item.GetKey()] = item.GetValue(); }
        CDbItemInfoMap map;
    } infos;
    ASSERT_TRUE(GatherItemInfos(infos, db.Db()));
    ASSERT_EQ(5u, infos.map.size());
    const CDbItemInfoValue& k = infos.map[CDbItemInfoKey(CBaseObject::otKeyword, keyword.GetRefID())];
    EXPECT_EQ(40000.5, k.DateCreated);
    EXPECT_EQ(40100.25, k.DateModified);

    db.Db().Disconnect();
    Names none;
    CBizObjectGatherer nothing(none);
    EXPECT_FALSE(VisitAllObjects(db.Db(), nothing));
    EXPECT_EQ("", none.text);
}

TEST(Gatherers, VisitObjectListEmptiesTheListAndSharesEachRecord)
{
    CObjectListT<CKeyword> list;
    for (const char* name : {"x", "y", "z"}) {
        CKeyword* k = new CKeyword;
        k->SetName(name);
        list.Add(k);
    }
    struct Keep : IObjectStore<CAutoPtr<CBaseObject>> {
        void Add(const CAutoPtr<CBaseObject>& item) override { kept.push_back(item); }
        CRecordList kept;
    } keep;
    CBizObjectGatherer gatherer(keep);
    VisitObjectList(list, gatherer);
    EXPECT_EQ(0, list.GetCount());
    ASSERT_EQ(3u, keep.kept.size());
    EXPECT_STREQ("z", keep.kept.front()->GetName());
}

TEST(SaveObject, UpdatesTheRowOfItsRefIDOrInsertsKeepingIt)
{
    CConduitDatabase db;
    ASSERT_TRUE(db.Ok());
    CVehicle stored;
    stored.SetName("Desktop");
    ASSERT_TRUE(db.Db().Save(&stored, 0));

    CVehicle received;
    received.SetID(999);  // the handheld's row id, which means nothing here
    received.SetRefID(stored.GetRefID());
    received.SetName("From the handheld");
    received.SetDateCreated(40000.5);
    received.SetDateModified(40001.25);
    ASSERT_TRUE(SaveObject(&received, db.Db()));
    EXPECT_EQ(stored.GetID(), received.GetID());
    std::vector<std::string> rows = StoredRows(db.AnsiPath(), "Vehicle");
    ASSERT_EQ(1u, rows.size());
    // An update keeps the row's creation date and takes the record's modification date.
    EXPECT_EQ(0u, rows[0].find(std::to_string(stored.GetRefID()) + "|From the handheld||"));
    EXPECT_NE(std::string::npos, rows[0].find("|40001.25|")) << rows[0];

    CKeyword fresh;
    fresh.SetID(5);
    fresh.SetRefID(0xFEEDF00D);
    fresh.SetName("New");
    fresh.SetDateCreated(39000.25);
    fresh.SetDateModified(39000.75);
    ASSERT_TRUE(SaveObject(&fresh, db.Db()));
    rows = StoredRows(db.AnsiPath(), "Keyword");
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(0u, rows[0].find("4277006349|New|0|")) << rows[0];
    EXPECT_NE(std::string::npos, rows[0].find("39000.25|39000.75")) << rows[0];
}
