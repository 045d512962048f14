// Packets: the bytes of every record kind written out here, the outgoing buffer, and records
// written from packets through the handler as the manager calls it (Setup, GetPacket or
// SetPacket, Reset), including thousands of damaged packets read from memory that ends at a page
// no one may read.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "activesync/FolderHandler.h"
#include "activesync/PropertyPacket.h"
#include "tests/activesync/SyncTestSupport.h"

using namespace alk_sync_test;

namespace {

const SYSTEMTIME kNow = Utc(2030, 3, 4, 12, 34, 56);  // not a whole number of millionths of a day

class PacketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key = std::make_unique<DesktopKey>(db.AnsiPath());
        s = std::make_unique<StoreSession>();
        ASSERT_EQ(S_OK, s->initialized);
    }
    void TearDown() override
    {
        s.reset();
        key.reset();
    }
    HREPLITEM Item(int type, long row, unsigned long ref) { return MakeItem(s->store, type, row, ref); }
    // The packet of one record, as the manager reads it.
    HRESULT Get(int type, long row, unsigned long ref, std::vector<uint8_t>* bytes, DWORD recommended = 1024)
    {
        REPLSETUP setup = {sizeof setup, TRUE, 0, s->folder, Item(type, row, ref)};
        EXPECT_EQ(S_OK, s->handler->Setup(&setup));
        BYTE* data = nullptr;
        DWORD size = 0;
        const HRESULT hr = s->handler->GetPacket(&data, &size, recommended);
        bytes->assign(data, data + size);
        s->handler->Reset(&setup);
        s->store->FreeObject(setup.item);
        return hr;
    }
    // Writes a packet from memory ending at a no-access page; item: the existing object's item,
    // or null for a new object (whose item, when one is made, goes to *made).
    HRESULT Set(const std::vector<uint8_t>& packet, HREPLITEM item, HREPLITEM* made = nullptr)
    {
        REPLSETUP setup = {sizeof setup, FALSE, item ? 0u : REPL_SETUP_NEW_OBJECT, s->folder, item};
        EXPECT_EQ(S_OK, s->handler->Setup(&setup));
        GuardedBytes bytes(packet.data(), packet.size());
        const HRESULT hr = s->handler->SetPacket(bytes.Get(), static_cast<DWORD>(packet.size()));
        s->handler->Reset(&setup);
        if (!item) {
            if (made) {
                *made = setup.item;
            } else {
                s->store->FreeObject(setup.item);
            }
        }
        return hr;
    }
    std::string EntryRow(long row) { return db.Rows("SELECT * FROM Entry WHERE ID=" + std::to_string(row)); }

    CFixedClock clock{kNow};
    SyncDatabase db;
    std::unique_ptr<DesktopKey> key;
    std::unique_ptr<StoreSession> s;
};

}  // namespace

TEST_F(PacketTest, AKeywordWithoutANamePacksAsThirtySixBytes)
{
    const long row = db.AddKeyword(0x40, CKeyword::ktCategory, nullptr);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otKeyword, row, 0x40, &bytes));
    const std::vector<uint8_t> expected = {
        0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // four properties, reserved
        0x03, 0x00, 0x01, 0x80, 0x04, 0x00, 0x00, 0x00,  // object type 4
        0x1F, 0x00, 0x04, 0x80, 0x00, 0x00,              // name: the empty text
        0x1F, 0x00, 0x05, 0x80, 0x00, 0x00,              // notes
        0x03, 0x00, 0x1D, 0x80, 0x01, 0x00, 0x00, 0x00,  // keyword type 1
    };
    EXPECT_EQ(expected, bytes);
}

