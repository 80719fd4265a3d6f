#include "protocol/command_entry.h"

#include "protocol/frame_codec.h"

namespace tarnwick {

CommandEntry Request(std::string_view pairLabel, std::string_view data) {
    const std::string label(pairLabel);
    return {label, BuildFrame(label.substr(0, 2), label.substr(2, 2), std::string(data))};
}

}  // namespace tarnwick
