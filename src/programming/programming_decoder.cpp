#include "programming/programming_decoder.h"

#include <optional>

#include "programming/programming_layout.h"
#include "protocol/hex_text.h"
#include "protocol/reply_prologue.h"

namespace tarnwick {
namespace {

constexpr unsigned kSectionReadCommand = 0x01;
constexpr unsigned kWriteAckCommand = 0x02;
constexpr unsigned kReadOkMarker = 0x01;
constexpr unsigned kSectionMarker = 0x99;
// The section body starts at data byte 4 (frame byte 10), hex position 19.
constexpr size_t kBodyFrameByte = 10;

// A data byte of the reply, or nothing when byte n lies outside the data:
// the check code and the closing 7E are never read as data.
std::optional<unsigned> DataByte(const ReplyBytes& bytes, size_t n) {
    if (n < 7 || bytes.Size() < 2 || n > bytes.Size() - 2) return std::nullopt;
    return bytes.At(n);
}

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

std::string AckOutcome(std::optional<unsigned> result) {
    switch (result.value_or(0)) {
        case 1:
            return "成功!";
        case 2:
            return "失败!";
        case 3:
            return "拒绝!";
        default:
            return "  返回值S[7]有误!";
    }
}

}  // namespace

std::string DecodeProgrammingReply(std::string_view reply, DeviceParams& params) {
    Prologue prologue = RunReplyPrologue(reply);
    if (!prologue.bytes) return prologue.result;
    const ReplyBytes& bytes = *prologue.bytes;

    switch (bytes.At(6)) {
        case kSectionReadCommand: {
            std::optional<unsigned> section = DataByte(bytes, 9);
            if (DataByte(bytes, 7) != kReadOkMarker || DataByte(bytes, 8) != kSectionMarker ||
                !section || *section >= kProgrammingSectionCount)
                return {};
            // Fields past the end of a short reply keep what part of them came.
            std::string body = Slice(reply, 2 * kBodyFrameByte - 1, 2 * (bytes.Size() - 2));
            StoreSection(static_cast<int>(*section), body, params);
            return {};
        }
        case kWriteAckCommand:
            // An acknowledgement without its result byte counts as a wrong value.
            return std::string(kProgrammingAckPrefix) + AckOutcome(DataByte(bytes, 7));
        default:
            return {};
    }
}

}  // namespace tarnwick