TEST_F(PacketTest, AVehiclePacksSeventeenPropertiesWithTheHandlesReferenceID)
{
    CVehicle v;
    v.SetRefID(0x10);
    v.SetName(L"Car");
    v.SetNotes(L"Note");
    v.SetLicensePlate(L"AB-1");
    v.SetVIN(L"VIN9");
    v.SetDealerName(L"Dealer");
    v.SetDealerPhone(L"555");
    v.SetDealerAddress(L"Main St");
    v.SetInsurancePolicyNumber(L"P-7");
    v.SetInsuranceAgentName(L"Agent");
    v.SetInsuranceAgentPhone(L"556");
    v.SetInsuranceCoverage(L"Full");
    v.SetInsuranceExpirationDate(41000.25);
    v.SetCurrentOdometer(-5);
    v.SetYear(2004);
    v.SetImagePath(L"C:\\car.jpg");
    ASSERT_TRUE(db.Db().Save(&v, 0));

    std::vector<uint8_t> bytes;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otVehicle, v.GetID(), 0xCAFEF00D, &bytes));
    Bytes p;
    p.U32(0x80010003).U32(1).U32(0x8004001F).Text(L"Car").U32(0x8005001F).Text(L"Note");
    p.U32(0x80000003).U32(0xCAFEF00D);
    p.U32(0x8006001F).Text(L"AB-1").U32(0x8007001F).Text(L"VIN9").U32(0x8008001F).Text(L"Dealer");
    p.U32(0x8009001F).Text(L"555").U32(0x800A001F).Text(L"Main St").U32(0x800B001F).Text(L"P-7");
    p.U32(0x800C001F).Text(L"Agent").U32(0x800D001F).Text(L"556").U32(0x800E001F).Text(L"Full");
    p.U32(0x800F0005).F64(41000.25).U32(0x80100003).U32(0xFFFFFFFB).U32(0x80110003).U32(2004);
    p.U32(0x801E001F).Text(L"C:\\car.jpg");
    EXPECT_EQ(Packet(17, p), bytes);
}

TEST_F(PacketTest, EntriesAndRemindersPackTheirFieldsAndNameTheirVehicle)
{
    CEntry e;
    e.SetRefID(0x20);
    e.SetVehicleID(0x89ABCDEF);
    e.SetType(CEntry::etFuel);
    e.SetDate(40123.5);
    e.SetOdometer(123456);
    e.SetVendor(L"Tankstelle M\u00fcller");
    e.SetNotes(L"Full tank");
    e.SetAmount(45.25f);
    e.SetCustom1(31.5f);
    e.SetCustom2(1.4365f);
    ASSERT_TRUE(db.Db().Save(&e, 0));
    std::vector<uint8_t> bytes;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otEntry, e.GetID(), 0x20, &bytes));
    Bytes p;
    p.U32(0x80010003).U32(2).U32(0x8004001F).Text(L"").U32(0x8005001F).Text(L"Full tank");
    p.U32(0x80120005).F64(40123.5).U32(0x80130003).U32(123456).U32(0x80140003).U32(0x89ABCDEF);
    p.U32(0x80150003).U32(1).U32(0x8016001F).Text(L"Tankstelle M\u00fcller");
    p.U32(0x80170004).F32(45.25f).U32(0x80180004).F32(31.5f).U32(0x80190004).F32(1.4365f);
    EXPECT_EQ(Packet(11, p), bytes);

    const long reminder = db.AddReminder(0x30, 0x89ABCDEF, L"Inspection", 40500.75, 150000);
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otNotification, reminder, 0x30, &bytes));
    Bytes r;
    r.U32(0x80010003).U32(3).U32(0x8004001F).Text(L"Inspection").U32(0x8005001F).Text(L"");
    r.U32(0x801A0005).F64(40500.75).U32(0x801B0003).U32(150000).U32(0x801C0003).U32(0x89ABCDEF);
    EXPECT_EQ(Packet(6, r), bytes);
}

