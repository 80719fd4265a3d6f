#pragma once
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "programming/programming_layout.h"
#include "protocol/command_entry.h"

namespace tarnwick {

class DataModule;

// The version of the snapshot file this build writes; it refuses newer ones.
inline constexpr int kSnapshotFormatVersion = 1;
// A host stores some hundred keys; a file with far more is no snapshot of
// one and is refused before its keys are taken in.
inline constexpr size_t kMaxSnapshotKeys = 10000;

// A host's whole configuration as one read found it: the raw bodies of the
// programming sections 00 to 07 and every key the decoders stored, with
// where and when it came from.
struct ConfigSnapshot {
    int formatVersion = kSnapshotFormatVersion;
    std::string host;
    std::string model;
    std::string moduleVersion;
    std::string time;
    std::string toolVersion;
    std::array<std::string, kProgrammingSectionCount> sections;
    std::vector<std::pair<std::string, std::string>> keys;
};

// A snapshot that could not be taken or a file that could not be read; the
// text is what the installer is shown.
class SnapshotError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The reads of several page read lists as one list, each frame once, in the
// order first met.
CommandList MergeReadLists(const std::vector<CommandList>& lists);

// Reads the current host with `reads` (which must hold the read of section
// 00, where the installer code lives) and keeps what the decoders stored.
// Throws SnapshotError when the installer code differs or a read went
// unanswered.
ConfigSnapshot TakeSnapshot(DataModule& tdm, const CommandList& reads,
                            const std::string& installerCode, const std::string& toolVersion);

std::string SnapshotToJson(const ConfigSnapshot& snapshot);
// Throws SnapshotError naming the first bad entry: text that is not JSON or
// cut short, a newer format, a missing field, a section body of the wrong
// length or with other than hex digits, more than kMaxSnapshotKeys keys.
ConfigSnapshot SnapshotFromJson(const std::string& text);

}  // namespace tarnwick
