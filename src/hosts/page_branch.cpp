#include "hosts/page_branch.h"

#include "hosts/unreadable_value.h"

namespace tarnwick {

bool PageBranch::IsSetting(const Control& c) {
    if (c.survivesRefresh) return false;
    switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::Toggle:
        case ControlKind::CheckList:
            return true;
        case ControlKind::Memo:
            // A captioned memo is an input; the logs and traces are not.
            return !c.caption.empty();
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::Grid:
            return false;
    }
    return false;
}

void PageBranch::LoadFromStore(const DeviceParams& stored) {
    noted_ = false;
    loadStopped_ = false;
    unanswered_ = false;
    unreadableField_.clear();
    try {
        Load(stored);
    } catch (const UnreadableValue& e) {
        loadStopped_ = true;
        unreadableField_ = e.Caption();
    } catch (const ConversionError&) {
        loadStopped_ = true;
    }
    if (!noted_) NoteLoaded();
}

void PageBranch::NoteLoaded() {
    noted_ = true;
    repair_.clear();
    loaded_.clear();
    for (const auto& c : controls_.Controls())
        loaded_.push_back({c->index, c->checked, c->text, c->itemChecked, c->lines});
}

bool PageBranch::HasUnsavedChanges() const {
    if (!savable_) return false;
    if (!repair_.empty()) return true;
    const auto& controls = controls_.Controls();
    for (size_t i = 0; i < controls.size() && i < loaded_.size(); ++i) {
        const Control& c = *controls[i];
        if (!IsSetting(c)) continue;
        const Shown& was = loaded_[i];
        if (c.index != was.index || c.checked != was.checked || c.text != was.text ||
            c.itemChecked != was.itemChecked || c.lines != was.lines)
            return true;
    }
    return false;
}

void PageBranch::DiscardEdits() {
    const auto& controls = controls_.Controls();
    for (size_t i = 0; i < controls.size() && i < loaded_.size(); ++i) {
        Control& c = *controls[i];
        if (!IsSetting(c)) continue;
        const Shown& was = loaded_[i];
        c.index = was.index;
        c.checked = was.checked;
        c.text = was.text;
        c.itemChecked = was.itemChecked;
        c.lines = was.lines;
    }
}

}  // namespace tarnwick
