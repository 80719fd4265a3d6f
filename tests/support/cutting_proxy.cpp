#include "support/cutting_proxy.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace tarnwick::testing {
namespace {

constexpr const char* kSocketName = "/.s.PGSQL.5432";
// The tag of the server's CommandComplete after a COMMIT.
constexpr char kCommitTag[] = "COMMIT";

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

bool SendAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= sent;
    }
    return true;
}

}  // namespace

CuttingProxy::CuttingProxy(std::string serverFolder) : server_(serverFolder + kSocketName) {
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(Folder() + kSocketName);
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0)
        throw std::runtime_error("the relay cannot listen");
    thread_ = std::thread([this] { Serve(); });
}

CuttingProxy::~CuttingProxy() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
}

// One client at a time: the database port keeps one connection.
void CuttingProxy::Serve() {
    while (!stopping_) {
        pollfd ready{listener_, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Relay(client);
        ::close(client);
    }
}

void CuttingProxy::Relay(int client) {
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = Address(server_);
    if (::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(server);
        return;
    }
    pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    char buffer[65536];
    while (!stopping_) {
        if (::poll(fds, 2, 100) <= 0) continue;
        const bool fromServer = (fds[1].revents & (POLLIN | POLLHUP)) != 0;
        const int from = fromServer ? server : client;
        const ssize_t got = ::recv(from, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        if (fromServer && armed_ &&
            memmem(buffer, static_cast<size_t>(got), kCommitTag, sizeof kCommitTag) != nullptr) {
            armed_ = false;
            ++cuts_;
            break;
        }
        if (!SendAll(fromServer ? client : server, buffer, got)) break;
    }
    ::close(server);
}

}  // namespace tarnwick::testing
