#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/page_model.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// How a control of a programming page shows the digits of its field, and
// what it writes back.
enum class FieldCoding {
    Index,        // a list: its entry index (plus valueOffset) as decimal digits
    HexIndex,     // a list: its entry index as one hexadecimal digit
    EntryText,    // a list whose entry texts are the values
    Flag,         // a box: "1" checked, "0" not; any digit but "0" checks it
    Digits,       // an edit: hex digits, "0" filled on the left
    PhoneNumber,  // an edit: an alarm call number (EncodePhoneNumber)
    Choice,       // a radio button and its partner: `on` selects it, other digits the partner
};

// What loading does with digits a list cannot show. A box (Flag) read with
// NoSelection is checked by any digit but "0"; with StopLoading it reads
// strictly: "0" off, "1" on, another decimal digit leaves it as it is, and
// anything else stops the loading.
enum class Unreadable {
    NoSelection,  // the list shows no entry
    FirstEntry,   // the list shows its first entry
    StopLoading,  // the loading stops there (UnreadableValue naming the control)
};

inline constexpr const char* kEmptyValueMessage = "输入的数值不能为空，请重新输入！";
inline constexpr const char* kValueOutOfRangeMessage = "输入的数值超出范围，请重新输入！";

// The numbers an edit takes, checked when the operator leaves it.
struct ValueRange {
    int min = 0;
    int max = 0;
    const char* named = "";  // put before the message: "心跳间隔时间："
};

// The message for `text` left in an edit of `range`: empty (after trimming),
// or not a decimal number within it. Empty text when it passes.
std::string CheckRange(const ValueRange& range, std::string_view text);

// One field of the programming content as a page shows it: where its digits
// stand (a parameter key of the section layout, the 1-based offset in that
// key's value and the width) and how its control codes them. Loading,
// encoding, the save's comparison and the names in a refusal all come from
// this one description.
struct ProgrammingField {
    std::string key{};
    size_t offset = 1;
    size_t width = 0;  // 0: up to the end of the key
    FieldCoding coding = FieldCoding::Index;
    Unreadable unreadable = Unreadable::NoSelection;
    // Index: entry i is written as i + valueOffset.
    int valueOffset = 0;
    // What loads where the store holds no digits for the field; without it
    // the control stays as the clearing left it.
    std::optional<std::string> missing{};
    // Choice: the partner radio button and the digits each selection writes.
    std::string partner{};
    std::string on{};
    std::string off{};
    // Digits: what an empty edit writes (zeros when empty).
    std::string whenEmpty{};
    // Digits: the numbers the edit takes when the operator leaves it.
    std::optional<ValueRange> range{};

    // Set when the page describes the field.
    std::string control{};
    int section = -1;
    size_t position = 0;  // of the first digit in the section body
    bool secret = false;  // a code: never shown in a comparison, never at rest in clear

    size_t End() const { return offset + width - 1; }  // last digit in the key's value
};

// Digit 0 turns a box or toggle off, 1 on, any other decimal digit leaves
// it; anything else throws UnreadableValue.
void SetToggleState(Control& toggle, char digit);

// Fills the field's control from the store. Throws UnreadableValue where the
// field stops the loading.
void LoadField(PageModel& page, const ProgrammingField& field, const DeviceParams& stored);

}  // namespace tarnwick
