#pragma once
#include <string>
#include <vector>

#include "sim_host.h"

namespace tarnwick::hostsim {

// Hosts played from snapshot files (--from): each file one host, a folder
// every *.json file in it, in name order.
struct FromFiles {
    std::vector<std::string> paths;
    // Where renumbered hosts are played from, onward; empty for none.
    std::string baseIp;
    // Every host from baseIp onward, whatever its file says.
    bool renumber = false;
};

struct LoadedHosts {
    std::vector<SimHost> hosts;
    std::vector<std::string> skipped;  // "path: why", one per file not played
    std::string renumbered;            // why the files' addresses were not used
};

// Reads every file; a file that cannot be played is named in `skipped`.
// Hosts play at their files' addresses unless renumbering is asked for or
// those addresses clash (among themselves or with `taken`, or are no
// addresses): then from baseIp onward, skipping `taken`. Throws
// std::runtime_error when they clash and no baseIp is given.
LoadedHosts LoadFromFiles(const FromFiles& from, const std::vector<std::string>& taken);

// The files a path names: itself, or a folder's *.json files in name order.
std::vector<std::string> SnapshotPaths(const std::string& path);

}  // namespace tarnwick::hostsim
