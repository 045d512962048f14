#include "sdk/hotsync/handheld/HandheldApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace {

const DWORD kCreator = HsFourCC('a', 'L', 'R', 'K');
const DWORD kType = HsFourCC('a', 'p', 'p', 'l');

bool IsSendAction(int action)
{
    return action == 2 || action == 5 || action == 7 || action == 8;
}

std::string Hex(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

uint32_t GetU32(const void* data, size_t offset)
{
    uint32_t value = 0;
    CHhReader(static_cast<const uint8_t*>(data) + offset, 4).U32(value);
    return value;
}

}  // namespace

// --- the trace -------------------------------------------------------------------------------

std::string HhTraceEntry::ToLine() const
{
    std::string line = "call=" + std::to_string(call) + " action=" + std::to_string(action) +
                       " dir=" + (send ? "send" : "recv") + " param=" + std::to_string(param) +
                       " buffer=" + std::to_string(buffer);
    if (send)
        line += " offset=" + std::to_string(offset);
    else
        line +=
            " received=" + std::to_string(received) + " max=" + std::to_string(max) + " reply=" + std::to_string(reply);
    line += " chunk=" + std::to_string(chunk) + " total=" + std::to_string(total) +
            " header=" + std::to_string(header) + " result=" + Hex(static_cast<unsigned long>(result)) +
            " handheld=" + Hex(handheld);
    if (!note.empty()) line += " note=" + note;
    return line;
}

bool HhTraceEntry::FromLine(const std::string& line, HhTraceEntry& entry)
{
    entry = HhTraceEntry();
    std::string rest = line;
    const size_t notePos = rest.find(" note=");
    if (notePos != std::string::npos) {
        entry.note = rest.substr(notePos + 6);
        rest.erase(notePos);
    }
    std::map<std::string, std::string> fields;
    std::istringstream in(rest);
    for (std::string word; in >> word;) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos) return false;
        fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    if (!fields.count("call") || !fields.count("dir")) return false;
    auto number = [&](const char* key) -> uint32_t {
        auto it = fields.find(key);
        return it == fields.end() ? 0 : static_cast<uint32_t>(std::strtoul(it->second.c_str(), nullptr, 0));
    };
    entry.call = static_cast<int>(number("call"));
    entry.action = static_cast<int>(std::strtol(fields["action"].c_str(), nullptr, 10));
    entry.send = fields["dir"] == "send";
    entry.param = number("param");
    entry.buffer = number("buffer");
    entry.received = number("received");
    entry.max = number("max");
    entry.reply = number("reply");
    entry.offset = number("offset");
    entry.chunk = number("chunk");
    entry.total = number("total");
    entry.header = number("header");
    entry.result = static_cast<long>(number("result"));
    entry.handheld = number("handheld");
    return true;
}

std::vector<HhTraceEntry> HhReadTrace(const std::string& path)
{
    std::vector<HhTraceEntry> entries;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        HhTraceEntry entry;
        if (HhTraceEntry::FromLine(line, entry)) entries.push_back(entry);
    }
    return entries;
}

void CHandheldApp::Record(const HhTraceEntry& entry)
{
    m_trace.push_back(entry);
    if (m_traceFile.empty()) return;
    std::ofstream file(m_traceFile, std::ios::app | std::ios::binary);
    file << entry.ToLine() << '\n';
}

// --- calls -----------------------------------------------------------------------------------

void CHandheldApp::Install()
{
    HsSimSetRemoteHandler(&CHandheldApp::Handler, this);
}

void CHandheldApp::Uninstall()
{
    HsSimSetRemoteHandler(nullptr, nullptr);
}

long CHandheldApp::Handler(RemoteCallBlock* call, void* context)
{
    return static_cast<CHandheldApp*>(context)->Call(call);
}

