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

void StoreReplyFields(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                      std::string_view family, DeviceParams& params, std::string_view skip) {
    for (const ReplyField& field : fields) {
        const bool complete = bytes.HasData(field.to);
        std::string value;
        switch (field.form) {
            case FieldForm::Text:
                value = TextField(bytes, field.from, field.to);  // cut to what is present
                break;
            case FieldForm::Hex:
                if (complete) value = bytes.DataHex(field.from, field.to);
                break;
            case FieldForm::Byte:
                if (complete) value = ByteHex(bytes.At(field.from));
                break;
            case FieldForm::Number:
                if (complete) value = LowFirstNumber(bytes, field.from);
                break;
        }
        if (skip.empty() || !field.name.starts_with(skip))
            params.Set(std::string(family) + std::string(field.name), value);
        if (!complete) return;
    }
}

void StoreTerminalParams(const ReplyBytes& bytes, std::span<const ReplyField> fields,
                         std::string_view family, bool withApn, DeviceParams& params) {
    StoreReplyFields(bytes, fields, family, params, withApn ? std::string_view{} : "APN");
}

}  // namespace tarnwick
