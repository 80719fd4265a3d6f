// tarnwick-bench: measures the budgets of the design on the lab, against
// simulated hosts. tools/bench.sh builds it, brings the lab up, starts the
// simulators and runs each figure:
//   tarnwick-bench exchange <host> [rounds]   one exchange beside a raw round trip
//   tarnwick-bench idle <silent-host>         CPU used while an exchange waits
//   tarnwick-bench search <hosts-expected>    answers one search takes in
//   tarnwick-bench flood <silent-host> [s]     an exchange under a flood of junk
//   tarnwick-bench refresh <host> [rounds]    pages 1 to 4 refreshed, beside their
//                                             pauses and raw round trips
//   tarnwick-bench poll <silent-host> [s]     CPU with the status timer running
//   tarnwick-bench backup <tarnwick-cli> <host> <hosts-file> [rounds]
//                                             tarnwick-cli's backup of one host
//                                             beside that of a list
//   tarnwick-bench compare <host>             two snapshot files of the largest
//                                             size compared
//   tarnwick-bench ftp -                      the upgrade server check against a
//                                             server and a name lookup that stall
//   tarnwick-bench fleet <base-ip> <hosts> [sweeps]
//                                             the fleet status over many hosts,
//                                             0 %, 10 % and 30 % of them silent
//   tarnwick-bench snapshot-files <template> <folder> <count> <base-ip>
//                                             copies of a backup for the
//                                             simulator's figure (no network)
#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "backup_figure.h"
#include "common/lab_namespace.h"
#include "common/poll_operator.h"
#include "fleet_figure.h"
#include "hostile_figures.h"
#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "hosts/host_window.h"
#include "log_writers_figure.h"
#include "operation/status_poll.h"
#include "programming/programming_requests.h"
#include "protocol/timing.h"
#include "protocol/udp_endpoint.h"
#include "snapshot_copies.h"
#include "storage/sqlite_database.h"

using namespace tarnwick;
using Clock = std::chrono::steady_clock;

namespace {

double Micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

struct Stats {
    double median, mean, p95;
};

Stats Summarize(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    return {v[v.size() / 2], sum / static_cast<double>(v.size()), v[v.size() * 95 / 100]};
}

// The tool's data module on real endpoints, with a scratch database.
struct Tool {
    Tool() {
        db = SqliteDatabase::InMemory();
        tdm = std::make_unique<DataModule>(op, *db, clock, DataModule::UdpEndpoints(op), kHostPort);
        RegisterStandardDecoders(tdm->decoders);
        tdm->LoadCodeTables();
    }
    tools::PollOperator op;
    SystemClock clock;
    std::unique_ptr<SqliteDatabase> db;
    std::unique_ptr<DataModule> tdm;
};

// The least a client can do: send the frame, block until a datagram comes,
// read it. No decoding, no trace.
class RawClient {
  public:
    explicit RawClient(const std::string& host) : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        to_.sin_family = AF_INET;
        to_.sin_port = htons(kHostPort);
        ::inet_pton(AF_INET, host.c_str(), &to_.sin_addr);
    }
    ~RawClient() { ::close(fd_); }
    bool RoundTrip(const std::string& frame) {
        ::sendto(fd_, frame.data(), frame.size(), 0, reinterpret_cast<sockaddr*>(&to_), sizeof to_);
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kCommandTimeoutMs) <= 0) return false;
        char buffer[kMaxDatagramBytes];
        return ::recv(fd_, buffer, sizeof buffer, 0) > 0;
    }

  private:
    int fd_;
    sockaddr_in to_{};
};

int MeasureExchange(const std::string& host, int rounds) {
    Tool tool;
    tool.tdm->session.SetCurrentHost(host);
    RawClient raw(host);
    const CommandEntry read = ReadSectionRequest(0);
    std::vector<double> exchange, roundTrip;
    int failures = 0;
    // Alternate the two so that both see the same machine and the same host.
    for (int i = -20; i < rounds; ++i) {
        auto t0 = Clock::now();
        const bool rawOk = raw.RoundTrip(read.frame);
        auto t1 = Clock::now();
        const std::string result = tool.tdm->exchanger.Exchange(read).text;
        auto t2 = Clock::now();
        if (!rawOk || result.empty()) ++failures;
        if (i < 0) continue;  // warming up
        roundTrip.push_back(Micros(t1 - t0));
        exchange.push_back(Micros(t2 - t1));
    }
    const Stats e = Summarize(exchange), r = Summarize(roundTrip);
    std::printf(
        "one exchange (section 00 read, %d rounds): median %.0f us, mean %.0f us, p95 %.0f us\n",
        rounds, e.median, e.mean, e.p95);
    std::printf(
        "raw round trip of a minimal client:        median %.0f us, mean %.0f us, p95 %.0f us\n",
        r.median, r.mean, r.p95);
    std::printf("exchange beyond the round trip (medians):  %.0f us   [budget: under 1000 us]\n",
                e.median - r.median);
    if (failures) std::printf("  %d round(s) got no reply\n", failures);
    return failures ? 1 : 0;
}

double CpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

