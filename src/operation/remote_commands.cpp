#include "operation/remote_commands.h"

#include "hosts/host_window.h"

namespace tarnwick {

void DeclareRemoteCommands(PageModel&, HostWindow&) {}

}  // namespace tarnwick
