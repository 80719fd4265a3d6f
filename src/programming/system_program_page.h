#pragma once
#include <string_view>

#include "programming/programming_page.h"

namespace tarnwick {

// tsSystemProgram: the option flags of the second part of section 03 and, in
// section 07, the dual-network switch, the neighbour dialling flags and the
// programmable output events.
class SystemProgramPage : public ProgrammingPage {
  public:
    // A run of flag digits shown as numbered boxes: base + 1 .. base + count.
    struct FlagGroup {
        std::string_view key;
        std::string_view base;
        int count;
        std::string_view caption;
    };
    // In the order the loader sets them.
    static const FlagGroup kFlagGroups[6];
    static const FlagGroup kSystemControl2;  // its four boxes; digits 5 and 6 are radio pairs
    static const FlagGroup kNeighborDile;    // its two boxes

    SystemProgramPage();

    void Prepare() override { ClearSystemProgramPage(); }
    CommandList ReadList() override;
    void LoadPage(const DeviceParams& stored) override { LoadSystemProgramPage(stored); }
    void QueueSections(CommandList& list, SectionWriter& writer) const override;

    void ClearSystemProgramPage();
    void LoadSystemProgramPage(const DeviceParams& stored);
    // The body of section "03" or "07" from the controls.
    std::string EncodeSystemProgramSection(std::string_view section, SectionWriter& writer) const;

  private:
    // Selects `on` of a radio pair and clears the other one.
    void SelectRadio(const std::string& on, const std::string& off);
    void LoadFlags(const FlagGroup& group, const std::string& digits);
    std::string Flags(const FlagGroup& group, const SectionWriter& writer) const;
};

}  // namespace tarnwick
