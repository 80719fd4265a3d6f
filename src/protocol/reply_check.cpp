#include "protocol/reply_check.h"

#include "protocol/frame_codec.h"
#include "protocol/unicast_address.h"

namespace tarnwick {
namespace {

// 7E, checksum, sender mark, addressee mark, class, command, check code, 7E.
constexpr size_t kShortestFrameChars = 16;

}  // namespace

AwaitedReply ReplyFrom(std::string_view host, uint16_t port, std::string_view code) {
    const bool oneHost = IsUnicastIPv4(host);
    return {oneHost ? host : std::string_view{}, oneHost ? port : uint16_t{0}, code.substr(0, 2),
            code.substr(2, 2)};
}

namespace {

ReplyOutcome Judge(const AwaitedReply& awaited, const Datagram& datagram, std::string_view frame) {
    if (!awaited.host.empty() && datagram.from != awaited.host) return ReplyOutcome::OtherHost;
    if (awaited.port != 0 && datagram.fromPort != 0 && datagram.fromPort != awaited.port)
        return ReplyOutcome::OtherPort;
    if (frame.size() < kShortestFrameChars) return ReplyOutcome::TooShort;
    if (!awaited.replyClass.empty() && frame.substr(8, 2) != awaited.replyClass)
        return ReplyOutcome::OtherClass;
    if (frame.substr(10, 2) != awaited.command) return ReplyOutcome::OtherCommand;
    switch (FindFrameFault(frame)) {
        case FrameFault::Checksum:
            return ReplyOutcome::BadChecksum;
        case FrameFault::CheckCode:
            return ReplyOutcome::BadCheckCode;
        case FrameFault::None:
            break;
    }
    return ReplyOutcome::Reply;
}

}  // namespace

CheckedReply CheckReply(const AwaitedReply& awaited, const Datagram& datagram) {
    std::string frame = NormalizeReceived(datagram.payload);
    const ReplyOutcome outcome = Judge(awaited, datagram, frame);
    return {outcome, std::move(frame)};
}

bool NamesTheReply(ReplyOutcome outcome) {
    return outcome == ReplyOutcome::Reply || outcome == ReplyOutcome::BadChecksum ||
           outcome == ReplyOutcome::BadCheckCode;
}

bool FromTheHostAsked(ReplyOutcome outcome) {
    return outcome != ReplyOutcome::OtherHost && outcome != ReplyOutcome::OtherPort;
}

std::string_view OutcomeName(ReplyOutcome outcome) {
    switch (outcome) {
        case ReplyOutcome::Reply:
            return "应答";
        case ReplyOutcome::OtherHost:
            return "来自其他地址";
        case ReplyOutcome::OtherPort:
            return "来自其他端口";
        case ReplyOutcome::TooShort:
            return "数据报过短";
        case ReplyOutcome::OtherClass:
            return "其他模块类别";
        case ReplyOutcome::OtherCommand:
            return "其他命令";
        case ReplyOutcome::BadChecksum:
            return "校验和出错";
        case ReplyOutcome::BadCheckCode:
            return "校验码出错";
    }
    return {};
}

}  // namespace tarnwick
