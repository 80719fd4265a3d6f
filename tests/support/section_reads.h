#pragma once
#include <string>
#include <utility>
#include <vector>

#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick::testing {

// Section bodies a test host holds, one per section number.
using SectionBodies = std::vector<std::pair<int, std::string>>;

// Stores the sections in `params` through the programming decoder, as a
// refresh that read them from a host does.
void StoreSectionReads(DeviceParams& params, const SectionBodies& bodies);

// The body a write entry carries (the data after "09" NN, before the check
// code), and the section number it writes; -1 for an entry that is no write.
std::string WrittenBody(const CommandEntry& entry);
int WrittenSection(const CommandEntry& entry);

// Well-formed bodies of every section, with every list field in range.
extern const char* const kSampleBodies[8];

}  // namespace tarnwick::testing
