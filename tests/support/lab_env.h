#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::testing {

// The lab a network test runs in, as tests/lab/run_network_tests.sh describes
// it in TARNWICK_LAB_* variables, and the simulator to start in it.
struct LabEnv {
    std::string name;
    std::string toolNs, toolIp;
    std::vector<std::string> hostNs, hostIps;  // one host address per namespace
    std::string packNs, packBaseIp;            // one namespace, many addresses
    int packCount = 0;
    std::string hostsim;

    // Nullopt when the variables are missing (not started by the lab script).
    static std::optional<LabEnv> FromEnvironment();
    // Packed address number i, counted from 0.
    std::string PackAddress(int i) const;
};

}  // namespace tarnwick::testing
