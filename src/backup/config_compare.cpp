#include "backup/config_compare.h"

#include <algorithm>
#include <set>

#include "backup/shown_settings.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

namespace {

// What the status query stores: the host's state at the moment of the read.
constexpr const char* kWorkingStateKeys[] = {"Defence1_8",   "Defence9_16",       "KeepAwayMode",
                                             "SystemStatus", "ByPass1_8",         "ByPass9_16",
                                             "GPRSCSQ",      "ArmingOperateInfo", "AlarmInfo"};

std::string Find(const ConfigSnapshot& s, const std::string& key) {
    for (const auto& [name, value] : s.keys)
        if (SameName(name, key)) return value;
    return {};
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
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].value != b[i].value)
            out.push_back({a[i].page, a[i].caption, a[i].control, a[i].value, b[i].value});
    if (out.empty()) out = CompareStoredKeys(before, after);
    return out;
}

std::vector<ConfigDifference> CompareStoredKeys(const ConfigSnapshot& before,
                                                const ConfigSnapshot& after) {
    std::vector<ConfigDifference> out;
    std::set<std::string> sectionKeys;
    for (int i = 0; i < kProgrammingSectionCount; ++i) {
        for (const SectionField& f : ProgrammingSection(i).entries) {
            const std::string key(f.key);
            sectionKeys.insert(key);
            if (f.kind == FieldKind::Section) continue;
            const std::string a = Find(before, key);
            const std::string b = Find(after, key);
            if (a != b) out.push_back({kHiddenSettingsGroup, key, key, a, b});
        }
    }
    std::set<std::string> moduleKeys;
    for (const ConfigSnapshot* s : {&before, &after})
        for (const auto& entry : s->keys)
            if (!sectionKeys.count(entry.first) && !IsWorkingState(entry.first))
                moduleKeys.insert(entry.first);
    for (const std::string& key : moduleKeys) {
        const std::string a = Find(before, key);
        const std::string b = Find(after, key);
        if (a != b) out.push_back({kHiddenSettingsGroup, key, key, a, b});
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
        text += "  " + d.caption + ": " + d.before + " → " + d.after + "\n";
    }
    return text;
}

}  // namespace tarnwick
