#include "programming/programming_decoder.h"

#include "programming/programming_layout.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr unsigned kSectionReadCommand = 0x01;
constexpr unsigned kWriteAckCommand = 0x02;
constexpr unsigned kReadOkMarker = 0x01;
constexpr unsigned kSectionMarker = 0x99;
// The section body starts at data byte 4 (frame byte 10).
constexpr size_t kBodyFrameByte = 10;

std::string StoredValue(const SectionField& field, const std::string& raw) {
    switch (field.kind) {
        case FieldKind::PhoneNumber:
            return DecodePhoneNumber(raw);
        case FieldKind::LastDigitZero:
            // Only a complete field has a last digit to force; a field cut
            // short by the reply is kept as far as it came.
            return raw.size() == field.width ? raw.substr(0, raw.size() - 1) + "0" : raw;
        case FieldKind::Section:
        case FieldKind::Digits:
            break;
    }
    return raw;
}

void StoreSection(int section, const std::string& body, DeviceParams& params) {
    for (const SectionField& f : ProgrammingSection(section).entries)
        params.Set(std::string(f.key), StoredValue(f, Slice(body, f.position, f.End())));
}

}  // namespace

ReplyResult DecodeProgrammingReply(std::string_view reply, DeviceParams& params) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;

    switch (bytes.At(6)) {
        case kSectionReadCommand: {
            if (!bytes.HasData(9) || bytes.At(7) != kReadOkMarker ||
                bytes.At(8) != kSectionMarker ||
                bytes.At(9) >= static_cast<unsigned>(kProgrammingSectionCount))
                return {};
            // Fields past the end of a short reply keep what part of them came;
            // the check code and the closing 7E are never body digits.
            StoreSection(static_cast<int>(bytes.At(9)), bytes.DataHex(kBodyFrameByte, bytes.Size()),
                         params);
            return {};
        }
        case kWriteAckCommand: {
            // An acknowledgement without its result byte counts as a wrong value.
            const unsigned result = bytes.HasData(7) ? bytes.At(7) : 0;
            return Outcome(result, std::string(kProgrammingAckPrefix) +
                                       HostResultText(static_cast<int>(result)));
        }
        default:
            return {};
    }
}

}  // namespace tarnwick
