#include "sim_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "protocol/frame_codec.h"
#include "protocol/timing.h"
#include "reply_frame.h"

namespace tarnwick::hostsim {

namespace {

// A stray is the genuine reply to another request, answered by a copy of the
// host so that it changes nothing.
std::string StrayFrame(const SimHost& host, const FaultEffect& fault) {
    SimHost scratch = host;
    Request other;
    other.moduleClass = fault.strayRequest.substr(0, 2);
    other.command = fault.strayRequest.substr(2, 2);
    other.data = fault.strayRequest.substr(4);
    const std::optional<Reply> stray = Respond(scratch, other);
    return stray ? BuildReplyFrame(stray->moduleClass, stray->command, stray->data)
                 : BuildReplyFrame(other.moduleClass, other.command, "01");
}

}  // namespace

uint64_t NowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

std::string Endpoint(in_addr address, uint16_t port) {
    char text[INET_ADDRSTRLEN];
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return std::string(text) + ":" + std::to_string(port);
}

SimServer::SimServer(SimConfig config, SimLog& log, uint16_t port)
    : config_(std::move(config)), log_(log), port_(port) {
    for (size_t i = 0; i < config_.hosts.size(); ++i)
        byAddress_[ParseAddress(config_.hosts[i].address)] = i;
}

SimServer::~SimServer() {
    if (fd_ >= 0) ::close(fd_);
    if (signalFd_ >= 0) ::close(signalFd_);
}

void SimServer::Open() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    ::setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    int buffer = 4 * 1024 * 1024;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    ::setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port_);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        throw std::runtime_error("bind 0.0.0.0:" + std::to_string(port_) + ": " +
                                 std::strerror(errno));
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &stops, nullptr);
    signalFd_ = ::signalfd(-1, &stops, SFD_CLOEXEC);
    startMs_ = NowMs();
    log_.Note("playing " + std::to_string(config_.hosts.size()) + " host(s) on port " +
              std::to_string(port_));
}

void SimServer::Play(std::vector<ScriptEvent> script) {
    for (const ScriptEvent& e : script)
        for (const std::string& address : e.hosts)
            if (!byAddress_.count(ParseAddress(address)))
                throw std::runtime_error("the script names " + address + ", which is not played");
    script_ = std::move(script);
    nextEvent_ = 0;
}

int SimServer::Timeout() const {
    uint64_t due = UINT64_MAX;
    if (!queue_.empty()) due = queue_.top().dueMs;
    if (nextEvent_ < script_.size()) due = std::min(due, startMs_ + script_[nextEvent_].atMs);
    if (due == UINT64_MAX) return -1;
    const uint64_t now = NowMs();
    return due > now ? static_cast<int>(std::min<uint64_t>(due - now, INT32_MAX)) : 0;
}

void SimServer::Run() {
    while (true) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {signalFd_, POLLIN, 0}};
        if (::poll(fds, 2, Timeout()) < 0 && errno != EINTR)
            throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
        if (fds[1].revents) break;
        HappenDue();
        if (fds[0].revents & POLLIN) ReceiveAll();
        SendDue();
    }
    log_.Note("stopped");
}

void SimServer::HappenDue() {
    const uint64_t now = NowMs();
    for (; nextEvent_ < script_.size() && startMs_ + script_[nextEvent_].atMs <= now;
         ++nextEvent_) {
        const ScriptEvent& e = script_[nextEvent_];
        auto happen = [&](SimHost& host) {
            log_.Note("script: " + host.address + ": " + Happen(e, host, now));
            if (e.kind != ScriptEvent::Kind::Silent && e.kind != ScriptEvent::Kind::Garbled)
                Persist(host);
        };
        if (e.hosts.empty())
            for (SimHost& host : config_.hosts) happen(host);
        for (const std::string& address : e.hosts)
            happen(config_.hosts[byAddress_.at(ParseAddress(address))]);
    }
}

void SimServer::Persist(const SimHost& host) {
    if (!store_) return;
    try {
        store_->Save(host);
    } catch (const std::exception& e) {
        log_.Note(host.address + ": state not kept: " + e.what());
    }
}

void SimServer::ReceiveAll() {
    std::string buffer(kMaxDatagramBytes, '\0');
    while (true) {
        sockaddr_in from{};
        iovec iov{buffer.data(), buffer.size()};
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(fd_, &msg, MSG_DONTWAIT);
        if (got < 0) return;
        in_addr destination{};
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO)
                destination = reinterpret_cast<in_pktinfo*>(CMSG_DATA(c))->ipi_addr;
        Handle(std::string(buffer.data(), static_cast<size_t>(got)), from, destination);
    }
}

