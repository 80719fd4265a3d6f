// Feeds arbitrary datagrams to the programming content decoder as the exchange
// would hand them over, and reads back every key of every section.
#include <cstdint>
#include <string>

#include "programming/programming_decoder.h"
#include "programming/programming_layout.h"
#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string datagram(reinterpret_cast<const char*>(data), size);
    std::string reply = tarnwick::NormalizeReceived(datagram);
    tarnwick::DeviceParams params;
    try {
        (void)tarnwick::DecodeProgrammingReply(reply, params);
    } catch (const tarnwick::ConversionError&) {
    }
    for (int s = 0; s < tarnwick::kProgrammingSectionCount; ++s)
        (void)tarnwick::StoredSectionBody(params, s);
    (void)tarnwick::DecodePhoneNumber(reply);
    return 0;
}
