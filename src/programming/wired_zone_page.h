#pragma once
#include <string>
#include <string_view>

#include "programming/programming_layout.h"
#include "programming/zone_page.h"

namespace tarnwick {

class HostWindow;

// tsWireDefenceZone: the six wired zones of section 04, whether each follows
// stay arming, and the wired cross-zone logic of section 07.
class WiredZonePage : public ZonePage {
  public:
    static constexpr int kZones = kZonesPerPage;
    // A zone's controls in row order.
    static const ZoneColumn kColumns[9];
    static constexpr std::string_view kCrossGroup = kWireCrossCaption;
    static constexpr std::string_view kCrossLists[4] = {"cbWireCrossDefenceZone1",
                                                        "cbWireCrossDefenceZone2",
                                                        "cbWireCrossTime", "cbWireCrossTriggerNum"};

    explicit WiredZonePage(HostWindow& window);
    // "防区1" .. "防区6".
    static std::string RowCaption(int zone);
};

}  // namespace tarnwick
