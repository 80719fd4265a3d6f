#pragma once
#include <string>

#include "storage/database_port.h"

namespace tarnwick::testing {

// A clock that always reads the same moment, for log rows a test compares.
class FixedClock : public ClockPort {
  public:
    std::string NowText() override { return now; }
    std::string now = "2026-12-07 08:30:05";
};

}  // namespace tarnwick::testing
