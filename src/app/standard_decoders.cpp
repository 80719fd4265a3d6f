#include "app/standard_decoders.h"

#include "modules/gprs_decoder.h"
#include "modules/nm_decoder.h"
#include "operation/alarm_host_decoder.h"
#include "operation/control_decoder.h"
#include "operation/pairing_decoder.h"
#include "programming/programming_decoder.h"
#include "protocol/decoder_registry.h"
#include "storage/database_port.h"

namespace tarnwick {

// One line per module class; each decoder lives with its subsystem.
void RegisterStandardDecoders(DecoderRegistry& registry) {
    registry.Register("11", [](const std::string& reply, DecodeContext& ctx) {
        return DecodeProgrammingReply(reply, ctx.params);
    });
    registry.Register(std::string(kGprsClass), DecodeGprsReply);
    registry.Register(std::string(kNmClass), DecodeNmReply);
    registry.Register(std::string(kControlClass), DecodeControlReply);
    registry.Register(std::string(kAlarmHostClass), DecodeAlarmHostReply);
    registry.Register(std::string(kPairingClass), [](const std::string& reply, DecodeContext& ctx) {
        return DecodePairingReply(reply, ctx.clock ? ctx.clock->NowText() : std::string());
    });
}

}  // namespace tarnwick
