#pragma once
#include <memory>
#include <span>

namespace tarnwick {

class HostWindow;
class PageBranch;

// One page of the host window, in index order: its name, its tab caption,
// whether it has a save branch, and how its model is made.
struct PageEntry {
    const char* name;
    const char* caption;
    bool savable;
    std::unique_ptr<PageBranch> (*make)(HostWindow& window);
};

// The eight pages, index 0 to 7.
std::span<const PageEntry> PageTable();

}  // namespace tarnwick
