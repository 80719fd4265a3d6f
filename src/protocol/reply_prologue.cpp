#include "protocol/reply_prologue.h"

#include <algorithm>

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick {

std::string ReplyBytes::DataHex(size_t from, size_t to) const {
    if (bytes_.size() < 2) return {};
    if (from < 7) from = 7;
    to = std::min(to, bytes_.size() - 2);
    if (from > to) return {};
    return HexFromBytes(std::string_view(bytes_).substr(from - 1, to - from + 1));
}

Prologue RunReplyPrologue(std::string_view reply) {
    Prologue out;
    if (reply.empty()) return out;
    ReplyBytes bytes(BytesFromHex(reply));
    if (!VerifyFrame(reply)) {
        out.result = {ReplyKind::BadFrame, {}, std::string(reply) + std::string(kFrameErrorSuffix)};
        return out;
    }
    if (bytes.At(3) != 0x01) {
        out.result = {ReplyKind::ForeignSender, {}, std::string(kForeignSenderText)};
        return out;
    }
    out.bytes = std::move(bytes);
    return out;
}

}  // namespace tarnwick
