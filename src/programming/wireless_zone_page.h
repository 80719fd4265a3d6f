#pragma once
#include <string>
#include <string_view>

#include "programming/programming_layout.h"
#include "programming/zone_page.h"

namespace tarnwick {

class HostWindow;

// tsWirelessDefenceZone: the six wireless zones of section 05 (the host's
// zones 7 to 12), whether each follows stay arming, and the wireless
// cross-zone logic of section 07.
class WirelessZonePage : public ZonePage {
  public:
    static constexpr int kZones = kZonesPerPage;
    static constexpr int kFirstZoneNumber = 7;
    // A zone's controls in row order.
    static const ZoneColumn kColumns[7];
    static constexpr std::string_view kCrossGroup = kWirelessCrossCaption;
    static constexpr std::string_view kCrossLists[4] = {
        "cbWirelessCrossDefenceZone1", "cbWirelessCrossDefenceZone2", "cbWirelessCrossTime",
        "cbWirelessCrossTriggerNum"};

    explicit WirelessZonePage(HostWindow& window);
    // "防区7" .. "防区12" for zones 1 .. 6.
    static std::string RowCaption(int zone);
};

}  // namespace tarnwick
