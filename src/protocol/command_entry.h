#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// One exchange of a cycle: the command pair label and the frame to send.
struct CommandEntry {
    std::string pair;
    std::string frame;
};
using CommandList = std::vector<CommandEntry>;

// The entry of a command pair label "QQQQ:RRRR description": its frame is
// built from the request class and command QQQQ with `data`. Every label
// lives once, as a constant beside its decoder.
CommandEntry Request(std::string_view pairLabel, std::string_view data = {});

}  // namespace tarnwick
