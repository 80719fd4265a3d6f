#include "support/late_ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick::testing {
namespace {

// A loopback TCP socket listening on a port the system picks.
int Listening(uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd, 4);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

void Say(int fd, const std::string& line) {
    const std::string text = line + "\r\n";
    [[maybe_unused]] ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

}  // namespace

LateFtpServer::LateFtpServer(std::chrono::milliseconds late) : late_(late) {
    listening_ = Listening(port_);
    thread_ = std::thread([this] { Serve(); });
}

LateFtpServer::~LateFtpServer() {
    stop_ = true;
    thread_.join();
    ::close(listening_);
}

bool LateFtpServer::Readable(int fd) const {
    pollfd p{fd, POLLIN, 0};
    while (!stop_)
        if (::poll(&p, 1, 20) > 0) return true;
    return false;
}

void LateFtpServer::Serve() {
    if (!Readable(listening_)) return;
    const int control = ::accept(listening_, nullptr, nullptr);
    Say(control, "220 ready");
    std::string pending;
    int data = -1;
    char buffer[256];
    while (Readable(control)) {
        const ssize_t got = ::recv(control, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
            Answer(control, pending.substr(0, pending.find_first_of(" \r")), data);
            pending.erase(0, end + 2);
        }
    }
    if (data >= 0) ::close(data);
    ::close(control);
}

void LateFtpServer::Answer(int control, const std::string& verb, int& data) {
    if (verb == "USER") {
        Say(control, "331 password please");
    } else if (verb == "PASS") {
        Say(control, "230 logged in");
    } else if (verb == "PWD") {
        Say(control, "257 \"/\"");
    } else if (verb == "TYPE") {
        Say(control, "200 type set");
    } else if (verb == "EPSV") {
        uint16_t port = 0;
        data = Listening(port);
        Say(control, "229 passive (|||" + std::to_string(port) + "|)");
    } else if (verb == "NLST" && data >= 0 && Readable(data)) {
        const int d = ::accept(data, nullptr, nullptr);
        Say(control, "150 listing");
        Say(d, "IMAGE.RAM");
        ::close(d);
        const auto until = std::chrono::steady_clock::now() + late_;
        while (!stop_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Say(control, "226 listing sent");
    } else if (verb == "QUIT") {
        quit_ = true;  // and never an answer
    } else {
        Say(control, "502 not here");
    }
}

}  // namespace tarnwick::testing
