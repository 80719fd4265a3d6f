#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tarnwick::testing {

// One tarnwick-hostsim process in a lab namespace, started with a JSON
// configuration and stopped by its process id when the object goes.
class HostsimProcess {
  public:
    // Starts `hostsim` in namespace `ns` and waits until its port is bound.
    // Throws std::runtime_error (with the simulator's own words) when it
    // does not come up.
    HostsimProcess(const std::string& hostsim, const std::string& ns, const std::string& configJson,
                   const std::vector<std::string>& args = {});
    ~HostsimProcess();
    HostsimProcess(const HostsimProcess&) = delete;
    HostsimProcess& operator=(const HostsimProcess&) = delete;

    void Stop();
    pid_t Pid() const { return pid_; }
    // The datagram log; LogLines gives the lines containing `text`.
    std::string Log() const;
    std::vector<std::string> LogLines(const std::string& text) const;
    // The frames the simulator received, in order, from the `first` on.
    std::vector<std::string> ReceivedFrames(size_t first = 0) const;

  private:
    TempDir dir_;
    pid_t pid_ = -1;
};

}  // namespace tarnwick::testing
