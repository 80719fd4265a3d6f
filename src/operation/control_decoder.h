#pragma once
#include <string>
#include <string_view>

#include "protocol/decoder_registry.h"

namespace tarnwick {

// Module class 10: remote control of the alarm host.
inline constexpr std::string_view kControlClass = "10";
inline constexpr std::string_view kRemoteControlPair = "1081:1001 远程控制报警器";

// The name of a remote control operation (05 … 0B), as the host's answer is
// worded; any other code gives "返回值S[9]有误".
std::string_view RemoteOperationName(unsigned code);

// Decodes a class-10 reply (upper-cased, unescaped): the outcome of result
// byte 7, worded as the operation echoed in byte 9 followed by its result
// word; no outcome for a reply that is not a remote control answer (command
// 01, marker 9A in byte 8).
ReplyResult DecodeControlReply(const std::string& reply, DecodeContext& ctx);

}  // namespace tarnwick
