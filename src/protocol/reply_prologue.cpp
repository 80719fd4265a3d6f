#include "protocol/reply_prologue.h"

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick {

Prologue RunReplyPrologue(std::string_view reply) {
    Prologue out;
    if (reply.empty()) return out;
    ReplyBytes bytes(BytesFromHex(reply));
    if (!VerifyFrame(reply)) {
        out.result = std::string(reply) + std::string(kFrameErrorSuffix);
        return out;
    }
    if (bytes.At(3) != 0x01) {
        out.result = std::string(kForeignSenderText);
        return out;
    }
    out.bytes = std::move(bytes);
    return out;
}

}  // namespace tarnwick
