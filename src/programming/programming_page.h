#pragma once
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/page_branch.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

struct SectionField;

// The value of one hexadecimal digit; nullopt for anything else.
std::optional<int> HexDigitValue(std::string_view digit);

// What the programming pages share: every input control carries a caption
// (a grid cell the row and the column caption joined with a blank), lists
// are selected from stored digits, and a save is built section by section.
class SectionWriter;

class ProgrammingPage : public PageBranch {
  public:
    using PageBranch::PageBranch;

    // Fills the controls from the store. After a save whose writes the host
    // did not take (the re-read differs from what was sent), the controls
    // keep the values the operator had edited, so a second save can try again.
    void Load(const DeviceParams& stored) final;
    // The writes of every changed section, in the page's order; refused as a
    // whole (SaveRefused) when a section cannot be put together.
    CommandList SaveList(const DeviceParams& stored) final;

    // The caption the operator reads beside a control (its accessible name).
    const std::string& ControlCaption(const std::string& name) const;

  protected:
    virtual void LoadPage(const DeviceParams& stored) = 0;
    virtual void QueueSections(CommandList& list, SectionWriter& writer) const = 0;

    Control& CaptionedCombo(const std::string& name, const std::string& caption,
                            std::vector<std::string> items);
    Control& CaptionedEdit(const std::string& name, const std::string& caption, size_t maxLength,
                           KeyFilter filter = KeyFilter::None);
    // A box shows its caption; where the same caption stands in two groups,
    // the group's caption goes in front of it in the accessible name.
    Control& CaptionedCheck(const std::string& name, const std::string& caption,
                            const std::string& group = {});
    // A box in a grid shows no text; its caption names row and column.
    Control& GridCheck(const std::string& name, const std::string& caption);
    Control& CaptionedRadio(const std::string& name, const std::string& caption,
                            const std::string& group = {});

    // Every list without a selection, every box unchecked, every edit empty.
    void ClearControls();
    // Selects entry `value` of a list; a value outside the list, or none,
    // leaves it without a selection.
    void Select(const std::string& list, std::optional<int> value);
    // The same for a digit that must be decimal: none ends the loading
    // (throws UnreadableValue naming the list).
    void SelectOrStop(const std::string& list, std::optional<int> value);
    // Selects the entry whose text is `text`; none when no entry reads so.
    void SelectText(const std::string& list, std::string_view text);
    // Checks a box unless the digit is "0".
    void SetFlag(const std::string& box, char digit);

  private:
    // What a control shows, to be put back.
    struct Shown {
        int index;
        bool checked;
        std::string text;
    };
    std::map<int, std::string> sentBodies_;  // the last save's writes
    std::vector<Shown> edited_;              // the controls when they were built
};

// Builds a page's section bodies from its controls while a save is put
// together. A list without a selection gives back the digits the last
// refresh stored for its field; when it stored none, the list's caption is
// noted and the whole save is refused. A section whose carried-through
// fields were not read whole is never written either. The refusal names the
// controls in the page's order, whatever order the fields were encoded in
// (the operands of one `+` may be evaluated in any order).
class SectionWriter {
  public:
    SectionWriter(const ProgrammingPage& page, const DeviceParams& stored)
        : page_(page), stored_(stored) {}

    // "1" for a checked box or a selected radio button, else "0".
    std::string Flag(const std::string& name) const;
    // The selected entry index plus `offset` as `width` decimal digits.
    std::string Index(const std::string& list, size_t width, std::string_view storedDigits,
                      int offset = 0);
    // The selected entry index as one hexadecimal digit.
    std::string HexIndex(const std::string& list, std::string_view storedDigits);
    // The selected entry's own text, which is its value.
    std::string EntryText(const std::string& list, size_t width, std::string_view storedDigits);
    // An edit's text without surrounding blanks, filled with "0" on the left
    // to `width`; text that cannot travel as hex digits is noted by caption
    // and refuses the save.
    std::string EditDigits(const std::string& edit, size_t width);
    // What the last refresh stored under a key.
    std::string Stored(std::string_view key) const { return stored_.Get(std::string(key)); }

    // The section's body put together from `own` (the fields this page
    // shows, by key) and the stored value of every other field; with
    // `asReceived` those come from the whole-section keys exactly as the
    // host sent them. Empty text, noted, when the last refresh did not read
    // the section whole.
    using FieldDigits = std::map<std::string, std::function<std::string()>, std::less<>>;
    std::string Body(int section, const FieldDigits& own, bool asReceived = false);
    // Queues the write of a body that differs from what the last refresh
    // read; an empty body (a section not read whole) is never queued.
    void QueueIfChanged(CommandList& list, int section, const std::string& body);

    // The bodies queued, by section.
    const std::map<int, std::string>& Queued() const { return queued_; }

    // Throws SaveRefused when a list without a selection had nothing stored
    // to fall back on, or a section could not be put together whole.
    void RefuseIfIncomplete() const;

  private:
    // Captions by the control's place on the page.
    using Noted = std::map<size_t, std::string>;

    std::string Fallback(const std::string& list, size_t width, std::string_view storedDigits);
    std::string AsReceived(int section, const SectionField& field) const;
    void Note(Noted& noted, const std::string& control) const;

    const ProgrammingPage& page_;
    const DeviceParams& stored_;
    Noted unselected_;
    Noted invalid_;
    std::set<int> incomplete_;
    std::map<int, std::string> queued_;
};

}  // namespace tarnwick