bool CHandheldApp::Strikes(HhFault fault, HhFaultItem* found) const
{
    for (const HhFaultItem* item : m_striking) {
        if (item->fault != fault) continue;
        if (found) *found = *item;
        return true;
    }
    return false;
}

long CHandheldApp::Fail(RemoteCallBlock* call, HhTraceEntry& entry, uint32_t code, const std::string& why)
{
    if (m_breach.empty()) m_breach = "call " + std::to_string(entry.call) + ": " + why;
    entry.note = "breach: " + why;
    call->handheldResult = code;
    call->resultSize = 0;
    return HsRemoteFailed;
}

long CHandheldApp::Call(RemoteCallBlock* call)
{
    HhTraceEntry entry;
    entry.call = ++m_calls;
    if (!call) return HsNoLink;
    entry.action = call->action;
    entry.send = IsSendAction(call->action);
    entry.param = call->paramSize;
    entry.buffer = call->resultBufferSize;

    m_striking.clear();
    const bool firstOfAction = call->action <= 9 && ++m_actionCalls[call->action] == 1;
    for (const HhFaultItem& item : m_plan.items)
        if (item.call == m_calls || (firstOfAction && item.action == call->action)) m_striking.push_back(&item);

    long result = 0;
    try {
        result = Answer(call, entry);
    } catch (const std::exception& e) {
        result = Fail(call, entry, HhBreachInternal, std::string("the double failed: ") + e.what());
    }
    entry.result = result;
    entry.handheld = call->handheldResult;
    if (!entry.send) entry.reply = call->resultSize;
    Record(entry);
    return result;
}

long CHandheldApp::Answer(RemoteCallBlock* call, HhTraceEntry& entry)
{
    HhFaultItem fault;
    if (!m_dropped && Strikes(HhFault::Drop, &fault)) {
        m_dropped = true;
        m_dropCode = fault.arg1;
    }
    if (m_dropped) {
        entry.note = "fault: link dropped";
        return static_cast<long>(m_dropCode);
    }
    if (Strikes(HhFault::Result, &fault)) {
        entry.note = "fault: result";
        call->handheldResult = fault.arg2;
        return static_cast<long>(fault.arg1);
    }

    if (call->creator != kCreator || call->type != kType) return Fail(call, entry, HhBreachIds, "creator or type id");
    if (call->action > 9) return Fail(call, entry, HhBreachAction, "action " + std::to_string(call->action));
    if (call->handheldResult != 0 || call->resultSize != 0 || call->reserved != 0)
        return Fail(call, entry, HhBreachOutputs, "outputs or reserved word not zeroed");
    return entry.send ? Send(call, entry) : Receive(call, entry);
}

