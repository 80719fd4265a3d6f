#pragma once
#include <string>

namespace tarnwick::bench {

// Writes `count` copies of the snapshot file `templatePath` into `folder`
// (made when missing), each a host of its own: at `baseIp` + i, which is
// also its module's local address, with device IDs of its own. The
// simulator's figure plays them. Returns 1 on failure.
int WriteSnapshotCopies(const std::string& templatePath, const std::string& folder, int count,
                        const std::string& baseIp);

}  // namespace tarnwick::bench
