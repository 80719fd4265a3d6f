#pragma once
#include "hosts/page_model.h"

namespace tarnwick {

class HostWindow;

// gbAlarmHost: arming, disarming, reset, switches, clear alarm, time
// synchronisation and the pairing window's button, bound to their handlers.
void DeclareRemoteCommands(PageModel& c, HostWindow& window);

}  // namespace tarnwick