long CHandheldApp::Receive(RemoteCallBlock* call, HhTraceEntry& entry)
{
    if (call->paramSize != 8 || !call->param || call->resultBufferSize != ReplyLimit || !call->resultBuffer)
        return Fail(call, entry, HhBreachDirection, "a receive takes an 8-byte request and a 64000-byte reply buffer");
    entry.received = GetU32(call->param, 0);
    entry.max = GetU32(call->param, 4);
    if (entry.max != ReplyLimit)
        return Fail(call, entry, HhBreachRequest, "largest reply " + std::to_string(entry.max) + ", not 64000");

    if (entry.received == 0) {
        if (m_receive.active) entry.note = "an unfinished receive was abandoned";
        std::string note;
        uint32_t breach = 0;
        std::string data = BuildTransfer(call->action, note, breach);
        if (breach) return Fail(call, entry, breach, note);
        if (!note.empty()) entry.note = note;
        m_receive.active = true;
        m_receive.action = call->action;
        m_receive.data = data;
        m_receive.done = 0;
        m_receive.total = static_cast<uint32_t>(data.size());
    } else if (!m_receive.active || m_receive.action != call->action || entry.received != m_receive.done) {
        return Fail(call, entry, HhBreachRequest,
                    "received " + std::to_string(entry.received) + " does not continue the transfer");
    }

    Pending& t = m_receive;
    const uint32_t left = t.total - t.done;
    uint32_t chunk = left < m_plan.chunkSize ? left : m_plan.chunkSize;
    std::string reply;
    if (t.total != 0 || m_plan.emptyHeader) {
        uint32_t chunkField = chunk, totalField = t.total, headerField = 12;
        std::string data = t.data.substr(t.done, chunk);
        if (Strikes(HhFault::ChangeTotal)) totalField += 1;
        if (Strikes(HhFault::HeaderLength)) headerField += 1;
        if (Strikes(HhFault::PastTotal)) {
            chunkField = left + 1;
            data.resize(chunkField, '\0');
        }
        if (Strikes(HhFault::ZeroChunk)) {
            chunkField = 0;
            data.clear();
        }
        HhPutU32(reply, chunkField);
        HhPutU32(reply, totalField);
        HhPutU32(reply, headerField);
        reply += data;
    }
    t.done += chunk;
    if (t.done == t.total) t.active = false;

    entry.chunk = chunk;
    entry.total = t.total;
    entry.header = reply.empty() ? 0 : 12;
    const size_t written = reply.size() < size_t{ReplyLimit} ? reply.size() : size_t{ReplyLimit};
    std::memcpy(call->resultBuffer, reply.data(), written);
    call->resultSize = static_cast<DWORD>(reply.size());
    HhFaultItem fault;
    if (Strikes(HhFault::ReplySize, &fault)) call->resultSize = fault.arg1;
    for (const HhFaultItem* item : m_striking) {
        if (item->fault == HhFault::CutList || item->fault == HhFault::Type9 || item->fault == HhFault::LeaveOut ||
            item->fault == HhFault::Garbage)
            continue;
        entry.note += std::string(entry.note.empty() ? "" : ", ") + "fault: " + HhFaultName(item->fault);
    }
    return HsOk;
}

std::string CHandheldApp::BuildTransfer(int action, std::string& note, uint32_t& breach)
{
    std::string data;
    std::vector<const CHandheldRecord*> records;
    size_t lastStart = 0;  // where the list's last record begins
    switch (action) {
    case 0: break;
    case 6:
        if (m_inUpdate) {
            breach = HhBreachUpdate;
            note = "an update begun twice";
        }
        m_inUpdate = true;
        break;
    case 9:
        if (!m_inUpdate) {
            breach = HhBreachUpdate;
            note = "an update ended without a beginning";
        }
        m_inUpdate = false;
        break;
    case 1:
        for (const CHandheldRecord& r : m_store.Records()) {
            lastStart = data.size();
            HhEncodeItemInfo(data, r);
        }
        break;
    case 3:
        for (const HhKey& key : m_requested)
            if (const CHandheldRecord* r = m_store.Find(key.first, key.second)) records.push_back(r);
        if (Strikes(HhFault::LeaveOut) && !records.empty()) {
            records.pop_back();
            note = "fault: a requested record left out";
        }
        break;
    case 4:
        for (const CHandheldRecord& r : m_store.Records()) records.push_back(&r);
        break;
    }
    if (action == 1 && Strikes(HhFault::CutList) && !data.empty()) {
        data.resize(lastStart + (data.size() - lastStart) / 2);
        note = "fault: the item list cut mid-record";
    }
    HhFaultItem garbage;
    if ((action == 1 || action == 3 || action == 4) && Strikes(HhFault::Garbage, &garbage)) {
        // A small linear congruential generator: the same seed gives the same bytes everywhere.
        uint32_t state = garbage.arg2;
        data.resize(garbage.arg1);
        for (char& c : data) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        note = "fault: " + std::to_string(garbage.arg1) + " bytes of noise";
        return data;
    }
    if (action != 3 && action != 4) return data;

    size_t firstEnd = 0;
    for (const CHandheldRecord* r : records) {
        lastStart = data.size();
        HhEncodeRecord(data, *r);
        if (!firstEnd) firstEnd = data.size();
    }
    if (Strikes(HhFault::Type9)) {
        // A record of a kind this desktop does not know, after the first one: its type byte and
        // a body shaped like a keyword's.
        CHandheldRecord alien(HhKeyword);
        std::string bytes;
        HhEncodeRecord(bytes, alien);
        bytes[0] = 9;
        data.insert(firstEnd, bytes);
        note = "fault: a record of type 9";
    }
    if (Strikes(HhFault::CutList) && !records.empty()) {
        data.resize(lastStart + (data.size() - lastStart) / 2);
        note = "fault: the object list cut mid-record";
    }
    return data;
}

