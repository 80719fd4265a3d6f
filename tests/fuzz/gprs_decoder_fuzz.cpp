// Feeds arbitrary datagrams to the GPRS module decoder, as received and
// repaired, and reads back the versions, the server list and every key stored.
#include <cstdint>
#include <string>

#include "fuzz_frames.h"
#include "modules/gprs_decoder.h"
#include "protocol/conversion_error.h"
#include "support/decode_fixture.h"

namespace {

void Decode(const std::string& reply) {
    tarnwick::testing::DecodeFixture f;
    auto& [params, alarmCodes, operateCodes, session, ctx] = f;
    try {
        (void)tarnwick::DecodeGprsReply(reply, ctx);
        for (int i = -1; i <= 4; ++i) (void)tarnwick::DecodeVersionList(reply, i);
        (void)tarnwick::DecodeServerIpList(reply);
    } catch (const tarnwick::ConversionError&) {
    }
    (void)params.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply = tarnwick::fuzz::Received(data, size);
    Decode(reply);
    Decode(tarnwick::fuzz::Repaired(reply));
    return 0;
}
