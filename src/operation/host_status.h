#pragma once
#include "hosts/page_model.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// The status display of the first page: the control and switch buttons, the
// four lamps, the twelve zone labels, the signal strength, model and version.
void DeclareHostStatus(PageModel& c);
// The status part of ClearHostControlPage.
void ClearHostStatus(PageModel& c);
// ShowHostStatus: the stored status keys applied to the page.
void ShowHostStatus(PageModel& c, const DeviceParams& stored);

}  // namespace tarnwick
