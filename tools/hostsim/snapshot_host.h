#pragma once
#include <cstddef>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string>

#include "sim_host.h"

namespace tarnwick::hostsim {

// A snapshot file as the tool's backup writes it, played as a host. The file
// is the tool's, read here as an outside format:
//   {"format": 1, "host": address, "model": text, "moduleVersion", "time",
//    "toolVersion", "sections": {"00": body hex, ... "07"},
//    "keys": {name: value, ...}}
// The keys are what the tool stored from each reply of the host and its
// modules; they are mapped back onto the state the replies are made from, so
// that a backup of the played host stores the same keys again. Format 2 adds
// "codes", how the file keeps the installer and user codes: sealed or
// redacted, their digits in the sections show "*", and the host plays its
// default codes there (the simulator opens no sealed code).

// The newest snapshot format played.
inline constexpr int kPlayedSnapshotFormat = 2;
// A snapshot is tens of kilobytes; a far larger file is no snapshot.
inline constexpr size_t kMaxSnapshotFileBytes = 4 * 1024 * 1024;
inline constexpr size_t kMaxSnapshotKeys = 10000;

// Why a file cannot be played: not a snapshot, cut short, or of a model the
// simulator does not play.
class SnapshotRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The host a snapshot describes, played at the file's address; `index` makes
// what the file does not hold (phone numbers of the defaults) distinct.
// Throws SnapshotRefused.
SimHost HostFromSnapshot(const nlohmann::json& snapshot, int index);
// The same from a file's text; a text that is not JSON or ends early is
// refused as such.
SimHost HostFromSnapshotText(const std::string& text, int index);
// Reads the file (at most kMaxSnapshotFileBytes). Throws SnapshotRefused.
SimHost ReadSnapshotFile(const std::string& path, int index);

// The host type a model's search answer names ("TWK-16 V2.30" is a
// sixteen-zone host); empty for a model the simulator does not play.
std::string HostTypeOfModel(const std::string& model);

}  // namespace tarnwick::hostsim
