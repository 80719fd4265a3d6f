#pragma once
#include <string>
#include <vector>

#include "backup/config_snapshot.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

class HostWindow;

// One input of a page as the installer reads it after a refresh: the page's
// caption, the control, its caption and the value shown ("1 - 出入延时防区",
// "是", "12").
struct ShownSetting {
    std::string page;
    std::string control;
    std::string caption;
    std::string value;
    // The input holds a code: its value is never shown. `codeKey` is where
    // the snapshot keeps it; empty for a password typed only for a write.
    bool secret = false;
    std::string codeKey{};
};

inline constexpr const char* kCheckedText = "是";
inline constexpr const char* kUncheckedText = "否";

// Fills `params` with the snapshot's keys, as a refresh would have.
void StoreSnapshotKeys(const ConfigSnapshot& snapshot, DeviceParams& params);

// Loads `stored` into every page of `pages` that saves, and lists their
// inputs in page and control order. The pages' controls are overwritten:
// pass a window of its own, not the one the operator looks at.
std::vector<ShownSetting> ShownSettings(HostWindow& pages, const DeviceParams& stored);
std::vector<ShownSetting> ShownSettings(HostWindow& pages, const ConfigSnapshot& snapshot);

}  // namespace tarnwick
