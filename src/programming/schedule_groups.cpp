#include "programming/schedule_groups.h"

namespace tarnwick {

void DeclareScheduleGroups(PageModel&) {}

void ClearScheduleGroups(PageModel&) {}

void LoadScheduleGroups(PageModel&, const DeviceParams&) {}

void QueueScheduleWrite(CommandList&, const PageModel&, const DeviceParams&) {}

}  // namespace tarnwick
