#pragma once
#include <functional>

#include "hosts/host_window.h"
#include "hosts/page_branch.h"

namespace tarnwick::testing {

// A page whose read list and save branch a test gives, for driving the
// refresh and save cycle with writes of its own choosing.
class ScriptedPage : public PageBranch {
  public:
    ScriptedPage() : PageBranch("tsScripted", "脚本页") {}
    CommandList ReadList() override { return reads; }
    CommandList SaveList() override { return saveBranch ? saveBranch() : CommandList{}; }

    CommandList reads;
    std::function<CommandList()> saveBranch;
};

// Fills `window` with the standard pages except page `index`, which is a
// scripted page, and connects the network module restart that ends a save
// the way the standard assembly does.
ScriptedPage& AssembleWithScriptedPage(HostWindow& window, int index);

}  // namespace tarnwick::testing
