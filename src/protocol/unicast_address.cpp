#include "protocol/unicast_address.h"

#include <charconv>
#include <vector>

#include "protocol/hex_text.h"

namespace tarnwick {

bool IsUnicastIPv4(std::string_view text) {
    if (!IsValidIPv4(text)) return false;
    std::vector<int> pieces;
    for (size_t start = 0; start < text.size();) {
        int value = 0;
        auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
        if (error == std::errc()) pieces.push_back(value);
        start = static_cast<size_t>(end - text.data()) + 1;
    }
    if (pieces.size() != 4) return false;
    // 0.0.0.0/8 names this network, 224.0.0.0/4 groups of hosts, and
    // 240.0.0.0/4 is reserved (255.255.255.255 among it).
    return pieces[0] != 0 && pieces[0] < 224;
}

std::string PlainDottedIPv4(std::string_view address) {
    std::string plain;
    size_t start = 0;
    while (start <= address.size()) {
        size_t end = address.find('.', start);
        if (end == std::string_view::npos) end = address.size();
        int value = 0;
        for (char c : address.substr(start, end - start)) value = value * 10 + (c - '0');
        plain += (plain.empty() ? "" : ".") + std::to_string(value);
        start = end + 1;
    }
    return plain;
}

uint32_t IPv4Number(std::string_view address) {
    if (!IsValidIPv4(address)) return 0;
    uint32_t number = 0;
    for (size_t start = 0; start < address.size();) {
        unsigned piece = 0;
        auto [end, error] =
            std::from_chars(address.data() + start, address.data() + address.size(), piece);
        number = number << 8 | piece;
        start = static_cast<size_t>(end - address.data()) + 1;
    }
    return number;
}

CheckedAddress CheckHostAddress(std::string_view text, const std::vector<LocalNetwork>& local) {
    if (!IsValidIPv4(text)) return {{}, kNotAnAddressText};
    std::string plain = PlainDottedIPv4(text);
    if (!IsHostAddress(plain, local)) return {{}, kNotOneHostText};
    return {std::move(plain), {}};
}

}  // namespace tarnwick
