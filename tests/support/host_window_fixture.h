#pragma once
#include <string>
#include <vector>

#include "app/page_table.h"
#include "hosts/host_window.h"
#include "support/core_fixture.h"
#include "support/scripted_page.h"

namespace tarnwick::testing {

// The host every host window fixture talks to.
inline constexpr const char* kFixtureHost = "10.77.0.11";

// The host window with the standard pages on a core fixture: the current host
// is kFixtureHost, a page change does not read the page (AutoRefresh turns
// that back on), closing the window and the network module restart after a
// save are counted instead of run. With `scriptedPage` (1 to 6) that page is
// a scripted page (`scripted`) whose save branch lists `writes`.
struct HostWindowFixture {
    explicit HostWindowFixture(int scriptedPage = -1);

    void AutoRefresh(bool on) {
        StandardPage(window, PageId::Debug).Controls()["chkAutoRefresh"].checked = on;
    }
    // Every payload the exchange client sent, in order.
    std::vector<std::string> SentPayloads() const;
    template <typename P>
    P& PageAs(int index) {
        return dynamic_cast<P&>(window.Page(index));
    }

    CoreFixture f;
    HostWindow window{*f.tdm};
    ScriptedPage* scripted = nullptr;
    CommandList writes;
    int closed = 0;
    int restarts = 0;
};

}  // namespace tarnwick::testing