void SimServer::Handle(const std::string& payload, const sockaddr_in& from, in_addr destination) {
    log_.Datagram("recv", Endpoint(from.sin_addr, ntohs(from.sin_port)),
                  Endpoint(destination, port_), payload);
    Request request;
    if (!ParseRequest(NormalizeReceived(payload), request)) {
        log_.Note("not a request frame; ignored");
        return;
    }
    if (destination.s_addr == htonl(INADDR_BROADCAST)) {
        request.broadcast = true;
        const size_t n = config_.hosts.size();
        for (size_t i = 0; i < n; ++i) {
            const uint64_t offset =
                n > 1 ? static_cast<uint64_t>(config_.answerSpreadMs) * i / (n - 1) : 0;
            Answer(config_.hosts[i], request, from, offset);
        }
        return;
    }
    auto it = byAddress_.find(ntohl(destination.s_addr));
    if (it == byAddress_.end()) {
        log_.Note("no host is played at " + Endpoint(destination, port_) + "; ignored");
        return;
    }
    Answer(config_.hosts[it->second], request, from, 0);
}

void SimServer::Answer(SimHost& host, Request request, const sockaddr_in& from, uint64_t offsetMs) {
    const std::string classAndCommand = request.ClassAndCommand();
    if (NowMs() < host.silentUntilMs) {
        log_.Note(host.address + ": " + classAndCommand + " left unanswered (script: silent)");
        return;
    }
    const FaultEffect fault = Apply(host.faults, config_.faults, classAndCommand, request.data);
    request.forcedResult = fault.result;
    if (classAndCommand == "1285")
        log_.Note(host.address + ": arming acknowledgement " +
                  (request.data == host.lastArmingInfo ? "matches" : "does not match") +
                  " the last arming reply");
    // Strays leave even when the reply itself is lost.
    in_addr self{htonl(ParseAddress(host.address))};
    sockaddr_in to = from;
    const uint64_t due = NowMs() + offsetMs + static_cast<uint64_t>(fault.delayMs);
    for (int i = 0; i < fault.strays; ++i) Queue(due, StrayFrame(host, fault), self, to, "stray");
    if (fault.silent) {
        log_.Note(host.address + ": " + classAndCommand + " left unanswered (" + Describe(fault) +
                  ")");
        SendDue();
        return;
    }
    const std::optional<Reply> reply = Respond(host, request);
    if (reply && reply->changed) Persist(host);
    if (!reply) {
        if (classAndCommand != "1285")
            log_.Note(host.address + ": " + classAndCommand + " gets no reply");
        SendDue();
        return;
    }
    if (reply->toListener) to.sin_port = htons(port_);
    const std::string frame =
        BuildReplyFrame(reply->moduleClass, reply->command, reply->data, fault.badChecksum);
    std::string note = reply->note;
    if (fault.any) note += " [" + Describe(fault) + "]";
    for (int i = 0; i < fault.repeat; ++i)
        Queue(due + static_cast<uint64_t>(i * fault.repeatGapMs), frame, self, to, note);
    if (std::optional<FollowUp> later = std::exchange(host.followUp, std::nullopt))
        Queue(due + static_cast<uint64_t>(later->afterMs),
              BuildReplyFrame(reply->moduleClass, later->command, later->data), self, to,
              later->note, [this, &host, stillDue = later->stillDue] {
                  if (stillDue && !stillDue()) return false;
                  Persist(host);  // what it reports has changed the host
                  return true;
              });
    sockaddr_in listener = from;
    listener.sin_port = htons(port_);
    for (const LaterFrame& later : host.later)
        Queue(due + static_cast<uint64_t>(later.delayMs),
              BuildReplyFrame(later.moduleClass, later.command, later.data, false), self, listener,
              later.note);
    host.later.clear();
    SendDue();
}

void SimServer::Queue(uint64_t dueMs, std::string payload, in_addr from, sockaddr_in to,
                      std::string note, std::function<bool()> stillDue) {
    queue_.push(Outgoing{dueMs, sequence_++, std::move(payload), from, to, std::move(note),
                         std::move(stillDue)});
}

void SimServer::SendDue() {
    const uint64_t now = NowMs();
    while (!queue_.empty() && queue_.top().dueMs <= now) {
        const Outgoing& out = queue_.top();
        if (!out.stillDue || out.stillDue())
            Send(out);
        else
            log_.Note("dropped, no longer due: " + out.note);
        queue_.pop();
    }
}

void SimServer::Send(const Outgoing& out) {
    // The source address is the host's own, whichever address the request hit.
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    iovec iov{const_cast<char*>(out.payload.data()), out.payload.size()};
    msghdr msg{};
    msg.msg_name = const_cast<sockaddr_in*>(&out.to);
    msg.msg_namelen = sizeof out.to;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    auto* info = reinterpret_cast<in_pktinfo*>(CMSG_DATA(c));
    info->ipi_spec_dst = out.from;
    const std::string from = Endpoint(out.from, port_);
    const std::string to = Endpoint(out.to.sin_addr, ntohs(out.to.sin_port));
    // Logged before it leaves, so whoever receives it finds it in the log.
    log_.Datagram("send", from, to, out.payload, out.note);
    if (::sendmsg(fd_, &msg, 0) < 0)
        log_.Note("the datagram above was not sent: " + std::string(std::strerror(errno)));
}

}  // namespace tarnwick::hostsim
