#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "programming/programming_page.h"

namespace tarnwick {

class HostWindow;

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
    static const FlagGroup kFlagGroups[6];
    static const FlagGroup kSystemControl2;  // its four boxes; digits 5 and 6 are radio pairs
    static const FlagGroup kNeighborDile;    // its two boxes

    explicit SystemProgramPage(HostWindow& window);

  private:
    // The boxes base + 1 .. base + count show the group's first digits;
    // `inGroup` goes in front of their captions where two groups share them.
    void DescribeFlags(const FlagGroup& group, const std::vector<std::string>& captions,
                       const std::string& inGroup = {},
                       const std::optional<std::string>& missing = std::nullopt);
};

}  // namespace tarnwick
