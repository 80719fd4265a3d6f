#include "support/host_window_fixture.h"

#include "app/standard_pages.h"

namespace tarnwick::testing {

HostWindowFixture::HostWindowFixture(int scriptedPage) {
    f.tdm->session.SetCurrentHost(kFixtureHost);
    if (scriptedPage < 0) {
        AssembleStandardPages(window);
    } else {
        scripted = &AssembleWithScriptedPage(window, scriptedPage);
        scripted->saveBranch = [this] { return writes; };
    }
    AutoRefresh(false);
    window.closeWindow = [this] { ++closed; };
    window.restartNetworkModule = [this] { ++restarts; };
}

std::vector<std::string> HostWindowFixture::SentPayloads() const {
    std::vector<std::string> out;
    for (const auto& s : f.clientEndpoint->sent) out.push_back(s.payload);
    return out;
}

}  // namespace tarnwick::testing
