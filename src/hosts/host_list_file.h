#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "protocol/local_networks.h"

namespace tarnwick {

// What a host list file says: one host address a line, blank lines and
// comments (from "#" to the end of the line) left out.
struct HostListFile {
    struct Skipped {
        int line;            // 1-based
        std::string text;    // the line without its comment and blanks
        std::string reason;  // what the installer is shown
        bool operator==(const Skipped&) const = default;
    };
    // In the order of the file, each once, written in the plain dotted form
    // ("010.0.0.2" becomes "10.0.0.2").
    std::vector<std::string> addresses;
    // Lines that name no host to talk to, or one already listed.
    std::vector<Skipped> skipped;
};

inline constexpr const char* kNotAnAddressText = "不是IPv4地址";
inline constexpr const char* kNotOneHostText = "不是单一主机的地址";
inline constexpr const char* kRepeatedLineText = "与第%d行重复";

// Reads the text of a host list file; never throws. An address that names
// no single host (IsHostAddress: the broadcast address of one of `local`'s
// networks among them) is skipped.
HostListFile ParseHostList(std::string_view text, const std::vector<LocalNetwork>& local);

}  // namespace tarnwick
