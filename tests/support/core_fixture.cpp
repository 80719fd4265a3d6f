#include "support/core_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/standard_decoders.h"
#include "protocol/frame_codec.h"
#include "storage/schema_migrations.h"

namespace tarnwick::testing {

uint16_t FreeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

void SendToLoopback(uint16_t port, const std::string& text) {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, text.data(), text.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

CoreFixture::CoreFixture() {
    EnsureDatabase(dir.File("db.mdb"));
    db = std::make_unique<SqliteDatabase>(dir.File("db.mdb"));
    // As start-up leaves it: the seed's tables and those added since.
    MigrateSchema(*db);
    DataModule::Endpoints endpoints;
    auto client = std::make_unique<ScriptedEndpoint>();
    auto timer = std::make_unique<ScriptedEndpoint>();
    timer->timeoutMs = 2500;
    clientEndpoint = client.get();
    timerEndpoint = timer.get();
    endpoints.client = std::move(client);
    endpoints.timerClient = std::move(timer);
    listenerPort = FreeLoopbackPort();
    tdm = std::make_unique<DataModule>(op, *db, clock, std::move(endpoints), listenerPort,
                                       "127.0.0.1");
    RegisterStandardDecoders(tdm->decoders);
    tdm->LoadCodeTables();
}

void CoreFixture::SendToListener(const std::string& text) const {
    SendToLoopback(listenerPort, text);
}

std::string HostDatagram(const std::string& cls, const std::string& cmd, const std::string& data) {
    return BuildReplyFrame(cls, cmd, data);
}

}  // namespace tarnwick::testing
