#pragma once
#include <memory>
#include <string>

#include "hosts/data_module.h"
#include "storage/sqlite_database.h"
#include "support/fixed_clock.h"
#include "support/recording_operator.h"
#include "support/reply_builder.h"
#include "support/scripted_endpoint.h"
#include "support/temp_dir.h"

namespace tarnwick::testing {

// A data module on scripted endpoints, a fresh database and a recording
// operator; its listener listens on loopback only, on a port of its own.
struct CoreFixture {
    CoreFixture();
    ScriptedEndpoint& client() { return *clientEndpoint; }
    ScriptedEndpoint& timerClient() { return *timerEndpoint; }
    // Sends one datagram to the listener over loopback.
    void SendToListener(const std::string& text) const;

    TempDir dir;
    RecordingOperator op;
    FixedClock clock;
    std::unique_ptr<SqliteDatabase> db;
    ScriptedEndpoint* clientEndpoint = nullptr;
    ScriptedEndpoint* timerEndpoint = nullptr;
    uint16_t listenerPort = 0;
    std::unique_ptr<DataModule> tdm;
};

// A loopback port no socket holds, asked of the system.
uint16_t FreeLoopbackPort();
// Sends one datagram to a loopback port.
void SendToLoopback(uint16_t port, const std::string& text);

// A reply frame as a host sends it, escaped as it travels.
std::string HostDatagram(const std::string& cls, const std::string& cmd, const std::string& data);

}  // namespace tarnwick::testing
