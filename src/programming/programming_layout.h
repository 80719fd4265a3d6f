#pragma once
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/name_value_list.h"

namespace tarnwick {

// The alarm host keeps its programming content in eight sections, 00 to 07.
// A section body is hex text with the same layout in the read reply and in the
// write request; every field is a fixed run of digits at a fixed place.

inline constexpr int kProgrammingSectionCount = 8;
// Alarm call numbers travel as 18 digits: the number, "E", then "0" fill.
inline constexpr size_t kPhoneFieldDigits = 18;

// The cross-zone logic of the wired and of the wireless zones (section 07).
inline constexpr std::string_view kWireCrossCaption = "有线交叉防区逻辑";
inline constexpr std::string_view kWirelessCrossCaption = "无线交叉防区逻辑";

// How the decoder turns a field's digits into the value it stores.
enum class FieldKind {
    Section,        // whole-section key: the body, or one part of it, exactly as received
    Digits,         // stored exactly as received
    PhoneNumber,    // stored through DecodePhoneNumber
    LastDigitZero,  // stored with its last digit replaced by "0" (week and cross-zone fields)
};

// One entry of a section layout: the DeviceParams key, the 1-based position
// of its first digit in the section body, and its width in hex digits. A
// field that may hold a value no page can show names it for the operator. A
// code (the installer code, a user code) names what the operator calls it
// in `secret`: it never rests in clear, nor is it shown in a comparison.
struct SectionField {
    std::string_view key;
    size_t position;
    size_t width;
    FieldKind kind;
    std::string_view caption = {};
    std::string_view secret = {};

    size_t End() const { return position + width - 1; }  // last body position
};

// A section's body length and its entries in the order the decoder stores
// them: each whole-section key right before the fields it covers. The fields
// (every entry that is not a whole-section key) tile the body from position 1
// in ascending order. Section 06 has no whole-section key.
struct SectionLayout {
    int section;
    size_t bodyDigits;
    std::span<const SectionField> entries;
};

// The layout of section 0..7; throws std::out_of_range for any other number.
const SectionLayout& ProgrammingSection(int section);

// The section and the layout entry of a field's key (not a whole-section
// key); throws std::invalid_argument for a key no section holds.
struct FieldLocation {
    int section;
    const SectionField* field;
};
FieldLocation LocateField(std::string_view key);

inline constexpr std::string_view kInstallerCodeSecret = "安装员密码";
inline constexpr std::string_view kUserCodeSecret = "用户密码";

// "00" .. "07".
std::string SectionCode(int section);

// The text a page compares its freshly built body with: the whole-section
// keys of the section joined in order, or for section 06 (which has none) the
// eight group fields joined in order. Empty when nothing was read.
std::string StoredSectionBody(const DeviceParams& params, int section);

// A body put together field by field in body order; `digits` gives each
// field's digits exactly as they go into the body (alarm call numbers already
// through EncodePhoneNumber). Throws ConversionError, naming the key, when a
// field's digits are not exactly its width, so a misfitting body never forms.
std::string AssembleSectionBody(int section,
                                const std::function<std::string(const SectionField&)>& digits);

// An alarm call number as its 18-digit field: "E" appended when shorter than
// 18, then "0" up to 18. 12345 becomes 12345E000000000000; an 18-digit number
// stays bare; a longer text is returned unchanged (the edits hold at most 18).
std::string EncodePhoneNumber(std::string_view number);

// The number in an alarm call number field. With an "E" present it is the
// text before the first "E". Without one, a complete 18-digit field made only
// of decimal digits is a number and is returned whole, as
// EncodePhoneNumber writes an 18-digit number; anything else (an erased field
// of F digits, stray hex letters, a field cut short) reads as no number,
// empty text.
std::string DecodePhoneNumber(std::string_view field);

}  // namespace tarnwick
