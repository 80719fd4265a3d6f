#pragma once
#include <optional>
#include <string>
#include <utility>

namespace tarnwick {

// What a reply came to, under the text the operator is shown and the trace
// keeps.
enum class ReplyKind {
    NoReply,        // nothing came in time, a socket error, or a request the host does not answer
    Data,           // values, or nothing its decoder words: the text is the reply itself
    Outcome,        // the answer to a setting or an action: the result byte tells how it went
    BadFrame,       // the reply failed verification
    ForeignSender,  // the reply's sender mark is not a host's
};

// The host's result code in an outcome: 1 success, 2 failure, 3 refused;
// any other value is one the host should not send.
inline constexpr unsigned kHostSucceeded = 0x01;

// A reply decoder's report, and the exchange's. A decoder that stores values
// or words nothing gives ReplyResult{}; the exchange then shows the reply.
struct ReplyResult {
    ReplyKind kind = ReplyKind::Data;
    // An outcome's result code; for a reply of a class without a decoder,
    // its first data byte (byte 7) when it holds one.
    std::optional<unsigned> resultByte;
    std::string text;

    // The host took the setting or did the action.
    bool Succeeded() const { return kind == ReplyKind::Outcome && resultByte == kHostSucceeded; }
};

// An outcome worded `text`.
inline ReplyResult Outcome(unsigned resultByte, std::string text) {
    return {ReplyKind::Outcome, resultByte, std::move(text)};
}

}  // namespace tarnwick
