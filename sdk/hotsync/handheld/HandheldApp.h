// The handheld double: the aLRK application over a CHandheldStore, answering the remote-module
// calls that HotSyncLink.dll hands it (Install), as strictly as the link's rules allow.
//
// Actions (receive: the conduit gets a reply; send: it sends data in the parameter):
//   0 mark, 6 begin update, 9 end update   receive, empty transfer
//   1 item information                     receive, the 21-byte record of every stored record
//   2 request objects                      send, keys; kept for action 3 (until the next request)
//   3 requested objects                    receive, the records of the requested keys that exist,
//                                          in the order requested
//   4 all objects                          receive, every stored record in store order
//   5 put all objects                      send, records; they replace the whole store
//   7 delete objects                       send, keys; between 6 and 9 only
//   8 put objects                          send, records; stored by key; between 6 and 9 only
// A transfer spans as many calls as its size and the plan's chunk size need. When a send
// transfer is complete the application applies it and saves the store to its file (when it has
// one).
//
// Every call is checked: the creator and type ids, a known action, the outputs and the reserved
// word zeroed, the direction's buffers (a receive: an 8-byte request and a 64000-byte reply
// buffer; a send: no reply buffer), each request or header field against the transfer so far,
// and the data of a complete send. A breach is answered with 0x4019 and one of the application's
// own codes (HhBreach) and nothing else happens. Each call is traced (HhTraceEntry), in memory
// and, when a trace file is set, as a line appended to it at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/hotsync/handheld/FaultPlan.h"
#include "sdk/hotsync/handheld/HandheldStore.h"
#include "sdk/hotsync/handheld/HandheldWire.h"
#include "sdk/hotsync/HotSync.h"

// The application's own result codes for a breach of the link's rules.
enum HhBreach : uint32_t {
    HhBreachIds = 0x7101,        // creator or type id not aLRK, appl
    HhBreachAction = 0x7102,     // no such action
    HhBreachOutputs = 0x7103,    // result code, result size or reserved word not zero
    HhBreachDirection = 0x7104,  // a receive without its buffers, or a send with a reply buffer
    HhBreachRequest = 0x7105,    // a receive request that does not continue the transfer
    HhBreachHeader = 0x7106,     // a send header that does not continue the transfer
    HhBreachData = 0x7107,       // a malformed key or record list
    HhBreachUpdate = 0x7108,     // deletions or stores outside an update, or an unpaired end
    HhBreachInternal = 0x71FF    // the double itself failed
};

// One call as the application saw it. A receive fills received and max (its request) and the
// reply fields; a send fills offset, total, chunk and header (its header).
struct HhTraceEntry {
    int call = 0;
    int action = -1;
    bool send = false;
    uint32_t param = 0;   // parameter bytes
    uint32_t buffer = 0;  // reply buffer bytes
    uint32_t received = 0, max = 0;
    uint32_t offset = 0, total = 0, chunk = 0, header = 0;
    uint32_t reply = 0;  // reply bytes (a receive)
    long result = 0;
    uint32_t handheld = 0;  // the application's result code
    std::string note;       // a breach, an injected fault, a failed save

    // "call=3 action=1 dir=recv param=8 buffer=64000 received=0 max=64000 reply=54 chunk=42
    //  total=42 header=12 result=0x0 handheld=0x0 note=..." (one line; the note comes last)
    std::string ToLine() const;
    static bool FromLine(const std::string& line, HhTraceEntry& entry);
};

// The trace file's lines (an unreadable file gives none).
std::vector<HhTraceEntry> HhReadTrace(const std::string& path);

class CHandheldApp {
public:
    enum : uint32_t { ReplyLimit = 64000, SendChunkLimit = 63984 };

    explicit CHandheldApp(CHandheldStore& store) : m_store(store) {}

    void SetStorePath(const std::string& path) { m_storePath = path; }
    void SetFaultPlan(const CFaultPlan& plan) { m_plan = plan; }
    void SetTraceFile(const std::string& path) { m_traceFile = path; }
    // Makes this application the link's handler (HsSimSetRemoteHandler), or removes it.
    void Install();
    static void Uninstall();

    // One remote call; the result is the call's result.
    long Call(RemoteCallBlock* call);
    static long Handler(RemoteCallBlock* call, void* context);

    const std::vector<HhTraceEntry>& Trace() const { return m_trace; }
    // The first breach, empty when none.
    const std::string& Breach() const { return m_breach; }
    bool SaveFailed() const { return m_saveFailed; }
    const std::vector<HhKey>& RequestedKeys() const { return m_requested; }

private:
    struct Pending {
        bool active = false;
        int action = -1;
        std::string data;   // the transfer (a receive) or what has come so far (a send)
        uint32_t done = 0;  // bytes given (a receive) or taken (a send)
        uint32_t total = 0;
    };

    long Answer(RemoteCallBlock* call, HhTraceEntry& entry);
    long Receive(RemoteCallBlock* call, HhTraceEntry& entry);
    long Send(RemoteCallBlock* call, HhTraceEntry& entry);
    std::string BuildTransfer(int action, std::string& note, uint32_t& breach);
    uint32_t Apply(int action, const std::string& data, std::string& note);
    long Fail(RemoteCallBlock* call, HhTraceEntry& entry, uint32_t code, const std::string& why);
    bool Strikes(HhFault fault, HhFaultItem* found = nullptr) const;
    void Record(const HhTraceEntry& entry);

    CHandheldStore& m_store;
    std::string m_storePath;
    CFaultPlan m_plan;
    std::string m_traceFile;
    std::vector<HhTraceEntry> m_trace;
    std::string m_breach;
    bool m_saveFailed = false;

    int m_calls = 0;
    int m_actionCalls[10] = {};
    std::vector<const HhFaultItem*> m_striking;  // the plan's faults that strike the current call
    bool m_dropped = false;
    uint32_t m_dropCode = 0;
    Pending m_receive;
    Pending m_send;
    std::vector<HhKey> m_requested;
    bool m_inUpdate = false;
};
