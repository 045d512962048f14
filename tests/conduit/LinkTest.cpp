// The link to the handheld through the real HotSyncLink.dll: scripted answers for each rule of
// a reply, chunked sends and receives, the manager's result codes, and the exchanges against the
// handheld double (its store, its trace and its fault plan), including every field of every
// record kind carried desktop -> handheld -> desktop.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Conduit/Src/BizObjectVisitor.h"
#include "Conduit/Src/HandheldLink.h"
#include "ConduitTestDatabase.h"
#include "ConduitTestSupport.h"
#include "sdk/hotsync/handheld/HandheldApp.h"

using namespace alk_conduit_test;

namespace {

const DWORD kCreator = HsFourCC('a', 'L', 'R', 'K');
const DWORD kType = HsFourCC('a', 'p', 'p', 'l');

std::string Pattern(size_t size)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return data;
}

std::string Receive(RemoteAction action = ActionGetAllObjects)
{
    DWORD total = 0;
    CAutoPtr<BYTE> data = CallReceive(action, total);
    return std::string(reinterpret_cast<const char*>(data.Get()), total);
}

long ReceiveError(const CScriptedLink::Answer& answer)
{
    CScriptedLink link(answer);
    return GeneralError([] { Receive(); });
}

// The handheld double with a store and a plan, installed on the link while it lives.
class CHandheld {
public:
    explicit CHandheld(const std::string& plan = "") : app(store)
    {
        std::string error;
        CFaultPlan faults;
        EXPECT_TRUE(faults.Parse(plan, error)) << error;
        app.SetFaultPlan(faults);
        app.Install();
    }
    ~CHandheld() { CHandheldApp::Uninstall(); }
    CHandheld(const CHandheld&) = delete;
    CHandheld& operator=(const CHandheld&) = delete;

    // "1r 2s ..." : each call's action and direction.
    std::string Calls() const
    {
        std::string text;
        for (const HhTraceEntry& e : app.Trace()) text += std::to_string(e.action) + (e.send ? "s " : "r ");
        return text;
    }
    void AddKeywords(int count)
    {
        for (int i = 0; i < count; ++i) {
            CHandheldRecord& k = store.Create(HhKeyword);
            k.SetText("Name", "Keyword " + std::to_string(i));
            k.SetNumber("Type", 1 + i % 4);
        }
    }

    CHandheldStore store;
    CHandheldApp app;
};

CRecordList Keywords(int count, size_t noteBytes = 0)
{
    CRecordList list;
    for (int i = 0; i < count; ++i) {
        CKeyword* k = new CKeyword;
        k->SetRefID(1000 + i);
        k->SetName(("Desktop keyword " + std::to_string(i)).c_str());
        if (noteBytes) k->SetNotes(std::string(noteBytes, 'n').c_str());
        list.push_back(CAutoPtr<CBaseObject>(&DeleteRecord, k));
    }
    return list;
}

}  // namespace

TEST(LinkReceive, EveryCallAsksForTheRestWithAFullBlock)
{
    const std::string data = Pattern(150000);
    const DWORD chunks[] = {63988, 1, 50000, 150000 - 63988 - 1 - 50000};
    DWORD given = 0;
    CScriptedLink link([&](RemoteCallBlock& call, int index) {
        const DWORD chunk = chunks[index];
        Reply(call, chunk, 150000, 12, data.substr(given, chunk));
        given += chunk;
        return HsOk;
    });
    EXPECT_EQ(data, Receive(ActionGetItemInfos));
    ASSERT_EQ(4u, link.Calls().size());
    DWORD received = 0;
    for (size_t i = 0; i < 4; ++i) {
        const CScriptedLink::Call& c = link.Calls()[i];
        EXPECT_EQ(kCreator, c.block.creator);
        EXPECT_EQ(kType, c.block.type);
        EXPECT_EQ(ActionGetItemInfos, c.block.action);
        EXPECT_EQ(8u, c.block.paramSize);
        EXPECT_EQ(received, GetU32(c.param, 0));
        EXPECT_EQ(64000u, GetU32(c.param, 4));
        EXPECT_EQ(64000u, c.block.resultBufferSize);
        EXPECT_EQ(0u, c.block.handheldResult);
        EXPECT_EQ(0u, c.block.resultSize);
        EXPECT_EQ(0u, c.block.reserved);
        received += chunks[i];
    }
}

