#pragma once
#include <functional>
#include <optional>
#include <string>

#include "protocol/decoder_registry.h"

namespace tarnwick {

class DatagramEndpoint;
struct Datagram;
class OperatorPort;
class TraceMemo;

inline constexpr std::string_view kConnectFailedText = "连接主机失败，请稍候重试！";
// Stray datagrams of one exchange traced one by one; the rest are counted.
inline constexpr int kTracedStraysPerExchange = 300;
// Datagrams dropped from the socket before a request at most (more than a
// socket's receive buffer holds).
inline constexpr int kMaxDroppedBeforeRequest = 4096;

// The arming acknowledgement: the one request sent without waiting for a
// reply (the host answers nothing to it).
inline constexpr std::string_view kArmingAckPair = "1285:1285 布撤防操作应答确认";

// A command pair "QQQQ:RRRR description": request class and command, expected
// reply class and command, and what the operator is shown.
struct CommandPair {
    std::string request;   // QQQQ
    std::string expected;  // RRRR
    static CommandPair Parse(const std::string& label);
    // True for a request the host does not answer (the arming acknowledgement).
    bool SentWithoutReply() const;
};

// Sends one request to the current host and collects its reply, tracing stray
// datagrams and handing the reply to the decoder of its module class.
// Datagrams left waiting from before the request are dropped first; when the
// request went to one host, only that host's datagrams can be its reply; an
// empty datagram is a stray like any other; and the exchange ends
// kExchangeDeadlineMs after its request at the latest.
class Exchanger {
  public:
    Exchanger(DatagramEndpoint& client, DatagramEndpoint& timerClient,
              const DecoderRegistry& decoders, DecodeContext& context, TraceMemo& trace,
              OperatorPort& op);

    // The decoder's text, else the reply itself, else empty text (no reply or
    // a socket error, which the operator is shown).
    std::string ExchangeCommand(const std::string& frame, const std::string& pair);
    // The status poll's quiet twin: no trace, no message, never throws; every
    // class-12 datagram is decoded; returns the last datagram received.
    std::string ExchangeStatusQuery(const std::string& frame, const std::string& pair);
    // The decoder's text for a normalized reply, or the reply itself.
    std::string Dispatch(const std::string& reply);

  private:
    struct Wait;
    // The next datagram from the host asked within the exchange's time, or
    // nullopt; every other datagram goes to `stray`.
    std::optional<std::string> NextFromHost(DatagramEndpoint& endpoint, Wait& wait,
                                            const std::function<void(const Datagram&)>& stray);

    DatagramEndpoint& client_;
    DatagramEndpoint& timerClient_;
    const DecoderRegistry& decoders_;
    DecodeContext& context_;
    TraceMemo& trace_;
    OperatorPort& op_;
};

// The trace lines of a datagram that came while waiting for a reply to
// `frame` and was not that reply.
std::string StrayDatagramTrace(const std::string& frame, const std::string& datagram);

// "连接主机失败，请稍候重试！", CR LF, 38 hyphens, CR LF, the error's message.
std::string ConnectFailedMessage(const std::string& error);

}  // namespace tarnwick
