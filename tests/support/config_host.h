#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "programming/programming_layout.h"
#include "protocol/command_entry.h"

namespace tarnwick::testing {

using Responder = std::function<std::vector<std::string>(const std::string& payload)>;

// A host that answers every read of `reads`: a section read with its body
// from `bodies`, any other read with the reply its command pair expects,
// holding a success byte and blank fields. Anything else goes unanswered.
Responder ConfigHost(const CommandList& reads,
                     const std::array<std::string, kProgrammingSectionCount>& bodies);

// kSampleBodies as the array ConfigHost takes.
std::array<std::string, kProgrammingSectionCount> SampleBodies();

}  // namespace tarnwick::testing