TEST_F(PacketTest, TheOutgoingBufferStartsSmallGrowsAndIsReused)
{
    const long row = db.AddEntry(0x20, 0x10, CEntry::etRepair, 40000, 1, 2.0f, L"Brakes", L"Front and rear");
    std::vector<uint8_t> bytes;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otEntry, row, 0x20, &bytes, 4));
    std::vector<uint8_t> roomy;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otEntry, row, 0x20, &roomy, 4096));
    EXPECT_EQ(roomy, bytes) << "a recommended size of 4 still makes the whole packet";
    EXPECT_EQ(11u, bytes[0]);
    EXPECT_EQ(E_OUTOFMEMORY, Get(CBaseObject::otEntry, row, 0x20, &bytes, 0));
    EXPECT_EQ(REPL_E_NOTHING_TO_SEND, Get(CBaseObject::otEntry, row + 1, 0x21, &bytes));
    EXPECT_EQ(REPL_E_NOTHING_TO_SEND, Get(9, row, 0x20, &bytes));

    CPropertyPacket packet;
    EXPECT_FALSE(packet.Begin(0));
    ASSERT_TRUE(packet.Begin(4));
    EXPECT_EQ(8u, packet.Capacity());
    EXPECT_EQ(8u, packet.Size());
    ASSERT_EQ(S_OK, packet.AppendInteger(0x80010003, 2));
    EXPECT_EQ(16u + 1024u, packet.Capacity()) << "the needed length plus 1024";
    const BYTE* buffer = packet.Data();
    ASSERT_TRUE(packet.Begin(1000));
    EXPECT_EQ(buffer, packet.Data()) << "large enough: kept";
    EXPECT_EQ(0u, packet.Count());
    ASSERT_TRUE(packet.Begin(5000));
    EXPECT_EQ(5000u, packet.Capacity());

    // Up to the limit, and not a byte past it.
    std::wstring text((CPropertyPacket::MaxSize - 8 - 4) / 2 - 1, L'x');
    ASSERT_EQ(S_OK, packet.AppendText(0x8005001F, text.c_str()));
    EXPECT_EQ(static_cast<DWORD>(CPropertyPacket::MaxSize), packet.Size());
    EXPECT_EQ(E_POINTER, packet.AppendInteger(0x80130003, 1));
    EXPECT_EQ(1u, packet.Count());
    EXPECT_EQ(static_cast<DWORD>(CPropertyPacket::MaxSize), packet.Size());

    BYTE received[8] = {};
    packet.Attach(received, 8);
    EXPECT_EQ(E_FAIL, packet.AppendInteger(0x80130003, 1)) << "received bytes are not written";
}

TEST_F(PacketTest, NotesPastThePacketLimitCannotBeSent)
{
    const std::wstring notes(130000, L'n');  // 260002 bytes of text alone
    const long row = db.AddEntry(0x20, 0x10, CEntry::etExpense, 40000, 1, 2.0f, L"Wash", notes.c_str());
    std::vector<uint8_t> bytes;
    EXPECT_EQ(E_OUTOFMEMORY, Get(CBaseObject::otEntry, row, 0x20, &bytes));
    const std::wstring shorter(125000, L'n');
    const long fits = db.AddEntry(0x21, 0x10, CEntry::etExpense, 40000, 1, 2.0f, L"Wash", shorter.c_str());
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otEntry, fits, 0x21, &bytes));
    EXPECT_GT(bytes.size(), 250000u);
}

