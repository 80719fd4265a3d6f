#include "operation/fleet_status.h"

#include "operation/alarm_host_decoder.h"
#include "operation/host_status.h"
#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

// A lamp tells of a fault when it is dark for mains, battery and telephone
// line, and when it is lit for the tamper switch.
bool IsFault(const Lamp& lamp, bool lit) {
    return lamp.bit == 2 ? lit : !lit;
}

unsigned HexByte(const std::string& text) {
    return static_cast<unsigned>(HexToInt(text));
}

std::string ArmingWords(const std::string& mode) {
    if (mode == "00") return kDisarmedText;
    if (mode == "01") return kArmedAwayText;
    if (mode == "02") return kArmedHomeText;
    return "未知(" + mode + ")";
}

std::vector<int> ZonesInAlarm(const DeviceParams& params) {
    std::vector<int> zones;
    const unsigned state = HexByte(params.Get("Defence1_8")) | HexByte(params.Get("Defence9_16"))
                                                                   << 8;
    const unsigned bypass = HexByte(params.Get("ByPass1_8")) | HexByte(params.Get("ByPass9_16"))
                                                                   << 8;
    for (int zone = 1; zone <= 16; ++zone) {
        const unsigned bit = 1u << (zone - 1);
        if ((state & bit) && !(bypass & bit)) zones.push_back(zone);
    }
    return zones;
}

FleetStatus StatusOf(const DeviceParams& params) {
    FleetStatus s;
    s.arming = ArmingWords(params.Get("KeepAwayMode"));
    s.alarmZones = ZonesInAlarm(params);
    const unsigned system = HexByte(params.Get("SystemStatus"));
    for (const Lamp& lamp : kLamps)
        if (IsFault(lamp, ((system >> lamp.bit) & 1u) != 0)) s.faults.push_back(lamp.caption);
    s.signal = DecimalToInt(params.Get("GPRSCSQ"));
    return s;
}

}  // namespace

const std::string& StatusQueryFrame() {
    static const std::string frame =
        BuildFrame(kAlarmHostClass, std::string(kStatusQueryPair).substr(2, 2), kStatusQueryData);
    return frame;
}

std::string_view StatusReplyCode() {
    return std::string_view(kStatusQueryPair).substr(5, 4);
}

StatusAnswer ReadStatusAnswer(const std::string& datagram) {
    return ReadStatusAnswer(CheckReply(ReplyFrom({}, 0, StatusReplyCode()), {datagram, {}, 0}));
}

namespace {

// Why a datagram of the host asked is not its status reply, or empty text
// when it is that reply, whole.
std::string WhyNotTheReply(const CheckedReply& checked) {
    switch (checked.outcome) {
        case ReplyOutcome::Reply:
            return {};
        case ReplyOutcome::TooShort:
            return checked.frame.empty() ? "空数据报" : "不是有效的应答帧";
        case ReplyOutcome::OtherClass:
        case ReplyOutcome::OtherCommand:
            return "不是工作状态应答(" + Slice(checked.frame, 9, 12) + ")";
        default:
            return "不是有效的应答帧";
    }
}

}  // namespace

StatusAnswer ReadStatusAnswer(const CheckedReply& checked) {
    if (std::string why = WhyNotTheReply(checked); !why.empty()) return {std::nullopt, why};
    const std::string& reply = checked.frame;
    try {
        Prologue prologue = RunReplyPrologue(reply);
        if (!prologue.bytes) return {std::nullopt, prologue.result.text};
        const ReplyBytes& bytes = *prologue.bytes;
        if (bytes.HasData(7) && bytes.At(7) != 1)
            return {std::nullopt, "状态查询" + HostResultText(static_cast<int>(bytes.At(7)))};
        DeviceParams params;
        CodeTable none;
        HostSession session;
        DecodeContext context{params, none, none, session};
        DecodeAlarmHostReply(reply, context);
        if (!params.Has("GPRSCSQ")) return {std::nullopt, "工作状态应答不完整"};
        return {StatusOf(params), {}};
    } catch (const ConversionError&) {
        return {std::nullopt, "不是有效的应答帧"};
    }
}

std::string JoinZones(const std::vector<int>& zones) {
    std::string text;
    for (int zone : zones) text += (text.empty() ? "" : ", ") + std::to_string(zone);
    return text;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "、") + name;
    return text;
}

}  // namespace tarnwick
