#include "protocol/command_entry.h"

#include <algorithm>

#include "protocol/frame_codec.h"

namespace tarnwick {

bool CommandPair::SentWithoutReply() const {
    return request == kArmingAckPair.substr(0, 4);
}

CommandEntry Request(std::string_view pairLabel, std::string_view data) {
    // "QQQQ:RRRR description"
    auto part = [pairLabel](size_t from) {
        return std::string(from < pairLabel.size() ? pairLabel.substr(from, 4) : "");
    };
    CommandPair codes{part(0), part(5)};
    std::string frame =
        BuildFrame(codes.request.substr(0, 2), codes.request.substr(2, 2), std::string(data));
    return {std::string(pairLabel), std::move(frame), std::move(codes)};
}

}  // namespace tarnwick

namespace tarnwick {

CommandEntry Request(std::string_view pairLabel, std::string_view data,
                     const std::vector<DataSpan>& secret) {
    CommandEntry entry = Request(pairLabel, data);
    if (secret.empty()) return entry;
    std::string shown(data);
    for (const DataSpan& span : secret)
        if (span.from < shown.size())
            shown.replace(span.from, std::min(span.digits, shown.size() - span.from),
                          std::min(span.digits, shown.size() - span.from), '*');
    // 7E, checksum, sender and addressee marks, class, command, data, check
    // code, 7E: the marks as every request carries them.
    entry.masked = "7E**8201" + entry.codes.request + shown + "**7E";
    return entry;
}

}  // namespace tarnwick
