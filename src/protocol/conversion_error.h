#pragma once
#include <stdexcept>
#include <string>

#include "protocol/socket_error.h"  // SocketError lived here once

namespace tarnwick {

// The one error type of the field conversions: a reply pair that is not hex,
// a non-digit in a bit text. Flows that swallow errors catch this one.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace tarnwick
