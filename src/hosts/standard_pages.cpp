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

namespace {

std::unique_ptr<PageBranch> StandardPage(HostWindow& window, int index) {
    switch (index) {
        case 0:
            return std::make_unique<HostControlPage>(window);
        case 1:
            return std::make_unique<WiredZonePage>();
        case 2:
            return std::make_unique<WirelessZonePage>();
        case 3:
            return std::make_unique<CommunicationPage>();
        case 4:
            return std::make_unique<SystemProgramPage>();
        case 5:
            return std::make_unique<GprsPage>();
        case 6:
            return std::make_unique<AlarmInfoPage>();
        default:
            return std::make_unique<DebugPage>(window.tdm);
    }
}

}  // namespace

void AssembleStandardPages(HostWindow& window, const PageOverride& override) {
    DataModule& tdm = window.tdm;
    for (int index = 0; index < kPageCount; ++index) {
        std::unique_ptr<PageBranch> page = override ? override(index) : nullptr;
        window.AddPage(page ? std::move(page) : StandardPage(window, index));
    }
    PageBranch& hostControl = window.Page(0);

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
