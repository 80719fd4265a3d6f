#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "from_files.h"
#include "sim_config.h"

namespace tarnwick::hostsim {

extern const char* const kUsage;

// A command line that cannot run; the usage follows its text.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    SimConfig config;  // from --config, --silent, --fault, --answer-spread-ms
    int generated = 0;
    std::string baseIp;
    FromFiles from;
    std::string logPath, readyFile, stateDir, scriptPath;
    bool reset = false;
    uint16_t port = 5200;
    bool help = false;
};

// Throws UsageError, or std::runtime_error for a file that cannot be read.
Options ParseArguments(int argc, char** argv);

// Every host the options name: the generated ones from --base-ip on, then
// the snapshot files' (skipped files named on standard error). Throws
// std::runtime_error when no host is left to play.
SimConfig Assemble(Options& options);

}  // namespace tarnwick::hostsim
