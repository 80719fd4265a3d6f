#pragma once
#include <string>
#include <vector>

#include "backup/config_snapshot.h"

namespace tarnwick {

class HostWindow;

// One setting that differs between two snapshots, as the installer reads it
// on its page: `group` is the page's caption, `caption` the control's
// ("防区3 防区类型"), `key` the control's name. For a stored field no page
// shows, `group` is kHiddenSettingsGroup and `caption` and `key` the key.
struct ConfigDifference {
    std::string group;
    std::string caption;
    std::string key;
    std::string before;
    std::string after;
    // A code: both values are kChangedCodeText (or kUncomparedCodeText when
    // neither snapshot can tell), never the code.
    bool secret = false;
};

inline constexpr const char* kHiddenSettingsGroup = "未在页面显示的设置";
inline constexpr const char* kSameConfigText = "两份配置相同。";

// The settings whose shown values differ, grouped by page in page and control
// order. `pages` is a window of its own with the standard pages: both
// snapshots are loaded into its controls. When the pages show no difference
// but stored fields differ (a field no page shows), those fields are listed
// by key. The working state a host reports (arming, zones, bypass, signal)
// is no configuration and never counts. A code is compared by value or by
// keyed hash and never shown (kChangedCodeText).
std::vector<ConfigDifference> CompareSnapshots(HostWindow& pages, const ConfigSnapshot& before,
                                               const ConfigSnapshot& after);

// The stored fields that differ, by key: programming sections first in
// section and body order, then the module settings by key.
std::vector<ConfigDifference> CompareStoredKeys(const ConfigSnapshot& before,
                                                const ConfigSnapshot& after);

// One heading per group, one line "caption: before → after" per difference
// ("caption: 已更改" for a code); kSameConfigText alone when nothing differs.
std::string DifferenceReport(const std::vector<ConfigDifference>& differences);

}  // namespace tarnwick
