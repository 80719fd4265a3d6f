#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "programming/programming_layout.h"
#include "protocol/command_entry.h"

namespace tarnwick::testing {

using Responder = std::function<std::vector<std::string>(const std::string& payload)>;

using SectionArray = std::array<std::string, kProgrammingSectionCount>;

// A host that answers every read of `reads`: a section read with its body
// from `bodies`, any other read with the reply its command pair expects,
// holding a success byte and blank fields. A section write is taken into
// `bodies` and acknowledged, and so is a request of one of the pair labels
// `acknowledged`. Anything else goes unanswered.
Responder ConfigHost(const CommandList& reads, std::shared_ptr<SectionArray> bodies,
                     std::vector<std::string_view> acknowledged = {});

// kSampleBodies as an array.
SectionArray SampleBodies();

}  // namespace tarnwick::testing
