#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "programming/programming_layout.h"
#include "protocol/command_entry.h"

namespace tarnwick {

class DataModule;

// The version of the snapshot file this build writes; it refuses newer ones.
// Version 2 says how the file keeps its codes; version 1 holds them in clear.
inline constexpr int kSnapshotFormatVersion = 2;
// A host stores some hundred keys; a file with far more is no snapshot of
// one and is refused before its keys are taken in.
inline constexpr size_t kMaxSnapshotKeys = 10000;

// What a code's digits show in a snapshot that does not hold it.
inline constexpr char kCodeMask = '*';

// The codes a snapshot does not hold in clear: read from a redacted file
// (a keyed hash of each), or from a sealed one opened without its
// passphrase (nothing). Their digits show as "*".
struct WithheldCodes {
    std::vector<std::string> keys;                    // in the order of the field descriptions
    std::map<std::string, std::string> fingerprints;  // the keyed hashes, by key
    std::string keyName;                              // the key that made them
    std::string reason;                               // why they are not here, for the operator
    // The keyed hash of a code in clear, made as these were; empty when
    // that key is not at hand.
    std::function<std::string(const std::string& key, const std::string& value)> fingerprint;
};

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
    std::optional<WithheldCodes> withheld;  // none: every code in clear
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

// The snapshot as JSON, its codes as it holds them (StoredSnapshotText keeps
// them from resting in clear).
std::string SnapshotToJson(const ConfigSnapshot& snapshot);

// Throws SnapshotError naming the first bad entry: text that is not JSON or
// cut short, a newer format, a missing field, a section body of the wrong
// length or with other than hex digits, more than kMaxSnapshotKeys keys.
ConfigSnapshot SnapshotFromJson(const std::string& text);

}  // namespace tarnwick
