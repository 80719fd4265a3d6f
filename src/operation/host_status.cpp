#include "operation/host_status.h"

namespace tarnwick {

void DeclareHostStatus(PageModel&) {}

void ClearHostStatus(PageModel&) {}

void ShowHostStatus(PageModel&, const DeviceParams&) {}

}  // namespace tarnwick
