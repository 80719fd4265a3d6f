#include "support/actions_fixture.h"

#include <sys/stat.h>

#include "support/section_reads.h"

namespace tarnwick::testing {

SectionArray ZoneThreeChanged() {
    auto bodies = SampleBodies();
    bodies[4].replace(16, 2, "3B");
    return bodies;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<int> SectionWrites(const ActionsFixture& a) {
    std::vector<int> out;
    for (const auto& sent : a.f.clientEndpoint->sent)
        if (const int section = WrittenSection({"", sent.payload, {}}); section >= 0)
            out.push_back(section);
    return out;
}

}  // namespace tarnwick::testing
