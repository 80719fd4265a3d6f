#include "support/reply_builder.h"

#include "protocol/frame_codec.h"

namespace tarnwick::testing {

std::string Reply(const std::string& cls, const std::string& cmd, const std::string& data) {
    return UnescapeFrame(BuildReplyFrame(cls, cmd, data));
}

}  // namespace tarnwick::testing
