#include "support/scripted_endpoint.h"

#include "protocol/socket_error.h"

namespace tarnwick::testing {

void ScriptedEndpoint::SendTo(const std::string& host, uint16_t port, std::string_view payload) {
    if (!failSend.empty()) throw SocketError(failSend);
    sent.push_back({host, port, std::string(payload)});
    if (responder)
        for (std::string& datagram : responder(std::string(payload)))
            incoming.push_back(std::move(datagram));
}

namespace {

Datagram Deliver(ScriptedEndpoint::Incoming next, const std::vector<ScriptedEndpoint::Sent>& sent) {
    if (next.from.empty()) next.from = sent.empty() ? "127.0.0.1" : sent.back().host;
    return {std::move(next.payload), std::move(next.from)};
}

}  // namespace

std::optional<Datagram> ScriptedEndpoint::ReceiveFrom(int timeoutMs) {
    waits.push_back(timeoutMs);
    if (onReceive) onReceive();
    if (incoming.empty()) return std::nullopt;
    Incoming next = std::move(incoming.front());
    incoming.pop_front();
    return Deliver(std::move(next), sent);
}

std::optional<Datagram> ScriptedEndpoint::TakeWaiting() {
    if (waiting.empty()) return std::nullopt;
    Incoming next = std::move(waiting.front());
    waiting.pop_front();
    return Deliver(std::move(next), sent);
}

}  // namespace tarnwick::testing
