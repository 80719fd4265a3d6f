#include "hosts/page_model.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "protocol/text_helpers.h"

namespace tarnwick {

std::string Control::SelectedText() const {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return items[static_cast<size_t>(index)];
}

std::string Control::ShortHint() const {
    return hint.substr(0, hint.find('|'));
}

std::string Control::LongHint() const {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

std::string Numbered(std::string_view base, int index) {
    return std::string(base) + std::to_string(index);
}

bool AcceptsKey(KeyFilter filter, char32_t c) {
    const bool digit = c >= '0' && c <= '9';
    switch (filter) {
        case KeyFilter::Digits:
            return digit;
        case KeyFilter::Address:
            return digit || c == '.';
        case KeyFilter::Hex:
            return digit || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        case KeyFilter::UpperCase:
        case KeyFilter::None:
            return true;
    }
    return true;
}

bool IsInput(const Control& c) {
    switch (c.kind) {
        case ControlKind::Label:
        case ControlKind::Button:
            return false;
        case ControlKind::Memo:
            return !c.readOnly;
        default:
            return true;
    }
}

namespace {

// The words of `text` between blanks.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        const size_t from = text.find_first_not_of(' ', at);
        if (from == std::string::npos) break;
        const size_t to = std::min(text.find(' ', from), text.size());
        words.push_back(text.substr(from, to - from));
        at = to;
    }
    return words;
}

// Whether a UTF-8 word is one character.
bool OneCharacter(const std::string& word) {
    size_t characters = 0;
    for (unsigned char byte : word) characters += (byte & 0xC0) != 0x80;
    return characters == 1;
}

}  // namespace

std::string SpokenCaption(const std::string& caption) {
    std::string text = CaptionWithoutColon(caption);
    while (!text.empty() && text.back() == ' ')
        text = CaptionWithoutColon(text.substr(0, text.size() - 1));
    const std::vector<std::string> words = Words(text);
    std::string spoken;
    const bool spaced = words.size() > 1 && std::all_of(words.begin(), words.end(), OneCharacter);
    for (const std::string& word : words) spoken += (spoken.empty() || spaced ? "" : " ") + word;
    return spoken;
}

std::vector<std::string> PageModel::CaptionProblems() const {
    std::vector<std::string> problems;
    std::map<std::string, std::string> named;  // spoken caption to the first control
    for (const auto& c : controls_) {
        if (!IsInput(*c)) continue;
        const std::string spoken = SpokenCaption(c->caption);
        if (spoken.empty()) {
            problems.push_back(c->name + " has no caption");
            continue;
        }
        const auto [first, added] = named.emplace(spoken, c->name);
        if (!added)
            problems.push_back(c->name + " is read out as \"" + spoken + "\" like " +
                               first->second);
    }
    return problems;
}

Control& PageModel::Add(const std::string& name, ControlKind kind) {
    if (index_.count(name)) throw std::logic_error("control added twice: " + name);
    auto control = std::make_unique<Control>();
    control->name = name;
    control->kind = kind;
    Control& ref = *control;
    index_[name] = control.get();
    controls_.push_back(std::move(control));
    return ref;
}

std::vector<Control> PageModel::Copy() const {
    std::vector<Control> shown;
    shown.reserve(controls_.size());
    for (const auto& c : controls_) shown.push_back(*c);
    return shown;
}

void PageModel::Restore(const std::vector<Control>& shown) {
    if (shown.size() != controls_.size())
        throw std::logic_error("restoring a copy of another page's controls");
    for (size_t i = 0; i < shown.size(); ++i) *controls_[i] = shown[i];
}

Control& PageModel::Edit(const std::string& name, size_t maxLength, KeyFilter filter) {
    Control& c = Add(name, ControlKind::Edit);
    c.maxLength = maxLength;
    c.filter = filter;
    return c;
}

Control& PageModel::Combo(const std::string& name, std::vector<std::string> items) {
    Control& c = Add(name, ControlKind::ComboBox);
    c.items = std::move(items);
    return c;
}

Control& PageModel::Check(const std::string& name, const std::string& caption) {
    Control& c = Add(name, ControlKind::CheckBox);
    c.text = caption;
    c.caption = caption;
    return c;
}

Control& PageModel::Button(const std::string& name, const std::string& caption,
                           const std::string& hint) {
    Control& c = Add(name, ControlKind::Button);
    c.text = caption;
    c.hint = hint;
    return c;
}

Control& PageModel::Label(const std::string& name, const std::string& text) {
    Control& c = Add(name, ControlKind::Label);
    c.text = text;
    return c;
}

Control& PageModel::operator[](const std::string& name) {
    auto it = index_.find(name);
    if (it == index_.end()) throw std::logic_error("no control named " + name);
    return *it->second;
}

const Control& PageModel::operator[](const std::string& name) const {
    auto it = index_.find(name);
    if (it == index_.end()) throw std::logic_error("no control named " + name);
    return *it->second;
}

void PageModel::OnClick(const std::string& name, std::function<void()> handler) {
    (void)(*this)[name];
    clicks_[name] = std::move(handler);
}

void PageModel::OnChange(const std::string& name, std::function<void()> handler) {
    (void)(*this)[name];
    changes_[name] = std::move(handler);
}

void PageModel::OnExit(const std::string& name, std::function<void()> handler) {
    (void)(*this)[name];
    exits_[name] = std::move(handler);
}

namespace {

void Run(const std::map<std::string, std::function<void()>>& handlers, const std::string& name) {
    auto it = handlers.find(name);
    if (it != handlers.end() && it->second) it->second();
}

}  // namespace

void PageModel::Click(const std::string& name) {
    (void)(*this)[name];
    if (busy_ && busy_()) return;
    Run(clicks_, name);
    if (actionListener_) actionListener_();
}

void PageModel::Change(const std::string& name) {
    (void)(*this)[name];
    Run(changes_, name);
    if (actionListener_) actionListener_();
}

void PageModel::Exit(const std::string& name) {
    (void)(*this)[name];
    Run(exits_, name);
}

}  // namespace tarnwick