int MeasureIdle(const std::string& silentHost) {
    Tool tool;
    tool.tdm->session.SetCurrentHost(silentHost);
    const CommandEntry read = ReadSectionRequest(0);
    const double cpu0 = CpuMs();
    const auto t0 = Clock::now();
    const std::string result = tool.tdm->exchanger.Exchange(read).text;
    const double wallMs = Micros(Clock::now() - t0) / 1000.0;
    const double cpu = CpuMs() - cpu0;
    std::printf(
        "CPU while an exchange waits for a silent host: %.2f ms in %.0f ms of waiting "
        "(%.3f%%)   [budget: idle]\n",
        cpu, wallMs, 100.0 * cpu / wallMs);
    return result.empty() ? 0 : 1;
}

// The host window on page 0 with its status timer running against a host that
// never answers: a poll every period, each waiting out its time-out.
int MeasurePoll(const std::string& silentHost, int seconds) {
    Tool tool;
    tool.tdm->session.SetCurrentHost(silentHost);
    HostWindow window(*tool.tdm);
    AssembleStandardPages(window);
    StandardPage(window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    window.PageChange(PageIndex(PageId::HostControl));
    const double cpu0 = CpuMs();
    const auto t0 = Clock::now();
    const double totalMs = seconds * 1000.0;
    int polls = 0;
    while (true) {
        const double left = totalMs - Micros(Clock::now() - t0) / 1000.0;
        if (left <= 0) break;
        tool.op.Pause(static_cast<int>(std::min<double>(kStatusPollPeriodMs, left)));
        if (Micros(Clock::now() - t0) / 1000.0 >= totalMs) break;
        if (window.statusTimerRunning &&
            PollHostStatus(window, StandardPage(window, PageId::HostControl).Controls(), true))
            ++polls;
    }
    const double wallMs = Micros(Clock::now() - t0) / 1000.0;
    const double cpu = CpuMs() - cpu0;
    std::printf(
        "CPU with the status timer polling a silent host: %.2f ms in %.0f s, %d polls "
        "(%.3f%% of one core)   [budget: under 1%%]\n",
        cpu, wallMs / 1000.0, polls, 100.0 * cpu / wallMs);
    return polls > 0 && cpu / wallMs < 0.01 ? 0 : 1;
}

int MeasureSearch(int expected, const std::string& how) {
    Tool tool;
    HostListWindowModel window;
    // The first step of the waiting panel follows the broadcast at once.
    Clock::time_point broadcast{};
    window.waiting.observer = [&] {
        if (window.waiting.position == 1 && broadcast == Clock::time_point{})
            broadcast = Clock::now();
    };
    Clock::time_point lastListed{};
    window.onListChanged = [&] { lastListed = Clock::now(); };
    const auto t0 = Clock::now();
    RunHostSearch(*tool.tdm, window);
    const double ms = Micros(Clock::now() - t0) / 1000.0;
    const int listed = window.list.NextRow() - 1;
    std::printf(
        "one search (%.0f ms, listener open about 1 s), %d hosts answering %s: "
        "%d listed   [budget: %d, none lost]\n",
        ms, expected, how.c_str(), listed, expected);
    if (listed > 0 && broadcast != Clock::time_point{})
        std::printf("  broadcast to the last host listed: %.0f ms   [budget: within the search]\n",
                    Micros(lastListed - broadcast) / 1000.0);
    return listed == expected ? 0 : 1;
}

// Resident and peak resident memory of this process, in MB.
std::pair<double, double> MemoryMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double rss = 0, peak = 0;
    for (long kb; status >> key;) {
        if (key == "VmRSS:" && status >> kb) rss = static_cast<double>(kb) / 1024;
        if (key == "VmHWM:" && status >> kb) peak = static_cast<double>(kb) / 1024;
    }
    return {rss, peak};
}

