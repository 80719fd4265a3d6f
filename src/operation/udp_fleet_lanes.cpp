#include "operation/udp_fleet_lanes.h"

#include "protocol/exchange.h"
#include "protocol/socket_error.h"
#include "protocol/timing.h"

namespace tarnwick {

UdpFleetLanes::UdpFleetLanes(OperatorPort& op, int count) {
    for (int i = 0; i < count; ++i)
        sockets_.push_back(std::make_unique<UdpEndpoint>(op, kStatusTimeoutMs));
}

void UdpFleetLanes::Send(int lane, const HostTarget& target, const std::string& frame) {
    sockets_.at(static_cast<size_t>(lane))->SendTo(target.address, target.port, frame);
}

void UdpFleetLanes::Drop(int lane) {
    UdpEndpoint& socket = *sockets_.at(static_cast<size_t>(lane));
    try {
        for (int n = 0; n < kMaxDroppedBeforeRequest && socket.TakeWaiting(); ++n) {
        }
    } catch (const SocketError&) {
        // Nothing more to read from it.
    }
}

int UdpFleetLanes::Descriptor(int lane) {
    return sockets_.at(static_cast<size_t>(lane))->Descriptor();
}

std::optional<Datagram> UdpFleetLanes::TakeWaiting(int lane) {
    return sockets_.at(static_cast<size_t>(lane))->TakeWaiting();
}

}  // namespace tarnwick
