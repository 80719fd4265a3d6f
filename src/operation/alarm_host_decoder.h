#pragma once
#include <array>
#include <string>
#include <string_view>

#include "protocol/decoder_registry.h"
#include "protocol/exchange.h"

namespace tarnwick {

// Module class 12: arming operations, working status, host model and alarm
// history of the alarm host.
inline constexpr std::string_view kAlarmHostClass = "12";

// Command pair labels and data of the class-12 requests.
inline constexpr std::string_view kStatusQueryPair = "1282:1202 报警器工作状态查询";
// The same query, sent after a remote command to read its effect back.
inline constexpr std::string_view kStatusReadBackPair = "1282:1202 远程控制报警器";
inline constexpr std::string_view kStatusQueryData = "06F2";
inline constexpr std::string_view kModelQueryPair = "1283:1203 查询报警器型号";
inline constexpr std::string_view kModelQueryData = "0B00";
inline constexpr std::string_view kArmingPair = "1281:1201 布撤防操作请求";
// The arming acknowledgement is kArmingAckPair of protocol/exchange.h, where
// the exchange knows not to wait for a reply to it.

// The working status keys, in the order of reply bytes 9 to 15. All but the
// last hold their byte as two hex digits; GPRSCSQ holds it in decimal.
inline constexpr std::array<std::string_view, 7> kStatusKeys = {
    "SystemStatus", "KeepAwayMode", "Defence1_8", "Defence9_16",
    "ByPass1_8",    "ByPass9_16",   "GPRSCSQ"};
inline constexpr std::string_view kHostModelKey = "HostModel";
inline constexpr std::string_view kArmingOperateInfoKey = "ArmingOperateInfo";
// The history read: twenty records from a start number.
inline constexpr std::string_view kAlarmHistoryPair = "1286:1206 查询报警历史记录";
// Alarm records are stored as this prefix followed by 1, 2, …
inline constexpr std::string_view kAlarmInfoKey = "AlarmInfo";
// One alarm record: 11 bytes.
inline constexpr size_t kAlarmRecordDigits = 22;

// Decodes a class-12 reply (upper-cased, unescaped). An arming reply is the
// outcome of its result byte (on success worded with the operation's time,
// alarm code text and operator, and ArmingOperateInfo is stored); status,
// model and history replies store their keys when the result byte is 01 and
// report no outcome.
ReplyResult DecodeAlarmHostReply(const std::string& reply, DecodeContext& ctx);

}  // namespace tarnwick
