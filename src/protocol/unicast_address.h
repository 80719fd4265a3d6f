#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// The longest dotted IPv4 address, "255.255.255.255".
inline constexpr size_t kIPv4TextLength = 15;

// A dotted IPv4 address one host can be reached at alone: a valid address
// that is not 0.0.0.0, the broadcast address or a multicast group
// (224.0.0.0/4).
bool IsUnicastIPv4(std::string_view text);

// A valid IPv4 address with each piece written without leading zeros
// ("010.0.0.2" becomes "10.0.0.2"), so that one host is named one way.
std::string PlainDottedIPv4(std::string_view address);

// The address as one number, the first piece highest, for ordering
// addresses as numbers; 0 for a text that is not a valid address.
uint32_t IPv4Number(std::string_view address);

}  // namespace tarnwick
