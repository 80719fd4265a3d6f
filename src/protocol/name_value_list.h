#pragma once
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tarnwick {

// Ordered Name=Value text list. Names compare
// without regard to letter case; an empty value removes the entry. Every
// operation holds one lock, because the listener thread writes the parameter
// store too. Names are indexed: a list of a hundred thousand entries (a
// hostile snapshot file) is filled and read in linear time.
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
    using EntryList = std::list<std::pair<std::string, std::string>>;

    mutable std::mutex mutex_;
    EntryList entries_;
    // The lower-case name of every entry, to its place in `entries_`.
    std::unordered_map<std::string, EntryList::iterator> index_;
};

// Everything decoded from a host, between a reply and the page that shows it.
using DeviceParams = NameValueList;
// Alarm codes and operate codes: two hex digits to their text.
using CodeTable = NameValueList;

// Case-insensitive comparison of ASCII names, shared by the stores.
bool SameName(const std::string& a, const std::string& b);
// `name` in lower case (ASCII letters only): equal for names SameName takes
// as one.
std::string FoldedName(const std::string& name);

}  // namespace tarnwick
