#include "programming/field_set.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "programming/programming_layout.h"

namespace tarnwick {

const ProgrammingField& FieldSet::Add(const std::string& control, ProgrammingField field) {
    const auto [section, key] = LocateField(field.key);
    if (field.width == 0 && field.offset <= key->width) field.width = key->width - field.offset + 1;
    if (field.offset < 1 || field.width == 0 || field.End() > key->width)
        throw std::invalid_argument(control + " stands outside " + field.key);
    for (const ProgrammingField& other : fields_)
        if (other.key == field.key && other.offset <= field.End() && field.offset <= other.End())
            throw std::invalid_argument(control + " shares digits of " + field.key + " with " +
                                        other.control);
    field.control = control;
    field.section = section;
    field.position = key->position + field.offset - 1;
    field.secret = !key->secret.empty();
    const auto later = std::upper_bound(fields_.begin(), fields_.end(), field,
                                        [](const ProgrammingField& a, const ProgrammingField& b) {
                                            return std::pair(a.section, a.position) <
                                                   std::pair(b.section, b.position);
                                        });
    return *fields_.insert(later, std::move(field));
}

std::vector<int> FieldSet::Sections() const {
    std::vector<int> sections;
    for (const ProgrammingField& field : fields_)
        if (sections.empty() || sections.back() != field.section) sections.push_back(field.section);
    return sections;
}

bool FieldSet::Shows(std::string_view key) const {
    return std::any_of(fields_.begin(), fields_.end(),
                       [key](const ProgrammingField& field) { return field.key == key; });
}

const ProgrammingField* FieldSet::Of(std::string_view control) const {
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [control](const auto& f) { return f.control == control; });
    return found == fields_.end() ? nullptr : &*found;
}

void FieldSet::Load(PageModel& page, const DeviceParams& stored) const {
    for (const ProgrammingField& field : fields_) LoadField(page, field, stored);
}

}  // namespace tarnwick
