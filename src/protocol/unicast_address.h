#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/local_networks.h"

namespace tarnwick {

// The longest dotted IPv4 address, "255.255.255.255".
inline constexpr size_t kIPv4TextLength = 15;

// A dotted IPv4 address one host can be reached at alone: a valid address
// outside "this network" (0.0.0.0/8), the multicast groups (224.0.0.0/4) and
// the reserved range (240.0.0.0/4, which holds the limited broadcast).
bool IsUnicastIPv4(std::string_view text);

// A valid IPv4 address with each piece written without leading zeros
// ("010.0.0.2" becomes "10.0.0.2"), so that one host is named one way.
std::string PlainDottedIPv4(std::string_view address);

// The address as one number, the first piece highest, for ordering
// addresses as numbers; 0 for a text that is not a valid address.
uint32_t IPv4Number(std::string_view address);

// Why an address is not one the tool talks to; every place that takes an
// address (the site book, the command line, a host list, the dialogs) says
// it with these words.
inline constexpr const char* kNotAnAddressText = "不是IPv4地址";
inline constexpr const char* kNotOneHostText = "不是单一主机的地址（广播、组播或保留地址）";

// The one check of an address the tool is to talk to: dotted IPv4, pieces
// read as decimal also with leading zeros ("010.231.001.001" is
// 10.231.1.1), a unicast address (IsUnicastIPv4) that is not the broadcast
// address of one of `local`'s networks (IsHostAddress). `address` is the
// plain dotted form when `problem` is empty.
struct CheckedAddress {
    std::string address;
    std::string problem;
};
CheckedAddress CheckHostAddress(std::string_view text, const std::vector<LocalNetwork>& local);

}  // namespace tarnwick
