#pragma once

namespace tarnwick {

class DecoderRegistry;

// Every decoder of the tool, registered under its module class.
void RegisterStandardDecoders(DecoderRegistry& registry);

}  // namespace tarnwick
