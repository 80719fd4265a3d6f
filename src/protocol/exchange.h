#pragma once
#include <optional>
#include <string>

#include "protocol/command_entry.h"
#include "protocol/decoder_registry.h"
#include "protocol/reply_result.h"

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

// Sends one request to the current host and collects its reply, tracing stray
// datagrams and handing the reply to the decoder of its module class.
// Datagrams left waiting from before the request are dropped first; every
// datagram is judged by the one reply check (when the request went to one
// host, only that host's datagrams from the port asked can be its reply);
// and the exchange ends kExchangeDeadlineMs after its request at the latest.
class Exchanger {
  public:
    Exchanger(DatagramEndpoint& client, DatagramEndpoint& timerClient,
              const DecoderRegistry& decoders, DecodeContext& context, TraceMemo& trace,
              OperatorPort& op);

    // Sends the entry's frame and reports what its reply came to: the
    // decoder's report, shown as the decoder's text or else the reply itself;
    // no reply (nothing in time, a socket error, which the operator is shown,
    // or a request the host does not answer) has empty text.
    ReplyResult Exchange(const CommandEntry& entry);
    // The status poll's quiet twin: no trace, no message, never throws; every
    // class-12 datagram is decoded; returns the last datagram received.
    std::string ExchangeStatusQuery(const CommandEntry& entry);
    // What a normalized reply came to. A reply of a class without a decoder
    // is data shown as itself, its result byte the first data byte.
    ReplyResult Dispatch(const std::string& reply);

  private:
    struct Wait;
    // The next datagram within the exchange's time, or nullopt.
    std::optional<Datagram> NextDatagram(DatagramEndpoint& endpoint, const Wait& wait);

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
