#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/datagram_endpoint.h"

namespace tarnwick::testing {

// An endpoint without a network: records what is sent and hands out the
// datagrams a test queued; an empty queue is a time-out.
class ScriptedEndpoint : public DatagramEndpoint {
  public:
    struct Sent {
        std::string host;
        uint16_t port;
        std::string payload;
    };

    void Open() override { ++opens; }
    void Close() override { ++closes; }
    void SendTo(const std::string& host, uint16_t port, std::string_view payload) override;
    std::optional<Datagram> ReceiveFrom(int timeoutMs) override;
    std::optional<Datagram> TakeWaiting() override;
    int ReceiveTimeoutMs() const override { return timeoutMs; }
    void SetReceiveTimeoutMs(int ms) override { timeoutMs = ms; }

    // A datagram to hand out; without a source it comes from the address
    // the last request went to.
    struct Incoming {
        Incoming(std::string text, std::string source = {})
            : payload(std::move(text)), from(std::move(source)) {}
        Incoming(const char* text) : payload(text) {}
        std::string payload;
        std::string from;
    };

    std::vector<Sent> sent;
    std::deque<Incoming> incoming;  // arrives while a receive waits
    std::deque<Incoming> waiting;   // already on the socket before the next send
    // Called on every receive that waits, before it answers: a test advances
    // the clock here, or acts as the operator would while the flow waits.
    std::function<void()> onReceive;
    std::vector<int> waits;  // the time-out of every receive
    int timeoutMs = 3500;
    int opens = 0;
    int closes = 0;
    std::string failSend;  // when set, SendTo throws SocketError with this text
    // Answers a sent payload by returning the datagrams to queue (a host).
    std::function<std::vector<std::string>(const std::string& payload)> responder;
};

}  // namespace tarnwick::testing
