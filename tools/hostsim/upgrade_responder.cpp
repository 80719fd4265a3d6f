// Module class 50: the network module's firmware upgrade order.
#include "fields.h"
#include "protocol/hex_text.h"
#include "responder.h"

namespace tarnwick::hostsim {

std::optional<Reply> RespondUpgrade(SimHost& host, const Request& request) {
    if (request.command != "81") return std::nullopt;
    const std::string server = HexToText(DataBytes(request.data, 1, 50));
    // 00 accepts the order; a fault forces anything else.
    const int result = request.Result(0);
    const bool accepted = result == 0 && !server.empty();
    Reply reply{"50", "01",
                ByteHex(static_cast<unsigned>(accepted      ? 0
                                              : result == 0 ? 1
                                                            : result)),
                false, "upgrade order from " + server + (accepted ? " accepted" : " refused")};
    if (!accepted) return reply;
    host.upgrade.lastServer = server;
    if (!host.upgrade.report.empty())
        host.later.push_back({host.upgrade.reportDelayMs, "50", "01",
                              host.upgrade.report + Field(host.address, 15),
                              "upgrade report " + host.upgrade.report});
    return reply;
}

}  // namespace tarnwick::hostsim
