// Module class 10: remote control of the alarm host (linkage, alarm sound,
// reset, clearing the alarm memory, auxiliary power).
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {
namespace {

constexpr uint8_t kLinkageBit = 0x40;
constexpr uint8_t kAlarmSoundBit = 0x20;

void ClearAlarms(WorkingStatus& s) {
    s.zones1_8 = 0;
    s.zones9_16 = 0;
    s.system &= static_cast<uint8_t>(~kAlarmSoundBit);
}

}  // namespace

std::optional<Reply> RespondControl(SimHost& host, const Request& request) {
    if (request.command != "81") return std::nullopt;
    const int operation = DataByte(request.data, 2);
    const bool known = DataByte(request.data, 1) == 0x0A && operation >= 0x05 && operation <= 0x0B;
    const int result = request.Result(known ? 1 : 2);
    WorkingStatus& s = host.status;
    if (result == 1) {
        switch (operation) {
            case 0x05:
                s.system |= kLinkageBit;
                break;
            case 0x06:
                s.system &= static_cast<uint8_t>(~kLinkageBit);
                break;
            case 0x07:
                s.system |= kAlarmSoundBit;
                break;
            case 0x08:
                s.system &= static_cast<uint8_t>(~kAlarmSoundBit);
                break;
            case 0x09:
                ClearAlarms(s);
                AppendHistory(host, 0x93, 0, 0, 0, 0x33);  // system reset
                break;
            case 0x0A:
                ClearAlarms(s);
                AppendHistory(host, 0x93, 0, 0, 0, 0x34);  // alarm memory cleared
                break;
            default:
                break;  // auxiliary power reset changes nothing we show
        }
    }
    // Result, the fixed marker 9A, the operation echoed.
    return Reply{"10",
                 "01",
                 ByteHex(static_cast<unsigned>(result)) + "9A" +
                     ByteHex(static_cast<unsigned>(operation < 0 ? 0 : operation)),
                 false,
                 "remote control",
                 result == 1};
}

}  // namespace tarnwick::hostsim
