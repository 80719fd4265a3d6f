#include "support/scripted_endpoint.h"

#include "protocol/conversion_error.h"

namespace tarnwick::testing {

void ScriptedEndpoint::SendTo(const std::string& host, uint16_t port, std::string_view payload) {
    if (!failSend.empty()) throw SocketError(failSend);
    sent.push_back({host, port, std::string(payload)});
    if (responder)
        for (std::string& datagram : responder(std::string(payload)))
            incoming.push_back(std::move(datagram));
}

std::optional<std::string> ScriptedEndpoint::Receive(int timeoutMs) {
    waits.push_back(timeoutMs);
    if (onReceive) onReceive();
    if (incoming.empty()) return std::nullopt;
    std::string next = incoming.front();
    incoming.pop_front();
    return next;
}

}  // namespace tarnwick::testing
