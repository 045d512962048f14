#include "sdk/hotsync/handheld/FaultPlan.h"

#include <cstdlib>
#include <sstream>

namespace {

bool ToNumber(const std::string& word, uint32_t& value)
{
    if (word.empty()) return false;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(word.c_str(), &end, 0);
    if (*end || v > 0xFFFFFFFFull || word[0] == '-') return false;
    value = static_cast<uint32_t>(v);
    return true;
}

struct FaultName {
    const char* name;
    HhFault fault;
    int minArgs, maxArgs;
};

// clang-format off
const FaultName kFaults[] = {
    {"reply-size",    HhFault::ReplySize,    1, 1},
    {"change-total",  HhFault::ChangeTotal,  0, 0},
    {"header-length", HhFault::HeaderLength, 0, 0},
    {"past-total",    HhFault::PastTotal,    0, 0},
    {"zero-chunk",    HhFault::ZeroChunk,    0, 0},
    {"cut-list",      HhFault::CutList,      0, 0},
    {"type9",         HhFault::Type9,        0, 0},
    {"leave-out",     HhFault::LeaveOut,     0, 0},
    {"garbage",       HhFault::Garbage,      2, 2},
    {"drop",          HhFault::Drop,         0, 1},
    {"result",        HhFault::Result,       1, 2},
};
// clang-format on

}  // namespace

const char* HhFaultName(HhFault fault)
{
    for (const FaultName& f : kFaults)
        if (f.fault == fault) return f.name;
    return "?";
}

bool CFaultPlan::Parse(const std::string& text, std::string& error)
{
    CFaultPlan plan;
    std::string entries = text;
    for (char& c : entries)
        if (c == '\n' || c == '\r') c = ';';
    std::istringstream all(entries);
    std::string entry;
    while (std::getline(all, entry, ';')) {
        std::istringstream in(entry);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        if (words.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "fault plan entry '" + entry + "': " + why;
            return false;
        };
        if (words[0] == "chunk") {
            if (words.size() != 2 || !ToNumber(words[1], plan.chunkSize) || plan.chunkSize < 1 ||
                plan.chunkSize > MaxChunk)
                return fail("chunk takes a size from 1 to 63988");
            continue;
        }
        if (words[0] == "empty-header") {
            if (words.size() != 1) return fail("empty-header takes nothing");
            plan.emptyHeader = true;
            continue;
        }
        HhFaultItem item;
        uint32_t at = 0;
        if (words.size() < 3 || !ToNumber(words[1], at)) return fail("expected 'call N FAULT' or 'action A FAULT'");
        if (words[0] == "call" && at >= 1)
            item.call = static_cast<int>(at);
        else if (words[0] == "action" && at <= 9)
            item.action = static_cast<int>(at);
        else
            return fail("a call counts from 1, an action is 0 to 9");
        const FaultName* found = nullptr;
        for (const FaultName& f : kFaults)
            if (words[2] == f.name) found = &f;
        if (!found) return fail("unknown fault " + words[2]);
        const int args = static_cast<int>(words.size()) - 3;
        if (args < found->minArgs || args > found->maxArgs) return fail("wrong number of values for " + words[2]);
        item.fault = found->fault;
        if (item.fault == HhFault::Drop) item.arg1 = 0x400A;
        if (args >= 1 && !ToNumber(words[3], item.arg1)) return fail("bad number " + words[3]);
        if (args >= 2 && !ToNumber(words[4], item.arg2)) return fail("bad number " + words[4]);
        plan.items.push_back(item);
    }
    *this = plan;
    return true;
}
