#pragma once
#include <string>
#include <vector>

#include "hosts/page_model.h"
#include "protocol/command_entry.h"

namespace tarnwick {

// What one page of the host window contributes to the refresh and save
// cycle: its controls, the preparation before a read, the read list, the
// loader, and the save branch that lists one write per changed setting.
class PageBranch {
  public:
    PageBranch(std::string pageName, std::string caption)
        : pageName_(std::move(pageName)), caption_(std::move(caption)) {}
    virtual ~PageBranch() = default;

    const std::string& PageName() const { return pageName_; }
    const std::string& Caption() const { return caption_; }
    PageModel& Controls() { return controls_; }
    const PageModel& Controls() const { return controls_; }

    virtual void Prepare() {}
    virtual CommandList ReadList() = 0;
    virtual void Load() {}
    virtual CommandList SaveList() { return {}; }

  private:
    std::string pageName_;
    std::string caption_;
    PageModel controls_;
};

}  // namespace tarnwick
