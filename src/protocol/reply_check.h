#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/datagram_endpoint.h"

namespace tarnwick {

// What a datagram is to a request waiting for its reply: the one judgement
// every wait for a reply makes (the exchange, the status poll, the fleet
// status, the listener), so that each way a datagram can fail to be the
// reply has one name everywhere.
enum class ReplyOutcome {
    Reply,         // the reply asked for
    OtherHost,     // sent from another address than the one asked
    OtherPort,     // sent from the address asked, but from another port
    TooShort,      // too short to be a frame
    OtherClass,    // a frame of another module class
    OtherCommand,  // the class asked for, another command
    BadChecksum,   // the reply's class and command; its delimiters or checksum do not fit
    BadCheckCode,  // the reply's class and command; its check code does not fit
};

// Where a request went and which reply answers it. Views: the texts must
// outlive the check.
struct AwaitedReply {
    std::string_view host;        // the address asked; empty when anyone may answer
    uint16_t port = 0;            // the port asked; 0 when any port may answer
    std::string_view replyClass;  // two hex digits; empty when any class answers
    std::string_view command;     // two hex digits
};

// The reply of `code` (class and command, "1202") to a request sent to
// `host`:`port`. A request to no single host (a broadcast) is answered from
// any address and port.
AwaitedReply ReplyFrom(std::string_view host, uint16_t port, std::string_view code);

struct CheckedReply {
    ReplyOutcome outcome;
    std::string frame;  // the datagram upper-cased and unescaped
};

// Judges `datagram` (with its sender) against the awaited reply: first who
// sent it, then whether it can be a frame at all, then its class and
// command, and last, for a datagram naming the reply, the frame's own
// checks. A sender port of 0 (not known) is not judged.
CheckedReply CheckReply(const AwaitedReply& awaited, const Datagram& datagram);

// The reply asked for, whole or broken: it ends the wait, and a broken one
// is reported as such by its decoder.
bool NamesTheReply(ReplyOutcome outcome);
// Sent from the address and port asked.
bool FromTheHostAsked(ReplyOutcome outcome);
// The outcome's name, as the traces show it ("其他命令").
std::string_view OutcomeName(ReplyOutcome outcome);

}  // namespace tarnwick
