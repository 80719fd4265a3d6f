#pragma once
#include "hosts/page_branch.h"

namespace tarnwick {

// tsHostControl, the first page: status, remote commands, arming schedules
// and the network module's settings.
class HostControlPage : public PageBranch {
  public:
    HostControlPage();
    CommandList ReadList() override;
};

}  // namespace tarnwick
