#include "support/section_reads.h"

#include "programming/programming_decoder.h"
#include "programming/programming_layout.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/reply_builder.h"

namespace tarnwick::testing {

const char* const kSampleBodies[8] = {
    "123456011111022222033333060042",
    "12345E000000000000E000000000000000001390012345678901238675309E0000000000",
    "110E000000000000008675309E0000000000E0000000000000000002112345678901234501234501",
    "A1B2C3051520300402010310000001110000101101111111110000000101010101",
    "1A2110102B1201013C911111901000000E2100008D321010",
    "1A10002B01003C0010400001911111000000",
    "08301730111111101010100101012460246010101000000000111111",
    "1100000011000123012324010215300708121010350211053410101010",
};

void StoreSectionReads(DeviceParams& params, const SectionBodies& bodies) {
    for (const auto& [section, body] : bodies)
        DecodeProgrammingReply(Reply("11", "01", "0199" + SectionCode(section) + body), params);
}

namespace {

// The data of a write frame: after 7E, checksum, marks, class and command.
std::string WriteData(const CommandEntry& entry) {
    const std::string frame = UnescapeFrame(entry.frame);
    if (frame.size() < 20 || frame.substr(8, 4) != "1182") return {};
    return frame.substr(12, frame.size() - 12 - 4);
}

}  // namespace

std::string WrittenBody(const CommandEntry& entry) {
    const std::string data = WriteData(entry);
    return data.size() > 4 ? data.substr(4) : std::string();
}

int WrittenSection(const CommandEntry& entry) {
    const std::string data = WriteData(entry);
    return data.size() >= 4 ? HexToInt(data.substr(2, 2)) : -1;
}

}  // namespace tarnwick::testing
