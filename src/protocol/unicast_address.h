#pragma once
#include <string_view>

namespace tarnwick {

// A dotted IPv4 address one host can be reached at alone: a valid address
// that is not 0.0.0.0, the broadcast address or a multicast group
// (224.0.0.0/4).
bool IsUnicastIPv4(std::string_view text);

}  // namespace tarnwick
