#include "hostile_figures.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "app/standard_decoders.h"
#include "app/standard_pages.h"
#include "backup/config_compare.h"
#include "backup/snapshot_file.h"
#include "backup/snapshot_reads.h"
#include "common/poll_operator.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/curl_ftp.h"
#include "modules/firmware_upgrade.h"
#include "protocol/timing.h"
#include "storage/sqlite_database.h"
#include "support/late_ftp_server.h"

namespace tarnwick::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The addresses /etc/resolv.conf names in the lab run of this figure.
constexpr const char* kSilentNameServers[] = {"127.0.0.53", "127.0.0.54"};

// Holds port 53 of an address without ever answering, so that a query waits
// for its time-out instead of being refused at once.
int SilentNameServer(const char* address) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(53);
    ::inet_pton(AF_INET, address, &a.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

bool ResolverIsSilent() {
    std::ifstream in("/etc/resolv.conf");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    return text.find(std::string("nameserver ") + kSilentNameServers[0]) != std::string::npos;
}

}  // namespace

int MeasureLargeCompare(const std::string& host) {
    tools::PollOperator op;
    SystemClock clock;
    const std::unique_ptr<SqliteDatabase> db = SqliteDatabase::InMemory();
    DataModule tdm(op, *db, clock, DataModule::UdpEndpoints(op), kHostPort);
    RegisterStandardDecoders(tdm.decoders);
    tdm.LoadCodeTables();
    HostWindow window(tdm);
    AssembleStandardPages(window);
    tdm.session.SetCurrentHost(host);
    ConfigSnapshot before = TakeSnapshot(tdm, SnapshotReads(window), "123456", "bench");
    // As many keys as a snapshot may hold, their values long enough to make
    // the file as large as a snapshot may be.
    const size_t bare = SnapshotToJson(before).size();
    const size_t padding = kMaxSnapshotKeys - before.keys.size();
    const size_t perKey = (kMaxSnapshotFileBytes - bare) / padding - 1;
    constexpr size_t kLineBytes = sizeof("    \"Pad0000000\": \"\",\n") - 1;
    const std::string value(perKey - kLineBytes, 'A');
    for (size_t n = 0; n < padding; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "Pad%07zu", n);
        before.keys.emplace_back(name, value);
    }
    ConfigSnapshot after = before;
    after.keys.back().second.back() = 'B';
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("tarnwick-bench-compare-" + std::to_string(::getpid()));
    std::filesystem::create_directory(dir);
    const std::string first = (dir / "first.json").string();
    const std::string second = (dir / "second.json").string();
    CodeKeys keys(std::nullopt, {});  // the figure is the comparison's: codes in clear
    WriteSnapshotFile(first, before, CodeForm::Full, keys);
    WriteSnapshotFile(second, after, CodeForm::Full, keys);
    const auto size = std::filesystem::file_size(second);
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    const auto differences =
        CompareSnapshots(window, ReadSnapshotFile(first), ReadSnapshotFile(second));
    const double seconds = Seconds(Clock::now() - t0);
    const double cpu = CpuSeconds() - cpu0;
    std::filesystem::remove_all(dir);
    std::printf(
        "two snapshot files of %.1f MB (%zu keys) read and compared: %.2f s (%.2f s of CPU), "
        "%zu difference   [budget: within 1 s]\n",
        static_cast<double>(size) / (1024 * 1024), before.keys.size(), seconds, cpu,
        differences.size());
    return differences.size() == 1 && seconds <= 1.0 ? 0 : 1;
}

int MeasureFtpLimits() {
    int status = 0;
    tools::PollOperator op;
    CurlFtp ftp(op);
    {
        const auto late = std::chrono::milliseconds(kFtpCheckTimeoutMs - 1000);
        testing::LateFtpServer server(late);
        const auto t0 = Clock::now();
        const bool found = CheckUpgradeImage(ftp, server.Address());
        const double seconds = Seconds(Clock::now() - t0);
        std::printf(
            "upgrade server check, listing ended after %.0f s and QUIT never answered: %.1f s, "
            "image %s   [limit: %d s with a connection]\n",
            Seconds(late), seconds, found ? "found" : "not found", kFtpCheckTimeoutMs / 1000);
        if (!found || seconds > kFtpCheckTimeoutMs / 1000.0 + 0.5) status = 1;
    }
    if (!ResolverIsSilent()) {
        std::printf("  (name lookup figure left out: /etc/resolv.conf does not name %s)\n",
                    kSilentNameServers[0]);
        return status;
    }
    std::vector<int> servers;
    for (const char* address : kSilentNameServers) servers.push_back(SilentNameServer(address));
    const auto t0 = Clock::now();
    const bool found = CheckUpgradeImage(ftp, "upgrade.lan");
    const double seconds = Seconds(Clock::now() - t0);
    for (int fd : servers)
        if (fd >= 0) ::close(fd);
    std::printf(
        "upgrade server check of a name whose two name servers stay silent: %.1f s   "
        "[limit: %d s without a connection]\n",
        seconds, kFtpConnectTimeoutMs / 1000);
    if (found || seconds > kFtpConnectTimeoutMs / 1000.0 + 0.5) status = 1;
    return status;
}

}  // namespace tarnwick::bench