TEST(LinkReceive, EmptyTransfers)
{
    {
        CScriptedLink link([](RemoteCallBlock& call, int) {
            call.resultSize = 0;
            return HsOk;
        });
        EXPECT_EQ("", Receive());
        EXPECT_EQ(1u, link.Calls().size());
    }
    CScriptedLink link([](RemoteCallBlock& call, int) { return Reply(call, 0, 0, 12, ""); });
    EXPECT_EQ("", Receive());
    EXPECT_EQ(1u, link.Calls().size());
}

TEST(LinkReceive, EachBrokenReplyFailsTheTransfer)
{
    const std::string data = Pattern(100);
    EXPECT_EQ(6, ReceiveError([](RemoteCallBlock& call, int) { return Reply(call, 0, 0, 12, "", 11); }));
    EXPECT_EQ(6, ReceiveError([&](RemoteCallBlock& call, int) { return Reply(call, 100, 100, 12, data, 64001); }));
    // A later reply with another total, one past the total, one of no data, one whose header and
    // chunk do not make its size.
    auto second = [&](std::function<long(RemoteCallBlock&)> broken) {
        return [&data, broken](RemoteCallBlock& call, int index) {
            return index == 0 ? Reply(call, 40, 100, 12, data.substr(0, 40)) : broken(call);
        };
    };
    EXPECT_EQ(6, ReceiveError(second([&](RemoteCallBlock& c) { return Reply(c, 60, 101, 12, data.substr(40)); })));
    EXPECT_EQ(6, ReceiveError(second([&](RemoteCallBlock& c) { return Reply(c, 61, 100, 12, data.substr(39)); })));
    EXPECT_EQ(6, ReceiveError(second([&](RemoteCallBlock& c) { return Reply(c, 0, 100, 12, ""); })));
    EXPECT_EQ(6, ReceiveError(second([&](RemoteCallBlock& c) { return Reply(c, 60, 100, 16, data.substr(40)); })));
    EXPECT_EQ(6, ReceiveError(second([&](RemoteCallBlock& c) {
                  c.resultSize = 0;
                  return HsOk;
              })));
    // A header length far beyond the reply, chosen so that header + chunk wraps to its size in
    // 32 bits: refused, never copied from.
    EXPECT_EQ(6, ReceiveError(
                     [&](RemoteCallBlock& call, int) { return Reply(call, 32, 32, 0xFFFFFFFCu, data.substr(0, 16)); }));
    // The same rules pass a good transfer with an unusual header length.
    EXPECT_EQ(0, ReceiveError([&](RemoteCallBlock& call, int) { return Reply(call, 100, 100, 14, "xy" + data); }));
}

TEST(LinkReceive, ManagerResultsBecomeErrors)
{
    struct Case {
        long result;
        DWORD handheld;
        std::string text;
    };
    const Case cases[] = {
        {0x4012, 0, ""},
        {0, 77, ""},
        {0x400A, 0, "General synch error (9)"},
        {0x4013, 0, "General synch error (12)"},
        {0x4015, 0, "General synch error (11)"},
        {0x10006410, 0, "General synch error (10)"},
        {0x4019, 0, "General synch error (13)"},
        {0x4019, 3, "Palm side error (3)"},
        {0x4016, 0, "Unknown synch error (16406)"},
        {-5, 0, "Unknown synch error (-5)"},
    };
    for (const Case& c : cases) {
        CScriptedLink link([&](RemoteCallBlock& call, int) {
            call.handheldResult = c.handheld;
            call.resultSize = 0;
            return c.result;
        });
        EXPECT_EQ(c.text, ThrownText([] { Receive(); })) << std::hex << c.result;
        EXPECT_EQ(c.text, ThrownText([] { CallSend(ActionPutObjects, reinterpret_cast<const BYTE*>("ab"), 2); }));
    }
    try {
        CheckRemoteResult(0x4019, 3);
    } catch (const CSynchException& e) {
        EXPECT_EQ(5, e.GetErrorCode());
    }
    EXPECT_EQ(9, GeneralError([] { Receive(); })) << "no handheld on the link at all";
}

