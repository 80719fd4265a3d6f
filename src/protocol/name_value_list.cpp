#include "protocol/name_value_list.h"

#include <cctype>

namespace tarnwick {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

size_t NameValueList::Find(const std::string& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (SameName(entries_[i].first, name)) return i;
    return std::string::npos;
}

std::string NameValueList::Get(const std::string& name) const {
    std::lock_guard lock(mutex_);
    size_t i = Find(name);
    return i == std::string::npos ? std::string() : entries_[i].second;
}

bool NameValueList::Has(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return Find(name) != std::string::npos;
}

void NameValueList::Set(const std::string& name, const std::string& value) {
    std::lock_guard lock(mutex_);
    size_t i = Find(name);
    if (value.empty()) {
        if (i != std::string::npos) entries_.erase(entries_.begin() + static_cast<long>(i));
    } else if (i != std::string::npos) {
        entries_[i].second = value;
    } else {
        entries_.emplace_back(name, value);
    }
}

void NameValueList::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

size_t NameValueList::Count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::string NameValueList::Text() const {
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& [name, value] : entries_) out += name + "=" + value + "\r\n";
    return out;
}

std::vector<std::pair<std::string, std::string>> NameValueList::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

}  // namespace tarnwick
