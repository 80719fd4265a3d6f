#include "backup/shown_settings.h"

#include "hosts/host_window.h"
#include "hosts/page_branch.h"
#include "programming/programming_page.h"
#include "protocol/text_helpers.h"

namespace tarnwick {
namespace {

// Every input is read out by its caption; the name stands in for a caption
// a page forgot.
std::string CaptionOf(const Control& c) {
    const std::string spoken = SpokenCaption(c.caption);
    return spoken.empty() ? c.name : spoken;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : ", ") + line;
    return text;
}

void AddShown(const std::string& page, const Control& c, std::vector<ShownSetting>& out) {
    const std::string caption = CaptionOf(c);
    switch (c.kind) {
        case ControlKind::Edit:
            // Password edits are typed for a write, never loaded: always equal here.
            out.push_back({page, c.name, caption, c.text});
            break;
        case ControlKind::ComboBox:
            out.push_back({page, c.name, caption, c.SelectedText()});
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::Toggle:
            out.push_back({page, c.name, caption, c.checked ? kCheckedText : kUncheckedText});
            break;
        case ControlKind::CheckList:
            for (size_t i = 0; i < c.items.size(); ++i) {
                const bool on = i < c.itemChecked.size() && c.itemChecked[i];
                out.push_back({page, c.name + "[" + std::to_string(i) + "]",
                               caption + " " + c.items[i], on ? kCheckedText : kUncheckedText});
            }
            break;
        case ControlKind::Memo:
            // Only a captioned memo is an input; the trace memos are not.
            if (!c.caption.empty()) out.push_back({page, c.name, caption, Joined(c.lines)});
            break;
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::Grid:
            break;
    }
}

}  // namespace

void StoreSnapshotKeys(const ConfigSnapshot& snapshot, DeviceParams& params) {
    params.Clear();
    for (const auto& [key, value] : snapshot.keys) params.Set(key, value);
}

std::vector<ShownSetting> ShownSettings(HostWindow& pages, const ConfigSnapshot& snapshot) {
    DeviceParams params;
    StoreSnapshotKeys(snapshot, params);
    return ShownSettings(pages, params);
}

std::vector<ShownSetting> ShownSettings(HostWindow& pages, const DeviceParams& stored) {
    std::vector<ShownSetting> out;
    for (int i = 0; i < pages.PageCount(); ++i) {
        if (!pages.IsSavablePage(i)) continue;
        PageBranch& page = pages.Page(i);
        page.Prepare();
        page.Load(stored);
        const auto* programming = dynamic_cast<const ProgrammingPage*>(&page);
        for (const auto& control : page.Controls().Controls()) {
            AddShown(page.Caption(), *control, out);
            if (!control->secret) continue;
            out.back().secret = true;
            if (const ProgrammingField* field =
                    programming ? programming->Described().Of(control->name) : nullptr)
                out.back().codeKey = field->key;
        }
    }
    return out;
}

}  // namespace tarnwick