TEST_F(PacketTest, ANewVehicleKeepsItsReferenceIDAndLeavesItsItemInTheSetup)
{
    Bytes p;
    p.U32(0x80010003).U32(1).U32(0x8004001F).Text(L"From the device").U32(0x80000003).U32(0x12345678);
    p.U32(0x80110003).U32(2009).U32(0x80770003).U32(5).U32(0x80120005).F64(1.0);  // unknown, entry's
    HREPLITEM made = nullptr;
    ASSERT_EQ(S_OK, Set(Packet(6, p), nullptr, &made));
    ASSERT_NE(nullptr, made);
    const ItemFields f = ReadItem(s->store, made);
    EXPECT_EQ(1, f.type);
    EXPECT_EQ(0x12345678u, f.ref);
    EXPECT_EQ("From the device|2009|\n", db.Rows("SELECT Name, Year FROM Vehicle WHERE RefID=305419896"));
    EXPECT_EQ(f.row, db.Integer("SELECT ID FROM Vehicle WHERE RefID=305419896"));
    EXPECT_EQ(db.Real("SELECT Modified FROM Vehicle"), f.modified);

    // The reference id tag changes neither an existing vehicle nor a new entry.
    Bytes again;
    again.U32(0x80010003).U32(1).U32(0x80000003).U32(0x99).U32(0x8004001F).Text(L"Renamed");
    ASSERT_EQ(S_OK, Set(Packet(3, again), made));
    EXPECT_EQ("305419896|Renamed|\n", db.Rows("SELECT RefID, Name FROM Vehicle"));
    Bytes entry;
    entry.U32(0x80010003).U32(2).U32(0x80000003).U32(0x77).U32(0x80140003).U32(0x12345678);
    entry.U32(0x80150003).U32(CEntry::etTrip);
    HREPLITEM entryItem = nullptr;
    ASSERT_EQ(S_OK, Set(Packet(4, entry), nullptr, &entryItem));
    EXPECT_NE(0x77u, ReadItem(s->store, entryItem).ref);
    EXPECT_EQ(305419896, db.Integer("SELECT VehicleID FROM Entry"));
    s->store->FreeObject(made);
    s->store->FreeObject(entryItem);
}

TEST_F(PacketTest, APacketWithOnlyAnAmountChangesOnlyTheAmountAndTheDate)
{
    const long row = db.AddEntry(0x20, 0x10, CEntry::etTrip, 40000.5, 900, 12.0f, L"Coast", L"Windy");
    const std::string others =
        "SELECT ID, RefID, Name, Notes, Created, Date, Odometer, VehicleID, Type, Vendor, Custom1, Custom2 FROM Entry";
    const std::string before = db.Rows(others);
    const double modified = db.Real("SELECT Modified FROM Entry");
    HREPLITEM item = Item(CBaseObject::otEntry, row, 0x20);
    Bytes p;
    // The type and vehicle of a stored entry are never rewritten; a repeated object type is skipped.
    p.U32(0x80010003).U32(2).U32(0x80170004).F32(13.5f).U32(0x80150003).U32(4).U32(0x80010003).U32(1);
    {
        CFixedClock later(Utc(2030, 3, 5));
        ASSERT_EQ(S_OK, Set(Packet(4, p), item));
    }
    EXPECT_EQ(before, db.Rows(others));
    EXPECT_EQ(13.5, db.Real("SELECT Amount FROM Entry"));
    EXPECT_LT(modified, db.Real("SELECT Modified FROM Entry"));
    s->store->FreeObject(item);
}

