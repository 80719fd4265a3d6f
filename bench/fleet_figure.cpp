#include "fleet_figure.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "common/fleet_loop.h"
#include "common/poll_operator.h"
#include "operation/fleet_board.h"
#include "protocol/unicast_address.h"
#include "storage/database_port.h"

namespace tarnwick::bench {
namespace {

// A sweep ends within two time-outs, however many of its hosts are silent.
constexpr double kSweepBudgetMs = 2.0 * kStatusTimeoutMs;
constexpr int kSilentPercents[] = {0, 10, 30};
constexpr double kIdleCpuBudget = 0.05;
constexpr double kMemoryBudgetMb = 100;

double CpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

double ResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    for (long kb; status >> key;)
        if (key == "VmRSS:" && status >> kb) return static_cast<double>(kb) / 1024;
    return 0;
}

std::string AddressAt(const std::string& base, int offset) {
    const uint32_t n = IPv4Number(base) + static_cast<uint32_t>(offset);
    return std::to_string(n >> 24) + "." + std::to_string((n >> 16) & 255) + "." +
           std::to_string((n >> 8) & 255) + "." + std::to_string(n & 255);
}

// Lanes that note when a sweep's first query leaves, so that the time
// between sweeps can be told from the sweeps.
class TimedLanes : public UdpFleetLanes {
  public:
    using UdpFleetLanes::UdpFleetLanes;
    void Send(int lane, const HostTarget& target, const std::string& frame) override {
        if (idle && onFirstSend) onFirstSend();
        idle = false;
        UdpFleetLanes::Send(lane, target, frame);
    }
    bool idle = true;
    std::function<void()> onFirstSend;
};

struct Run {
    double firstSweepMs = 0;
    double lastSweepMs = 0;  // the last sweep, from its first query to its end
    double idleCpuMs = 0;
    double idleWallMs = 0;
    double residentMb = 0;
    int online = 0;
    int offline = 0;
};

Run Sweep(const std::vector<FleetHost>& hosts, int sweeps) {
    tools::PollOperator op;
    SystemClock clock;
    TimedLanes lanes(op);
    FleetPoller poller(lanes, clock);
    FleetBoard board(poller);
    poller.SetHosts(hosts);
    board.Arrange();
    Run run;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    Clock::time_point idleSince;
    Clock::time_point sweepStart = start;
    double idleCpu0 = 0;
    poller.onSweepEnd = [&] {
        board.Arrange();
        run.lastSweepMs =
            std::chrono::duration<double, std::milli>(Clock::now() - sweepStart).count();
        if (poller.SweepsDone() == 1) run.firstSweepMs = run.lastSweepMs;
        lanes.idle = true;
        idleSince = Clock::now();
        idleCpu0 = CpuMs();
    };
    lanes.onFirstSend = [&] {
        sweepStart = Clock::now();
        if (poller.SweepsDone() == 0) return;
        run.idleWallMs +=
            std::chrono::duration<double, std::milli>(Clock::now() - idleSince).count();
        run.idleCpuMs += CpuMs() - idleCpu0;
    };
    poller.Start(op.TickMs());
    tools::DriveFleet(poller, lanes, op, [&] { return poller.SweepsDone() >= sweeps; });
    run.residentMb = ResidentMb();
    for (const FleetReading& r : poller.Readings()) {
        run.online += r.state == FleetState::Online ? 1 : 0;
        run.offline += r.state == FleetState::Offline ? 1 : 0;
    }
    poller.Stop();
    return run;
}

}  // namespace

namespace {

FleetHost HostAt(const std::string& address) {
    return {{address, kHostPort, {}}, {}};
}

// `hosts` hosts: the played addresses, with `silent` of them replaced by
// addresses beyond the played ones, spread evenly through the list.
std::vector<FleetHost> Fleet(const std::string& baseIp, int hosts, int silent) {
    const int answering = hosts - silent;
    std::vector<FleetHost> fleet;
    for (int i = 0; i < answering; ++i) fleet.push_back(HostAt(AddressAt(baseIp, i)));
    for (int k = 0; k < silent; ++k) {
        const auto at = static_cast<std::ptrdiff_t>((k + 1) * answering / (silent + 1) + k);
        fleet.insert(fleet.begin() + at, HostAt(AddressAt(baseIp, hosts + k)));
    }
    return fleet;
}

}  // namespace

int MeasureFleet(const std::string& baseIp, int hosts, int sweeps) {
    const double memoryBefore = ResidentMb();
    // The first contact with a thousand addresses of a fresh lab fills its
    // neighbour tables; it is shown, not timed.
    const Run warmUp = Sweep(Fleet(baseIp, hosts, 0), 1);
    std::printf(
        "fleet status: first contact with %d new addresses of the lab: %.0f ms, %d online\n", hosts,
        warmUp.firstSweepMs, warmUp.online);
    bool ok = true;
    Run plain;
    for (const int percent : kSilentPercents) {
        const int silent = hosts * percent / 100;
        const Run run = Sweep(Fleet(baseIp, hosts, silent), percent == 0 ? sweeps : 2);
        if (percent == 0) plain = run;
        const bool right = run.online == hosts - silent && run.offline == silent;
        ok = ok && right && run.firstSweepMs <= kSweepBudgetMs && run.lastSweepMs <= kSweepBudgetMs;
        std::printf(
            "fleet status, %d hosts, %2d%% silent: first sweep %.0f ms, the last of %d %.0f ms; "
            "%d online, %d offline   [budget: each within %.0f ms; %d online, %d offline]\n",
            hosts, percent, run.firstSweepMs, percent == 0 ? sweeps : 2, run.lastSweepMs,
            run.online, run.offline, kSweepBudgetMs, hosts - silent, silent);
    }
    const double idleShare = plain.idleWallMs > 0 ? plain.idleCpuMs / plain.idleWallMs : 0;
    std::printf(
        "  between sweeps (%d sweeps, period %d ms): %.1f ms CPU in %.0f ms (%.2f%% of one core)"
        "   [budget: under %.0f%%]\n",
        sweeps, kFleetPeriodMs, plain.idleCpuMs, plain.idleWallMs, 100 * idleShare,
        100 * kIdleCpuBudget);
    std::printf(
        "  resident memory with the poller and the board of %d rows: %.1f MB (%.1f MB before)"
        "   [budget: under %.0f MB]\n",
        hosts, plain.residentMb, memoryBefore, kMemoryBudgetMb);
    ok = ok && idleShare < kIdleCpuBudget && plain.residentMb < kMemoryBudgetMb;
    return ok ? 0 : 1;
}

}  // namespace tarnwick::bench
