#include "support/config_host.h"

#include "programming/programming_requests.h"
#include "protocol/exchange.h"
#include "support/core_fixture.h"
#include "support/section_reads.h"

namespace tarnwick::testing {
namespace {

// Enough blank digits for the longest fixed-width reply of a module query.
constexpr size_t kBlankDigits = 300;

}  // namespace

Responder ConfigHost(const CommandList& reads,
                     const std::array<std::string, kProgrammingSectionCount>& bodies) {
    return [reads, bodies](const std::string& payload) {
        std::vector<std::string> out;
        for (const CommandEntry& entry : reads) {
            if (entry.frame != payload) continue;
            const std::string expected = CommandPair::Parse(entry.pair).expected;
            std::string data = "01" + std::string(kBlankDigits, '0');
            for (int i = 0; i < kProgrammingSectionCount; ++i)
                if (entry.frame == ReadSectionRequest(i).frame)
                    data = "0199" + SectionCode(i) + bodies[static_cast<size_t>(i)];
            out.push_back(HostDatagram(expected.substr(0, 2), expected.substr(2, 2), data));
            break;
        }
        return out;
    };
}

std::array<std::string, kProgrammingSectionCount> SampleBodies() {
    std::array<std::string, kProgrammingSectionCount> bodies;
    for (int i = 0; i < kProgrammingSectionCount; ++i)
        bodies[static_cast<size_t>(i)] = kSampleBodies[i];
    return bodies;
}

}  // namespace tarnwick::testing
