#include "hosts/host_list_file.h"

#include <cstdio>
#include <unordered_map>

#include "protocol/hex_text.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

// The address with each piece written without leading zeros, so that one
// host is listed once however its line spells it.
std::string PlainDotted(std::string_view address) {
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

std::string RepeatedText(int firstLine) {
    char text[64];
    std::snprintf(text, sizeof text, kRepeatedLineText, firstLine);
    return text;
}

}  // namespace

HostListFile ParseHostList(std::string_view text, const std::vector<LocalNetwork>& local) {
    HostListFile list;
    std::unordered_map<std::string, int> firstLine;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const size_t comment = line.find('#');
        const std::string entry = Trim(line.substr(0, comment));
        if (entry.empty()) continue;
        if (!IsValidIPv4(entry)) {
            list.skipped.push_back({number, entry, kNotAnAddressText});
            continue;
        }
        const std::string address = PlainDotted(entry);
        if (!IsHostAddress(address, local)) {
            list.skipped.push_back({number, entry, kNotOneHostText});
            continue;
        }
        const auto [seen, added] = firstLine.emplace(address, number);
        if (!added) {
            list.skipped.push_back({number, entry, RepeatedText(seen->second)});
            continue;
        }
        list.addresses.push_back(address);
    }
    return list;
}

}  // namespace tarnwick
