#pragma once
#include <cstddef>
#include <string>

#include "backup/config_snapshot.h"
#include "backup/snapshot_codes.h"

namespace tarnwick {

class DataModule;

inline constexpr const char* kSnapshotExtension = "json";
// A snapshot file is tens of kilobytes; anything far larger is not one and
// is refused before it is read into memory.
inline constexpr size_t kMaxSnapshotFileBytes = 4 * 1024 * 1024;

// The whole text of a snapshot file. Throws SnapshotError whose text starts
// with the path: a file that cannot be opened or is too large.
std::string ReadSnapshotText(const std::string& path);

// Reads and checks a snapshot file, its sealed codes opened with `keys`
// (withheld without them). Throws SnapshotError whose text starts with the
// path: a file ReadSnapshotText or SnapshotFromStoredText refuses (a wrong
// passphrase too).
ConfigSnapshot ReadSnapshotFile(const std::string& path, CodeKeys* keys = nullptr);

// Writes `text` under `path`, readable by its owner alone, through a
// ReplacementFile: a failed write never leaves a cut-short file under the
// name, never a half-written one over an older backup, and a read-only file
// stays as it is. Throws SnapshotError naming the path and the reason.
void WriteSnapshotText(const std::string& path, const std::string& text);
// The snapshot stored under `path` with its codes in `form`.
void WriteSnapshotFile(const std::string& path, const ConfigSnapshot& snapshot, CodeForm form,
                       CodeKeys& keys);

// Keeps the snapshot in the database's backup archive, with the operator
// and workstation of the operation log, its codes as `keys` keep them by
// default (never in clear); returns why it could not (the backup file
// stands), or empty text.
std::string ArchiveSnapshot(DataModule& tdm, const ConfigSnapshot& snapshot, CodeKeys& keys);

}  // namespace tarnwick
