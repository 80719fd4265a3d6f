#pragma once
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "sim_host.h"

namespace tarnwick::hostsim {

// What a host holds that its replies and the tool's writes change
// (identity, sections, modules, status, model, history, pairing), as host
// fields of the simulator's configuration (sim_config.h), so that applying
// it to the host it came from gives that host again.
nlohmann::json HostState(const SimHost& host);
// Applies a state to a host; its factory defaults stay as they were.
void ApplyHostState(const nlohmann::json& state, SimHost& host);

// The hosts' states across runs (--state DIR): one file per host, named
// after its snapshot file or its address, written whole under a name of its
// own and then renamed into place, readable by its owner alone (the sections
// hold the codes).
class StateStore {
  public:
    // Makes the folder when it is missing. Throws std::runtime_error.
    explicit StateStore(std::string folder);

    // Gives every host a state name of its own (its file's or its address).
    static void NameStates(std::vector<SimHost>& hosts);
    // Applies the host's kept state: false when there is none. Throws
    // std::runtime_error naming the file when it is unreadable.
    bool Load(SimHost& host) const;
    // Throws std::runtime_error naming the file when it cannot be written.
    void Save(const SimHost& host) const;
    // Forgets the host's kept state (--reset).
    void Forget(const SimHost& host) const;
    std::string PathOf(const SimHost& host) const;

  private:
    std::string folder_;
};

}  // namespace tarnwick::hostsim
