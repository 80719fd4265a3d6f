#include "modules/module_fields.h"

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"

namespace tarnwick {

std::string LowFirstNumber(const ReplyBytes& bytes, size_t low) {
    return std::to_string(bytes.At(low) + 256u * bytes.At(low + 1));
}

std::string TextField(const ReplyBytes& bytes, size_t from, size_t to) {
    return HexToText(bytes.DataHex(from, to));
}

bool StoreTerminalParams(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                         std::string_view family, bool withApn, DeviceParams& params) {
    if (fields.empty() || !bytes.HasData(fields.back().to)) return false;
    for (const ReplyField& field : fields) {
        if (!withApn && field.name.starts_with("APN")) continue;
        params.Set(std::string(family) + std::string(field.name),
                   TextField(bytes, field.from, field.to));
    }
    return true;
}

}  // namespace tarnwick
