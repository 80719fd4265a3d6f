#pragma once
#include <string>
#include <vector>

namespace tarnwick {

// One exchange of a cycle: the command pair label and the frame to send.
struct CommandEntry {
    std::string pair;
    std::string frame;
};
using CommandList = std::vector<CommandEntry>;

}  // namespace tarnwick
