#pragma once

#include <functional>
#include <memory>

namespace tarnwick {

class HostWindow;
class PageBranch;

// Gives the page to use at an index instead of the standard one, or null.
using PageOverride = std::function<std::unique_ptr<PageBranch>(int index)>;

// Adds the eight pages in their order and connects the handlers that reach
// beyond one page (module restart, closing, the host address). An override
// may put another page in a place; the first page must keep its named
// controls.
void AssembleStandardPages(HostWindow& window, const PageOverride& override = {});

// The standard pages in a window that is never shown, whose controls a
// comparison or restore overwrites. The data module's handlers keep pointing
// at the window the operator sees, whichever was assembled first.
void AssembleScratchPages(HostWindow& scratch);

}  // namespace tarnwick
