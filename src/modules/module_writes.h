#pragma once
#include <string>

namespace tarnwick {

// The data of the settings both modules take in the same form.

inline constexpr size_t kDeviceIdDigits = 6;
inline constexpr size_t kModuleAddressBytes = 15;
inline constexpr size_t kModulePortBytes = 5;

// The device ID as a 20-byte text field.
std::string DeviceIdData(const std::string& sixDigits);
// A centre domain name: its length in bytes, then its bytes (at least two,
// so an empty name is 00 00 00).
std::string DomainNameData(const std::string& name);
// The two centre servers as a server list of two entries.
std::string CentreAddressData(const std::string& ip1, const std::string& port1,
                              const std::string& ip2, const std::string& port2);

}  // namespace tarnwick
