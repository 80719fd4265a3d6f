#pragma once

namespace tarnwick {

class HostWindow;

// Adds the eight pages in their order and connects the handlers that reach
// beyond one page (module restart, closing, the host address).
void AssembleStandardPages(HostWindow& window);

}  // namespace tarnwick
