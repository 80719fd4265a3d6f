#include "operation/control_decoder.h"

#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr unsigned kControlReply = 0x01;
constexpr unsigned kControlMarker = 0x9A;

constexpr std::string_view kOperationNames[] = {
    "联动开启",        // 05
    "联动关闭",        // 06
    "报警声开启",      // 07
    "报警声关闭",      // 08
    "对报警主机复位",  // 09
    "消除报警记忆",    // 0A
    "辅助电源复位",    // 0B
};
constexpr unsigned kFirstOperation = 0x05;

}  // namespace

std::string_view RemoteOperationName(unsigned code) {
    if (code < kFirstOperation || code - kFirstOperation >= std::size(kOperationNames))
        return "返回值S[9]有误";
    return kOperationNames[code - kFirstOperation];
}

ReplyResult DecodeControlReply(const std::string& reply, DecodeContext&) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;
    if (bytes.At(6) != kControlReply || !bytes.HasData(9) || bytes.At(8) != kControlMarker)
        return {};
    return Outcome(bytes.At(7),
                   std::string(RemoteOperationName(bytes.At(9))) + HostResultText(bytes.At(7)));
}

}  // namespace tarnwick
