#include "support/reply_builder.h"

#include "protocol/frame_codec.h"

namespace tarnwick::testing {

std::string Reply(const std::string& cls, const std::string& cmd, const std::string& data) {
    std::string body = "82" + cls + cmd + data;
    std::string summed = "01" + body + HexCheckCode(body);
    return UnescapeFrame("7E" + EscapeFrameBody(HexChecksum(summed) + summed) + "7E");
}

}  // namespace tarnwick::testing
