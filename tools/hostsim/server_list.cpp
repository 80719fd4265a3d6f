#include "server_list.h"

#include "fields.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

bool ParseServerList(const std::string& data, std::vector<ServerEntry>& entries) {
    const int count = DataByte(data, 2);
    if (DataByte(data, 1) != 0 || count < 0) return false;
    entries.clear();
    for (int i = 0; i < count; ++i) {
        const size_t first = 3 + 21 * static_cast<size_t>(i);
        if (DataByte(data, first + 20) < 0) return false;
        entries.push_back({DataByte(data, first), HexToText(DataBytes(data, first + 1, 15)),
                           HexToText(DataBytes(data, first + 16, 5))});
    }
    return true;
}

std::string ParseLengthPrefixedName(std::string_view data) {
    const int length = DataByte(data, 1);
    return length <= 0 ? std::string() : HexToText(DataBytes(data, 2, static_cast<size_t>(length)));
}

}  // namespace tarnwick::hostsim
