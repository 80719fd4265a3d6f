#pragma once
#include <string_view>

#include "programming/programming_page.h"

namespace tarnwick {

// tsWirelessDefenceZone: the six wireless zones of section 05 (the host's
// zones 7 to 12), whether each follows stay arming, and the wireless
// cross-zone logic of section 07.
class WirelessZonePage : public ProgrammingPage {
  public:
    static constexpr int kZones = 6;
    static constexpr int kFirstZoneNumber = 7;
    struct Column {
        std::string_view base;
        std::string_view caption;
    };
    static const Column kColumns[7];
    static constexpr std::string_view kCrossGroup = "无线交叉防区逻辑";
    static constexpr std::string_view kCrossLists[4] = {
        "cbWirelessCrossDefenceZone1", "cbWirelessCrossDefenceZone2", "cbWirelessCrossTime",
        "cbWirelessCrossTriggerNum"};

    WirelessZonePage();
    // "防区7" .. "防区12" for zones 1 .. 6.
    static std::string RowCaption(int zone);

    void Prepare() override { ClearWirelessZonePage(); }
    CommandList ReadList() override;
    void LoadPage(const DeviceParams& stored) override { LoadWirelessZonePage(stored); }
    void QueueSections(CommandList& list, SectionWriter& writer) const override;

    void ClearWirelessZonePage();
    void LoadWirelessZonePage(const DeviceParams& stored);
    // The body of section "05" or "07" from the controls.
    std::string EncodeWirelessZoneSection(std::string_view section, SectionWriter& writer) const;
};

}  // namespace tarnwick
