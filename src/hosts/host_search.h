#pragma once
#include <functional>
#include <string>

#include "hosts/host_list_model.h"
#include "hosts/waiting_panel.h"

namespace tarnwick {

class DataModule;

// The host list window as the search sees it: the grid, the waiting panel and
// the enabled states the search switches off and on again.
struct HostListWindowModel {
    HostListModel list;
    WaitingPanel waiting;
    bool listEnabled = true;
    bool bottomEnabled = true;
    bool keysAttached = true;
    bool searching = false;
    // Disables or enables the host window while it is showing.
    std::function<void(bool)> setHostWindowEnabled;
    // The grid changed (rows filled or emptied, rows added).
    std::function<void()> onListChanged;
    // The list gets the focus at the end of a search.
    std::function<void()> focusList;
};

inline constexpr const char* kSearchingTitle = "正在搜索中，请稍候...";

// bbtnRefreshHostClick: broadcasts the search and lists every host that
// answers within about a second. Errors are swallowed after the clean-up,
// except that a port the listener cannot bind is said in a warning box (the
// search then sends nothing), so that it does not look like "no hosts".
void RunHostSearch(DataModule& tdm, HostListWindowModel& window);
// The warning of a search that cannot listen.
std::string PortInUseText();

// Hands the answers the listener queued to the list.
void DrainSearchAnswers(DataModule& tdm, HostListWindowModel& window);

}  // namespace tarnwick
