#include "protocol/exchange.h"

#include "protocol/conversion_error.h"
#include "protocol/datagram_endpoint.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "protocol/trace_memo.h"

namespace tarnwick {

CommandPair CommandPair::Parse(const std::string& label) {
    return {Slice(label, 1, 4), Slice(label, 6, 9)};
}

bool CommandPair::SentWithoutReply() const {
    return request == kArmingAckPair.substr(0, 4);
}

std::string ConnectFailedMessage(const std::string& error) {
    return std::string(kConnectFailedText) + "\r\n" + std::string(38, '-') + "\r\n" + error;
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

std::string Exchanger::Dispatch(const std::string& reply) {
    std::string result;
    if (const ReplyDecoder* decoder = decoders_.Find(Slice(reply, 9, 10)))
        result = (*decoder)(reply, context_);
    return result.empty() ? reply : result;
}

std::string Exchanger::ExchangeCommand(const std::string& frame, const std::string& pair) {
    const CommandPair labels = CommandPair::Parse(pair);
    std::string reply;
    try {
        client_.SendTo(context_.session.CurrentHost(), kHostPort, frame);
        if (!labels.SentWithoutReply()) {
            while (true) {
                std::optional<std::string> datagram = client_.Receive();
                if (!datagram || datagram->empty()) break;
                std::string candidate = NormalizeReceived(*datagram);
                if (Slice(candidate, 9, 12) == labels.expected) {
                    reply = std::move(candidate);
                    break;
                }
                trace_.Add("[调试数据]:\r\n发送信息: " + frame + "\r\n返回信息: " + candidate);
            }
        }
    } catch (const SocketError& e) {
        op_.Warning(ConnectFailedMessage(e.what()));
        return {};
    }
    if (reply.empty()) return {};
    return Dispatch(reply);
}

std::string Exchanger::ExchangeStatusQuery(const std::string& frame, const std::string& pair) {
    const CommandPair labels = CommandPair::Parse(pair);
    std::string last;
    try {
        timerClient_.SendTo(context_.session.CurrentHost(), kHostPort, frame);
        while (true) {
            std::optional<std::string> datagram = timerClient_.Receive();
            if (!datagram || datagram->empty()) break;
            last = NormalizeReceived(*datagram);
            if (Slice(last, 9, 10) == "12")
                if (const ReplyDecoder* decoder = decoders_.Find("12")) (*decoder)(last, context_);
            if (Slice(last, 9, 12) == labels.expected) break;
        }
    } catch (...) {
        // The poll is silent: whatever came so far is the answer.
    }
    return last;
}

}  // namespace tarnwick
