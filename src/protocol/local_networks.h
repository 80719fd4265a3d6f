#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarnwick {

// One IPv4 network of this computer's interfaces, in host byte order: its
// address, its mask and the broadcast address the interface was given (0
// when none was).
struct LocalNetwork {
    uint32_t address = 0;
    uint32_t mask = 0;
    uint32_t broadcast = 0;
};

// The IPv4 networks of the interfaces that are up; empty when they cannot
// be read.
std::vector<LocalNetwork> LocalIPv4Networks();

// A dotted address one host can be reached at alone: a unicast address
// (IsUnicastIPv4) that is not a broadcast address of one of `local`'s
// networks (its last address, or the one its interface was given), which
// every host of that network would receive.
bool IsHostAddress(std::string_view text, const std::vector<LocalNetwork>& local);

}  // namespace tarnwick
