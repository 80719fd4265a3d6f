#pragma once
#include <cstddef>
#include <memory>
#include <span>

namespace tarnwick {

class HostWindow;
class PageBranch;

// The pages of the host window, in tab order: PageTable() has one entry per
// id, at the id's index, and the Qt side's widget table is held to the same
// ids.
enum class PageId {
    HostControl,
    WiredZones,
    WirelessZones,
    Communication,
    SystemProgram,
    Gprs,
    AlarmInfo,
    Debug,
};
inline constexpr size_t kStandardPageCount = static_cast<size_t>(PageId::Debug) + 1;

// One page of the host window: its name, its tab caption, whether it has a
// save branch, and how its model is made. Every page is made from the
// window it belongs to.
struct PageEntry {
    PageId id;
    const char* name;
    const char* caption;
    bool savable;
    std::unique_ptr<PageBranch> (*make)(HostWindow& window);
};

std::span<const PageEntry> PageTable();
// The tab index of a page.
constexpr int PageIndex(PageId id) {
    return static_cast<int>(id);
}
// The page `id` of a window with the standard pages.
PageBranch& StandardPage(HostWindow& window, PageId id);

}  // namespace tarnwick
