#pragma once
#include <string>

#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// A programming page writes a section only when the body it built differs
// from the body the last refresh stored (StoredSectionBody). Queues the
// section's write on `list` then and says whether it did.
bool QueueSectionIfChanged(CommandList& list, const DeviceParams& stored, int section,
                           const std::string& body);

}  // namespace tarnwick
