#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "hosts/page_model.h"
#include "programming/programming_field.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

// The described fields of one page (or of a part of one, such as the
// schedule groups of the first page), in the order of the programming
// content. Loading, encoding (SectionWriter), the save's comparison and the
// names in a refusal all come from these descriptions.
class FieldSet {
  public:
    // `field`, shown by the control `control`, completed with its section,
    // its place in the body and whether it is a code. The key must be one of
    // the section layout and the digits must stand inside it, apart from the
    // set's other fields; a field of width 0 runs to the end of the key.
    // Throws std::invalid_argument otherwise.
    const ProgrammingField& Add(const std::string& control, ProgrammingField field);

    const std::vector<ProgrammingField>& Fields() const { return fields_; }
    // The sections the fields stand in, ascending.
    std::vector<int> Sections() const;
    // Whether a field of the set stands in the key.
    bool Shows(std::string_view key) const;
    // The field a control shows; nullptr for a control that shows none.
    const ProgrammingField* Of(std::string_view control) const;
    // Fills every field's control from the store, in content order. Throws
    // UnreadableValue where a field stops the loading.
    void Load(PageModel& page, const DeviceParams& stored) const;

  private:
    std::vector<ProgrammingField> fields_;
};

}  // namespace tarnwick
