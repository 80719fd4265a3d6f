#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace tarnwick::testing {

// An FTP server on loopback for one connection, as slow as a server may be:
// it lists IMAGE.RAM, sends the end of the listing (226) only `late` after
// it and never answers QUIT. Used by the tests and the benchmark.
class LateFtpServer {
  public:
    explicit LateFtpServer(std::chrono::milliseconds late);
    ~LateFtpServer();
    LateFtpServer(const LateFtpServer&) = delete;
    LateFtpServer& operator=(const LateFtpServer&) = delete;

    // "127.0.0.1:<port>", as the FTP check takes it.
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
    bool QuitCame() const { return quit_; }

  private:
    bool Readable(int fd) const;
    void Serve();
    void Answer(int control, const std::string& verb, int& data);

    std::chrono::milliseconds late_;
    uint16_t port_ = 0;
    int listening_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace tarnwick::testing
