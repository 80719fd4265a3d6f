// Feeds arbitrary datagrams through everything that looks at a received frame.
#include <cstdint>
#include <string>

#include "protocol/conversion_error.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string datagram(reinterpret_cast<const char*>(data), size);
    std::string frame = tarnwick::NormalizeReceived(datagram);
    (void)tarnwick::VerifyFrame(frame);
    (void)tarnwick::HexToText(frame);
    (void)tarnwick::HexChecksum(frame);
    try {
        tarnwick::Prologue p = tarnwick::RunReplyPrologue(frame);
        if (p.bytes) (void)p.bytes->At(p.bytes->Size() + 1);
    } catch (const tarnwick::ConversionError&) {
    }
    return 0;
}
