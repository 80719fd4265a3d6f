#include "programming/section_writer.h"

#include <algorithm>

#include "hosts/save_refused.h"
#include "programming/field_set.h"
#include "programming/programming_layout.h"
#include "programming/programming_page.h"
#include "programming/section_write.h"
#include "protocol/hex_text.h"

namespace tarnwick {
namespace {

std::string Placeholder(size_t width) {
    return std::string(width, '0');
}

bool AllHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return HexDigitValue(std::string_view(&c, 1)).has_value(); });
}

std::string Listed(const std::map<size_t, std::string>& captions) {
    std::string text;
    for (const auto& [place, caption] : captions) text += (text.empty() ? "" : "、") + caption;
    return text;
}

}  // namespace

std::string SectionWriter::Fallback(const ProgrammingField& field, std::string_view storedDigits) {
    if (storedDigits.size() == field.width && AllHex(storedDigits))
        return std::string(storedDigits);
    Note(unselected_, field.control);
    return Placeholder(field.width);
}

std::string SectionWriter::EditDigits(const ProgrammingField& field) {
    const std::string text = Trim(controls_[field.control].text);
    if (text.empty() && !field.whenEmpty.empty()) return field.whenEmpty;
    if (!AllHex(text) || text.size() > field.width) {
        Note(invalid_, field.control);
        return Placeholder(field.width);
    }
    return ToUpper(ZeroPadLeft(text, field.width));
}

std::string SectionWriter::Encode(const ProgrammingField& field, std::string_view storedDigits) {
    const Control& c = controls_[field.control];
    const bool listed = field.coding == FieldCoding::Index ||
                        field.coding == FieldCoding::HexIndex ||
                        field.coding == FieldCoding::EntryText;
    if (listed && c.index < 0) return Fallback(field, storedDigits);
    switch (field.coding) {
        case FieldCoding::Index:
            return ZeroPadLeft(std::to_string(c.index + field.valueOffset), field.width);
        case FieldCoding::HexIndex:
            return std::string(1, "0123456789ABCDEF"[c.index & 0xF]);
        case FieldCoding::EntryText:
            return c.SelectedText();
        case FieldCoding::Flag:
            return FlagDigit(c.checked);
        case FieldCoding::Digits:
            return EditDigits(field);
        case FieldCoding::PhoneNumber:
            return EncodePhoneNumber(c.text);
        case FieldCoding::Choice:
            return c.checked ? field.on : field.off;
    }
    return {};
}

std::string SectionWriter::OwnDigits(const SectionField& key) {
    const std::string read = Stored(key.key);
    std::string digits;
    size_t next = 1;  // the first digit of the key not yet put together
    for (const ProgrammingField& field : fields_.Fields()) {
        if (field.key != key.key) continue;
        digits += Slice(read, next, field.offset - 1);
        digits += Encode(field, Slice(read, field.offset, field.End()));
        next = field.End() + 1;
    }
    return digits + Slice(read, next, key.width);
}

void SectionWriter::Note(Noted& noted, const std::string& control) const {
    const Control* named = &controls_[control];
    const auto& controls = controls_.Controls();
    const auto at = std::find_if(controls.begin(), controls.end(),
                                 [named](const auto& c) { return c.get() == named; });
    noted.emplace(static_cast<size_t>(at - controls.begin()), named->caption);
}

std::string SectionWriter::AsReceived(int section, const SectionField& field) const {
    for (const SectionField& whole : ProgrammingSection(section).entries) {
        if (whole.kind != FieldKind::Section) continue;
        if (field.position < whole.position || field.End() > whole.End()) continue;
        const std::string text = Stored(whole.key);
        const size_t from = field.position - whole.position;
        return from < text.size() ? text.substr(from, field.width) : std::string();
    }
    return Stored(field.key);
}

std::string SectionWriter::Body(int section) {
    // A section the last refresh did not read whole is never written: its
    // unread fields would go to the host as made-up digits. Every field is
    // still visited, so each list without a fallback gets named.
    const size_t digits = ProgrammingSection(section).bodyDigits;
    bool whole = StoredSectionBody(stored_, section).size() == digits;
    std::string body = AssembleSectionBody(section, [&](const SectionField& key) {
        std::string value = fields_.Shows(key.key) ? OwnDigits(key)
                            : asReceived_          ? AsReceived(section, key)
                                                   : Stored(key.key);
        if (value.size() == key.width) return value;
        whole = false;
        return Placeholder(key.width);
    });
    if (!whole) {
        incomplete_.insert(section);
        return {};
    }
    return body;
}

void SectionWriter::QueueIfChanged(CommandList& list, int section, const std::string& body) {
    if (!body.empty() && QueueSectionIfChanged(list, stored_, section, body))
        queued_[section] = body;
}

void SectionWriter::RefuseIfIncomplete() const {
    std::string text;
    if (!unselected_.empty())
        text = "以下选项没有选择，也没有读到主机的设置，不能保存：" + Listed(unselected_);
    if (!invalid_.empty()) {
        if (!text.empty()) text += "\r\n";
        text += "以下输入框的内容无效，不能保存：" + Listed(invalid_);
    }
    if (!incomplete_.empty()) {
        if (!text.empty()) text += "\r\n";
        text += "编程内容";
        bool first = true;
        for (int section : incomplete_) {
            text += (first ? "" : "、") + SectionCode(section);
            first = false;
        }
        text += "没有完整读到，不能保存，请先刷新。";
    }
    if (!text.empty()) throw SaveRefused(text);
}

}  // namespace tarnwick