long CHandheldApp::Send(RemoteCallBlock* call, HhTraceEntry& entry)
{
    if (call->resultBufferSize != 0 || call->resultBuffer)
        return Fail(call, entry, HhBreachDirection, "a send takes no reply buffer");
    if (call->paramSize < 16 || !call->param)
        return Fail(call, entry, HhBreachHeader, "parameter shorter than its header");
    entry.offset = GetU32(call->param, 0);
    entry.total = GetU32(call->param, 4);
    entry.chunk = GetU32(call->param, 8);
    entry.header = GetU32(call->param, 12);
    if (entry.header != 16) return Fail(call, entry, HhBreachHeader, "header length " + std::to_string(entry.header));
    if (entry.chunk != call->paramSize - 16)
        return Fail(call, entry, HhBreachHeader, "chunk length differs from the parameter's size");
    if (entry.chunk == 0 || entry.chunk > SendChunkLimit)
        return Fail(call, entry, HhBreachHeader, "chunk length " + std::to_string(entry.chunk));

    if (entry.offset == 0) {
        if (m_send.active) entry.note = "an unfinished send was abandoned";
        if ((call->action == 7 || call->action == 8) && !m_inUpdate)
            return Fail(call, entry, HhBreachUpdate, "deletions or stores outside an update");
        m_send = Pending();
        m_send.active = true;
        m_send.action = call->action;
        m_send.total = entry.total;
    } else if (!m_send.active || m_send.action != call->action || entry.offset != m_send.done ||
               entry.total != m_send.total) {
        return Fail(call, entry, HhBreachHeader, "offset or total does not continue the transfer");
    }
    if (entry.chunk > m_send.total - m_send.done) return Fail(call, entry, HhBreachHeader, "chunk runs past the total");

    m_send.data.append(static_cast<const char*>(call->param) + 16, entry.chunk);
    m_send.done += entry.chunk;
    if (m_send.done < m_send.total) return HsOk;

    m_send.active = false;
    std::string note;
    const uint32_t breach = Apply(call->action, m_send.data, note);
    if (breach) return Fail(call, entry, breach, note);
    if (!note.empty()) entry.note = note;
    return HsOk;
}

uint32_t CHandheldApp::Apply(int action, const std::string& data, std::string& note)
{
    std::vector<HhKey> keys;
    std::vector<CHandheldRecord> records;
    std::string why;
    if (action == 2 || action == 7) {
        if (!HhDecodeKeys(data, keys, why)) {
            note = why;
            return HhBreachData;
        }
    } else if (!HhDecodeRecords(data, records, why)) {
        note = why;
        return HhBreachData;
    }
    switch (action) {
    case 2: m_requested = keys; break;
    case 5:
        m_store.Clear();
        for (const CHandheldRecord& r : records) m_store.Put(r);
        break;
    case 7:
        for (const HhKey& key : keys) m_store.Remove(key.first, key.second);
        break;
    case 8:
        for (const CHandheldRecord& r : records) m_store.Put(r);
        break;
    }
    if (!m_storePath.empty()) {
        std::string error;
        if (!m_store.Save(m_storePath, error)) {
            m_saveFailed = true;
            note = "save failed: " + error;
        }
    }
    return 0;
}
