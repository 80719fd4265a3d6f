#pragma once
#include <functional>
#include <memory>
#include <string>

#include "protocol/datagram_endpoint.h"
#include "protocol/decoder_registry.h"
#include "protocol/exchange.h"
#include "protocol/host_session.h"
#include "protocol/name_value_list.h"
#include "protocol/trace_memo.h"
#include "protocol/udp_listener.h"
#include "storage/code_tables.h"

namespace tarnwick {

class OperatorPort;
class FtpPort;

// TDM: owns the endpoints, the parameter store, the code tables, the current
// host, the trace and the operation log. Created once at start-up.
class DataModule {
  public:
    struct Endpoints {
        std::unique_ptr<DatagramEndpoint> client;       // UDPClient
        std::unique_ptr<DatagramEndpoint> timerClient;  // UDPClient_Timer
    };
    // Real UDP endpoints with the command and status time-outs.
    static Endpoints UdpEndpoints(OperatorPort& op);

    DataModule(OperatorPort& op, DatabasePort& db, ClockPort& clock, Endpoints endpoints,
               uint16_t listenerPort, const std::string& listenerAddress = "0.0.0.0");
    ~DataModule();

    // Fills the code tables; returns the error text of a failed load (the
    // tables then keep what was read before it), else empty text.
    std::string LoadCodeTables();

    OperatorPort& op;
    DatabasePort& db;
    ClockPort& clock;
    DeviceParams params;
    CodeTable alarmCodes;
    CodeTable operateCodes;
    HostSession session;
    TraceMemo trace;
    Endpoints endpoints;
    DatagramEndpoint& client;
    DatagramEndpoint& timerClient;
    UdpListener listener;
    DecoderRegistry decoders;
    DecodeContext context;
    Exchanger exchanger;
    OperationLog operationLog;
    // idftpUpdate: the application attaches the real client
    // (AttachStandardPorts), tests a fake; none until then.
    std::unique_ptr<FtpPort> ftp;

    // Set while a flow started by the operator (a search, opening a host, a
    // cycle) runs; window events served inside its waits must not start
    // another one.
    bool flowRunning = false;
    // Called when the outermost flow has ended (an activation that came
    // meanwhile may be owed its refresh or search).
    std::function<void()> onFlowEnded;
};

// Marks a flow as running for its lifetime.
class FlowScope {
  public:
    explicit FlowScope(DataModule& tdm) : tdm_(tdm), previous_(tdm.flowRunning) {
        tdm.flowRunning = true;
    }
    ~FlowScope() {
        tdm_.flowRunning = previous_;
        if (!previous_ && tdm_.onFlowEnded) tdm_.onFlowEnded();
    }
    FlowScope(const FlowScope&) = delete;
    FlowScope& operator=(const FlowScope&) = delete;

  private:
    DataModule& tdm_;
    bool previous_;
};

}  // namespace tarnwick
