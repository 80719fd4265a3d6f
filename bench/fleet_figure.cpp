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

constexpr double kSweepBudgetMs = 15000;
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

int MeasureFleet(const std::string& baseIp, int answering, int silent, int sweeps) {
    std::vector<FleetHost> hosts;
    for (int i = 0; i < answering; ++i)
        hosts.push_back({{AddressAt(baseIp, i), kHostPort, {}}, {}});
    const double memoryBefore = ResidentMb();
    // The first contact with a thousand addresses of a fresh lab fills its
    // neighbour tables; it is shown, not timed.
    const Run warmUp = Sweep(hosts, 1);
    std::printf(
        "fleet status: first contact with %d new addresses of the lab: %.0f ms, %d online\n",
        answering, warmUp.firstSweepMs, warmUp.online);
    const Run plain = Sweep(hosts, sweeps);
    // The silent addresses follow the answering ones in the lab; in the list
    // they are spread evenly among them.
    std::vector<FleetHost> mixed = hosts;
    for (int k = 0; k < silent; ++k) {
        const size_t at = static_cast<size_t>((k + 1) * answering / (silent + 1) + k);
        const FleetHost quiet{HostTarget{AddressAt(baseIp, answering + k), kHostPort, {}}, {}};
        mixed.insert(mixed.begin() + static_cast<std::ptrdiff_t>(at), quiet);
    }
    const Run withSilent = Sweep(mixed, 2);
    const double allowedExtra = silent * static_cast<double>(kStatusTimeoutMs) / kFleetLanes;
    const double extra = withSilent.lastSweepMs - plain.lastSweepMs;
    std::printf(
        "fleet status, %d hosts, %d at once: first sweep %.0f ms, last %.0f ms, %d online   "
        "[budget: within %.0f ms, all online]\n",
        answering, kFleetLanes, plain.firstSweepMs, plain.lastSweepMs, plain.online,
        kSweepBudgetMs);
    const double idleShare = plain.idleWallMs > 0 ? plain.idleCpuMs / plain.idleWallMs : 0;
    std::printf(
        "  between sweeps (%d sweeps, period %d ms): %.1f ms CPU in %.0f ms (%.2f%% of one core)"
        "   [budget: under %.0f%%]\n",
        sweeps, kFleetPeriodMs, plain.idleCpuMs, plain.idleWallMs, 100 * idleShare,
        100 * kIdleCpuBudget);
    std::printf(
        "  resident memory with the poller and the board of %d rows: %.1f MB (%.1f MB before)"
        "   [budget: under %.0f MB]\n",
        answering, plain.residentMb, memoryBefore, kMemoryBudgetMb);
    // A sweep with a silent host lasts at least its time-out, however few
    // the silent hosts and however fast the others answer: the waits spread
    // over the lanes cannot cost less than one of them.
    const double bound = std::max(allowedExtra, static_cast<double>(kStatusTimeoutMs));
    std::printf(
        "  with %d silent hosts among them: first sweep %.0f ms, the next (silent ones asked "
        "first) %.0f ms: %+.0f ms beside the sweep without them, %d offline   [budget: their "
        "time-outs over the lanes, %.0f ms, but at least one time-out, %d ms]\n",
        silent, withSilent.firstSweepMs, withSilent.lastSweepMs, extra, withSilent.offline,
        allowedExtra, kStatusTimeoutMs);
    const bool ok = plain.online == answering && plain.firstSweepMs <= kSweepBudgetMs &&
                    extra <= bound * 1.05 && idleShare < kIdleCpuBudget &&
                    plain.residentMb < kMemoryBudgetMb && withSilent.offline == silent;
    return ok ? 0 : 1;
}

}  // namespace tarnwick::bench
