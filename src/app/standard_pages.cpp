#include "app/standard_pages.h"

#include <memory>

#include "app/page_table.h"
#include "hosts/data_module.h"
#include "hosts/host_window.h"
#include "modules/nm_restart.h"
#include "programming/value_lists.h"

namespace tarnwick {

void AssembleStandardPages(HostWindow& window, const PageOverride& override) {
    DataModule& tdm = window.tdm;
    int index = 0;
    for (const PageEntry& entry : PageTable()) {
        std::unique_ptr<PageBranch> page = override ? override(index) : nullptr;
        if (!page) {
            page = entry.make(window);
            page->SetIdentity(entry.name, entry.caption, entry.savable);
        }
        // The long value lists get their entries from 10 on once, here.
        ExtendValueLists(window.AddPage(std::move(page)).Controls());
        ++index;
    }

    // A save that left the restart mark restarts the network module.
    window.restartNetworkModule = [&window] { RunNetworkModuleCommand(window, false); };

    // A successful local network setting moves the host to the local IP.
    PageModel& page0 = window.Page(0).Controls();
    tdm.session.localIpText = [&page0] { return page0["edtLocalIP"].text; };
    tdm.session.onMovedByModule = [&window](const std::string& host) {
        window.DebugControl("edtIP").text = host;
        window.Page(kDebugPage).Controls().Changed();
        window.ShowHost(host);
    };
}

void AssembleScratchPages(HostWindow& scratch) {
    HostSession& session = scratch.tdm.session;
    auto localIpText = session.localIpText;
    auto onMovedByModule = session.onMovedByModule;
    AssembleStandardPages(scratch);
    session.localIpText = std::move(localIpText);
    session.onMovedByModule = std::move(onMovedByModule);
}

}  // namespace tarnwick
