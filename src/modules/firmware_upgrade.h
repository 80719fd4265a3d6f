#pragma once
#include "hosts/page_model.h"

namespace tarnwick {

class HostWindow;

// edtUpdateAddr and bbtnUpdate of the network module group: the remote
// firmware upgrade from an FTP server.
void DeclareFirmwareUpgrade(PageModel& c, HostWindow& window);

}  // namespace tarnwick
