#include "modules/nm_settings.h"

#include "hosts/host_window.h"
#include "modules/nm_restart.h"

namespace tarnwick {

void DeclareNmSettings(PageModel& c, HostWindow& window) {
    c.Button("bbtnDefaultSetNM", "恢复出厂默认", "网管模块恢复出厂默认");
    c.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
    c.OnClick("bbtnDefaultSetNM", [&window] { RunNetworkModuleCommand(window, true); });
    c.OnClick("bbtnRebootNM", [&window] { RunNetworkModuleCommand(window, false); });
    c.Edit("edtLocalIP", 15, KeyFilter::Address);
    c.Edit("edtLocalMask", 15, KeyFilter::Address);
    c.Edit("edtLocalGateway", 15, KeyFilter::Address);
}

void ClearNmSettings(PageModel&) {}

void LoadNmSettings(PageModel&, const DeviceParams&) {}

void QueueNmWrites(CommandList&, PageModel&, const DeviceParams&) {}

}  // namespace tarnwick
