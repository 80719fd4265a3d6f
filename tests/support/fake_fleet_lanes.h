#pragma once
#include <string>
#include <vector>

#include "operation/fleet_poller.h"
#include "protocol/socket_error.h"

namespace tarnwick::testing {

// Lanes that record what is sent on them and what is dropped; a send to
// `unreachable` throws as a socket would.
class FakeFleetLanes : public FleetLanes {
  public:
    struct Sent {
        int lane;
        std::string address;
    };
    explicit FakeFleetLanes(int count = kFleetLanes) : count_(count) {}
    int Count() const override { return count_; }
    void Send(int lane, const HostTarget& target, const std::string& frame) override {
        if (target.address == unreachable) throw SocketError("Network is unreachable");
        sent.push_back({lane, target.address});
        frames.push_back(frame);
    }
    void Drop(int lane) override { dropped.push_back(lane); }

    std::vector<Sent> sent;
    std::vector<std::string> frames;
    std::vector<int> dropped;
    std::string unreachable;

  private:
    int count_;
};

}  // namespace tarnwick::testing
