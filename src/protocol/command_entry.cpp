#include "protocol/command_entry.h"

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
