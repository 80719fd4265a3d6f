#pragma once
#include <string>
#include <string_view>

#include "protocol/name_value_list.h"

namespace tarnwick {

inline constexpr std::string_view kProgrammingAckPrefix = "编程报警主机";

// The decoder of every module class 11 reply (upper-cased and unescaped).
// A section read (command 01, data 01 99 NN body) stores every key of section
// NN in layout order and returns empty text. A write acknowledgement (command
// 02) returns "编程报警主机" followed by the outcome of its result byte. Frame
// errors and foreign senders come back as the reply prologue's texts with
// nothing stored; a non-hex pair throws ConversionError.
std::string DecodeProgrammingReply(std::string_view reply, DeviceParams& params);

}  // namespace tarnwick
