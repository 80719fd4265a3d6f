#pragma once
#include "hosts/page_branch.h"

namespace tarnwick {

class HostWindow;

// tsHostControl, the first page: the host's status, the remote commands, the
// two arming schedule groups and the network module's settings. Each group
// lives in its own files; the page runs them in order.
class HostControlPage : public PageBranch {
  public:
    explicit HostControlPage(HostWindow& window);
    bool PollsStatus() const override { return true; }
    void Prepare() override;
    CommandList ReadList() override;
    void Load(const DeviceParams& stored) override;
    CommandList SaveList(const DeviceParams& stored) override;
    void AfterRefresh(bool silent) override;

  private:
    HostWindow& window_;
};

// The host control page of a window of pages; std::logic_error when it holds
// none.
HostControlPage& HostControlPageOf(HostWindow& window);

}  // namespace tarnwick
