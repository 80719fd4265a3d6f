#pragma once
#include <functional>

#include "hosts/host_window.h"
#include "hosts/page_branch.h"

namespace tarnwick::testing {

// A page whose read list and save branch a test gives, for driving the
// refresh and save cycle with writes of its own choosing.
class ScriptedPage : public PageBranch {
  public:
    ScriptedPage() { SetIdentity("tsScripted", " 脚本页 ", true); }
    void Prepare() override { ++prepared; }
    CommandList ReadList() override { return reads; }
    void Load(const DeviceParams&) override { ++loaded; }
    CommandList SaveList(const DeviceParams&) override {
        return saveBranch ? saveBranch() : CommandList{};
    }

    CommandList reads;
    std::function<CommandList()> saveBranch;
    int prepared = 0;
    int loaded = 0;
};

// Fills `window` with the standard pages except page `index` (1 to 6), which
// is a scripted page.
ScriptedPage& AssembleWithScriptedPage(HostWindow& window, int index);

}  // namespace tarnwick::testing
