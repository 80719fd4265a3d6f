#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "operation/fleet_poller.h"
#include "protocol/udp_endpoint.h"

namespace tarnwick {

class OperatorPort;

// The fleet status's lanes on UDP sockets of their own, one a lane, apart
// from the sockets of the exchanges. The driver waits on their descriptors
// and takes what waits on a lane without blocking; which query a datagram
// answers, if any, the poller tells by its sender.
class UdpFleetLanes : public FleetLanes {
  public:
    UdpFleetLanes(OperatorPort& op, int count = kFleetLanes);
    int Count() const override { return static_cast<int>(sockets_.size()); }
    void Send(int lane, const HostTarget& target, const std::string& frame) override;
    void Drop(int lane) override;
    int Descriptor(int lane);
    std::optional<Datagram> TakeWaiting(int lane);

  private:
    std::vector<std::unique_ptr<UdpEndpoint>> sockets_;
};

}  // namespace tarnwick
