#include "modules/curl_ftp.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "modules/firmware_upgrade.h"
#include "support/late_ftp_server.h"
#include "support/recording_operator.h"

namespace tarnwick {
namespace {

// A server on loopback that greets every connection with `greeting` (maybe
// nothing) and then keeps it open without a word until it is stopped.
class MuteServer {
  public:
    explicit MuteServer(std::string greeting) : greeting_(std::move(greeting)) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 4);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~MuteServer() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

  private:
    void Serve() {
        std::vector<int> clients;
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0) {
                int c = ::accept(fd_, nullptr, nullptr);
                if (c >= 0) {
                    if (!greeting_.empty()) [[maybe_unused]]
                        auto n = ::send(c, greeting_.data(), greeting_.size(), 0);
                    clients.push_back(c);
                }
            }
        }
        for (int c : clients) ::close(c);
    }
    std::string greeting_;
    int fd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(CurlFtp, ServersThatHangOrSpeakNoFtpGiveNoImageWithinTheTimeOut) {
    testing::RecordingOperator op;
    CurlFtp ftp(op, 300, 800);
    for (const std::string greeting :
         {"", "220 ready\r\n", "garbage that is no FTP at all\r\n\x01\x02\xff\r\n"}) {
        MuteServer server(greeting);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(CheckUpgradeImage(ftp, server.Address())) << greeting;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 2.0) << greeting;
    }
    // The wait went through the operator port, which served the window.
    EXPECT_GT(op.tick, 0u);
}

TEST(CurlFtp, AServerThatAnswersLateAndNeverSaysGoodbyeEndsWithinTheCheckTime) {
    testing::RecordingOperator op;
    // The listing ends just before the check's time is up; waiting for the
    // answer to QUIT as for any answer would add as much again.
    constexpr int kCheckMs = 2000;
    CurlFtp ftp(op, 500, kCheckMs);
    testing::LateFtpServer server(std::chrono::milliseconds(1700));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(CheckUpgradeImage(ftp, server.Address()));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, kCheckMs / 1000.0 + 1.0);
    // QUIT was sent all the same; the server reads it in its own time.
    for (int waited = 0; waited < 3000 && !server.QuitCame(); waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(server.QuitCame());
}

TEST(CurlFtp, OnlyPlainHostNamesReachTheFtpAddress) {
    for (const char* host : {"10.231.1.2", "upgrade.lan", "UPGRADE-1.lan", "127.0.0.1:2121"})
        EXPECT_TRUE(IsPlainFtpHost(host)) << host;
    for (const char* host : {"", "a/b", "user@host", "ftp://host", "-host", ".host",
                             "host:", "host:0", "host:65536", "host:21:21", "host name", "主机"})
        EXPECT_FALSE(IsPlainFtpHost(host)) << host;
    testing::RecordingOperator op;
    CurlFtp ftp(op);
    EXPECT_THROW(ftp.ListNames("host/../../etc"), FtpError);
}

}  // namespace
}  // namespace tarnwick
