#include "modules/firmware_upgrade.h"

#include "hosts/host_window.h"

namespace tarnwick {

void DeclareFirmwareUpgrade(PageModel&, HostWindow&) {}

}  // namespace tarnwick
