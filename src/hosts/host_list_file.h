#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "hosts/host_target.h"
#include "protocol/unicast_address.h"
#include "storage/site_book.h"

namespace tarnwick {

// What a host list file says: one host a line, its address or the name of a
// booked site; blank lines and comments (from "#" to the end of the line)
// left out.
struct HostListFile {
    struct Skipped {
        int line;            // 1-based
        std::string text;    // the line without its comment and blanks
        std::string reason;  // what the installer is shown
        bool operator==(const Skipped&) const = default;
    };
    // In the order of the file, each address once, written in the plain
    // dotted form ("010.0.0.2" becomes "10.0.0.2"); a site at its booked port.
    std::vector<HostTarget> hosts;
    // Lines that name no host to talk to, or one already listed.
    std::vector<Skipped> skipped;
};

inline constexpr const char* kNotAddressOrSiteText = "不是IPv4地址，也不是站点簿中的站点";
inline constexpr const char* kRepeatedLineText = "与第%d行重复";

// Reads the text of a host list file, site names looked up in `book`
// without regard to letter case; never throws. An address (typed or booked)
// that CheckHostAddress refuses is skipped with its words.
HostListFile ParseHostList(std::string_view text, const std::vector<LocalNetwork>& local,
                           const std::vector<Site>& book = {});

}  // namespace tarnwick
