#pragma once
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

class FieldSet;
class PageModel;
struct ProgrammingField;
struct SectionField;

// Builds a page's section bodies from its fields while a save is put
// together. A list without a selection gives back the digits the last
// refresh stored for its field; when it stored none, the list's caption is
// noted and the whole save is refused. A section whose carried-through
// fields were not read whole is never written either. The refusal names the
// controls in the page's order, whatever order the fields were encoded in.
class SectionWriter {
  public:
    // `asReceived`: the fields of the sections that `fields` does not cover
    // go back exactly as the host sent them, not as the last refresh stored
    // them.
    SectionWriter(const PageModel& controls, const FieldSet& fields, const DeviceParams& stored,
                  bool asReceived = false)
        : controls_(controls), fields_(fields), stored_(stored), asReceived_(asReceived) {}

    // The section's body: the described fields from their controls, every
    // other field as the last refresh stored it (or as received, above). The digits of a key
    // that no field of the page covers go back as stored. Empty text, noted,
    // when the last refresh did not read the section whole.
    std::string Body(int section);
    // Queues the write of a body that differs from what the last refresh
    // read; an empty body (a section not read whole) is never queued.
    void QueueIfChanged(CommandList& list, int section, const std::string& body);

    // The bodies queued, by section.
    const std::map<int, std::string>& Queued() const { return queued_; }

    // Throws SaveRefused when a list without a selection had nothing stored
    // to fall back on, an edit held digits that cannot travel, or a section
    // could not be put together whole.
    void RefuseIfIncomplete() const;

  private:
    // Captions by the control's place on the page.
    using Noted = std::map<size_t, std::string>;

    std::string Stored(std::string_view key) const { return stored_.Get(std::string(key)); }
    // The digits of a key the page shows fields of.
    std::string OwnDigits(const SectionField& key);
    std::string Encode(const ProgrammingField& field, std::string_view storedDigits);
    std::string Fallback(const ProgrammingField& field, std::string_view storedDigits);
    std::string EditDigits(const ProgrammingField& field);
    std::string AsReceived(int section, const SectionField& field) const;
    void Note(Noted& noted, const std::string& control) const;

    const PageModel& controls_;
    const FieldSet& fields_;
    const DeviceParams& stored_;
    bool asReceived_;
    Noted unselected_;
    Noted invalid_;
    std::set<int> incomplete_;
    std::map<int, std::string> queued_;
};

}  // namespace tarnwick
