#pragma once
#include "protocol/datagram_endpoint.h"

namespace tarnwick {

class OperatorPort;

// A POSIX UDP socket with broadcast allowed. Waiting for a datagram goes
// through the operator port, so window events keep being served and the
// datagram is taken the moment it arrives.
class UdpEndpoint : public DatagramEndpoint {
  public:
    UdpEndpoint(OperatorPort& op, int receiveTimeoutMs);
    ~UdpEndpoint() override;
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    void Open() override;
    void Close() override;
    void SendTo(const std::string& host, uint16_t port, std::string_view payload) override;
    std::optional<Datagram> ReceiveFrom(int timeoutMs) override;
    std::optional<Datagram> TakeWaiting() override;
    int ReceiveTimeoutMs() const override { return timeoutMs_; }
    void SetReceiveTimeoutMs(int ms) override { timeoutMs_ = ms; }
    bool IsOpen() const { return fd_ >= 0; }
    // The socket, opened when it was not, for a caller that waits on many.
    int Descriptor() {
        Open();
        return fd_;
    }
    // The local port the socket is bound to; 0 before the first send.
    uint16_t LocalPort() const;

  private:
    // One recvfrom without blocking; nullopt when nothing is waiting.
    std::optional<Datagram> ReadNow();

    OperatorPort& op_;
    int timeoutMs_;
    int fd_ = -1;
};

}  // namespace tarnwick