TEST_F(PacketTest, RefusedPacketsSaveNothingAndLeaveNoItem)
{
    Bytes name;
    name.U32(0x8004001F).Text(L"Name");
    Bytes good;
    good.U32(0x80010003).U32(4).U32(0x8004001F).Text(L"Kw").U32(0x801D0003).U32(2);
    const std::vector<uint8_t> whole = Packet(3, good);
    std::vector<std::vector<uint8_t>> refused = {
        Packet(1, name),                                         // first tag not the object type
        Packet(0, good),                                         // no properties
        Packet(4, good),                                         // count promises more than there is
        Packet(0xFFFFFFFF, good),                                //
        std::vector<uint8_t>(whole.begin(), whole.begin() + 7),  // header cut
        std::vector<uint8_t>(whole.begin(), whole.end() - 1),    // last value cut
        {},
    };
    Bytes noNul;
    noNul.U32(0x80010003).U32(4).U32(0x8004001F).Raw({'K', 0, 'w', 0});
    refused.push_back(Packet(2, noNul));
    Bytes seven;
    seven.U32(0x80010003).U32(7).U32(0x8004001F).Text(L"Odd");
    refused.push_back(Packet(2, seven));

    for (const auto& packet : refused) {
        HREPLITEM made = reinterpret_cast<HREPLITEM>(1);
        REPLSETUP setup = {sizeof setup, FALSE, REPL_SETUP_NEW_OBJECT, s->folder, nullptr};
        s->handler->Setup(&setup);
        GuardedBytes bytes(packet.data(), packet.size());
        EXPECT_EQ(E_FAIL, s->handler->SetPacket(bytes.Get(), static_cast<DWORD>(packet.size())));
        made = setup.item;
        s->handler->Reset(&setup);
        EXPECT_EQ(nullptr, made);
    }
    // Packets that read whole but hold what the desktop cannot keep or show.
    Bytes type0, type7, nanAmount, infiniteDate;
    type0.U32(0x80010003).U32(4).U32(0x801D0003).U32(0);
    type7.U32(0x80010003).U32(2).U32(0x80150003).U32(7);
    nanAmount.U32(0x80010003).U32(2).U32(0x80150003).U32(1).U32(0x80170004).F32(std::nanf(""));
    infiniteDate.U32(0x80010003).U32(2).U32(0x80150003).U32(1).U32(0x80120005).F64(HUGE_VAL);
    for (const auto& packet : {Packet(2, type0), Packet(2, type7), Packet(3, nanAmount), Packet(3, infiniteDate)}) {
        REPLSETUP setup = {sizeof setup, FALSE, REPL_SETUP_NEW_OBJECT, s->folder, nullptr};
        s->handler->Setup(&setup);
        EXPECT_EQ(REPL_E_CANNOT_STORE,
                  s->handler->SetPacket(const_cast<BYTE*>(packet.data()), static_cast<DWORD>(packet.size())));
        EXPECT_EQ(nullptr, setup.item);
        s->handler->Reset(&setup);
    }
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Keyword") + db.Integer("SELECT COUNT(*) FROM Entry"));
    ASSERT_EQ(S_OK, Set(whole, nullptr));
    EXPECT_EQ("Kw|2|\n", db.Rows("SELECT Name, Type FROM Keyword"));
}

TEST_F(PacketTest, DamagedPacketsNeverReadPastTheirEndAndARefusedOneChangesNothing)
{
    const long row = db.AddEntry(0x20, 0x10, CEntry::etFuel, 40000.5, 900, 12.0f, L"", L"Notes here");
    std::vector<uint8_t> original;
    ASSERT_EQ(REPL_S_LAST_PACKET, Get(CBaseObject::otEntry, row, 0x20, &original));
    HREPLITEM item = Item(CBaseObject::otEntry, row, 0x20);
    std::string stored = EntryRow(row);

    // Cut at every length: always refused, never changed.
    for (size_t size = 0; size < original.size(); ++size) {
        const std::vector<uint8_t> cut(original.begin(), original.begin() + size);
        ASSERT_EQ(E_FAIL, Set(cut, item)) << size;
    }
    EXPECT_EQ(stored, EntryRow(row));

    // Random tags and counts: whatever is refused changes nothing; whatever is taken is stored.
    std::mt19937 random(4711);
    int refusedCount = 0, taken = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<uint8_t> packet = original;
        const int mutations = 1 + static_cast<int>(random() % 3);
        for (int m = 0; m < mutations && packet.size() > 8; ++m) {
            const size_t at = 8 + random() % (packet.size() - 8);
            // Mostly damage that must be refused: a taken packet costs a write to the file.
            switch (random() % 8) {
            case 0: packet[at] = static_cast<uint8_t>(random()); break;
            case 1:
            case 2: {
                const uint32_t counts[] = {0, 12, 13, 64, 0x7FFFFFFF, 0xFFFFFFFF, static_cast<uint32_t>(random() % 12)};
                const uint32_t count = counts[random() % 7];
                std::memcpy(packet.data(), &count, 4);
                break;
            }
            case 3:
            case 4: packet.resize(8 + random() % (packet.size() - 8)); break;
            default: {  // a random tag anywhere, of any value type
                const uint32_t tag = 0x80000000u | static_cast<uint32_t>(random() & 0x7FFFFFFF);
                if (at + 4 <= packet.size()) std::memcpy(packet.data() + at, &tag, 4);
                break;
            }
            }
        }
        // E_FAIL: the packet cannot be read; REPL_E_CANNOT_STORE: it reads, but holds a value the
        // desktop cannot keep (an entry type outside 1 to 4, a number that is not finite).
        const HRESULT hr = Set(packet, item);
        ASSERT_TRUE(hr == S_OK || hr == E_FAIL || hr == REPL_E_CANNOT_STORE) << std::hex << hr;
        if (hr != S_OK) {
            ++refusedCount;
            ASSERT_EQ(stored, EntryRow(row)) << "round " << round;
        } else {
            ++taken;
            stored = EntryRow(row);
        }
    }
    EXPECT_GT(refusedCount, 700);
    EXPECT_GT(taken, 100);
    s->store->FreeObject(item);
}

