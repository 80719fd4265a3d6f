#include "hosts/host_list_file.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"
#include "protocol/text_helpers.h"
#include "protocol/unicast_address.h"

namespace tarnwick {
namespace {

std::string RepeatedText(int firstLine) {
    char text[64];
    std::snprintf(text, sizeof text, kRepeatedLineText, firstLine);
    return text;
}

}  // namespace

HostListFile ParseHostList(std::string_view text, const std::vector<LocalNetwork>& local,
                           const std::vector<Site>& book) {
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
        HostTarget host;
        if (IsValidIPv4(entry)) {
            host.address = entry;
        } else {
            // A line that is no address may name a booked site.
            const auto site = std::find_if(book.begin(), book.end(),
                                           [&](const Site& s) { return SameName(s.name, entry); });
            if (site == book.end()) {
                list.skipped.push_back(
                    {number, entry, book.empty() ? kNotAnAddressText : kNotAddressOrSiteText});
                continue;
            }
            host = {site->address, site->port, site->name};
        }
        CheckedAddress checked = CheckHostAddress(host.address, local);
        if (!checked.problem.empty()) {
            list.skipped.push_back({number, entry, checked.problem});
            continue;
        }
        host.address = std::move(checked.address);
        const auto [seen, added] = firstLine.emplace(host.address, number);
        if (!added) {
            list.skipped.push_back({number, entry, RepeatedText(seen->second)});
            continue;
        }
        list.hosts.push_back(std::move(host));
    }
    return list;
}

}  // namespace tarnwick
