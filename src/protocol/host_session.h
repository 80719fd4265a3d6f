#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "protocol/timing.h"

namespace tarnwick {

// The host being worked on (its address and the port it is reached at), and
// the address an IP change waits for. Both are read by the listener thread,
// so they are guarded.
class HostSession {
  public:
    std::string CurrentHost() const;
    uint16_t CurrentPort() const;
    void SetCurrentHost(const std::string& host, uint16_t port = kHostPort);
    // The new address typed in the network configuration dialog (blanks removed).
    std::string PendingNewAddress() const;
    void SetPendingNewAddress(const std::string& address);

    // The network module moved the host to the first page's local IP: the
    // host window model supplies that edit's text and follows the move.
    std::function<std::string()> localIpText;
    std::function<void(const std::string&)> onMovedByModule;

  private:
    mutable std::mutex mutex_;
    std::string currentHost_;
    uint16_t currentPort_ = kHostPort;
    std::string pendingNewAddress_;
};

}  // namespace tarnwick
