#pragma once
#include <string>
#include <vector>

#include "backup/config_snapshot.h"

namespace tarnwick {

// One setting that differs between two snapshots. `group` is the
// programming section ("编程区04") or "模块设置"; either value is empty when
// that snapshot does not hold the key.
struct ConfigDifference {
    std::string group;
    std::string key;
    std::string before;
    std::string after;
};

inline constexpr const char* kModuleSettingsGroup = "模块设置";
inline constexpr const char* kSameConfigText = "两份配置相同。";

// The settings that differ, programming sections first in section and body
// order, then the module settings by key. Whole-section keys are left out
// (their fields are compared one by one), and so is the working state a host
// reports (arming, zones, bypass, signal), which is no configuration.
std::vector<ConfigDifference> CompareSnapshots(const ConfigSnapshot& before,
                                               const ConfigSnapshot& after);

// One heading per group, one line "key: before → after" per difference;
// kSameConfigText alone when nothing differs.
std::string DifferenceReport(const std::vector<ConfigDifference>& differences);

}  // namespace tarnwick
