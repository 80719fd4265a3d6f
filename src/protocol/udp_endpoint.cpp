#include "protocol/udp_endpoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "protocol/operator_port.h"
#include "protocol/socket_error.h"
#include "protocol/timing.h"

namespace tarnwick {
namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw SocketError("Socket Error # " + std::to_string(errno) + "\r\n" + what + ": " +
                      std::strerror(errno));
}

}  // namespace

UdpEndpoint::UdpEndpoint(OperatorPort& op, int receiveTimeoutMs)
    : op_(op), timeoutMs_(receiveTimeoutMs) {}

UdpEndpoint::~UdpEndpoint() {
    Close();
}

void UdpEndpoint::Open() {
    if (fd_ >= 0) return;
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) ThrowErrno("socket");
    int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
}

void UdpEndpoint::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

uint16_t UdpEndpoint::LocalPort() const {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0) return 0;
    return ntohs(local.sin_port);
}

void UdpEndpoint::SendTo(const std::string& host, uint16_t port, std::string_view payload) {
    Open();
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &to.sin_addr) != 1)
        throw SocketError("Socket Error # 11001\r\nHost not found: " + host);
    ssize_t sent = ::sendto(fd_, payload.data(), payload.size(), 0,
                            reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent < 0) ThrowErrno("sendto " + host);
}

std::optional<Datagram> UdpEndpoint::ReceiveFrom(int timeoutMs) {
    Open();
    if (!op_.WaitReadable(fd_, timeoutMs)) return std::nullopt;
    return ReadNow();
}

std::optional<Datagram> UdpEndpoint::TakeWaiting() {
    Open();
    return ReadNow();
}

std::optional<Datagram> UdpEndpoint::ReadNow() {
    std::string buffer(kMaxDatagramBytes, '\0');
    sockaddr_in from{};
    socklen_t fromSize = sizeof from;
    ssize_t got = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                             reinterpret_cast<sockaddr*>(&from), &fromSize);
    if (got < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::nullopt;
        ThrowErrno("recv");
    }
    buffer.resize(static_cast<size_t>(got));
    char address[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, address, sizeof address);
    return Datagram{std::move(buffer), address, ntohs(from.sin_port)};
}

}  // namespace tarnwick
