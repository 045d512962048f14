// What the handheld double does wrong on purpose: a plan of faults, each injected at the Nth call
// of the session or at an action's first call, and the size of its replies.
//
// A plan is text: entries separated by ';' or line ends, words by spaces, numbers in decimal or
// 0x hexadecimal.
//
//   chunk N               at most N bytes of data in one reply (1 to 63988; 63988 by default)
//   empty-header          an empty transfer is answered with a 12-byte header giving chunk 0,
//                         total 0 and header length 12, instead of an empty reply
//   call N FAULT          the fault at the Nth call of the session (counted from 1)
//   action A FAULT        the fault at the first call of action A
//
// Faults of a reply (a receive):
//   reply-size N          the reply claims N bytes (11, 64001, ...)
//   change-total          its total length is one more than the transfer's
//   header-length         its header-length field is one more than the header
//   past-total            its chunk runs one byte past the total
//   zero-chunk            it carries no data (chunk length 0) although the total is not 0
// Faults of a transfer, where one starts (an object list of action 3 or 4; cut-list and garbage
// also the item list of action 1):
//   cut-list              the list is cut in the middle of its last record
//   garbage N SEED        the transfer is N bytes of noise instead, the same for the same seed
//   type9                 a record of type 9 follows the first record
//   leave-out             the last requested record is left out
// Faults of the link:
//   drop [CODE]           this call and every later one answer CODE (0x400A by default)
//   result CODE [HH]      this call answers CODE with the handheld result code HH (0 by default)
//                         and does nothing else
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class HhFault {
    ReplySize,
    ChangeTotal,
    HeaderLength,
    PastTotal,
    ZeroChunk,
    CutList,
    Type9,
    LeaveOut,
    Garbage,
    Drop,
    Result
};

struct HhFaultItem {
    int call = 0;     // the call it strikes, or 0
    int action = -1;  // the action whose first call it strikes, or -1
    HhFault fault = HhFault::Drop;
    uint32_t arg1 = 0;
    uint32_t arg2 = 0;
};

// The fault's name in a plan ("reply-size", ...).
const char* HhFaultName(HhFault fault);

class CFaultPlan {
public:
    enum { MaxChunk = 64000 - 12 };

    // False with a reason; the plan is unchanged then.
    bool Parse(const std::string& text, std::string& error);

    uint32_t chunkSize = MaxChunk;
    bool emptyHeader = false;
    std::vector<HhFaultItem> items;
};
