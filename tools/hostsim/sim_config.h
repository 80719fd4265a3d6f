#pragma once
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "faults.h"
#include "sim_host.h"

namespace tarnwick::hostsim {

// Everything one simulator process plays. From a JSON file:
// {
//   "answerSpreadMs": 0,            search answers of many hosts spread over this
//   "faults": [ {...} ],            rules for every host (see faults.h)
//   "generate": {"count": 24, "baseIp": "10.231.16.1", "template": {host fields}},
//   "hosts": [ {"address": "10.231.1.1", host fields} ]
// }
// Host fields, all optional: "identity" {ip, port, deviceId, moduleType,
// hostType, mask, gateway}, "installerCode", "sections" {"00": body hex, ...},
// "gprs" {...}, "network" {...}, "status" {system, mode, zones1_8, zones9_16,
// bypass1_8, bypass9_16 as two hex digits, csq as a number}, "model",
// "operatorNumber", "history" (a record count to generate, or an array of
// 22-digit records), "upgrade" {"report": "01", "reportDelayMs": 5000},
// "pairing" {learnAfterMs (-1: nobody triggers the device), duplicate,
// paired and missing as lists of six-digit slots}, "faults" [...]. A fault
// {"match": "5081", "result": 1} refuses the upgrade.
struct SimConfig {
    std::vector<SimHost> hosts;
    std::vector<FaultRule> faults;
    int answerSpreadMs = 0;
};

// Throws std::runtime_error with a readable message on a bad file or field.
SimConfig LoadConfigFile(const std::string& path);
void ApplyConfig(const nlohmann::json& j, SimConfig& config);
// `count` default hosts at consecutive addresses from `baseIp`.
std::vector<SimHost> GenerateHosts(int count, const std::string& baseIp);
void ApplyHostJson(const nlohmann::json& j, SimHost& host);

// Dotted address arithmetic; throws on a text that is not an address.
uint32_t ParseAddress(const std::string& dotted);
std::string FormatAddress(uint32_t address);

}  // namespace tarnwick::hostsim
