#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

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
    virtual std::optional<std::string> Receive(int timeoutMs) = 0;
    virtual int ReceiveTimeoutMs() const = 0;
    virtual void SetReceiveTimeoutMs(int ms) = 0;
    std::optional<std::string> Receive() { return Receive(ReceiveTimeoutMs()); }
};

}  // namespace tarnwick
