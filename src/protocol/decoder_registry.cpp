#include "protocol/decoder_registry.h"

#include "protocol/hex_text.h"

namespace tarnwick {

void DecoderRegistry::Register(const std::string& moduleClass, ReplyDecoder decoder) {
    decoders_[ToUpper(moduleClass)] = std::move(decoder);
}

const ReplyDecoder* DecoderRegistry::Find(const std::string& moduleClass) const {
    auto it = decoders_.find(ToUpper(moduleClass));
    return it == decoders_.end() ? nullptr : &it->second;
}

}  // namespace tarnwick
