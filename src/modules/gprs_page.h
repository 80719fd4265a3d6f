#pragma once
#include "hosts/page_branch.h"

namespace tarnwick {

// tsGPRS: the settings of the GPRS module.
class GprsPage : public PageBranch {
  public:
    GprsPage() : PageBranch("tsGPRS", "GPRS模块") {}
    CommandList ReadList() override;
};

}  // namespace tarnwick
