#pragma once
#include <csignal>
#include <functional>

#include "operation/fleet_poller.h"
#include "operation/udp_fleet_lanes.h"

namespace tarnwick::tools {

// Drives a fleet poller without a window: waits in poll() on the lanes'
// sockets until the poller's next wake, hands it what came in, and returns
// when `done` says so, when the poller stopped, or when `*stop` is set (by a
// signal, which ends the wait). Nothing spins: between sweeps the process
// sleeps until the next one is due.
void DriveFleet(FleetPoller& poller, UdpFleetLanes& lanes, OperatorPort& op,
                const std::function<bool()>& done,
                const volatile std::sig_atomic_t* stop = nullptr);

}  // namespace tarnwick::tools