TEST(LinkSend, ChunksOfAtMost63984Bytes)
{
    for (DWORD length : {1u, 63984u, 63985u, 200000u}) {
        const std::string data = Pattern(length);
        CScriptedLink link([](RemoteCallBlock&, int) { return HsOk; });
        CallSend(ActionPutAllObjects, reinterpret_cast<const BYTE*>(data.data()), length);
        std::string sent;
        for (const CScriptedLink::Call& c : link.Calls()) {
            EXPECT_EQ(ActionPutAllObjects, c.block.action);
            EXPECT_EQ(0u, c.block.resultBufferSize);
            EXPECT_EQ(nullptr, c.block.resultBuffer);
            EXPECT_LE(c.block.paramSize, 64000u);
            EXPECT_EQ(sent.size(), GetU32(c.param, 0));
            EXPECT_EQ(length, GetU32(c.param, 4));
            EXPECT_EQ(c.block.paramSize - 16, GetU32(c.param, 8));
            EXPECT_EQ(16u, GetU32(c.param, 12));
            sent += c.param.substr(16);
        }
        EXPECT_EQ(data, sent);
        EXPECT_EQ((length + 63983) / 63984, link.Calls().size()) << length;
        if (length == 63984) {
            EXPECT_EQ(64000u, link.Calls()[0].block.paramSize);
        }
        if (length == 63985) {
            EXPECT_EQ(17u, link.Calls()[1].block.paramSize);
        }
    }
    CScriptedLink none([](RemoteCallBlock&, int) { return HsOk; });
    CallSend(ActionPutAllObjects, nullptr, 0);
    EXPECT_TRUE(none.Calls().empty());
}

TEST(LinkExchanges, ItemInformationIsWholeRecordsOfKnownTypesAndTheLastOfAKey)
{
    std::string list;
    auto info = [&](int type, DWORD ref, double modified) {
        CHandheldRecord r(type);
        r.SetNumber("RefID", ref);
        r.SetReal("DateModified", modified);
        HhEncodeItemInfo(list, r);
    };
    auto receive = [](const std::string& data, CDbItemInfoMap& map) {
        CScriptedLink link([&](RemoteCallBlock& call, int) {
            return Reply(call, static_cast<DWORD>(data.size()), static_cast<DWORD>(data.size()), 12, data);
        });
        return ThrownText([&] { ReceiveItemInfos(map); });
    };
    info(HhEntry, 5, 1.0);
    info(HhVehicle, 9, 2.0);
    CDbItemInfoMap map;
    EXPECT_EQ("", receive(list, map));
    ASSERT_EQ(2u, map.size());
    EXPECT_EQ(2.0, map.begin()->second.DateModified);

    // Less than a whole record at the end, or alone: refused whole, never an empty handheld.
    for (size_t extra : {1, 20})
        EXPECT_EQ("General synch error (6): the handheld's item list of " + std::to_string(42 + extra) +
                      " bytes is not a whole number of 21-byte records",
                  receive(list + std::string(extra, '\x02'), map));
    EXPECT_EQ("General synch error (6): the handheld's item list of 7 bytes is not a whole number of 21-byte records",
              receive(std::string(7, '\x01'), map));
    // A type no record has: the list is damaged, whatever its length.
    std::string alien = list;
    alien[21] = 9;
    EXPECT_EQ("General synch error (6): the handheld's item list is damaged at record 2 (record type 9)",
              receive(alien, map));

    info(HhEntry, 5, 3.0);
    map.clear();
    EXPECT_EQ("", receive(list, map));
    EXPECT_EQ(3.0, (map[CDbItemInfoKey(CBaseObject::otEntry, 5)].DateModified));
}

TEST(LinkExchanges, CallSequencesAgainstTheHandheld)
{
    CHandheld handheld;
    handheld.AddKeywords(3);
    CKeyList keys;
    for (const CHandheldRecord& r : handheld.store.Records())
        keys.push_back(CDbItemInfoKey(CBaseObject::otKeyword, r.RefID()));

    CRecordList fetched;
    FetchObjectsFromDevice(keys, fetched);
    EXPECT_EQ("2s 3r ", handheld.Calls());
    ASSERT_EQ(3u, fetched.size());
    EXPECT_STREQ("Keyword 0", fetched.front()->GetName());

    FetchObjectsFromDevice(CKeyList(), fetched);
    EXPECT_TRUE(fetched.empty());
    EXPECT_EQ("2s 3r ", handheld.Calls()) << "no keys, no call";

    SendChangesToDevice(CKeyList(), CRecordList());
    EXPECT_EQ("2s 3r ", handheld.Calls());
    SendChangesToDevice(CKeyList(1, keys.front()), CRecordList());
    EXPECT_EQ("2s 3r 6r 7s 9r ", handheld.Calls());
    EXPECT_EQ(2u, handheld.store.Records().size());
    SendChangesToDevice(CKeyList(1, keys.back()), Keywords(2));
    EXPECT_EQ("2s 3r 6r 7s 9r 6r 7s 8s 9r ", handheld.Calls());
    EXPECT_EQ(3u, handheld.store.Records().size());

    CallRemoteEmpty();
    SendAllObjects(CRecordList());
    EXPECT_EQ("2s 3r 6r 7s 9r 6r 7s 8s 9r 0r ", handheld.Calls());
    EXPECT_TRUE(handheld.app.Breach().empty()) << handheld.app.Breach();

    // A record that cannot be written sends nothing, not even the update's beginning.
    const size_t before = handheld.app.Trace().size();
    EXPECT_EQ(6, GeneralError([&] { SendChangesToDevice(keys, Keywords(1, 65535)); }));
    EXPECT_EQ(before, handheld.app.Trace().size());
}

