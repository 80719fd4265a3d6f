// Feeds arbitrary datagrams to the network module decoder, as received and
// repaired, with a host window that follows a move of the host.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_frames.h"
#include "modules/nm_decoder.h"
#include "protocol/conversion_error.h"
#include "support/decode_fixture.h"

namespace {

void Decode(const std::string& reply) {
    tarnwick::testing::DecodeFixture f;
    auto& [params, alarmCodes, operateCodes, session, ctx] = f;
    session.SetCurrentHost("192.168.1.10");
    session.localIpText = [] { return std::string(" 192.168.1.77 "); };
    std::string moved;
    session.onMovedByModule = [&](const std::string& host) { moved = host; };
    try {
        (void)tarnwick::DecodeNmReply(reply, ctx);
    } catch (const tarnwick::ConversionError&) {
    }
    (void)params.Text();
    // The host only ever moves to the local IP edit's address, and the window
    // hears of every move.
    const std::string host = session.CurrentHost();
    if (host != "192.168.1.10" && host != "192.168.1.77") std::abort();
    if ((host == "192.168.1.77") != (moved == "192.168.1.77")) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply = tarnwick::fuzz::Received(data, size);
    Decode(reply);
    Decode(tarnwick::fuzz::Repaired(reply));
    return 0;
}
