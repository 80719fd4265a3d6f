#pragma once
#include "hosts/page_model.h"
#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

class HostWindow;

// gbNMInfo and GroupBox5 of the first page: the network module's identity,
// centres, heartbeat, network management and local network settings, with
// its restart and factory reset buttons.
void DeclareNmSettings(PageModel& c, HostWindow& window);
// The module part of ClearHostControlPage.
void ClearNmSettings(PageModel& c);
// The module part of LoadHostControlPage.
void LoadNmSettings(PageModel& c, const DeviceParams& stored);
// The module's writes of the first page's save, in their order.
void QueueNmWrites(CommandList& list, PageModel& c, const DeviceParams& stored);

}  // namespace tarnwick
