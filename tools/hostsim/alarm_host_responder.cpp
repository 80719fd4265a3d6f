// Module class 12: arming, working status, model and alarm history.
#include <ctime>

#include "command_table.h"
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {
namespace {

std::string Hex(unsigned v) {
    return ByteHex(v);
}

// Arming codes of the request (03 A6 code FF FF) and what they lead to.
struct ArmingCode {
    int code;
    uint8_t mode;
    uint8_t alarmCode;  // the code the host reports and keeps in its history
    uint8_t zones1_8, zones9_16;
};
constexpr ArmingCode kArmingCodes[] = {
    {0x63, 0x01, 0x19, 0xFF, 0x0F},  // away: network remote arming, every zone
    {0x62, 0x02, 0x12, 0x3F, 0x00},  // at home: stay arming, the wired zones
    {0x68, 0x00, 0x1A, 0x00, 0x00},  // disarm: network remote disarming
};

std::optional<Reply> Arm(SimHost& host, const Request& request) {
    const int code = DataByte(request.data, 3);
    const ArmingCode* arming = nullptr;
    for (const auto& a : kArmingCodes)
        if (a.code == code && DataByte(request.data, 1) == 0x03) arming = &a;
    const int result = request.Result(arming ? 1 : 2);
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    ++host.armingCount;
    // Bytes 7-17: result, a count, 92, month, day, hour, minute (decimal
    // digits), operator, alarm code, two spare bytes.
    std::string info = Hex(static_cast<unsigned>(result)) + Hex(host.armingCount) + "92" +
                       DecimalPair(t.tm_mon + 1) + DecimalPair(t.tm_mday) + DecimalPair(t.tm_hour) +
                       DecimalPair(t.tm_min) + Hex(host.operatorNumber) +
                       Hex(arming ? arming->alarmCode : 0u) + "0000";
    if (result == 1) {
        host.status.mode = arming->mode;
        if (arming->mode == 0x00) host.status.system &= static_cast<uint8_t>(~0x20);
        AppendHistory(host, 0x92, arming->zones1_8, arming->zones9_16, host.operatorNumber,
                      arming->alarmCode);
        host.lastArmingInfo = info;
    }
    return Reply{"12", "01", info, false, "arming operation", result == 1};
}

std::optional<Reply> History(SimHost& host, const Request& request) {
    const unsigned first = static_cast<unsigned>(HexToInt(DataBytes(request.data, 1, 2)));
    const unsigned last = static_cast<unsigned>(HexToInt(DataBytes(request.data, 3, 2)));
    const int result = request.Result(request.data.size() >= 8 ? 1 : 2);
    std::string data = Hex(static_cast<unsigned>(result));
    if (result == 1)
        for (unsigned n = first == 0 ? 1 : first; n <= last && n <= host.history.size(); ++n)
            data += host.history[n - 1];
    return Reply{"12", "06", data, false, "alarm history"};
}

std::optional<Reply> Status(SimHost& host, const Request& request) {
    const WorkingStatus& s = host.status;
    const int result = request.Result(1);
    std::string data = Hex(static_cast<unsigned>(result)) + "91";
    if (result == 1)
        data += Hex(s.system) + Hex(s.mode) + Hex(s.zones1_8) + Hex(s.zones9_16) +
                Hex(s.bypass1_8) + Hex(s.bypass9_16) + Hex(s.csq);
    return Reply{"12", "02", data, false, "working status"};
}

std::optional<Reply> Model(SimHost& host, const Request& request) {
    const int result = request.Result(1);
    std::string data = Hex(static_cast<unsigned>(result)) + "9B";
    if (result == 1) data += LengthPrefixed(host.model);
    return Reply{"12", "03", data, false, "host model"};
}

const Command kAlarmHostCommands[] = {
    {.request = "81", .reply = "01", .answer = Arm},
    // The acknowledgement of an arming reply gets no reply.
    {.request = "85",
     .answer = [](SimHost&, const Request&) -> std::optional<Reply> { return {}; }},
    {.request = "82", .reply = "02", .answer = Status},
    {.request = "83", .reply = "03", .answer = Model},
    {.request = "86", .reply = "06", .answer = History},
};

}  // namespace

std::optional<Reply> RespondAlarmHost(SimHost& host, const Request& request) {
    return Dispatch(kAlarmHostCommands, "12", host, request);
}

}  // namespace tarnwick::hostsim
