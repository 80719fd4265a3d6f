#include "common/fleet_loop.h"

#include <poll.h>

#include <algorithm>
#include <vector>

#include "protocol/operator_port.h"
#include "protocol/socket_error.h"

namespace tarnwick::tools {
namespace {

constexpr int kMaxDatagramsPerWake = 64;

}  // namespace

void DriveFleet(FleetPoller& poller, UdpFleetLanes& lanes, OperatorPort& op,
                const std::function<bool()>& done, const volatile std::sig_atomic_t* stop) {
    std::vector<pollfd> fds;
    for (int lane = 0; lane < lanes.Count(); ++lane)
        fds.push_back({lanes.Descriptor(lane), POLLIN, 0});
    while (!(stop && *stop) && !done()) {
        const std::optional<uint64_t> wake = poller.NextWakeMs();
        if (!wake) return;
        const uint64_t now = op.TickMs();
        const int waitMs =
            *wake > now ? static_cast<int>(std::min<uint64_t>(*wake - now, 60000)) : 0;
        for (pollfd& p : fds) p.revents = 0;
        if (::poll(fds.data(), fds.size(), waitMs) > 0) {
            for (size_t lane = 0; lane < fds.size(); ++lane) {
                if (!(fds[lane].revents & POLLIN)) continue;
                try {
                    // A lane flooded with junk cannot hold the others up.
                    for (int n = 0; n < kMaxDatagramsPerWake; ++n) {
                        std::optional<Datagram> d = lanes.TakeWaiting(static_cast<int>(lane));
                        if (!d) break;
                        poller.Receive(static_cast<int>(lane), *d, op.TickMs());
                    }
                } catch (const SocketError&) {
                    // A socket error ends nothing: the query waits out its time.
                }
            }
        }
        poller.Tick(op.TickMs());
    }
}

}  // namespace tarnwick::tools
