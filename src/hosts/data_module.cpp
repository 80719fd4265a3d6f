#include "hosts/data_module.h"

#include "protocol/timing.h"
#include "protocol/udp_endpoint.h"
#include "storage/ftp_port.h"

namespace tarnwick {

DataModule::Endpoints DataModule::UdpEndpoints(OperatorPort& op) {
    Endpoints e;
    e.client = std::make_unique<UdpEndpoint>(op, kCommandTimeoutMs);
    e.timerClient = std::make_unique<UdpEndpoint>(op, kStatusTimeoutMs);
    return e;
}

DataModule::DataModule(OperatorPort& op_, DatabasePort& db_, ClockPort& clock_,
                       Endpoints endpoints_, uint16_t listenerPort,
                       const std::string& listenerAddress)
    : op(op_),
      db(db_),
      clock(clock_),
      endpoints(std::move(endpoints_)),
      client(*endpoints.client),
      timerClient(*endpoints.timerClient),
      listener(params, session, listenerPort, listenerAddress),
      context{params, alarmCodes, operateCodes, session, &clock},
      exchanger(client, timerClient, decoders, context, trace, op_),
      operationLog(db_, clock_, session) {}

DataModule::~DataModule() = default;

std::string DataModule::LoadCodeTables() {
    try {
        tarnwick::LoadCodeTables(db, alarmCodes, operateCodes);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

}  // namespace tarnwick
