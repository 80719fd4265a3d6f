#include "protocol/local_networks.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <charconv>

#include "protocol/unicast_address.h"

namespace tarnwick {
namespace {

uint32_t HostOrder(const sockaddr* address) {
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

// The four pieces of a valid dotted address (leading zeros allowed, as
// IsValidIPv4 allows them) as one number.
uint32_t DottedValue(std::string_view text) {
    uint32_t value = 0;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('.', start);
        if (end == std::string_view::npos) end = text.size();
        unsigned piece = 0;
        std::from_chars(text.data() + start, text.data() + end, piece);
        value = (value << 8) | (piece & 0xFF);
        start = end + 1;
    }
    return value;
}

}  // namespace

std::vector<LocalNetwork> LocalIPv4Networks() {
    std::vector<LocalNetwork> networks;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return networks;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET || !i->ifa_netmask) continue;
        if ((i->ifa_flags & IFF_UP) == 0) continue;
        LocalNetwork n;
        n.address = HostOrder(i->ifa_addr);
        n.mask = HostOrder(i->ifa_netmask);
        if ((i->ifa_flags & IFF_BROADCAST) && i->ifa_broadaddr &&
            i->ifa_broadaddr->sa_family == AF_INET)
            n.broadcast = HostOrder(i->ifa_broadaddr);
        networks.push_back(n);
    }
    ::freeifaddrs(list);
    return networks;
}

bool IsHostAddress(std::string_view text, const std::vector<LocalNetwork>& local) {
    if (!IsUnicastIPv4(text)) return false;
    const uint32_t address = DottedValue(text);
    return std::none_of(local.begin(), local.end(), [&](const LocalNetwork& n) {
        // The system broadcasts to the network's last address whatever the
        // interface was given; a /31 or /32 has no such address.
        const bool last = n.mask < 0xFFFFFFFEu && address == (n.address | ~n.mask);
        return last || (n.broadcast != 0 && address == n.broadcast);
    });
}

}  // namespace tarnwick
