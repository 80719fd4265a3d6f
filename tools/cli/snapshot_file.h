#pragma once
#include <string>

#include "backup/config_snapshot.h"

namespace tarnwick::cli {

// A snapshot file read and checked; throws SnapshotError naming the file.
ConfigSnapshot ReadSnapshotFile(const std::string& path);
// Written beside its place and renamed, readable by its owner alone (the
// sections hold the installer and user codes). Throws SnapshotError.
void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot);

// Where a host's file goes: `out` itself for a single host that is not a
// folder, else `out`/<address><extension>, the folder made when missing.
std::string OutputFileFor(const std::string& out, const std::string& address,
                          const std::string& extension, bool oneFilePerHost);

}  // namespace tarnwick::cli
