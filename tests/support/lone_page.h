#pragma once
#include "hosts/host_window.h"
#include "support/core_fixture.h"

namespace tarnwick::testing {

// A page made as the page table makes it, from a window of its own that
// does not hold it: for the tests of one page's model.
template <typename Page>
struct LonePage {
    CoreFixture f;
    HostWindow window{*f.tdm};
    Page page{window};
};

}  // namespace tarnwick::testing
