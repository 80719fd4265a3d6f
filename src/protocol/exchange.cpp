#include "protocol/exchange.h"

#include <algorithm>
#include <functional>

#include "protocol/conversion_error.h"
#include "protocol/datagram_endpoint.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/reply_check.h"
#include "protocol/reply_prologue.h"
#include "protocol/socket_error.h"
#include "protocol/timing.h"
#include "protocol/trace_memo.h"

namespace tarnwick {

std::string ConnectFailedMessage(const std::string& error) {
    return std::string(kConnectFailedText) + "\r\n" + std::string(38, '-') + "\r\n" + error;
}

std::string StrayDatagramTrace(const std::string& frame, const std::string& datagram) {
    return "[调试数据]:\r\n发送信息: " + frame + "\r\n返回信息: " + datagram;
}

Exchanger::Exchanger(DatagramEndpoint& client, DatagramEndpoint& timerClient,
                     const DecoderRegistry& decoders, DecodeContext& context, TraceMemo& trace,
                     OperatorPort& op)
    : client_(client),
      timerClient_(timerClient),
      decoders_(decoders),
      context_(context),
      trace_(trace),
      op_(op) {}

namespace {

// The first data byte (byte 7) of a reply no decoder reads; none for a reply
// without data, whose check code stands there, or one that is not hex.
std::optional<unsigned> FirstDataByte(const std::string& reply) {
    try {
        const ReplyBytes bytes(BytesFromHex(reply));
        if (bytes.HasData(7)) return bytes.At(7);
    } catch (const ConversionError&) {
    }
    return std::nullopt;
}

}  // namespace

ReplyResult Exchanger::Dispatch(const std::string& reply) {
    ReplyResult result;
    if (const ReplyDecoder* decoder = decoders_.Find(Slice(reply, 9, 10)))
        result = (*decoder)(reply, context_);
    else
        result.resultByte = FirstDataByte(reply);
    if (result.text.empty()) result.text = reply;
    return result;
}

namespace {

// The strays of one exchange: the first kTracedStraysPerExchange are traced
// one by one, the rest only counted and summed up in one line at the end.
class StrayTrace {
  public:
    StrayTrace(TraceMemo& trace, const std::string& frame) : trace_(trace), frame_(frame) {}
    ~StrayTrace() {
        if (untraced_ > 0)
            trace_.Add("[调试数据]: 另有 " + std::to_string(untraced_) + " 个无关数据报未逐条记录");
    }
    StrayTrace(const StrayTrace&) = delete;
    StrayTrace& operator=(const StrayTrace&) = delete;

    // Left on the socket from before the request.
    void Stale(const Datagram& datagram) {
        Add([&] { return "[调试数据]:\r\n发送前丢弃: " + NormalizeReceived(datagram.payload); });
    }
    // Came during the wait but is not the reply: the entry names where it
    // came from when that is not the host asked.
    void During(const Datagram& datagram, const CheckedReply& checked) {
        Add([&] {
            std::string line = StrayDatagramTrace(frame_, checked.frame);
            if (FromTheHostAsked(checked.outcome)) return line;
            std::string sender = datagram.from;
            if (checked.outcome == ReplyOutcome::OtherPort)
                sender += ":" + std::to_string(datagram.fromPort);
            return line + "\r\n" + std::string(OutcomeName(checked.outcome)) + ": " + sender;
        });
    }

  private:
    template <typename Line>
    void Add(Line line) {
        if (traced_ < kTracedStraysPerExchange) {
            trace_.Add(line());
            ++traced_;
        } else {
            ++untraced_;
        }
    }

    TraceMemo& trace_;
    const std::string& frame_;
    int traced_ = 0;
    long long untraced_ = 0;
};

}  // namespace

struct Exchanger::Wait {
    int timeoutMs;
    AwaitedReply awaited;
    uint64_t start = 0;
};

std::optional<Datagram> Exchanger::NextDatagram(DatagramEndpoint& endpoint, const Wait& wait) {
    const uint64_t elapsed = op_.TickMs() - wait.start;
    if (elapsed >= static_cast<uint64_t>(kExchangeDeadlineMs)) return std::nullopt;
    const int left = kExchangeDeadlineMs - static_cast<int>(elapsed);
    return endpoint.ReceiveFrom(std::min(wait.timeoutMs, left));
}

namespace {

// Reads and drops what waits on the socket from before a request; at most
// as many datagrams as a socket's buffer holds, so a flood cannot hold the
// request back.
void DropWaiting(DatagramEndpoint& endpoint, const std::function<void(const Datagram&)>& stale) {
    for (int n = 0; n < kMaxDroppedBeforeRequest; ++n) {
        std::optional<Datagram> datagram = endpoint.TakeWaiting();
        if (!datagram) return;
        stale(*datagram);
    }
}

}  // namespace

ReplyResult Exchanger::Exchange(const CommandEntry& entry) {
    const std::string& frame = entry.frame;
    const CommandPair& labels = entry.codes;
    const std::string host = context_.session.CurrentHost();
    const uint16_t port = context_.session.CurrentPort();
    Wait wait{client_.ReceiveTimeoutMs(), ReplyFrom(host, port, labels.expected)};
    std::string reply;
    try {
        StrayTrace strays(trace_, frame);
        DropWaiting(client_, [&](const Datagram& d) { strays.Stale(d); });
        client_.SendTo(host, port, frame);
        wait.start = op_.TickMs();
        if (!labels.SentWithoutReply()) {
            while (std::optional<Datagram> datagram = NextDatagram(client_, wait)) {
                CheckedReply checked = CheckReply(wait.awaited, *datagram);
                if (NamesTheReply(checked.outcome)) {
                    reply = std::move(checked.frame);
                    break;
                }
                strays.During(*datagram, checked);
            }
        }
    } catch (const SocketError& e) {
        op_.Warning(ConnectFailedMessage(e.what()));
        return {ReplyKind::NoReply, {}, {}};
    }
    if (reply.empty()) return {ReplyKind::NoReply, {}, {}};
    return Dispatch(reply);
}

std::string Exchanger::ExchangeStatusQuery(const CommandEntry& entry) {
    const std::string host = context_.session.CurrentHost();
    const uint16_t port = context_.session.CurrentPort();
    Wait wait{timerClient_.ReceiveTimeoutMs(), ReplyFrom(host, port, entry.codes.expected)};
    std::string last;
    try {
        DropWaiting(timerClient_, [](const Datagram&) {});
        timerClient_.SendTo(host, port, entry.frame);
        wait.start = op_.TickMs();
        while (std::optional<Datagram> datagram = NextDatagram(timerClient_, wait)) {
            CheckedReply checked = CheckReply(wait.awaited, *datagram);
            if (!FromTheHostAsked(checked.outcome)) continue;
            last = std::move(checked.frame);
            if (Slice(last, 9, 10) == "12")
                if (const ReplyDecoder* decoder = decoders_.Find("12")) (*decoder)(last, context_);
            if (NamesTheReply(checked.outcome)) break;
        }
    } catch (...) {
        // The poll is silent: whatever came so far is the answer.
    }
    return last;
}

}  // namespace tarnwick
