#pragma once
#include <stdexcept>
#include <string>

namespace tarnwick {

// The one error type of the field conversions: a reply pair that is not hex,
// a non-digit in a bit text. Flows that swallow errors catch this one.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& what) : std::runtime_error(what) {}
};

// A socket failure while sending or receiving; the exchange turns it into the
// "connecting to the host failed" box.
class SocketError : public std::runtime_error {
  public:
    explicit SocketError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarnwick
