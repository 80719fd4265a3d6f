#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/page_branch.h"
#include "programming/field_set.h"
#include "programming/programming_field.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// The value of one hexadecimal digit; nullopt for anything else.
std::optional<int> HexDigitValue(std::string_view digit);

// What the programming pages share: each input control shows one described
// field of the programming content (ProgrammingField), and carries a caption
// (a grid cell the row and the column caption joined with a blank). The
// page reads and writes the sections its fields stand in; loading fills the
// controls in the order of the content, and a save is built section by
// section from the same descriptions.
class ProgrammingPage : public PageBranch {
  public:
    // Where a save takes the fields of its sections that the page does not
    // show: as the last refresh stored them, or exactly as the host sent
    // them (fields the decoder stores changed, such as the cross-zone
    // fields, then go back untouched).
    enum class OtherFields { AsStored, AsReceived };
    explicit ProgrammingPage(OtherFields others = OtherFields::AsStored) : others_(others) {}

    // Every list without a selection, every box unchecked, every edit empty,
    // the first of every pair of radio buttons selected.
    void Prepare() override;
    // A read of each section the page's fields stand in.
    CommandList ReadList() override;
    // Fills the controls from the store. After a save whose writes the host
    // did not take (the re-read differs from what was sent), the controls
    // keep the values the operator had edited, so a second save can try again.
    // A section a save would write as loaded, unedited, notes the fields it
    // would change (NoteRepair).
    void Load(const DeviceParams& stored) final;
    // The writes of every changed section, in the page's order; refused as a
    // whole (SaveRefused) when a section cannot be put together.
    CommandList SaveList(const DeviceParams& stored) final;

    // The caption the operator reads beside a control (its accessible name).
    const std::string& ControlCaption(const std::string& name) const;
    // The page's fields in the order of the programming content.
    const std::vector<ProgrammingField>& Fields() const { return fields_.Fields(); }
    const FieldSet& Described() const { return fields_; }
    // The sections the fields stand in, ascending.
    std::vector<int> Sections() const { return fields_.Sections(); }
    // Whether a field of the page stands in the key.
    bool Shows(std::string_view key) const { return fields_.Shows(key); }
    bool KeepsOtherFieldsAsReceived() const { return others_ == OtherFields::AsReceived; }

  protected:
    Control& CaptionedCombo(const std::string& name, const std::string& caption,
                            std::vector<std::string> items);
    // Its length is its field's (Describe).
    Control& CaptionedEdit(const std::string& name, const std::string& caption,
                           KeyFilter filter = KeyFilter::None);
    // A box shows its caption; where the same caption stands in two groups,
    // the group's caption goes in front of it in the accessible name.
    Control& CaptionedCheck(const std::string& name, const std::string& caption,
                            const std::string& group = {});
    // A box in a grid shows no text; its caption names row and column.
    Control& GridCheck(const std::string& name, const std::string& caption);
    Control& CaptionedRadio(const std::string& name, const std::string& caption,
                            const std::string& group = {});

    // `control` shows `field` (FieldSet::Add). An edit takes as many
    // characters as its field has digits.
    Control& Describe(Control& control, ProgrammingField field);

  private:
    // The fields a save right after the load would write other than the host
    // holds them, each with both values; empty text when none.
    std::string RepairsOnSave(const DeviceParams& stored) const;
    // A key's name for the operator: the layout's caption, else the caption
    // of the page's first control showing it.
    std::string KeyCaption(std::string_view key) const;

    // What a control shows, to be put back.
    struct Shown {
        int index;
        bool checked;
        std::string text;
    };
    OtherFields others_;
    FieldSet fields_;
    std::map<int, std::string> sentBodies_;  // the last save's writes
    std::vector<Shown> edited_;              // the controls when they were built
};

}  // namespace tarnwick
