#include "operation/alarm_host_decoder.h"

#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr unsigned kArmingReply = 0x01;
constexpr unsigned kStatusReply = 0x02;
constexpr unsigned kModelReply = 0x03;
constexpr unsigned kHistoryReply = 0x06;
constexpr unsigned kArmingMarker = 0x92;  // byte 9
constexpr unsigned kStatusMarker = 0x91;  // byte 8
constexpr unsigned kModelMarker = 0x9B;   // byte 8
constexpr unsigned kSuccess = 0x01;

constexpr std::string_view kArmingPrefix = "布撤防操作";
// Bytes 7 to 17 of a successful arming reply are kept whole; the arming
// acknowledgement sends them back.
constexpr size_t kArmingInfoFirst = 7;
constexpr size_t kArmingInfoLast = 17;
constexpr size_t kStatusFirst = 9;

ReplyResult DecodeArming(const ReplyBytes& bytes, DecodeContext& ctx) {
    const unsigned result = bytes.At(7);
    if (result != kSuccess)
        return Outcome(result, std::string(kArmingPrefix) + HostResultText(result));
    // A success too short to tell what was done matches no reply.
    if (!bytes.HasData(kArmingInfoLast)) return {};
    ctx.params.Set(std::string(kArmingOperateInfoKey),
                   bytes.DataHex(kArmingInfoFirst, kArmingInfoLast));
    // Month, day, hour and minute are shown as the host sent their digits.
    return Outcome(result, std::to_string(bytes.At(8)) + ". " + ByteHex(bytes.At(10)) + "月" +
                               ByteHex(bytes.At(11)) + "日" + ByteHex(bytes.At(12)) + "时" +
                               ByteHex(bytes.At(13)) + "分." +
                               ctx.alarmCodes.Get(ByteHex(bytes.At(15))) + "[操作员" +
                               std::to_string(bytes.At(14)) + "]" + HostResultText(result));
}

void StoreStatus(const ReplyBytes& bytes, DeviceParams& params) {
    const size_t last = kStatusFirst + kStatusKeys.size() - 1;
    if (!bytes.HasData(last)) return;
    for (size_t i = 0; i + 1 < kStatusKeys.size(); ++i)
        params.Set(std::string(kStatusKeys[i]), ByteHex(bytes.At(kStatusFirst + i)));
    params.Set(std::string(kStatusKeys.back()), std::to_string(bytes.At(last)));
}

void StoreModel(const ReplyBytes& bytes, DeviceParams& params) {
    if (!bytes.HasData(9)) return;
    const size_t length = bytes.At(9);
    if (!bytes.HasData(9 + length)) return;
    params.Set(std::string(kHostModelKey), HexToText(bytes.DataHex(10, 9 + length)));
}

// The record area runs from byte 8 to the byte before the check code; a
// trailing piece shorter than a record is dropped.
void StoreHistory(const ReplyBytes& bytes, DeviceParams& params) {
    const std::string area = bytes.DataHex(8, bytes.Size());
    for (size_t k = 0; (k + 1) * kAlarmRecordDigits <= area.size(); ++k)
        params.Set(std::string(kAlarmInfoKey) + std::to_string(k + 1),
                   area.substr(k * kAlarmRecordDigits, kAlarmRecordDigits));
}

}  // namespace

ReplyResult DecodeAlarmHostReply(const std::string& reply, DecodeContext& ctx) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;
    const bool success = bytes.HasData(7) && bytes.At(7) == kSuccess;
    switch (bytes.At(6)) {
        case kArmingReply:
            if (bytes.HasData(9) && bytes.At(9) == kArmingMarker) return DecodeArming(bytes, ctx);
            break;
        case kStatusReply:
            if (success && bytes.HasData(8) && bytes.At(8) == kStatusMarker)
                StoreStatus(bytes, ctx.params);
            break;
        case kModelReply:
            if (success && bytes.HasData(8) && bytes.At(8) == kModelMarker)
                StoreModel(bytes, ctx.params);
            break;
        case kHistoryReply:
            if (success) StoreHistory(bytes, ctx.params);
            break;
    }
    return {};
}

}  // namespace tarnwick
