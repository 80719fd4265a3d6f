#include "status_report.h"

#include "operation/fleet_board.h"

namespace tarnwick::cli {

std::string StatusLine(const FleetHost& host, const FleetReading& reading, bool withTime) {
    const auto cells = FleetCells(host, reading);
    std::string line = cells[kFleetAddress];
    if (!host.target.site.empty()) line += "（" + host.target.site + "）";
    line += "  " + cells[kFleetOnline];
    if (reading.state == FleetState::Online) {
        line += "  " + cells[kFleetArming];
        if (!cells[kFleetAlarm].empty())
            line += std::string("  ") + kFleetHeaders[kFleetAlarm] + ": " + cells[kFleetAlarm];
        if (!cells[kFleetFaults].empty())
            line += std::string("  ") + kFleetHeaders[kFleetFaults] + ": " + cells[kFleetFaults];
        line += std::string("  ") + kFleetHeaders[kFleetSignal] + ": " + cells[kFleetSignal];
    } else if (!reading.reason.empty()) {
        line += "  " + reading.reason;
    }
    if (withTime)
        line +=
            std::string("  ") + kFleetHeaders[kFleetLastAnswer] + ": " + cells[kFleetLastAnswer];
    return line;
}

nlohmann::ordered_json StatusJson(const FleetHost& host, const FleetReading& reading) {
    nlohmann::ordered_json j;
    const bool online = reading.state == FleetState::Online;
    j["address"] = host.target.address;
    if (!host.target.site.empty()) j["site"] = host.target.site;
    if (host.target.port != kHostPort) j["port"] = host.target.port;
    if (!host.hostType.empty()) j["hostType"] = host.hostType;
    j["online"] = online;
    j["arming"] = online ? nlohmann::ordered_json(reading.status.arming) : nullptr;
    j["alarmZones"] = reading.status.alarmZones;
    j["faults"] = reading.status.faults;
    j["signal"] = online ? nlohmann::ordered_json(reading.status.signal) : nullptr;
    j["lastAnswer"] =
        reading.lastAnswer.empty() ? nullptr : nlohmann::ordered_json(reading.lastAnswer);
    if (!online) j["reason"] = reading.reason;
    return j;
}

bool NeedsAttention(const FleetReading& reading) {
    return ToneOf(reading) != FleetTone::Normal || reading.state != FleetState::Online;
}

std::string AttentionSummary(const std::vector<FleetReading>& readings) {
    int offline = 0, alarm = 0, faulty = 0;
    for (const FleetReading& r : readings) {
        offline += r.state != FleetState::Online ? 1 : 0;
        alarm += ToneOf(r) == FleetTone::Alarm ? 1 : 0;
        faulty += r.state == FleetState::Online && !r.status.faults.empty() ? 1 : 0;
    }
    if (offline + alarm + faulty == 0) return {};
    return std::to_string(readings.size()) + " 台主机中 " + std::to_string(offline) + " 台离线，" +
           std::to_string(alarm) + " 台报警，" + std::to_string(faulty) + " 台故障";
}

}  // namespace tarnwick::cli
