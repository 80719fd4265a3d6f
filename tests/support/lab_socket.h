#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::testing {

// A UDP socket made inside another namespace of the lab, so that a test
// running in the tool's namespace sends from a host's address: a stray
// datagram, a spoofed reply, junk.
class LabSocket {
  public:
    explicit LabSocket(const std::string& ns);
    ~LabSocket();
    LabSocket(const LabSocket&) = delete;
    LabSocket& operator=(const LabSocket&) = delete;

    // Empty text when the socket was made; else why not.
    const std::string& Error() const { return error_; }
    void SendTo(const std::string& address, uint16_t port, std::string_view payload) const;

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace tarnwick::testing
