#include "hosts/standard_pages.h"

#include <memory>

#include "diagnostics/debug_page.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/gprs_page.h"
#include "modules/nm_restart.h"
#include "operation/alarm_info_page.h"
#include "operation/host_control_page.h"
#include "programming/section_pages.h"

namespace tarnwick {

void AssembleStandardPages(HostWindow& window) {
    DataModule& tdm = window.tdm;
    PageBranch& hostControl = window.AddPage(std::make_unique<HostControlPage>());
    window.AddPage(std::make_unique<WiredZonePage>());
    window.AddPage(std::make_unique<WirelessZonePage>());
    window.AddPage(std::make_unique<CommunicationPage>());
    window.AddPage(std::make_unique<SystemProgramPage>());
    window.AddPage(std::make_unique<GprsPage>());
    window.AddPage(std::make_unique<AlarmInfoPage>());
    window.AddPage(std::make_unique<DebugPage>(tdm));

    PageModel& page0 = hostControl.Controls();
    page0.OnClick("bbtnDefaultSetNM", [&window] { RunNetworkModuleCommand(window, true); });
    page0.OnClick("bbtnRebootNM", [&window] { RunNetworkModuleCommand(window, false); });
    page0.OnClick("btnExit", [&window] {
        if (window.closeWindow) window.closeWindow();
    });
    window.restartNetworkModule = [&window] { RunNetworkModuleCommand(window, false); };

    // A successful local network setting moves the host to the local IP.
    tdm.session.localIpText = [&page0] { return page0["edtLocalIP"].text; };
    tdm.session.onMovedByModule = [&window](const std::string& host) {
        window.DebugControl("edtIP").text = host;
        window.Page(kDebugPage).Controls().Changed();
        window.ShowHost(host);
    };
}

}  // namespace tarnwick
