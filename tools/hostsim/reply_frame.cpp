#include "reply_frame.h"

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick::hostsim {

std::string BuildReplyFrame(std::string_view moduleClass, std::string_view command,
                            std::string_view data, bool spoilChecksum) {
    const std::string frame = tarnwick::BuildReplyFrame(moduleClass, command, data);
    if (!spoilChecksum) return frame;
    // Unescaped: 7E, checksum, the summed digits, 7E.
    const std::string plain = UnescapeFrame(frame);
    const std::string spoilt = ByteHex(static_cast<unsigned>(HexToInt(plain.substr(2, 2)) ^ 0x55));
    return "7E" + EscapeFrameBody(spoilt + plain.substr(4, plain.size() - 6)) + "7E";
}

}  // namespace tarnwick::hostsim
