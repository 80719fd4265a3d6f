// status: the live state of every host named, read with the status query
// (no installer code), once or, with --watch, again and again printing only
// what changed.
#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "common/fleet_loop.h"
#include "common/poll_operator.h"
#include "host_options.h"
#include "host_runs.h"
#include "status_report.h"
#include "storage/database_port.h"
#include "storage/postgres_database.h"

namespace tarnwick::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void RequestStop(int) {
    stopRequested = 1;
}

// SIGINT and SIGTERM end a watch after the sweep's output; without
// SA_RESTART they end the wait at once.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM}) sigaction(signal, &action, nullptr);
}

struct Options {
    HostOptions hosts;
    bool allSites = false;
    int watch = 0;
};

std::vector<FleetHost> Fleet(const Options& o, std::vector<HostListFile::Skipped>& skipped) {
    std::vector<FleetHost> fleet;
    if (o.allSites) {
        if (o.hosts.database.empty()) throw UsageError("--all-sites 须与 --database 一起使用");
        for (const Site& s : SitesToReach(o.hosts.database))
            fleet.push_back({{s.address, s.port, s.name}, s.hostType});
        if (fleet.empty())
            throw UsageError(MaskedLocation(o.hosts.database) + ": 站点簿中没有站点");
        return fleet;
    }
    const HostTargets targets = ResolveHosts(o.hosts);
    skipped = targets.skipped;
    for (const HostTarget& t : targets.hosts) fleet.push_back({t, {}});
    return fleet;
}

// Everything the sweep found, as lines or as one JSON document.
void PrintAll(const FleetPoller& poller, const std::vector<HostListFile::Skipped>& skipped,
              bool json, bool watch, bool ok) {
    if (!json) {
        for (size_t i = 0; i < poller.Hosts().size(); ++i)
            std::cout << StatusLine(poller.Hosts()[i], poller.Readings()[i]) << "\n";
        std::cout.flush();
        return;
    }
    nlohmann::ordered_json doc;
    doc["command"] = "status";
    doc["ok"] = ok;
    doc["hosts"] = nlohmann::ordered_json::array();
    for (size_t i = 0; i < poller.Hosts().size(); ++i)
        doc["hosts"].push_back(StatusJson(poller.Hosts()[i], poller.Readings()[i]));
    doc["skippedLines"] = nlohmann::ordered_json::array();
    for (const HostListFile::Skipped& s : skipped)
        doc["skippedLines"].push_back({{"line", s.line}, {"text", s.text}, {"reason", s.reason}});
    // A watch writes one document a line.
    std::cout << JsonText(doc, watch ? -1 : 2) << std::endl;
}

int Run(const Options& o) {
    std::vector<HostListFile::Skipped> skipped;
    std::vector<FleetHost> fleet = Fleet(o, skipped);
    tools::PollOperator op;
    SystemClock clock;
    UdpFleetLanes lanes(op);
    const int period = o.watch > 0 ? o.watch * 1000 : kFleetPeriodMs;
    FleetPoller poller(lanes, clock, kStatusTimeoutMs, period);
    poller.SetHosts(std::move(fleet));

    int status = kExitOk;
    std::vector<std::string> shown;  // each host's line as last printed, without the time
    poller.onSweepEnd = [&] {
        const auto& readings = poller.Readings();
        bool ok = true;
        for (const FleetReading& r : readings) ok = ok && !NeedsAttention(r);
        status = ok ? kExitOk : kExitFailed;
        if (shown.empty()) {
            PrintAll(poller, skipped, o.hosts.json, o.watch > 0, ok);
            if (const std::string summary = AttentionSummary(readings); !summary.empty())
                std::cerr << summary << std::endl;
            for (size_t i = 0; i < readings.size(); ++i)
                shown.push_back(StatusLine(poller.Hosts()[i], readings[i], false));
            return;
        }
        nlohmann::ordered_json changes = nlohmann::ordered_json::array();
        for (size_t i = 0; i < readings.size(); ++i) {
            const std::string line = StatusLine(poller.Hosts()[i], readings[i], false);
            if (line == shown[i]) continue;
            shown[i] = line;
            if (o.hosts.json)
                changes.push_back(StatusJson(poller.Hosts()[i], readings[i]));
            else
                std::cout << StatusLine(poller.Hosts()[i], readings[i]) << std::endl;
        }
        // One line of JSON per sweep that changed something.
        if (o.hosts.json && !changes.empty())
            std::cout << JsonText({{"command", "status"}, {"ok", ok}, {"hosts", changes}}, -1)
                      << std::endl;
    };
    CatchStopSignals();
    poller.Start(op.TickMs());
    tools::DriveFleet(
        poller, lanes, op, [&] { return o.watch == 0 && poller.SweepsDone() > 0; }, &stopRequested);
    poller.Stop();
    return status;
}

}  // namespace

Command AddStatusCommand(CLI::App& app) {
    auto o = std::make_shared<Options>();
    CLI::App* sub = app.add_subcommand(
        "status", "Live state of the hosts (arming, alarm, faults, signal); no installer code");
    CLI::Option* host = sub->add_option("--host", o->hosts.host, "Host address");
    CLI::Option* hosts =
        sub->add_option("--hosts", o->hosts.hostsFile,
                        "File of host addresses or site names, one a line ('#' starts a comment)");
    CLI::Option* site =
        sub->add_option("--site", o->hosts.site, "Site of the site book (needs --database)");
    CLI::Option* all =
        sub->add_flag("--all-sites", o->allSites, "Every site of the site book (needs --database)");
    host->excludes(hosts)->excludes(site)->excludes(all);
    hosts->excludes(site)->excludes(all);
    site->excludes(all);
    sub->add_option("--database", o->hosts.database, "db.mdb that keeps the site book");
    sub->add_flag("--json", o->hosts.json,
                  "One JSON document on standard output (with --watch, one line per change)");
    sub->add_option("--watch", o->watch,
                    "Ask again every SECONDS and print only the hosts whose state changed")
        ->check(CLI::Range(1, 86400));
    return {sub, [o] { return Run(*o); }};
}

}  // namespace tarnwick::cli
