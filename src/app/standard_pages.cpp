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
    for (const PageEntry& entry : PageTable()) {
        std::unique_ptr<PageBranch> page = override ? override(entry.id) : nullptr;
        if (!page) {
            page = entry.make(window);
            page->SetIdentity(entry.name, entry.caption, entry.savable);
        }
        // The page whose options the cycles follow.
        if (auto* options = dynamic_cast<const RefreshOptions*>(page.get()))
            window.SetRefreshOptions(options);
        // The long value lists get their entries from 10 on once, here.
        ExtendValueLists(window.AddPage(std::move(page)).Controls());
    }

    // A save that left the restart mark restarts the network module.
    window.restartNetworkModule = [&window] { RunNetworkModuleCommand(window, false); };

    // A successful local network setting moves the host to the local IP.
    PageModel& control = StandardPage(window, PageId::HostControl).Controls();
    tdm.session.localIpText = [&control] { return control["edtLocalIP"].text; };
    tdm.session.onMovedByModule = [&window](const std::string& host) {
        PageModel& debug = StandardPage(window, PageId::Debug).Controls();
        debug["edtIP"].text = host;
        debug.Changed();
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
