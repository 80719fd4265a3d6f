#include "protocol/decoder_registry.h"

#include "programming/programming_decoder.h"

namespace tarnwick {

// One line per module class; each decoder lives with its subsystem.
void RegisterStandardDecoders(DecoderRegistry& registry) {
    registry.Register("11", [](const std::string& reply, DecodeContext& ctx) {
        return DecodeProgrammingReply(reply, ctx.params);
    });
    (void)registry;
}

}  // namespace tarnwick
