#pragma once
#include <cstdint>
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
    // Tick at which the running search stops taking answers.
    uint64_t searchDeadline = 0;
    // Answers of the running search that were not listed, by cause.
    struct Unlisted {
        long long notUnicast = 0;
        long long listFull = 0;
        long long late = 0;
        long long overflow = 0;
    } unlisted;
    // Disables or enables the host window while it is showing.
    std::function<void(bool)> setHostWindowEnabled;
    // The grid changed (rows filled or emptied, rows added).
    std::function<void()> onListChanged;
    // The list gets the focus at the end of a search.
    std::function<void()> focusList;

    // The operator selected a row (1-based): its host is remembered by
    // address, so a search that lists it elsewhere, or not at all, never puts
    // another host under the selection. An empty row remembers none.
    void Select(int row);
    // The row of the remembered host; 0 when it is no longer listed. With no
    // host remembered, the first row when it lists one.
    int SelectedRow() const;

  private:
    std::string selectedAddress_;
};

inline constexpr const char* kSearchingTitle = "正在搜索中，请稍候...";
// The trace lines of search frames sent to one address.
inline constexpr const char* kUnicastSearchTracePrefix = "[单播搜索]：";

// bbtnRefreshHostClick: broadcasts the search, sends it to every booked
// site's address too, and lists every host that answers within about a
// second, named from the site book, then the booked sites that did not
// answer. Errors are swallowed after the clean-up,
// except that a port the listener cannot bind is said in a warning box (the
// search then sends nothing), so that it does not look like "no hosts".
void RunHostSearch(DataModule& tdm, HostListWindowModel& window);
// The warning of a search that cannot listen.
std::string PortInUseText();

// Answers whose address names no single host are traced one by one up to
// this many per search; the rest are counted in one line at its end.
inline constexpr int kTracedUnlistedAnswers = 20;

// After a search: the booked sites that did not answer are listed greyed,
// and the book learns when and as what the others answered.
void ListBookedSites(DataModule& tdm, HostListWindowModel& window);
// The book changed (the site book window, a site booked on connecting): the
// list names its rows anew without searching again.
void ApplySiteBook(DataModule& tdm, HostListWindowModel& window);

// Hands the answers the listener queued to the list; after the search's
// deadline they are counted and dropped.
void DrainSearchAnswers(DataModule& tdm, HostListWindowModel& window);

}  // namespace tarnwick