// Junk from another address floods the client's port for `seconds` while an
// exchange waits for a host that never answers: the exchange must end at its
// deadline, the trace stay short and the memory flat.
int MeasureFlood(const std::string& silentHost, int seconds) {
    Tool tool;
    tool.tdm->session.SetCurrentHost(silentHost);
    auto& client = dynamic_cast<UdpEndpoint&>(tool.tdm->client);
    const CommandEntry read = ReadSectionRequest(0);
    client.SendTo(silentHost, kHostPort, read.frame);  // binds the client's port
    const uint16_t port = client.LocalPort();

    std::atomic<bool> flooding = true;
    std::atomic<long> sent = 0;
    std::thread flooder([&] {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const std::string junk(64, 'J');
        const auto end = Clock::now() + std::chrono::seconds(seconds);
        while (flooding && Clock::now() < end)
            if (::sendto(fd, junk.data(), junk.size(), 0, reinterpret_cast<sockaddr*>(&to),
                         sizeof to) > 0)
                ++sent;
        ::close(fd);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the flood is on
    const auto [before, peakBefore] = MemoryMb();
    const auto t0 = Clock::now();
    const std::string result = tool.tdm->exchanger.Exchange(read).text;
    const double ms = Micros(Clock::now() - t0) / 1000.0;
    const auto [after, peakAfter] = MemoryMb();
    flooding = false;
    flooder.join();
    std::printf(
        "an exchange under a junk flood (%ld datagrams in %d s): ended after %.0f ms   "
        "[deadline: %d ms]\n",
        sent.load(), seconds, ms, kExchangeDeadlineMs);
    std::printf(
        "  trace lines: %zu; resident memory %.1f MB before, %.1f MB after, peak %.1f MB -> "
        "%.1f MB   [budget: flat]\n",
        tool.tdm->trace.Lines().size(), before, after, peakBefore, peakAfter);
    const bool onTime = ms <= kExchangeDeadlineMs + 500;
    return result.empty() && onTime ? 0 : 1;
}

// A refresh of each programming page beside what it cannot avoid: the
// cycle's fixed pauses plus, per exchange, the raw round trip of the same
// read measured right before it.
int MeasureRefresh(const std::string& host, int rounds) {
    Tool tool;
    tool.tdm->session.SetCurrentHost(host);
    HostWindow window(*tool.tdm);
    AssembleStandardPages(window);
    StandardPage(window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    RawClient raw(host);
    int status = 0;
    for (int page = 1; page <= 4; ++page) {
        window.PageChange(page);
        const CommandList reads = window.Page(page).ReadList();
        std::vector<double> refresh, pauses, roundTrips;
        for (int i = -3; i < rounds; ++i) {
            double roundTrip = 0;
            for (const CommandEntry& read : reads) {
                const auto t = Clock::now();
                if (!raw.RoundTrip(read.frame)) status = 1;
                roundTrip += Micros(Clock::now() - t);
            }
            const uint64_t paused = tool.op.pausedMs;
            const auto t0 = Clock::now();
            window.Refresh();
            const double wall = Micros(Clock::now() - t0);
            if (i < 0) continue;  // warming up
            refresh.push_back(wall);
            pauses.push_back(static_cast<double>(tool.op.pausedMs - paused) * 1000.0);
            roundTrips.push_back(roundTrip);
        }
        const double measured = Summarize(refresh).median / 1000.0;
        const double paused = Summarize(pauses).median / 1000.0;
        const double trips = Summarize(roundTrips).median / 1000.0;
        const double expected = paused + trips;
        const double over = 100.0 * (measured - expected) / expected;
        std::printf(
            "refresh of page %d %s (%zu exchanges, %d rounds): median %.1f ms; fixed pauses "
            "%.0f ms + raw round trips %.2f ms = %.1f ms; %+.1f%%   [budget: within 5%%]\n",
            page, window.Page(page).Caption().c_str(), reads.size(), rounds, measured, paused,
            trips, expected, over);
        if (over > 5.0) status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what.empty() || argc < 3) {
        std::fprintf(
            stderr,
            "usage: tarnwick-bench exchange <host> [rounds] | idle <silent-host> | "
            "poll <silent-host> [seconds] | search <hosts-expected> [how] | flood "
            "<silent-host> [seconds] | refresh <host> [rounds] | backup <tarnwick-cli> <host> "
            "<hosts-file> [rounds] | compare <host> | ftp - | log-writers <db.mdb or "
            "postgresql://...> [rows] | fleet <base-ip> <hosts> [sweeps] | "
            "snapshot-files <template> <folder> <count> <base-ip>\n(run it "
            "through "
            "tools/bench.sh)\n");
        return 2;
    }
    // Only the database: no datagram is sent.
    if (what == "log-writers")
        return bench::MeasureLogWriters(argv[2], argc > 3 ? std::atoi(argv[3]) : 200);
    if (what == "snapshot-files" && argc > 5)
        return bench::WriteSnapshotCopies(argv[2], argv[3], std::atoi(argv[4]), argv[5]);
    if (!lab::InNamedNetworkNamespace()) {
        std::fprintf(stderr, "tarnwick-bench broadcasts: run it inside the lab (tools/bench.sh)\n");
        return 2;
    }
    if (what == "exchange") return MeasureExchange(argv[2], argc > 3 ? std::atoi(argv[3]) : 300);
    if (what == "idle") return MeasureIdle(argv[2]);
    if (what == "refresh") return MeasureRefresh(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
    if (what == "poll") return MeasurePoll(argv[2], argc > 3 ? std::atoi(argv[3]) : 60);
    if (what == "search")
        return MeasureSearch(std::atoi(argv[2]), argc > 3 ? argv[3] : "within the second");
    if (what == "backup" && argc > 4)
        return bench::MeasureBackup(argv[2], argv[3], argv[4], argc > 5 ? std::atoi(argv[5]) : 5);
    if (what == "flood") return MeasureFlood(argv[2], argc > 3 ? std::atoi(argv[3]) : 12);
    if (what == "compare") return bench::MeasureLargeCompare(argv[2]);
    if (what == "ftp") return bench::MeasureFtpLimits();
    if (what == "fleet" && argc > 3)
        return bench::MeasureFleet(argv[2], std::atoi(argv[3]), argc > 4 ? std::atoi(argv[4]) : 3);
    std::fprintf(stderr, "unknown figure %s\n", what.c_str());
    return 2;
}
