#include "support/config_host.h"

#include "programming/programming_requests.h"
#include "protocol/exchange.h"
#include "protocol/frame_codec.h"
#include "support/core_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

// Enough blank digits for the longest fixed-width reply of a module query.
constexpr size_t kBlankDigits = 300;

}  // namespace

Responder ConfigHost(const CommandList& reads, std::shared_ptr<SectionArray> bodies,
                     std::vector<std::string_view> acknowledged) {
    return [reads, bodies, acknowledged](const std::string& payload) {
        std::vector<std::string> out;
        const CommandEntry asked{"", payload, {}};
        if (const int section = WrittenSection(asked);
            section >= 0 && section < kProgrammingSectionCount) {
            (*bodies)[static_cast<size_t>(section)] = WrittenBody(asked);
            out.push_back(HostDatagram("11", "02", "01"));
            return out;
        }
        for (std::string_view label : acknowledged) {
            const CommandPair pair = Request(label).codes;
            if (UnescapeFrame(payload).substr(8, 4) != pair.request) continue;
            // The result byte is the first or the second of the data.
            out.push_back(
                HostDatagram(pair.expected.substr(0, 2), pair.expected.substr(2, 2), "0101"));
            return out;
        }
        for (const CommandEntry& entry : reads) {
            if (entry.frame != payload) continue;
            const std::string& expected = entry.codes.expected;
            std::string data = "01" + std::string(kBlankDigits, '0');
            for (int i = 0; i < kProgrammingSectionCount; ++i)
                if (entry.frame == ReadSectionRequest(i).frame)
                    data = "0199" + SectionCode(i) + (*bodies)[static_cast<size_t>(i)];
            out.push_back(HostDatagram(expected.substr(0, 2), expected.substr(2, 2), data));
            break;
        }
        return out;
    };
}

SectionArray SampleBodies() {
    SectionArray bodies;
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        bodies[static_cast<size_t>(i)] = kSampleBodies[i];
    return bodies;
}

}  // namespace tarnwick::testing
