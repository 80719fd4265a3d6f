#pragma once
#include <string>
#include <utility>
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
    virtual ~PageBranch() = default;

    const std::string& PageName() const { return pageName_; }
    const std::string& Caption() const { return caption_; }
    // The alarm information and debug pages have nothing to save.
    bool Savable() const { return savable_; }
    // Name, caption and whether it saves, given by the page table.
    void SetIdentity(std::string pageName, std::string caption, bool savable) {
        pageName_ = std::move(pageName);
        caption_ = std::move(caption);
        savable_ = savable;
    }

    PageModel& Controls() { return controls_; }
    const PageModel& Controls() const { return controls_; }

    // False for a page that reads nothing to show (the debug page): its
    // refresh neither traces the store nor loads.
    virtual bool LoadsAfterRefresh() const { return true; }
    // True for the page of the host's live status: the status timer runs
    // while it is shown.
    virtual bool PollsStatus() const { return false; }
    virtual void Prepare() {}
    virtual CommandList ReadList() = 0;
    // Throws ConversionError (UnreadableValue naming the control) when a
    // value from the host cannot be shown: the loading stops there.
    virtual void Load(const DeviceParams& /*stored*/) {}
    // Throws SaveRefused (or any error) when the save must not run.
    virtual CommandList SaveList(const DeviceParams& /*stored*/) { return {}; }

    // The refresh cycle's load: runs the loader and notes what it put into
    // the controls. A loader that stopped leaves the page unsavable until a
    // later load runs whole, since the controls after the stop show nothing
    // the host holds.
    void LoadFromStore(const DeviceParams& stored);
    bool LoadStopped() const { return loadStopped_; }
    // The caption of the field the last load stopped at; empty when it ran
    // whole or the field is not known.
    const std::string& UnreadableField() const { return unreadableField_; }

    // A refresh that got no answer at all: the page shows again what it showed
    // before (the refresh cycle puts it back) and is not saved until a later
    // refresh gets an answer and loads.
    void NoteUnanswered() { unanswered_ = true; }
    bool Unanswered() const { return unanswered_; }
    // After the refresh cycle loaded the page, or put it back because the
    // host did not answer (`silent`).
    virtual void AfterRefresh(bool /*silent*/) {}

    // A setting control (an input a refresh clears or fills) differs from
    // what the last load put there, or the load found a value a save puts
    // right (RepairText). A page that does not save holds none.
    bool HasUnsavedChanges() const;
    // What a save would write although nothing was edited (the host holds a
    // value in a form the page cannot show): the field and both values, for
    // the status bar. Empty when a save writes only what was edited.
    const std::string& RepairText() const { return repair_; }
    // Puts back what the last load put into the setting controls.
    void DiscardEdits();
    // The setting controls as they stand count as loaded: after a load, or
    // after a save that wrote them (which wrote the repair too). A page whose
    // loader puts edited values back notes the loaded ones itself, first.
    void NoteLoaded();

  protected:
    // The loader found what a save would put right (RepairText); after NoteLoaded.
    void NoteRepair(std::string text) { repair_ = std::move(text); }

  private:
    struct Shown {
        int index;
        bool checked;
        std::string text;
        std::vector<bool> itemChecked;
        std::vector<std::string> lines;
    };
    static bool IsSetting(const Control& c);

    std::string pageName_;
    std::string caption_;
    bool savable_ = true;
    PageModel controls_;
    std::vector<Shown> loaded_;  // one per control, in the model's order
    bool noted_ = false;
    bool loadStopped_ = false;
    bool unanswered_ = false;
    std::string unreadableField_;
    std::string repair_;
};

}  // namespace tarnwick
