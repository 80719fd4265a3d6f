#pragma once
#include <stdexcept>
#include <string>

namespace tarnwick {

// A socket failure while sending or receiving; the exchange turns it into the
// "connecting to the host failed" box.
class SocketError : public std::runtime_error {
  public:
    explicit SocketError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarnwick
