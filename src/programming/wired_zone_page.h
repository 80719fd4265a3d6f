#pragma once
#include <string_view>

#include "programming/programming_page.h"

namespace tarnwick {

// tsWireDefenceZone: the six wired zones of section 04, whether each follows
// stay arming, and the wired cross-zone logic of section 07.
class WiredZonePage : public ProgrammingPage {
  public:
    static constexpr int kZones = 6;
    // Base names of a zone's controls and their column captions, in row order.
    struct Column {
        std::string_view base;
        std::string_view caption;
    };
    static const Column kColumns[9];
    static constexpr std::string_view kCrossGroup = "有线交叉防区逻辑";
    static constexpr std::string_view kCrossLists[4] = {"cbWireCrossDefenceZone1",
                                                        "cbWireCrossDefenceZone2",
                                                        "cbWireCrossTime", "cbWireCrossTriggerNum"};

    WiredZonePage();
    // "防区1" .. "防区6".
    static std::string RowCaption(int zone);

    void Prepare() override { ClearWiredZonePage(); }
    CommandList ReadList() override;
    void LoadPage(const DeviceParams& stored) override { LoadWiredZonePage(stored); }
    void QueueSections(CommandList& list, SectionWriter& writer) const override;

    void ClearWiredZonePage();
    void LoadWiredZonePage(const DeviceParams& stored);
    // The body of section "04" or "07" from the controls.
    std::string EncodeWiredZoneSection(std::string_view section, SectionWriter& writer) const;

  private:
    // One zone from its eight digits; a digit that stops the loading throws.
    void LoadZone(int zone, const std::string& digits);
};

}  // namespace tarnwick
