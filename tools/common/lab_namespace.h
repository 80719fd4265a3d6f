#pragma once
#include <dirent.h>
#include <sys/stat.h>

#include <string>

namespace tarnwick::lab {

// True only when this process runs in a network namespace that `ip netns`
// named (a file under /run/netns) and whose name starts with `prefix`. The
// simulator, the network tests and the benchmark broadcast on port 5200 and
// refuse to run anywhere else: when in doubt, the answer is no.
inline bool InNamedNetworkNamespace(const std::string& prefix = "twlab-") {
    struct stat self {};
    if (::stat("/proc/self/ns/net", &self) != 0) return false;
    DIR* dir = ::opendir("/run/netns");
    if (!dir) return false;
    bool found = false;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.rfind(prefix, 0) != 0) continue;
        struct stat ns {};
        const std::string path = "/run/netns/" + name;
        if (::stat(path.c_str(), &ns) == 0 && ns.st_ino == self.st_ino && ns.st_dev == self.st_dev)
            found = true;
    }
    ::closedir(dir);
    return found;
}

}  // namespace tarnwick::lab
