#pragma once

namespace tarnwick {

class HostWindow;

// bbtnDefaultSetNMClick: restore the network module's factory defaults, or
// restart it and wait a minute for it to come back. Asks first.
void RunNetworkModuleCommand(HostWindow& window, bool factoryReset);

}  // namespace tarnwick
