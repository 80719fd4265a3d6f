#include "from_files.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "protocol/hex_text.h"
#include "sim_config.h"
#include "snapshot_host.h"

namespace tarnwick::hostsim {
namespace {

namespace fs = std::filesystem;

// Why the files' own addresses cannot all be played; empty when they can.
std::string Clash(const std::vector<SimHost>& hosts, const std::vector<std::string>& taken) {
    std::set<std::string> seen(taken.begin(), taken.end());
    for (const SimHost& h : hosts) {
        if (!IsValidIPv4(h.address))
            return h.source + " names no IPv4 address (\"" + h.address + "\")";
        if (!seen.insert(h.address).second)
            return h.source + " names " + h.address + ", which another host has";
    }
    return {};
}

void Renumber(std::vector<SimHost>& hosts, const std::string& baseIp,
              const std::vector<std::string>& taken) {
    const std::set<std::string> busy(taken.begin(), taken.end());
    uint32_t next = ParseAddress(baseIp);
    for (SimHost& h : hosts) {
        while (busy.count(FormatAddress(next))) ++next;
        h.address = h.identity.ip = FormatAddress(next++);
    }
}

}  // namespace

std::vector<std::string> SnapshotPaths(const std::string& path) {
    std::error_code error;
    if (!fs::is_directory(path, error)) return {path};
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(path, error))
        if (entry.path().extension() == ".json" && entry.is_regular_file(error))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

LoadedHosts LoadFromFiles(const FromFiles& from, const std::vector<std::string>& taken) {
    if (from.renumber && from.baseIp.empty())
        throw std::runtime_error("--renumber needs --base-ip");
    LoadedHosts loaded;
    for (const std::string& path : from.paths) {
        const std::vector<std::string> files = SnapshotPaths(path);
        if (files.empty()) loaded.skipped.push_back(path + ": no *.json file in the folder");
        for (const std::string& file : files) {
            try {
                SimHost host = ReadSnapshotFile(
                    file, static_cast<int>(taken.size() + loaded.hosts.size()) + 1);
                host.source = file;
                host.stateName = fs::path(file).stem().string();
                loaded.hosts.push_back(std::move(host));
            } catch (const SnapshotRefused& e) {
                loaded.skipped.push_back(file + ": " + e.what());
            }
        }
    }
    loaded.renumbered = from.renumber ? "--renumber" : Clash(loaded.hosts, taken);
    if (loaded.renumbered.empty()) return loaded;
    if (from.baseIp.empty())
        throw std::runtime_error("the files' addresses clash: " + loaded.renumbered +
                                 "; give --base-ip to play them from there on");
    Renumber(loaded.hosts, from.baseIp, taken);
    return loaded;
}

}  // namespace tarnwick::hostsim
