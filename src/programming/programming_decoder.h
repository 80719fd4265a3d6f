#pragma once
#include <string>
#include <string_view>

#include "protocol/name_value_list.h"
#include "protocol/reply_result.h"

namespace tarnwick {

inline constexpr std::string_view kProgrammingAckPrefix = "编程报警主机";

// The decoder of every module class 11 reply (upper-cased and unescaped).
// A section read (command 01, data 01 99 NN body) stores every key of section
// NN in layout order and reports no outcome. A write acknowledgement (command
// 02) is the outcome of its result byte, worded "编程报警主机" followed by its
// result word. Frame errors and foreign senders come back as the reply
// prologue's with nothing stored; a non-hex pair throws ConversionError.
ReplyResult DecodeProgrammingReply(std::string_view reply, DeviceParams& params);

}  // namespace tarnwick
