#pragma once
#include <cstdint>
#include <string>

#include "protocol/timing.h"

namespace tarnwick {

// Where a host is reached: its address and port, and the name of its site
// when it is booked.
struct HostTarget {
    std::string address;
    uint16_t port = kHostPort;
    std::string site;
    bool operator==(const HostTarget&) const = default;
};

}  // namespace tarnwick
