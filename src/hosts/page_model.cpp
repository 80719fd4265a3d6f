#include "hosts/page_model.h"

#include <stdexcept>

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
