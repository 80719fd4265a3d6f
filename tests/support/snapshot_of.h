#pragma once
#include <string>

#include "backup/config_snapshot.h"
#include "support/section_reads.h"

namespace tarnwick::testing {

// A snapshot as a read of a host holding `bodies` leaves it, with the GPRS
// heartbeat and the working state beside the sections.
ConfigSnapshot SnapshotOf(const char* const (&bodies)[8], const std::string& heartbeat = "60",
                          const std::string& systemStatus = "13");

}  // namespace tarnwick::testing
