#include "support/scripted_page.h"

#include <memory>
#include <stdexcept>

#include "diagnostics/debug_page.h"
#include "modules/gprs_page.h"
#include "modules/nm_restart.h"
#include "operation/alarm_info_page.h"
#include "operation/host_control_page.h"
#include "programming/section_pages.h"

namespace tarnwick::testing {
namespace {

std::unique_ptr<PageBranch> StandardPage(HostWindow& window, int index) {
    switch (index) {
        case 0:
            return std::make_unique<HostControlPage>();
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

ScriptedPage& AssembleWithScriptedPage(HostWindow& window, int index) {
    if (index < 0 || index >= kDebugPage)
        throw std::invalid_argument("the scripted page takes one of the pages 0 to 6");
    ScriptedPage* scripted = nullptr;
    for (int i = 0; i < kPageCount; ++i) {
        if (i != index) {
            window.AddPage(StandardPage(window, i));
            continue;
        }
        auto page = std::make_unique<ScriptedPage>();
        scripted = page.get();
        window.AddPage(std::move(page));
    }
    window.restartNetworkModule = [&window] { RunNetworkModuleCommand(window, false); };
    return *scripted;
}

}  // namespace tarnwick::testing