TEST(LinkExchanges, LargeTransfersInManyChunks)
{
    CHandheld handheld("chunk 1000");
    SendAllObjects(Keywords(300, 500));
    ASSERT_EQ(300u, handheld.store.Records().size());
    const size_t sends = handheld.app.Trace().size();
    EXPECT_GE(sends, 3u);
    CRecordList back;
    ReceiveAllObjects(back);
    ASSERT_EQ(300u, back.size());
    EXPECT_STREQ("Desktop keyword 299", back.back()->GetName());
    const std::vector<HhTraceEntry>& trace = handheld.app.Trace();
    EXPECT_GT(trace.size() - sends, 150u);
    DWORD received = 0;
    for (size_t i = sends; i < trace.size(); ++i) {
        EXPECT_EQ(received, trace[i].received);
        EXPECT_LE(trace[i].chunk, 1000u);
        received += trace[i].chunk;
    }
    EXPECT_TRUE(handheld.app.Breach().empty()) << handheld.app.Breach();
}

TEST(LinkExchanges, EveryFieldDesktopToHandheldToDesktop)
{
    CConduitDatabase desktop;
    ASSERT_TRUE(desktop.Ok());
    ASSERT_EQ(11, AddEveryKind(desktop.Db()));
    CScratchFolder folder(L"alkhandheld");
    const std::string storePath = ToAnsi(folder.File(L"handheld.txt"));

    {
        CHandheld handheld("chunk 700");
        handheld.app.SetStorePath(storePath);
        CRecordList all;
        struct Store : IObjectStore<CAutoPtr<CBaseObject>> {
            explicit Store(CRecordList& list) : list(list) {}
            void Add(const CAutoPtr<CBaseObject>& item) override { list.push_back(item); }
            CRecordList& list;
        } store(all);
        CBizObjectGatherer gatherer(store);
        ASSERT_TRUE(VisitAllObjects(desktop.Db(), gatherer));
        SendAllObjects(all);
        EXPECT_TRUE(handheld.app.Breach().empty()) << handheld.app.Breach();
    }

    // What the handheld keeps, through its file.
    CHandheldStore kept;
    std::string error;
    ASSERT_TRUE(kept.Load(storePath, error)) << error;
    ASSERT_EQ(11u, kept.Records().size());
    CHandheldRecord* car = kept.Find(HhVehicle, 0x80000001u);
    ASSERT_NE(nullptr, car);
    EXPECT_EQ("Bob's \xe9t\xe9 car", car->Text("Name"));
    EXPECT_EQ("1 Main St\r\nSpringfield", car->Text("DealerAddress"));
    EXPECT_EQ(41000.25, car->Real("DateCreated"));
    EXPECT_EQ(42000.75, car->Real("InsuranceExpirationDate"));
    EXPECT_EQ(1999u, car->Number("Year"));
    CHandheldRecord* second = kept.Find(HhVehicle, 0x80000002u);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(0xFFFFFFFBu, second->Number("CurrentOdometer"));
    CHandheldRecord* trip = kept.Find(HhEntry, 0x103);
    ASSERT_NE(nullptr, trip);
    EXPECT_EQ(0xFFFFFFFFu, trip->Number("Odometer"));
    EXPECT_EQ(37.5, trip->Real("Amount"));
    EXPECT_EQ(4000.0, trip->Real("Custom2"));
    EXPECT_EQ(3u, trip->Number("Type"));

    // Back to a second desktop: the same rows, column for column.
    CConduitDatabase other;
    ASSERT_TRUE(other.Ok());
    {
        CHandheld handheld("chunk 333");
        handheld.store = kept;
        CRecordList received;
        ReceiveAllObjects(received);
        ASSERT_EQ(11u, received.size());
        for (CAutoPtr<CBaseObject>& r : received) ASSERT_TRUE(SaveObject(r.Get(), other.Db()));
    }
    for (const char* table : {"Vehicle", "Entry", "Notification", "Keyword"}) {
        const std::vector<std::string> a = StoredRows(desktop.AnsiPath(), table),
                                       b = StoredRows(other.AnsiPath(), table);
        EXPECT_FALSE(a.empty()) << table;
        EXPECT_EQ(a, b) << table;
    }
}

