#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/reply_check.h"

namespace tarnwick {

// The live state of one host as the fleet status shows it, read from its
// answer to the working status query.
struct FleetStatus {
    std::string arming;               // the arming state in words
    std::vector<int> alarmZones;      // zones 1 to 16 in alarm and not bypassed
    std::vector<std::string> faults;  // the lamp captions of what is wrong
    int signal = 0;                   // GPRS/GSM signal quality
    bool operator==(const FleetStatus&) const = default;
};

inline constexpr const char* kDisarmedText = "撤防";
inline constexpr const char* kArmedAwayText = "离家布防";
inline constexpr const char* kArmedHomeText = "在家布防";

// What a datagram that came from the host in answer to the status query
// says: its status, or why it holds none (garbage, a frame that fails its
// check, another reply, a refused query, a cut-off reply).
struct StatusAnswer {
    std::optional<FleetStatus> status;
    std::string problem;
};
StatusAnswer ReadStatusAnswer(const std::string& datagram);
// The same for a datagram of the host asked, as the reply check judged it.
StatusAnswer ReadStatusAnswer(const CheckedReply& checked);

// The working status query as it is sent to every host, and the class and
// command of its reply ("1202").
const std::string& StatusQueryFrame();
std::string_view StatusReplyCode();

// "3, 5, 12": zone numbers, and fault names, as one line shows them.
std::string JoinZones(const std::vector<int>& zones);
std::string JoinNames(const std::vector<std::string>& names);

}  // namespace tarnwick
