// Feeds arbitrary datagrams to the remote control decoder (class 10) and the
// alarm host decoder (class 12), as received and repaired; a history reply
// must store whole records only.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_frames.h"
#include "operation/alarm_host_decoder.h"
#include "operation/control_decoder.h"
#include "protocol/conversion_error.h"
#include "support/decode_fixture.h"

namespace {

void Decode(const std::string& reply) {
    tarnwick::testing::DecodeFixture f;
    auto& [params, alarmCodes, operateCodes, session, ctx] = f;
    alarmCodes.Set("2A", "外出布防");
    try {
        (void)tarnwick::DecodeControlReply(reply, ctx);
        (void)tarnwick::DecodeAlarmHostReply(reply, ctx);
    } catch (const tarnwick::ConversionError&) {
    }
    for (const auto& [name, value] : params.Entries())
        if (name.starts_with(tarnwick::kAlarmInfoKey) &&
            value.size() != tarnwick::kAlarmRecordDigits)
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply = tarnwick::fuzz::Received(data, size);
    Decode(reply);
    Decode(tarnwick::fuzz::Repaired(reply));
    return 0;
}
