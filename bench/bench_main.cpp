// tarnwick-bench: measures the budgets of the design on the lab, against
// simulated hosts. tools/bench.sh builds it, brings the lab up, starts the
// simulators and runs each figure:
//   tarnwick-bench exchange <host> [rounds]   one exchange beside a raw round trip
//   tarnwick-bench idle <silent-host>         CPU used while an exchange waits
//   tarnwick-bench search <hosts-expected>    answers one search takes in
#include <arpa/inet.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../tools/hostsim/lab_namespace.h"
#include "app/standard_decoders.h"
#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "poll_operator.h"
#include "programming/programming_requests.h"
#include "protocol/timing.h"
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
        char folder[] = "/tmp/tarnwick-bench-XXXXXX";
        dir = ::mkdtemp(folder);
        EnsureDatabase(dir + "/db.mdb");
        db = std::make_unique<SqliteDatabase>(dir + "/db.mdb");
        tdm = std::make_unique<DataModule>(op, *db, clock, DataModule::UdpEndpoints(op), kHostPort);
        RegisterStandardDecoders(tdm->decoders);
        tdm->LoadCodeTables();
    }
    ~Tool() {
        tdm.reset();
        std::remove((dir + "/db.mdb").c_str());
        ::rmdir(dir.c_str());
    }
    std::string dir;
    bench::PollOperator op;
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
        const std::string result = tool.tdm->exchanger.ExchangeCommand(read.frame, read.pair);
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
    const std::string result = tool.tdm->exchanger.ExchangeCommand(read.frame, read.pair);
    const double wallMs = Micros(Clock::now() - t0) / 1000.0;
    const double cpu = CpuMs() - cpu0;
    std::printf(
        "CPU while an exchange waits for a silent host: %.2f ms in %.0f ms of waiting "
        "(%.3f%%)   [budget: idle]\n",
        cpu, wallMs, 100.0 * cpu / wallMs);
    return result.empty() ? 0 : 1;
}

int MeasureSearch(int expected, const std::string& how) {
    Tool tool;
    HostListWindowModel window;
    const auto t0 = Clock::now();
    RunHostSearch(*tool.tdm, window);
    const double ms = Micros(Clock::now() - t0) / 1000.0;
    const int listed = window.list.NextRow() - 1;
    std::printf(
        "one search (%.0f ms, listener open about 1 s), %d hosts answering %s: "
        "%d listed   [budget: %d, none lost]\n",
        ms, expected, how.c_str(), listed, expected);
    return listed == expected ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what.empty() || argc < 3) {
        std::fprintf(stderr,
                     "usage: tarnwick-bench exchange <host> [rounds] | idle <silent-host> | "
                     "search <hosts-expected> [how]\n(run it through tools/bench.sh)\n");
        return 2;
    }
    if (!lab::InNamedNetworkNamespace()) {
        std::fprintf(stderr, "tarnwick-bench broadcasts: run it inside the lab (tools/bench.sh)\n");
        return 2;
    }
    if (what == "exchange") return MeasureExchange(argv[2], argc > 3 ? std::atoi(argv[3]) : 300);
    if (what == "idle") return MeasureIdle(argv[2]);
    if (what == "search")
        return MeasureSearch(std::atoi(argv[2]), argc > 3 ? argv[3] : "within the second");
    std::fprintf(stderr, "unknown figure %s\n", what.c_str());
    return 2;
}
