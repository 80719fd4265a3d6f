#pragma once
#include "protocol/command_entry.h"

namespace tarnwick {

class HostWindow;

// What one read of a whole configuration sends: the read lists of every page
// with a save branch, each frame once.
CommandList SnapshotReads(HostWindow& window);

}  // namespace tarnwick
