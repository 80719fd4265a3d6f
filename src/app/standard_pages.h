#pragma once

#include <functional>
#include <memory>

#include "app/page_table.h"

namespace tarnwick {

class HostWindow;
class PageBranch;

// Gives the page to use in the place of a standard one, or null.
using PageOverride = std::function<std::unique_ptr<PageBranch>(PageId id)>;

// Adds the pages of the page table in their order and connects the handlers
// that reach beyond one page (module restart, closing, the host address).
// An override may put another page in a place; the host control and debug
// pages must keep their named controls.
void AssembleStandardPages(HostWindow& window, const PageOverride& override = {});

// The standard pages in a window that is never shown, whose controls a
// comparison or restore overwrites. The data module's handlers keep pointing
// at the window the operator sees, whichever was assembled first.
void AssembleScratchPages(HostWindow& scratch);

}  // namespace tarnwick
