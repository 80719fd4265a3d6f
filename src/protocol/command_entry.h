#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// The arming acknowledgement: the one request sent without waiting for a
// reply (the host answers nothing to it).
inline constexpr std::string_view kArmingAckPair = "1285:1285 布撤防操作应答确认";

// The codes of a command pair: the module class and command of the request
// (QQQQ), and of the reply that answers it (RRRR).
struct CommandPair {
    std::string request;
    std::string expected;
    // True for a request the host does not answer (the arming acknowledgement).
    bool SentWithoutReply() const;
};

// One exchange of a cycle: the command pair label "QQQQ:RRRR description"
// (what the operator is shown and the trace keeps), the frame to send, and
// the pair's codes, taken from the label once, when the entry is built.
struct CommandEntry {
    std::string pair;
    std::string frame;
    CommandPair codes;
    // The frame as the operation log keeps it when the data carries a code
    // or a password: those digits and the two check bytes (which would give
    // a short code away) shown as "*". Empty when the data carries none.
    std::string masked{};

    const std::string& Logged() const { return masked.empty() ? frame : masked; }
};
using CommandList = std::vector<CommandEntry>;

// The entry of a command pair label "QQQQ:RRRR description": its frame is
// built from the request class and command QQQQ with `data`. Every label
// lives once, as a constant beside its decoder.
CommandEntry Request(std::string_view pairLabel, std::string_view data = {});

// Where a code or password stands in a request's data: its first hex digit
// (from 0) and its number of digits.
struct DataSpan {
    size_t from;
    size_t digits;
};
// The same, the spans of `data` that hold codes masked in the logged frame.
CommandEntry Request(std::string_view pairLabel, std::string_view data,
                     const std::vector<DataSpan>& secret);

}  // namespace tarnwick
