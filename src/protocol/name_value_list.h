#pragma once
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

// Ordered Name=Value text list. Names compare
// without regard to letter case; an empty value removes the entry. Every
// operation holds one lock, because the listener thread writes the parameter
// store too.
class NameValueList {
  public:
    std::string Get(const std::string& name) const;
    bool Has(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);
    void Clear();
    size_t Count() const;
    // All entries as Name=Value lines, each ended by CR LF.
    std::string Text() const;
    std::vector<std::pair<std::string, std::string>> Entries() const;

  private:
    size_t Find(const std::string& name) const;  // npos when absent; lock held

    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> entries_;
};

// Everything decoded from a host, between a reply and the page that shows it.
using DeviceParams = NameValueList;
// Alarm codes and operate codes: two hex digits to their text.
using CodeTable = NameValueList;

// Case-insensitive comparison of ASCII names, shared by the stores.
bool SameName(const std::string& a, const std::string& b);

}  // namespace tarnwick
