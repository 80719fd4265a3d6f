#include "programming/programming_page.h"

#include <algorithm>
#include <stdexcept>

#include "programming/programming_layout.h"
#include "programming/programming_requests.h"
#include "programming/section_writer.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

bool IsDecimal(char c) {
    return c >= '0' && c <= '9';
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

void ProgrammingPage::Prepare() {
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
    for (const ProgrammingField& field : fields_.Fields()) {
        if (field.coding != FieldCoding::Choice) continue;
        Controls()[field.control].checked = true;
        Controls()[field.partner].checked = false;
    }
}

CommandList ProgrammingPage::ReadList() {
    CommandList list;
    for (int section : Sections()) list.push_back(ReadSectionRequest(section));
    return list;
}

void ProgrammingPage::Load(const DeviceParams& stored) {
    try {
        fields_.Load(Controls(), stored);
    } catch (...) {
        sentBodies_.clear();
        edited_.clear();
        throw;
    }
    // What the host holds is what the page has loaded, also when the edits
    // go back into the controls below: they are still unsaved.
    NoteLoaded();
    NoteRepair(RepairsOnSave(stored));
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
    SectionWriter writer(Controls(), fields_, stored, KeepsOtherFieldsAsReceived());
    CommandList list;
    for (int section : Sections()) writer.QueueIfChanged(list, section, writer.Body(section));
    writer.RefuseIfIncomplete();
    sentBodies_ = writer.Queued();
    edited_.clear();
    for (const auto& control : Controls().Controls())
        edited_.push_back({control->index, control->checked, control->text});
    return list;
}

std::string ProgrammingPage::RepairsOnSave(const DeviceParams& stored) const {
    SectionWriter writer(Controls(), fields_, stored, KeepsOtherFieldsAsReceived());
    std::string text;
    for (int section : Sections()) {
        const std::string body = writer.Body(section);
        const std::string received = StoredSectionBody(stored, section);
        if (body.empty() || body.size() != received.size() || body == received) continue;
        for (const SectionField& key : ProgrammingSection(section).entries) {
            if (key.kind == FieldKind::Section) continue;
            std::string held = Slice(received, key.position, key.End());
            std::string written = Slice(body, key.position, key.End());
            if (held == written) continue;
            // A code is named, never shown.
            if (!key.secret.empty()) held = written = std::string(key.width, '*');
            text += (text.empty() ? "“" : "；“") + KeyCaption(key.key) + "”主机中为" + held +
                    "，本页无法显示，保存时将写为" + written;
        }
    }
    return text.empty() ? text : text + "。";
}

std::string ProgrammingPage::KeyCaption(std::string_view key) const {
    const SectionField& field = *LocateField(key).field;
    if (!field.caption.empty()) return std::string(field.caption);
    for (const ProgrammingField& shown : fields_.Fields())
        if (shown.key == key) return Controls()[shown.control].caption;
    return std::string(key);
}

const std::string& ProgrammingPage::ControlCaption(const std::string& name) const {
    return Controls()[name].caption;
}

Control& ProgrammingPage::Describe(Control& control, ProgrammingField field) {
    const ProgrammingField& described = fields_.Add(control.name, std::move(field));
    if (control.kind == ControlKind::Edit) control.maxLength = described.width;
    control.secret = described.secret;
    return control;
}

Control& ProgrammingPage::CaptionedCombo(const std::string& name, const std::string& caption,
                                         std::vector<std::string> items) {
    Control& list = Controls().Combo(name, std::move(items));
    list.caption = caption;
    return list;
}

Control& ProgrammingPage::CaptionedEdit(const std::string& name, const std::string& caption,
                                        KeyFilter filter) {
    Control& edit = Controls().Edit(name, 0, filter);
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

}  // namespace tarnwick
