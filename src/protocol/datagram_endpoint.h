#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// One datagram as it came in, with the IPv4 address it came from and the
// port it was sent from (0 where that is not known).
struct Datagram {
    std::string payload;
    std::string from;
    uint16_t fromPort = 0;
};

// One UDP endpoint of the data module: send to an address (or the broadcast
// address) and receive one datagram with a time-out. Socket failures throw
// SocketError.
class DatagramEndpoint {
  public:
    virtual ~DatagramEndpoint() = default;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual void SendTo(const std::string& host, uint16_t port, std::string_view payload) = 0;
    // At most kMaxDatagramBytes of one datagram; nullopt when none came in time.
    virtual std::optional<Datagram> ReceiveFrom(int timeoutMs) = 0;
    // A datagram already waiting on the socket, without waiting for one.
    virtual std::optional<Datagram> TakeWaiting() = 0;
    virtual int ReceiveTimeoutMs() const = 0;
    virtual void SetReceiveTimeoutMs(int ms) = 0;

    std::optional<std::string> Receive(int timeoutMs) {
        std::optional<Datagram> datagram = ReceiveFrom(timeoutMs);
        if (!datagram) return std::nullopt;
        return std::move(datagram->payload);
    }
    std::optional<std::string> Receive() { return Receive(ReceiveTimeoutMs()); }
};

}  // namespace tarnwick
