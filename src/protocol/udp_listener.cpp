#include "protocol/udp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "protocol/hex_text.h"
#include "protocol/reply_check.h"
#include "protocol/socket_error.h"
#include "protocol/timing.h"

namespace tarnwick {

namespace {

// The frames a host sends without being asked, as the reply check knows
// them: a search answer (command 47 of any class) first, as the most
// frequent by far.
struct UnsolicitedFrame {
    std::string_view replyClass;
    std::string_view command;
    UnsolicitedKind kind;
};
constexpr UnsolicitedFrame kUnsolicitedFrames[] = {
    {"", "47", UnsolicitedKind::SearchAnswer},
    {"50", "01", UnsolicitedKind::UpgradeProgress},
    {"02", "4B", UnsolicitedKind::IpChangeResult},
};

// Which of them `datagram` is, judged by the reply check (its text, upper-
// cased and unescaped, in `text`); Ignored for none of them or a broken one.
UnsolicitedKind KindOf(const std::string& datagram, std::string& text) {
    for (const UnsolicitedFrame& f : kUnsolicitedFrames) {
        CheckedReply checked = CheckReply({{}, 0, f.replyClass, f.command}, {datagram, {}, 0});
        text = std::move(checked.frame);
        if (checked.outcome == ReplyOutcome::Reply) return f.kind;
        if (checked.outcome != ReplyOutcome::OtherClass &&
            checked.outcome != ReplyOutcome::OtherCommand)
            break;
    }
    return UnsolicitedKind::Ignored;
}

}  // namespace

UnsolicitedKind RouteUnsolicited(const std::string& datagram, DeviceParams& params,
                                 const HostSession& session, std::string* frame) {
    std::string text;
    const UnsolicitedKind kind = KindOf(datagram, text);
    if (frame) *frame = text;
    // Only a host's own frames (sender mark 01) count.
    if (kind == UnsolicitedKind::Ignored || Slice(text, 5, 6) != "01")
        return UnsolicitedKind::Ignored;
    if (kind == UnsolicitedKind::UpgradeProgress) {
        if (HexToText(Slice(text, 15, 44)) != session.CurrentHost())
            return UnsolicitedKind::Ignored;
        params.Set("UpdateInfo", text);
    }
    if (kind == UnsolicitedKind::IpChangeResult) {
        if (HexToText(Slice(text, 15, 44)) != session.PendingNewAddress())
            return UnsolicitedKind::Ignored;
        params.Set("ModifyIPInfo", text);
    }
    return kind;
}

UdpListener::UdpListener(DeviceParams& params, HostSession& session, uint16_t port,
                         std::string bindAddress, size_t maxQueued)
    : params_(params),
      session_(session),
      port_(port),
      bindAddress_(std::move(bindAddress)),
      maxQueued_(maxQueued) {}

UdpListener::~UdpListener() {
    Close();
}

void UdpListener::SetAnswerNotifier(std::function<void()> notify) {
    std::lock_guard lock(queueMutex_);
    notify_ = std::move(notify);
}

void UdpListener::Restart() {
    Close();
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw SocketError(std::string("socket: ") + std::strerror(errno));
    // No SO_REUSEADDR: a second program on the port would take part of the
    // answers, so only one may listen and the second is told the port is taken.
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    int size = kListenerReceiveBufferBytes;
    // The forced size passes the system limit when we may; else take what we get.
    if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port_);
    if (::inet_pton(AF_INET, bindAddress_.c_str(), &local.sin_addr) != 1) {
        ::close(fd);
        throw SocketError("bad listener address " + bindAddress_);
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        std::string error = std::strerror(errno);
        ::close(fd);
        throw SocketError("Socket Error # " + std::to_string(errno) + "\r\n" + error);
    }
    stopFd_ = ::eventfd(0, EFD_CLOEXEC);
    fd_ = fd;
    {
        std::lock_guard lock(queueMutex_);
        answers_.clear();
        overflow_ = 0;
    }
    thread_ = std::thread([this, fd, stopFd = stopFd_] { ReadLoop(fd, stopFd); });
}

void UdpListener::Close() {
    if (thread_.joinable()) {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t ignored = ::write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    if (fd_ >= 0) ::close(fd_);
    if (stopFd_ >= 0) ::close(stopFd_);
    fd_ = -1;
    stopFd_ = -1;
}

std::vector<std::string> UdpListener::TakeSearchAnswers() {
    std::lock_guard lock(queueMutex_);
    std::vector<std::string> out;
    out.swap(answers_);
    return out;
}

size_t UdpListener::TakeOverflowCount() {
    std::lock_guard lock(queueMutex_);
    return std::exchange(overflow_, 0);
}

void UdpListener::ReadLoop(int fd, int stopFd) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    std::string buffer(kMaxDatagramBytes, '\0');
    while (true) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        bool queued = false;
        // Take every datagram waiting before sleeping again.
        while (true) {
            ssize_t got = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got < 0) break;
            std::string frame;
            std::string datagram(buffer.data(), static_cast<size_t>(got));
            if (RouteUnsolicited(datagram, params_, session_, &frame) ==
                UnsolicitedKind::SearchAnswer) {
                std::lock_guard lock(queueMutex_);
                if (answers_.size() < maxQueued_) {
                    answers_.push_back(std::move(frame));
                    queued = true;
                } else {
                    ++overflow_;
                }
            }
        }
        if (queued) {
            std::function<void()> notify;
            {
                std::lock_guard lock(queueMutex_);
                notify = notify_;
            }
            if (notify) notify();
        }
    }
}

}  // namespace tarnwick