TEST_F(PacketTest, AfterAWriteTheItemEqualsTheNextEnumerations)
{
    const long row = db.AddVehicle(0x10, L"Car");
    Bytes p;
    p.U32(0x80010003).U32(2).U32(0x80140003).U32(0x10).U32(0x80170004).F32(20.0f).U32(0x80150003).U32(1);
    HREPLITEM made = nullptr;
    ASSERT_EQ(S_OK, Set(Packet(4, p), nullptr, &made));
    HREPLITEM vehicle = Item(CBaseObject::otVehicle, row, 0x10);
    Bytes rename;
    rename.U32(0x80010003).U32(1).U32(0x8004001F).Text(L"Renamed");
    ASSERT_EQ(S_OK, Set(Packet(2, rename), vehicle));

    std::vector<ItemFields> items;
    ASSERT_EQ(S_OK, Enumerate(s->store, s->folder, &items));
    ASSERT_EQ(2u, items.size());
    const ItemFields written[] = {ReadItem(s->store, vehicle), ReadItem(s->store, made)};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(items[i].ref, written[i].ref);
        EXPECT_EQ(items[i].row, written[i].row);
        EXPECT_EQ(items[i].modified, written[i].modified) << "the date as the file keeps it";
        EXPECT_NE(OleDate(kNow), written[i].modified) << "not the time in memory";
    }
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, made, nullptr));
    EXPECT_FALSE(s->store->IsItemChanged(s->folder, vehicle, nullptr));
    s->store->FreeObject(made);
    s->store->FreeObject(vehicle);
}

TEST_F(PacketTest, DeletingAVehicleTakesItsEntriesAndRemindersAndAGoneRecordFails)
{
    const long row = db.AddVehicle(0x10, L"Car");
    db.AddEntry(0x20, 0x10, CEntry::etFuel, 40000, 1, 1.0f);
    db.AddReminder(0x30, 0x10, L"Oil", 40000, 100);
    db.AddVehicle(0x11, L"Other");
    db.AddEntry(0x21, 0x11, CEntry::etFuel, 40000, 1, 1.0f);
    REPLSETUP setup = {sizeof setup, FALSE, 0, s->folder, Item(CBaseObject::otVehicle, row, 0x10)};
    ASSERT_EQ(S_OK, s->handler->DeleteObj(&setup));
    EXPECT_EQ("17|\n", db.Rows("SELECT RefID FROM Vehicle"));
    EXPECT_EQ("33|\n", db.Rows("SELECT RefID FROM Entry"));
    EXPECT_EQ(0, db.Integer("SELECT COUNT(*) FROM Notification"));
    EXPECT_EQ(E_FAIL, s->handler->DeleteObj(&setup));
    s->store->FreeObject(setup.item);
}

TEST_F(PacketTest, TheHandlerAnswersOnlyIUnknown)
{
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, s->handler->QueryInterface(IID_IReplObjHandler, &out));
    EXPECT_EQ(nullptr, out);
    ASSERT_EQ(S_OK, s->handler->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<IUnknown*>(s->handler), out);
    static_cast<IUnknown*>(out)->Release();
}
