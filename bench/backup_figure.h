#pragma once
#include <string>

namespace tarnwick::bench {

// The backup of one host and of every host in `hostsFile` by tarnwick-cli,
// each timed over `rounds` runs of the real program; prints the medians and
// their ratio against the budget (the list in under ten times one host).
// Returns 1 when a run failed or the budget is missed.
int MeasureBackup(const std::string& cli, const std::string& oneHost, const std::string& hostsFile,
                  int rounds);

}  // namespace tarnwick::bench
