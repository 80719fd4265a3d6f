#pragma once
#include <string>
#include <string_view>

#include "protocol/reply_result.h"

namespace tarnwick {

// Module class 13: pairing wireless devices with the alarm host.
inline constexpr std::string_view kPairingClass = "13";

// Command pair labels of the pairing window. The pause expects the host's
// learning-result report (1303), which confirms that pairing state was left.
inline constexpr std::string_view kPairPair = "1381:1301 无线设备对码";
inline constexpr std::string_view kDeletePairingPair = "1382:1302 删除无线设备应答";
inline constexpr std::string_view kPausePairingPair = "1381:1303 暂停无线设备对码";
// Data of the three requests: the pair and delete marks go before the device
// address; the pause carries fixed data.
inline constexpr std::string_view kPairMark = "18";
inline constexpr std::string_view kDeletePairingMark = "19";
inline constexpr std::string_view kPausePairingData = "18030000";

// Decodes a class-13 reply (upper-cased, unescaped): a pairing answer, a
// deletion answer or a learning-result report, each the outcome of result
// byte 7 worded as `now` ("yyyy-mm-dd hh:nn:ss") followed by what the host
// said; no outcome for a reply that is none of them. Nothing is stored.
ReplyResult DecodePairingReply(const std::string& reply, const std::string& now);

}  // namespace tarnwick
