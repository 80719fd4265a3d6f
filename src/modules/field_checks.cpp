#include "modules/field_checks.h"

#include <cstdio>

#include "hosts/save_refused.h"
#include "protocol/hex_text.h"

namespace tarnwick {
std::string CheckHeartbeat(std::string_view text) {
    return CheckRange(kHeartbeatRange, text);
}

std::string CheckAddress(std::string& text) {
    if (Trim(text).empty()) text = "0.0.0.0";
    const std::string t = Trim(text);
    if (t == "255.255.255.255" || !IsValidIPv4(t)) return std::string(kBadAddressText);
    return {};
}

void EmptyPortToZero(std::string& text) {
    if (Trim(text).empty()) text = "0";
}

std::string AddressAsSent(std::string_view text) {
    const std::string trimmed = Trim(std::string(text));
    return trimmed.empty() ? "0.0.0.0" : trimmed;
}

std::string PortAsSent(std::string_view text) {
    const std::string trimmed = Trim(std::string(text));
    return trimmed.empty() ? "0" : trimmed;
}

std::string CheckServerList(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!IsValidIPv4(line)) return std::string(kBadAddressText);
    return {};
}

std::string HeartbeatData(std::string_view text) {
    const std::string problem = CheckHeartbeat(text);
    if (!problem.empty()) throw SaveRefused(problem);
    const long value = DecimalValue(Trim(text)).value_or(-1);
    char data[8];
    std::snprintf(data, sizeof data, "%02lX%02lX", value & 0xFF, (value >> 8) & 0xFF);
    return data;
}

}  // namespace tarnwick
