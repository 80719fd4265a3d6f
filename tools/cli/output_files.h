#pragma once
#include <string>

namespace tarnwick::cli {

// Where a host's file goes: `out` itself for a single host when it is not a
// folder, else `out`/<address>.<extension>, the folder made when missing.
std::string OutputFileFor(const std::string& out, const std::string& address,
                          const std::string& extension, bool oneFilePerHost);

}  // namespace tarnwick::cli
