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

std::string FoldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

std::string NameValueList::Get(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto found = index_.find(FoldedName(name));
    return found == index_.end() ? std::string() : found->second->second;
}

bool NameValueList::Has(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return index_.count(FoldedName(name)) > 0;
}

void NameValueList::Set(const std::string& name, const std::string& value) {
    std::lock_guard lock(mutex_);
    const std::string folded = FoldedName(name);
    const auto found = index_.find(folded);
    if (value.empty()) {
        if (found == index_.end()) return;
        entries_.erase(found->second);
        index_.erase(found);
    } else if (found != index_.end()) {
        found->second->second = value;
    } else {
        index_.emplace(folded, entries_.emplace(entries_.end(), name, value));
    }
}

void NameValueList::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
    index_.clear();
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
    return {entries_.begin(), entries_.end()};
}

}  // namespace tarnwick
