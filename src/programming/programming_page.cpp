#include "programming/programming_page.h"

#include <algorithm>

#include "hosts/save_refused.h"
#include "hosts/unreadable_value.h"
#include "programming/programming_layout.h"
#include "programming/section_write.h"
#include "protocol/hex_text.h"
#include "protocol/name_value_list.h"

namespace tarnwick {
namespace {

bool IsDecimal(char c) {
    return c >= '0' && c <= '9';
}

std::string Placeholder(size_t width) {
    return std::string(width, '0');
}

}  // namespace

std::optional<int> HexDigitValue(std::string_view digit) {
    if (digit.size() != 1) return std::nullopt;
    const char c = digit[0];
    if (IsDecimal(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

void ProgrammingPage::Load(const DeviceParams& stored) {
    try {
        LoadPage(stored);
    } catch (...) {
        sentBodies_.clear();
        edited_.clear();
        throw;
    }
    // What the host holds is what the page has loaded, also when the edits
    // go back into the controls below: they are still unsaved.
    NoteLoaded();
    bool taken = true;
    for (const auto& [section, body] : sentBodies_)
        taken = taken && StoredSectionBody(stored, section) == body;
    if (!taken) {
        const auto& controls = Controls().Controls();
        for (size_t i = 0; i < controls.size() && i < edited_.size(); ++i) {
            controls[i]->index = edited_[i].index;
            controls[i]->checked = edited_[i].checked;
            controls[i]->text = edited_[i].text;
        }
    }
    sentBodies_.clear();
    edited_.clear();
}

CommandList ProgrammingPage::SaveList(const DeviceParams& stored) {
    SectionWriter writer(*this, stored);
    CommandList list;
    QueueSections(list, writer);
    writer.RefuseIfIncomplete();
    sentBodies_ = writer.Queued();
    edited_.clear();
    for (const auto& control : Controls().Controls())
        edited_.push_back({control->index, control->checked, control->text});
    return list;
}

const std::string& ProgrammingPage::ControlCaption(const std::string& name) const {
    return Controls()[name].caption;
}

Control& ProgrammingPage::CaptionedCombo(const std::string& name, const std::string& caption,
                                         std::vector<std::string> items) {
    Control& list = Controls().Combo(name, std::move(items));
    list.caption = caption;
    return list;
}

Control& ProgrammingPage::CaptionedEdit(const std::string& name, const std::string& caption,
                                        size_t maxLength, KeyFilter filter) {
    Control& edit = Controls().Edit(name, maxLength, filter);
    edit.caption = caption;
    return edit;
}

namespace {

std::string InGroup(const std::string& group, const std::string& caption) {
    return group.empty() ? caption : group + " " + caption;
}

}  // namespace

Control& ProgrammingPage::CaptionedCheck(const std::string& name, const std::string& caption,
                                         const std::string& group) {
    Control& box = Controls().Check(name, caption);
    box.caption = InGroup(group, caption);
    return box;
}

Control& ProgrammingPage::GridCheck(const std::string& name, const std::string& caption) {
    Control& box = Controls().Check(name);
    box.caption = caption;
    return box;
}

Control& ProgrammingPage::CaptionedRadio(const std::string& name, const std::string& caption,
                                         const std::string& group) {
    Control& radio = Controls().Add(name, ControlKind::RadioButton);
    radio.caption = InGroup(group, caption);
    radio.text = caption;
    return radio;
}

void ProgrammingPage::ClearControls() {
    for (const auto& control : Controls().Controls()) {
        switch (control->kind) {
            case ControlKind::ComboBox:
                control->index = -1;
                break;
            case ControlKind::CheckBox:
                control->checked = false;
                break;
            case ControlKind::Edit:
                control->text.clear();
                break;
            default:
                break;
        }
    }
}

void ProgrammingPage::SelectOrStop(const std::string& list, std::optional<int> value) {
    if (!value) throw UnreadableValue(Controls()[list]);
    Select(list, value);
}

void ProgrammingPage::Select(const std::string& list, std::optional<int> value) {
    Control& c = Controls()[list];
    const bool fits = value && *value >= 0 && *value < static_cast<int>(c.items.size());
    c.index = fits ? *value : -1;
}

void ProgrammingPage::SelectText(const std::string& list, std::string_view text) {
    Control& c = Controls()[list];
    auto it = std::find(c.items.begin(), c.items.end(), text);
    c.index = it == c.items.end() ? -1 : static_cast<int>(it - c.items.begin());
}

void ProgrammingPage::SetFlag(const std::string& box, char digit) {
    Controls()[box].checked = digit != '0';
}

std::string SectionWriter::Flag(const std::string& name) const {
    return FlagDigit(page_.Controls()[name].checked);
}

std::string SectionWriter::Fallback(const std::string& list, size_t width,
                                    std::string_view storedDigits) {
    const bool hex = std::all_of(storedDigits.begin(), storedDigits.end(),
                                 [](char c) { return HexDigitValue(std::string_view(&c, 1)); });
    if (storedDigits.size() == width && hex) return std::string(storedDigits);
    Note(unselected_, list);
    return Placeholder(width);
}

std::string SectionWriter::Index(const std::string& list, size_t width,
                                 std::string_view storedDigits, int offset) {
    const Control& c = page_.Controls()[list];
    if (c.index < 0) return Fallback(list, width, storedDigits);
    return ZeroPadLeft(std::to_string(c.index + offset), width);
}

std::string SectionWriter::HexIndex(const std::string& list, std::string_view storedDigits) {
    const Control& c = page_.Controls()[list];
    if (c.index < 0) return Fallback(list, 1, storedDigits);
    return std::string(1, "0123456789ABCDEF"[c.index & 0xF]);
}

std::string SectionWriter::EntryText(const std::string& list, size_t width,
                                     std::string_view storedDigits) {
    const Control& c = page_.Controls()[list];
    if (c.index < 0) return Fallback(list, width, storedDigits);
    return c.SelectedText();
}

std::string SectionWriter::EditDigits(const std::string& edit, size_t width) {
    const std::string text = Trim(page_.Controls()[edit].text);
    const bool hex = std::all_of(text.begin(), text.end(),
                                 [](char c) { return HexDigitValue(std::string_view(&c, 1)); });
    if (!hex || text.size() > width) {
        Note(invalid_, edit);
        return Placeholder(width);
    }
    return ToUpper(ZeroPadLeft(text, width));
}

void SectionWriter::Note(Noted& noted, const std::string& control) const {
    const Control* named = &page_.Controls()[control];
    const auto& controls = page_.Controls().Controls();
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

std::string SectionWriter::Body(int section, const FieldDigits& own, bool asReceived) {
    // A section the last refresh did not read whole is never written: its
    // unread fields would go to the host as made-up digits. Every field is
    // still visited, so each list without a fallback gets named.
    const size_t digits = ProgrammingSection(section).bodyDigits;
    bool whole = StoredSectionBody(stored_, section).size() == digits;
    std::string body = AssembleSectionBody(section, [&](const SectionField& field) {
        auto it = own.find(field.key);
        std::string value = it != own.end() ? it->second()
                            : asReceived    ? AsReceived(section, field)
                                            : Stored(field.key);
        if (value.size() == field.width) return value;
        whole = false;
        return Placeholder(field.width);
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

namespace {

std::string Listed(const std::map<size_t, std::string>& captions) {
    std::string text;
    for (const auto& [place, caption] : captions) text += (text.empty() ? "" : "、") + caption;
    return text;
}

}  // namespace

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
