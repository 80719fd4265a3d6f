#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "operation/fleet_poller.h"

namespace tarnwick::cli {

// One host's line of `status`: address (and site), 在线 or 离线, then the
// arming state, the zones in alarm, the faults and the signal of an online
// host or the reason of an offline one, and with `withTime` the time of its
// last answer.
std::string StatusLine(const FleetHost& host, const FleetReading& reading, bool withTime = true);
// The same as a JSON object: address, site and port when booked, online,
// arming, alarmZones, faults, signal, lastAnswer (null when unknown) and an
// offline host's reason.
nlohmann::ordered_json StatusJson(const FleetHost& host, const FleetReading& reading);
// Offline, in alarm or faulty: the exit status is 1.
bool NeedsAttention(const FleetReading& reading);
// "3 台主机中 1 台离线，1 台报警，1 台故障", or empty text when all is well.
std::string AttentionSummary(const std::vector<FleetReading>& readings);

}  // namespace tarnwick::cli
