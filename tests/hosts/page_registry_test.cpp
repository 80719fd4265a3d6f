#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/page_table.h"
#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "hosts/refresh_options.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

// The page table is the one place a page's identity is given: the window's
// pages carry it in table order, no two pages share a name or a caption, and
// exactly one page each gives the cycles their options and runs the status
// poll.
TEST(PageRegistry, EveryPageCarriesItsTableEntryAndTheFrameFindsItsRoles) {
    testing::CoreFixture f;
    HostWindow window(*f.tdm);
    AssembleStandardPages(window);
    ASSERT_EQ(window.PageCount(), static_cast<int>(PageTable().size()));

    std::set<std::string> names, captions;
    int optionPages = 0, pollingPages = 0;
    for (const PageEntry& entry : PageTable()) {
        SCOPED_TRACE(entry.name);
        const PageBranch& page = window.Page(PageIndex(entry.id));
        EXPECT_EQ(page.PageName(), entry.name);
        EXPECT_EQ(page.Caption(), entry.caption);
        EXPECT_EQ(page.Savable(), entry.savable);
        EXPECT_TRUE(names.insert(entry.name).second);
        EXPECT_TRUE(captions.insert(entry.caption).second);
        if (dynamic_cast<const RefreshOptions*>(&page)) {
            ++optionPages;
            EXPECT_EQ(entry.id, PageId::Debug);
        }
        if (page.PollsStatus()) {
            ++pollingPages;
            EXPECT_EQ(entry.id, PageId::HostControl);
        }
    }
    EXPECT_EQ(optionPages, 1);
    EXPECT_EQ(pollingPages, 1);
}

}  // namespace
}  // namespace tarnwick
