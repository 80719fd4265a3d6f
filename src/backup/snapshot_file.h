#pragma once
#include <cstddef>
#include <string>

#include "backup/config_snapshot.h"

namespace tarnwick {

inline constexpr const char* kSnapshotExtension = "json";
// A snapshot file is tens of kilobytes; anything far larger is not one and
// is refused before it is read into memory.
inline constexpr size_t kMaxSnapshotFileBytes = 4 * 1024 * 1024;

// Reads and checks a snapshot file. Throws SnapshotError whose text starts
// with the path: a file that cannot be opened, is too large, or whose
// content SnapshotFromJson refuses.
ConfigSnapshot ReadSnapshotFile(const std::string& path);

// Writes the snapshot under `path`, readable by its owner alone (the
// sections hold the installer and user codes), through a ReplacementFile: a
// failed write never leaves a cut-short file under the name, never a
// half-written one over an older backup, and a read-only file stays as it
// is. Throws SnapshotError naming the path and the reason.
void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot);

}  // namespace tarnwick
