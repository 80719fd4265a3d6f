#include "backup/config_compare.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>

#include "backup/shown_settings.h"
#include "backup/snapshot_codes.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

namespace {

// What the status query stores: the host's state at the moment of the read.
constexpr const char* kWorkingStateKeys[] = {"Defence1_8",   "Defence9_16",       "KeepAwayMode",
                                             "SystemStatus", "ByPass1_8",         "ByPass9_16",
                                             "GPRSCSQ",      "ArmingOperateInfo", "AlarmInfo"};

// A snapshot's keys by their folded names, as the parameter store finds
// them: the first of names that differ only in case wins. The snapshot
// outlives the index.
class KeyIndex {
  public:
    explicit KeyIndex(const ConfigSnapshot& s) {
        values_.reserve(s.keys.size());
        for (const auto& [name, value] : s.keys) values_.emplace(FoldedName(name), value);
    }
    std::string_view Find(const std::string& key) const { return FindFolded(FoldedName(key)); }
    std::string_view FindFolded(const std::string& folded) const {
        const auto found = values_.find(folded);
        return found == values_.end() ? std::string_view() : found->second;
    }
    bool HasFolded(const std::string& folded) const { return values_.count(folded) > 0; }

  private:
    std::unordered_map<std::string, std::string_view> values_;
};

// A code that is not the same in both, without its value.
std::optional<ConfigDifference> CodeDifference(const ConfigSnapshot& before,
                                               const ConfigSnapshot& after,
                                               const std::string& group, const std::string& caption,
                                               const std::string& key) {
    const CodeComparison compared = CompareCode(before, after, key);
    if (compared == CodeComparison::Same) return std::nullopt;
    const char* shown =
        compared == CodeComparison::Changed ? kChangedCodeText : kUncomparedCodeText;
    return ConfigDifference{group, caption, key, shown, shown, true};
}

bool IsWorkingState(const std::string& key) {
    return std::any_of(std::begin(kWorkingStateKeys), std::end(kWorkingStateKeys),
                       [&](const char* k) { return SameName(key, k); });
}

}  // namespace

std::vector<ConfigDifference> CompareSnapshots(HostWindow& pages, const ConfigSnapshot& before,
                                               const ConfigSnapshot& after) {
    const std::vector<ShownSetting> a = ShownSettings(pages, before);
    const std::vector<ShownSetting> b = ShownSettings(pages, after);
    std::vector<ConfigDifference> out;
    // Both lists come from the same pages in the same order.
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].secret) {
            // A password typed only for a write is in no snapshot.
            if (a[i].codeKey.empty()) continue;
            if (auto d = CodeDifference(before, after, a[i].page, a[i].caption, a[i].codeKey))
                out.push_back(std::move(*d));
        } else if (a[i].value != b[i].value) {
            out.push_back({a[i].page, a[i].caption, a[i].control, a[i].value, b[i].value});
        }
    }
    if (out.empty()) out = CompareStoredKeys(before, after);
    return out;
}

std::vector<ConfigDifference> CompareStoredKeys(const ConfigSnapshot& before,
                                                const ConfigSnapshot& after) {
    std::vector<ConfigDifference> out;
    const KeyIndex first(before);
    const KeyIndex second(after);
    std::set<std::string> sectionKeys;
    for (int i = 0; i < kProgrammingSectionCount; ++i) {
        for (const SectionField& f : ProgrammingSection(i).entries) {
            const std::string key(f.key);
            sectionKeys.insert(key);
            if (f.kind == FieldKind::Section) continue;
            if (!f.secret.empty()) {
                if (auto d = CodeDifference(before, after, kHiddenSettingsGroup, key, key))
                    out.push_back(std::move(*d));
                continue;
            }
            const std::string_view a = first.Find(key);
            const std::string_view b = second.Find(key);
            if (a != b)
                out.push_back({kHiddenSettingsGroup, key, key, std::string(a), std::string(b)});
        }
    }
    // The other keys that differ, in the order of their names: each key of
    // the first, then those only the second has.
    std::set<std::string> differing;
    for (const ConfigSnapshot* s : {&before, &after})
        for (const auto& entry : s->keys) {
            const std::string folded = FoldedName(entry.first);
            if (s == &after && first.HasFolded(folded)) continue;
            if (first.FindFolded(folded) != second.FindFolded(folded) &&
                !sectionKeys.count(entry.first) && !IsWorkingState(entry.first))
                differing.insert(entry.first);
        }
    for (const std::string& key : differing) {
        if (IsSecretKey(key)) {
            if (auto d = CodeDifference(before, after, kHiddenSettingsGroup, key, key))
                out.push_back(std::move(*d));
            continue;
        }
        out.push_back({kHiddenSettingsGroup, key, key, std::string(first.Find(key)),
                       std::string(second.Find(key))});
    }
    return out;
}

std::string DifferenceReport(const std::vector<ConfigDifference>& differences) {
    if (differences.empty()) return std::string(kSameConfigText) + "\n";
    std::string text;
    std::string group;
    for (const ConfigDifference& d : differences) {
        if (d.group != group) {
            group = d.group;
            text += "[" + group + "]\n";
        }
        text += "  " + d.caption + ": " + (d.secret ? d.after : d.before + " → " + d.after) + "\n";
    }
    return text;
}

}  // namespace tarnwick
