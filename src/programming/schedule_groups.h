#pragma once
#include "hosts/page_model.h"
#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// The two timed arming groups of the first page (programming section 06).
void DeclareScheduleGroups(PageModel& c);
// The schedule part of ClearHostControlPage.
void ClearScheduleGroups(PageModel& c);
// LoadScheduleGroups, the last step of the first page's loader.
void LoadScheduleGroups(PageModel& c, const DeviceParams& stored);
// Section 06, queued when its body differs from what was read.
void QueueScheduleWrite(CommandList& list, const PageModel& c, const DeviceParams& stored);

}  // namespace tarnwick
