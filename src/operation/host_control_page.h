#pragma once
#include "hosts/page_branch.h"

namespace tarnwick {

class HostWindow;

// tsHostControl, the first page: status, remote commands, arming schedules
// and the network module's settings, each a group of its own.
class HostControlPage : public PageBranch {
  public:
    explicit HostControlPage(HostWindow& window);
    // ClearHostControlPage.
    void Prepare() override;
    CommandList ReadList() override;
    // LoadHostControlPage.
    void Load() override;
    CommandList SaveList() override;

  private:
    HostWindow& window_;
};

}  // namespace tarnwick