TEST(LinkFaults, EachInjectedFaultFailsItsExchange)
{
    struct Case {
        const char* plan;
        const char* text;
    };
    const Case cases[] = {
        {"call 1 reply-size 11", "General synch error (6)"},
        {"call 1 reply-size 64001", "General synch error (6)"},
        {"chunk 50; call 2 change-total", "General synch error (6)"},
        {"call 1 header-length", "General synch error (6)"},
        {"chunk 50; call 3 past-total", "General synch error (6)"},
        {"chunk 50; call 2 zero-chunk", "General synch error (6)"},
        {"action 4 cut-list",
         "General synch error (6): the handheld's object list of 143 bytes is damaged at record 4 (byte 123)"},
        {"action 4 type9",
         "General synch error (6): the handheld's object list of 196 bytes is damaged at record 2 (byte 41)"},
        {"chunk 20; call 4 drop", "General synch error (9)"},
        {"call 1 drop 0x4015", "General synch error (11)"},
        {"call 1 result 0x4019 3", "Palm side error (3)"},
        {"call 1 result 0x4019", "General synch error (13)"},
        {"call 1 result 0x4013", "General synch error (12)"},
    };
    for (const Case& c : cases) {
        CHandheld handheld(c.plan);
        handheld.AddKeywords(4);
        CRecordList out;
        EXPECT_EQ(c.text, ThrownText([&] { ReceiveAllObjects(out); })) << c.plan;
        EXPECT_TRUE(handheld.app.Breach().empty()) << c.plan << ": " << handheld.app.Breach();
    }

    CHandheld dropped("call 2 drop");
    dropped.AddKeywords(1);
    CRecordList out;
    EXPECT_EQ(0, GeneralError([&] { ReceiveAllObjects(out); }));
    EXPECT_EQ(9, GeneralError([&] { ReceiveAllObjects(out); }));
    EXPECT_EQ(9, GeneralError([&] { CallRemoteEmpty(); })) << "a dropped link stays dropped";

    CHandheld leaveOut("action 3 leave-out");
    leaveOut.AddKeywords(3);
    CKeyList keys;
    for (const CHandheldRecord& r : leaveOut.store.Records())
        keys.push_back(CDbItemInfoKey(CBaseObject::otKeyword, r.RefID()));
    EXPECT_EQ(6, GeneralError([&] { FetchObjectsFromDevice(keys, out); }));
}

TEST(LinkFaults, TheHandheldAnswersBreachesWithItsOwnCode)
{
    CHandheld handheld;
    BYTE request[8] = {0, 0, 0, 0, 0, 0, 0xFA, 0};
    BYTE reply[64000];
    RemoteCallBlock call{};
    call.creator = kCreator;
    call.type = HsFourCC('d', 'a', 't', 'a');
    call.action = ActionMark;
    call.paramSize = 8;
    call.param = request;
    call.resultBufferSize = sizeof reply;
    call.resultBuffer = reply;
    EXPECT_EQ(HsRemoteFailed, SyncCallRemoteModule(&call));
    EXPECT_EQ(HhBreachIds, call.handheldResult);
    EXPECT_EQ("Palm side error (28929)", ThrownText([&] { CheckRemoteResult(HsRemoteFailed, call.handheldResult); }));

    call.type = kType;
    call.handheldResult = 0;
    request[6] = 0xFF;  // asks for at most 65280 bytes
    EXPECT_EQ(HsRemoteFailed, SyncCallRemoteModule(&call));
    EXPECT_EQ(HhBreachRequest, call.handheldResult);
    EXPECT_FALSE(handheld.app.Breach().empty());
}
