#include "protocol/decoder_registry.h"

namespace tarnwick {

// One line per module class; each decoder lives with its subsystem.
void RegisterStandardDecoders(DecoderRegistry& registry) {
    (void)registry;
}

}  // namespace tarnwick
