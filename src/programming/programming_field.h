#pragma once
#include <cstddef>
#include <optional>
#include <string>

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

// What loading does with digits a list cannot show.
enum class Unreadable {
    NoSelection,  // the list shows no entry
    FirstEntry,   // the list shows its first entry
    StopLoading,  // the loading stops there (UnreadableValue naming the list)
};

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

    // Set when the page describes the field.
    std::string control{};
    int section = -1;
    size_t position = 0;  // of the first digit in the section body

    size_t End() const { return offset + width - 1; }  // last digit in the key's value
};

// Fills the field's control from the store. Throws UnreadableValue where the
// field stops the loading.
void LoadField(PageModel& page, const ProgrammingField& field, const DeviceParams& stored);

}  // namespace tarnwick
