#include "storage/postgres_connection.h"

#include <libpq-fe.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace tarnwick {
namespace {

using Clock = std::chrono::steady_clock;

// How long the check of an address that refused a connection waits.
constexpr int kProbeTimeoutMs = 2000;

bool IsStateChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for the socket to become ready as libpq asked; false at the deadline.
bool WaitFor(pg_conn* c, PostgresPollingStatusType status, Clock::time_point deadline) {
    pollfd fd{PQsocket(c), static_cast<short>(status == PGRES_POLLING_READING ? POLLIN : POLLOUT),
              0};
    for (;;) {
        const int ms = RemainingMs(deadline);
        if (ms == 0) return false;
        const int ready = ::poll(&fd, 1, ms);
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return ready != 0;
    }
}

// The errno of a plain connection to the server's socket: why nothing
// listened there. 0 when something does now.
int ConnectError(int family, const sockaddr* address, socklen_t length) {
    const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return errno;
    int error = ::connect(fd, address, length) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, kProbeTimeoutMs) <= 0) {
            error = ETIMEDOUT;
        } else {
            socklen_t size = sizeof error;
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
        }
    }
    ::close(fd);
    return error;
}

// Why libpq reached no server at `host` (a socket folder or a name) and
// `port`, as the system tells it.
DbServerCause ProbeServer(const std::string& host, const std::string& port) {
    if (host.empty() || host.front() == '/') {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path =
            (host.empty() ? "/var/run/postgresql" : host) + "/.s.PGSQL." + port;
        if (path.size() >= sizeof address.sun_path) return DbServerCause::Unknown;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int error =
            ConnectError(AF_UNIX, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        return error == ENOENT || error == ECONNREFUSED ? DbServerCause::NotRunning
                                                        : DbServerCause::Unknown;
    }
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return DbServerCause::Unknown;
    const int error = ConnectError(found->ai_family, found->ai_addr, found->ai_addrlen);
    ::freeaddrinfo(found);
    if (error == ECONNREFUSED) return DbServerCause::Refused;
    if (error == ETIMEDOUT) return DbServerCause::TimedOut;
    return DbServerCause::Unknown;
}

DbServerCause CauseOf(pg_conn* c, const std::string& text) {
    const std::string state = SqlStateOfConnectError(text);
    if (state == "28P01" || PQconnectionNeedsPassword(c)) return DbServerCause::WrongPassword;
    if (state.starts_with("28") || state == "53300") return DbServerCause::Refused;
    if (state == "3D000") return DbServerCause::NoDatabase;
    if (state == "57P03") return DbServerCause::NotRunning;  // starting or stopping
    if (!state.empty()) return DbServerCause::Unknown;
    const char* host = PQhost(c);
    const char* port = PQport(c);
    return ProbeServer(host ? host : "", port && *port ? port : "5432");
}

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s.empty() ? "unknown error" : s;
}

// libpq quotes an address it cannot read whole: its password stays out.
std::string WithoutAddress(std::string text, const std::string& url, const std::string& server) {
    for (size_t at = text.find(url); at != std::string::npos;
         at = text.find(url, at + server.size()))
        text.replace(at, url.size(), server);
    return text;
}

}  // namespace

std::string SqlStateOfConnectError(const std::string& text) {
    for (size_t at = text.find(":  "); at != std::string::npos; at = text.find(":  ", at + 1)) {
        const size_t code = at + 3;
        if (code + 6 > text.size() || text[code + 5] != ':') continue;
        bool state = true;
        for (size_t i = code; i < code + 5; ++i) state = state && IsStateChar(text[i]);
        if (state) return text.substr(code, 5);
    }
    return {};
}

DbErrorCode PostgresErrorCode(const std::string& s) {
    if (s.empty() || s.starts_with("08") || s == "57P01" || s == "57P02" || s == "57P03")
        return DbErrorCode::ConnectionLost;
    if (s == "23505") return DbErrorCode::UniqueViolation;
    if (s == "25006") return DbErrorCode::ReadOnly;
    if (s == "40001" || s == "40P01" || s == "55P03") return DbErrorCode::Busy;
    return DbErrorCode::Other;
}

pg_conn* ConnectPostgres(const std::string& url, const std::string& server, int timeoutMs) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
    const std::string unreadable = error ? Trimmed(error) : "";
    PQfreemem(error);
    PQconninfoFree(options);
    if (!options)
        throw DatabaseUnreachable(server, DbServerCause::BadAddress,
                                  WithoutAddress(unreadable, url, server));
    const char* keywords[] = {"dbname", nullptr};
    const char* values[] = {url.c_str(), nullptr};
    pg_conn* c = PQconnectStartParams(keywords, values, 1);
    if (!c) throw DatabaseUnreachable(server, DbServerCause::Unknown, "out of memory");
    // The server's SQLSTATE then stands in the error text.
    PQsetErrorVerbosity(c, PQERRORS_VERBOSE);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (PQstatus(c) != CONNECTION_BAD && status != PGRES_POLLING_OK &&
           status != PGRES_POLLING_FAILED) {
        if (!WaitFor(c, status, deadline)) {
            const std::string detail = WithoutAddress(Trimmed(PQerrorMessage(c)), url, server);
            PQfinish(c);
            throw DatabaseUnreachable(server, DbServerCause::TimedOut, detail);
        }
        status = PQconnectPoll(c);
    }
    if (PQstatus(c) == CONNECTION_OK) {
        PQsetErrorVerbosity(c, PQERRORS_DEFAULT);
        return c;
    }
    const std::string detail = WithoutAddress(Trimmed(PQerrorMessage(c)), url, server);
    const DbServerCause cause = CauseOf(c, detail);
    PQfinish(c);
    throw DatabaseUnreachable(server, cause, detail);
}

}  // namespace tarnwick
