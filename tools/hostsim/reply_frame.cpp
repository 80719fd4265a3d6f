#include "reply_frame.h"

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

std::string BuildReplyFrame(std::string_view moduleClass, std::string_view command,
                            std::string_view data, bool spoilChecksum) {
    std::string body = "82";
    body += moduleClass;
    body += command;
    body += data;
    const std::string summed = "01" + body + HexCheckCode(body);
    std::string checksum = HexChecksum(summed);
    if (spoilChecksum) checksum = ByteHex(static_cast<unsigned>(HexToInt(checksum) ^ 0x55));
    return "7E" + EscapeFrameBody(checksum + summed) + "7E";
}

}  // namespace tarnwick::hostsim
