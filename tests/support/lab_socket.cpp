#include "support/lab_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace tarnwick::testing {

LabSocket::LabSocket(const std::string& ns) {
    // The namespace is switched on a thread of its own, which ends with it;
    // the socket stays in the namespace it was made in.
    std::thread([&] {
        const int target = ::open(("/var/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
        if (target < 0 || ::setns(target, CLONE_NEWNET) != 0) {
            error_ = "cannot enter " + ns + ": " + std::strerror(errno);
        } else {
            fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            if (fd_ < 0) error_ = std::string("socket: ") + std::strerror(errno);
        }
        if (target >= 0) ::close(target);
    }).join();
}

LabSocket::~LabSocket() {
    if (fd_ >= 0) ::close(fd_);
}

void LabSocket::SendTo(const std::string& address, uint16_t port, std::string_view payload) const {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    ::sendto(fd_, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

}  // namespace tarnwick::testing
