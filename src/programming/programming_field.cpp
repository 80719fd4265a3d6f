#include "programming/programming_field.h"

#include <algorithm>

#include "hosts/unreadable_value.h"
#include "programming/programming_page.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

// Selects entry `value` of a list; a value outside the list leaves it
// without a selection.
void Select(Control& list, int value) {
    list.index = value >= 0 && value < static_cast<int>(list.items.size()) ? value : -1;
}

// The entry a list's digits name, or nullopt when they name none.
std::optional<int> EntryOf(const ProgrammingField& field, const std::string& digits) {
    if (field.coding == FieldCoding::HexIndex) return HexDigitValue(digits);
    const std::optional<int> value = DecimalValue(digits);
    if (!value) return value;
    return *value - field.valueOffset;
}

void LoadList(Control& list, const ProgrammingField& field, const std::string& digits) {
    if (field.coding == FieldCoding::EntryText) {
        const auto it = std::find(list.items.begin(), list.items.end(), digits);
        list.index = it == list.items.end() ? -1 : static_cast<int>(it - list.items.begin());
        return;
    }
    if (const std::optional<int> entry = EntryOf(field, digits)) return Select(list, *entry);
    switch (field.unreadable) {
        case Unreadable::NoSelection:
            list.index = -1;
            return;
        case Unreadable::FirstEntry:
            return Select(list, 0);
        case Unreadable::StopLoading:
            throw UnreadableValue(list);
    }
}

}  // namespace

void SetToggleState(Control& toggle, char digit) {
    if (digit < '0' || digit > '9') throw UnreadableValue(toggle);
    if (digit == '0') toggle.checked = false;
    if (digit == '1') toggle.checked = true;
}

std::string CheckRange(const ValueRange& range, std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return range.named + std::string(kEmptyValueMessage);
    const std::optional<int> value = DecimalValue(trimmed);
    if (!value || *value < range.min || *value > range.max)
        return range.named + std::string(kValueOutOfRangeMessage);
    return {};
}

void LoadField(PageModel& page, const ProgrammingField& field, const DeviceParams& stored) {
    const std::string value = stored.Get(field.key);
    std::string digits = Slice(value, field.offset, field.End());
    if (digits.empty()) {
        if (field.missing) {
            digits = *field.missing;
        } else if (value.empty() || field.unreadable == Unreadable::NoSelection) {
            // Not read: the control stays as the clearing left it. A list
            // with a rule for unreadable digits applies it to digits a short
            // reply cut off.
            return;
        }
    }
    Control& control = page[field.control];
    switch (field.coding) {
        case FieldCoding::Index:
        case FieldCoding::HexIndex:
        case FieldCoding::EntryText:
            return LoadList(control, field, digits);
        case FieldCoding::Flag:
            if (field.unreadable == Unreadable::StopLoading)
                return SetToggleState(control, digits.empty() ? '\0' : digits[0]);
            control.checked = digits[0] != '0';
            return;
        case FieldCoding::Digits:
        case FieldCoding::PhoneNumber:
            control.text = digits;
            return;
        case FieldCoding::Choice: {
            const bool first = digits == field.on;
            control.checked = first;
            page[field.partner].checked = !first;
            return;
        }
    }
}

}  // namespace tarnwick
