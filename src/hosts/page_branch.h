#pragma once
#include <string>
#include <vector>

#include "hosts/page_model.h"
#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// What one page of the host window contributes to the refresh and save
// cycle: its controls, the preparation before a read, the read list, the
// loader, and the save branch that lists one write per changed setting.
// The loader and the save branch get the store the last refresh filled.
class PageBranch {
  public:
    PageBranch() = default;
    PageBranch(std::string pageName, std::string caption)
        : pageName_(std::move(pageName)), caption_(std::move(caption)) {}
    virtual ~PageBranch() = default;

    const std::string& PageName() const { return pageName_; }
    const std::string& Caption() const { return caption_; }
    // Pages 6 and 7 have nothing to save.
    bool Savable() const { return savable_; }
    // Name, caption and whether it saves, given by the page table.
    void SetIdentity(std::string pageName, std::string caption, bool savable) {
        pageName_ = std::move(pageName);
        caption_ = std::move(caption);
        savable_ = savable;
    }

    PageModel& Controls() { return controls_; }
    const PageModel& Controls() const { return controls_; }

    virtual void Prepare() {}
    virtual CommandList ReadList() = 0;
    virtual void Load(const DeviceParams& /*stored*/) {}
    // Throws SaveRefused (or any error) when the save must not run.
    virtual CommandList SaveList(const DeviceParams& /*stored*/) { return {}; }

  private:
    std::string pageName_;
    std::string caption_;
    bool savable_ = true;
    PageModel controls_;
};

}  // namespace tarnwick
